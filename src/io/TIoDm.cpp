#include "TIoDm.h"

#include "dialogs/Dlg_ReplaceAsk.h"
#include "core/Interchange.h"
#include "dialogs/ProgressWindow.h"
#include "core/SafetyCopies.h"
#include "app/TmainFm.h"
#include "gui/pU_Boxes.h"
#include "platform/ZvVersionInfo.h"

#include <memory>

TIoDm::TIoDm(TmainFm* mainFm) : QObject(mainFm), m_main(mainFm) {
    setObjectName(QStringLiteral("IoDm"));
}

bool TIoDm::BackupToFile() {
    const QString name = AskSaveFileName(Interchange::SaveFilter(), QStringLiteral("zvx"));
    if (name.isEmpty())
        return false;
    TProgressWnd progress(m_main, QStringLiteral("Writing the backup..."));
    try {
        Interchange::WriteBackup(m_main->db(), name,
                                 m_main->versionInfo().GetVersionValue(TZvVersionInfo::FileVersion),
                                 progress.errorBox(), progress.callback());
    } catch (const DbError&) {
        throw; // a database failure goes to the general error display
    } catch (const std::exception&) {
        progress.errorBox()(QStringLiteral("File write failure!"));
        return false;
    }
    return true;
}

std::function<void()> TIoDm::safetyCopy() {
    m_safetyCopy.clear();
    return [this] {
        m_safetyCopy =
            SafetyCopies::Write(m_main->db(), m_main->folder(),
                                m_main->versionInfo().GetVersionValue(TZvVersionInfo::FileVersion),
                                Clock::CurrentDateTime());
    };
}

bool TIoDm::RestoreFromFile() {
    const QString name = AskOpenFileName(Interchange::OpenFilter(), QStringLiteral("zvx"));
    if (name.isEmpty())
        return false;
    std::unique_ptr<TReplaceAskDlg> dlg(new TReplaceAskDlg(m_main));
    m_replace = dlg.get();
    TProgressWnd progress(m_main, QStringLiteral("Restoring..."));
    const bool ok = Interchange::RestoreFromFile(
        m_main->db(), name,
        [&](const Interchange::ReplaceQuestion& q) {
            return progress.aside([&] { return dlg->Ask(q); });
        },
        progress.errorBox(), progress.callback(), safetyCopy());
    m_replace = nullptr;
    return ok;
}

bool TIoDm::ImportFromFile() {
    const QString name = AskOpenFileName(Interchange::OpenFilter(), QStringLiteral("zvx"));
    if (name.isEmpty())
        return false;
    TProgressWnd progress(m_main, QStringLiteral("Importing..."));
    return Interchange::ImportFromFile(m_main->db(), name, progress.errorBox(), progress.callback(),
                                       safetyCopy());
}
