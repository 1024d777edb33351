#pragma once

#include "platform/Database.h"

#include <QObject>

class TmainFm;

// The import/export module: its own query on the shared connection.
class TIoDm : public QObject {
    Q_OBJECT
public:
    explicit TIoDm(TmainFm* mainFm);
    Query& query() { return ADOQuery1; }

private:
    TmainFm* m_main;
    Query ADOQuery1;
};
