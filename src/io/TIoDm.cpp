#include "TIoDm.h"

#include "app/TmainFm.h"

TIoDm::TIoDm(TmainFm* mainFm) : QObject(mainFm), m_main(mainFm), ADOQuery1(mainFm->db()) {
    setObjectName(QStringLiteral("ioDm"));
}
