#pragma once

#include <QObject>

class AppContext;
struct AppOptions;
class QAction;
class QWidget;

// Window-level commands placed in the frame's main menu, and the options.
class TcommonDm : public QObject {
    Q_OBJECT
public:
    // Fills the context's shared actions with its own; window: the owner
    // of its dialogs.
    TcommonDm(AppContext& context, QWidget* window);

    // Runs while the main window is created, before this module exists.
    static void LoadOptions(const QString& configPath, AppOptions& options);
    static bool IsAutoStart();
    static void SetAutoStart(bool on);

    // Opens path of the maker's web site with the program's query and
    // records the visit in the configuration file.
    void OpenWebPage(const QString& path);
    // A new mail to the support address in the user's mail program.
    void MailSupport();
    static void MailTo(const QString& address);
    // The help file in the desktop's viewer.
    void ShowHelp();

    QAction* Action_UiOpen;
    QAction* Action_UiStayOnTop;
    QAction* Action_UiClose;
    QAction* Action_Options;
    QAction* HelpContents1;
    QAction* Action_Contact;
    QAction* Action_Suggestion;
    QAction* Action_Website;
    QAction* Action_Update;
    QAction* Action_Resources;
    QAction* Action_About;

private:
    // Encrypts the database with the user's new password (empty: the
    // built-in key again).
    void ChangePassword(const QString& next);
    void Action_OptionsExecute();
    void Action_AboutExecute();
    AppContext& m_context;
    QWidget* m_window;
};
