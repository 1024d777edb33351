#include "TIoDm.h"

#include "core/ICalendar.h"
#include "core/ICalendarImport.h"
#include "core/Interchange.h"
#include "core/SafetyCopies.h"
#include "dialogs/Dlg_ReplaceAsk.h"
#include "dialogs/ProgressWindow.h"
#include "gui/AppContext.h"
#include "gui/pU_Boxes.h"

#include <QDir>

#include <memory>

TIoDm::TIoDm(AppContext& context, QWidget* window)
    : QObject(window), m_context(context), m_window(window) {
    setObjectName(QStringLiteral("IoDm"));
}

bool TIoDm::BackupToFile() {
    m_report.clear();
    const QString name =
        AskSaveFileName(tr("Database Backup"), Interchange::SaveFilter(), QStringLiteral("zvx"));
    if (name.isEmpty())
        return false;
    TProgressWnd progress(m_window, tr("Writing the backup..."));
    try {
        const int tasks = Interchange::WriteBackup(m_context.db, name, m_context.fileVersion(),
                                                   progress.errorBox(), progress.callback());
        m_report = tr("Backed up: %1 tasks to %2").arg(tasks).arg(QDir::toNativeSeparators(name));
    } catch (const DbError&) {
        throw; // a database failure goes to the general error display
    } catch (const std::exception&) {
        progress.errorBox()(tr("File write failure!"));
        return false;
    }
    return true;
}

std::function<void()> TIoDm::safetyCopy() {
    m_safetyCopy.clear();
    return [this] {
        m_safetyCopy = SafetyCopies::Write(m_context.db, m_context.folder, m_context.fileVersion(),
                                           Clock::CurrentDateTime());
    };
}

bool TIoDm::RestoreFromFile() {
    const QString name =
        AskOpenFileName(tr("Database Restore"), Interchange::OpenFilter(), QStringLiteral("zvx"));
    if (name.isEmpty())
        return false;
    std::unique_ptr<TReplaceAskDlg> dlg(new TReplaceAskDlg(m_window));
    m_replace = dlg.get();
    TProgressWnd progress(m_window, tr("Restoring..."));
    const bool ok = Interchange::RestoreFromFile(
        m_context.db, name,
        [&](const Interchange::ReplaceQuestion& q) {
            return progress.aside([&] { return dlg->Ask(q); });
        },
        progress.errorBox(), progress.callback(), safetyCopy());
    m_replace = nullptr;
    return ok;
}

bool TIoDm::ImportFromFile() {
    const QString name =
        AskOpenFileName(tr("Import"), Interchange::OpenFilter(), QStringLiteral("zvx"));
    if (name.isEmpty())
        return false;
    TProgressWnd progress(m_window, tr("Importing..."));
    return Interchange::ImportFromFile(m_context.db, name, progress.errorBox(), progress.callback(),
                                       safetyCopy());
}

bool TIoDm::ImportCalendarFromFile() {
    m_report.clear();
    const QString name = AskOpenFileName(tr("Import from iCalendar"), ICalendar::FileFilter(),
                                         QStringLiteral("ics"));
    if (name.isEmpty())
        return false;
    TProgressWnd progress(m_window, tr("Importing..."));
    try {
        m_report = ICalendar::ImportFile(m_context.db, name, Clock::Now(), progress.callback(),
                                         safetyCopy())
                       .text();
    } catch (const DbError&) {
        throw; // a database failure goes to the general error display
    } catch (const std::exception& e) {
        progress.errorBox()(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}
