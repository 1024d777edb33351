#include "TcommonDm.h"

#include "dialogs/SecurityPage.h"
#include "dialogs/TAboutDlg.h"
#include "dialogs/TOptionsDlg.h"
#include "gui/AppContext.h"
#include "gui/ImageList.h"
#include "gui/pU_Boxes.h"
#include "platform/AutoStart.h"
#include "platform/Sealed.h"
#include "platform/WebSite.h"
#include "platform/pU_Funcs.h"
#include "sync/SyncStore.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QScopeGuard>
#include <QUrl>

namespace {
AutoStart autoStart() {
    return AutoStart(AutoStart::defaultDir(), QCoreApplication::applicationFilePath());
}
} // namespace

TcommonDm::TcommonDm(AppContext& context, QWidget* window)
    : QObject(window), m_context(context), m_window(window) {
    setObjectName(QStringLiteral("commonDm"));
    Action_UiOpen = MakeAction(this, "Action_UiOpen", tr("&Open Zarvik Tasquel"));
    Action_UiStayOnTop = MakeAction(this, "Action_UiStayOnTop", tr("S&tay on top"));
    Action_UiStayOnTop->setCheckable(true);
    Action_UiClose = MakeAction(this, "Action_UiClose", tr("&Close            Ctrl+F12"));
    Action_Options = MakeAction(this, "Action_Options", tr("&Options..."));
    HelpContents1 = MakeAction(this, "HelpContents1", tr("&Contents"), tr("Help Contents"));
    Action_Contact = MakeAction(this, "Action_Contact", tr("C&ontact Technical Support"));
    Action_Suggestion = MakeAction(this, "Action_Suggestion", tr("&Make a Suggestion"));
    Action_Website = MakeAction(this, "Action_Website", tr("&Visit Zarvik Website"));
    Action_Update = MakeAction(this, "Action_Update", tr("Check for &Update"));
    Action_Resources = MakeAction(this, "Action_Resources", tr("Get Free &Resources"));
    Action_About = MakeAction(this, "Action_About", tr("&About"));

    // F1 reaches the menu before any key handler: it opens the contents.
    HelpContents1->setShortcut(Qt::Key_F1);

    const auto page = [this](QAction* action, const char* path) {
        connect(action, &QAction::triggered, this,
                [this, path] { Guarded([&] { OpenWebPage(QLatin1String(path)); }); });
    };
    page(Action_Website, "/index.htm");
    page(Action_Update, "/index.htm");
    page(Action_Resources, "/resources.htm");
    connect(Action_Contact, &QAction::triggered, this, &TcommonDm::MailSupport);
    connect(Action_Suggestion, &QAction::triggered, this, &TcommonDm::MailSupport);
    connect(HelpContents1, &QAction::triggered, this, &TcommonDm::ShowHelp);
    connect(Action_About, &QAction::triggered, this,
            [this] { Guarded([this] { Action_AboutExecute(); }); });
    connect(Action_Options, &QAction::triggered, this,
            [this] { Guarded([this] { Action_OptionsExecute(); }); });

    SharedActions& shared = m_context.actions;
    shared.options = Action_Options;
    shared.stayOnTop = Action_UiStayOnTop;
    shared.close = Action_UiClose;
    shared.helpContents = HelpContents1;
    shared.contact = Action_Contact;
    shared.suggestion = Action_Suggestion;
    shared.website = Action_Website;
    shared.update = Action_Update;
    shared.resources = Action_Resources;
    shared.about = Action_About;
}

void TcommonDm::LoadOptions(const QString& configPath, AppOptions& options) {
    QString complaint;
    try {
        complaint = ::LoadOptions(IniFile(configPath), options);
    } catch (const IniWriteError& e) {
        ShowErrorOnce(QString::fromUtf8(e.what()));
    }
    if (!complaint.isEmpty())
        ShowError(complaint);
}

bool TcommonDm::IsAutoStart() {
    return autoStart().isAutoStart();
}
void TcommonDm::SetAutoStart(bool on) {
    autoStart().setAutoStart(on);
}

void TcommonDm::Action_OptionsExecute() {
    TOptionsDlg dlg(m_window, m_context.options, IniFile(m_context.configPath), autoStart(),
                    &m_context.sync, !m_context.password.isEmpty(), m_context.notifications);
    if (dlg.exec() != QDialog::Accepted)
        return;
    if (const auto next = dlg.page_Security->newPassword())
        ChangePassword(*next);
}

void TcommonDm::ChangePassword(const QString& next) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto cursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    m_context.db.changePassword(next.isEmpty() ? Database::defaultPassword() : next);
    m_context.password = next;
    Sealed::SetCurrentPassword(next);
    // What the connection carried for the sync goes with it.
    SyncStore(m_context.db).attach();
}

// The desktop's handlers report nothing useful when they fail: a missing
// browser, mail program or help file is not the program's to show.

void TcommonDm::OpenWebPage(const QString& path) {
    IniFile ini(m_context.configPath);
    const int publicTasks =
        ini.readInteger(QStringLiteral("log"), QStringLiteral("publicTasks"), 0);
    QDesktopServices::openUrl(
        QUrl(WebSite::PageAddress(path, 0, m_context.storedTaskCount, publicTasks)));
    // The window's own visit time stays: it is the one read at start.
    ini.writeString(QStringLiteral("option"), QStringLiteral("visitWeb"),
                    FormatIsoDateTime(Clock::Now()));
}

void TcommonDm::MailSupport() {
    MailTo(WebSite::SupportMail());
}

void TcommonDm::MailTo(const QString& address) {
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address));
}

void TcommonDm::ShowHelp() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_context.helpPath));
}

void TcommonDm::Action_AboutExecute() {
    TAboutDlg dlg(m_context, m_window);
    dlg.exec();
}
