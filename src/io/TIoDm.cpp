#include "TIoDm.h"

#include "Dlg_ReplaceAsk.h"
#include "Interchange.h"
#include "app/TmainFm.h"
#include "app/pU_Boxes.h"
#include "components/ZvVersionInfo.h"

#include <QApplication>
#include <QProgressDialog>
#include <memory>

namespace {

// A progress window that shows itself only when the work lasts over half
// a second.
class Progress {
public:
    explicit Progress(const QString& label) : m_dlg(label, QString(), 0, 100) {
        m_dlg.setWindowTitle(AppTitle());
        m_dlg.setWindowModality(Qt::ApplicationModal);
        m_dlg.setMinimumDuration(500);
        m_dlg.setCancelButton(nullptr);
        m_dlg.setAutoClose(true);
        m_dlg.setValue(0);
    }
    Interchange::Progress callback() {
        return [this](int done, int total) {
            m_dlg.setMaximum(qMax(1, total));
            m_dlg.setValue(qMin(done, total));
        };
    }

private:
    QProgressDialog m_dlg;
};

} // namespace

TIoDm::TIoDm(TmainFm* mainFm) : QObject(mainFm), m_main(mainFm) {
    setObjectName(QStringLiteral("IoDm"));
}

bool TIoDm::BackupToFile() {
    const QString name = AskSaveFileName(SaveFilter(), QStringLiteral("zvx"));
    if (name.isEmpty())
        return false;
    Progress progress(QStringLiteral("Writing the backup..."));
    try {
        Interchange::WriteBackup(m_main->db(), name,
                                 m_main->versionInfo().GetVersionValue(TZvVersionInfo::FileVersion),
                                 ErrorBox, progress.callback());
    } catch (const DbError&) {
        throw; // a database failure goes to the general error display
    } catch (const std::exception&) {
        ErrorBox(QStringLiteral("File write failure!"));
        return false;
    }
    return true;
}

bool TIoDm::RestoreFromFile() {
    const QString name = AskOpenFileName(OpenFilter(), QStringLiteral("zvx"));
    if (name.isEmpty())
        return false;
    std::unique_ptr<TReplaceAskDlg> dlg(new TReplaceAskDlg(m_main));
    m_replace = dlg.get();
    Progress progress(QStringLiteral("Restoring..."));
    const bool ok = Interchange::RestoreFromFile(
        m_main->db(), name, [&](const Interchange::ReplaceQuestion& q) { return dlg->Ask(q); },
        ErrorBox, progress.callback());
    m_replace = nullptr;
    return ok;
}

bool TIoDm::ImportFromFile() {
    const QString name = AskOpenFileName(OpenFilter(), QStringLiteral("zvx"));
    if (name.isEmpty())
        return false;
    Progress progress(QStringLiteral("Importing..."));
    return Interchange::ImportFromFile(m_main->db(), name, ErrorBox, progress.callback());
}
