#pragma once

#include <QObject>

class QAction;
class TmainFm;

// Window-level commands placed in the frame's main menu, and the options.
class TcommonDm : public QObject {
    Q_OBJECT
public:
    explicit TcommonDm(TmainFm* mainFm);

    // Runs while the main window is created, before this module exists, so
    // it uses the window's fields only.
    static void LoadOptions(TmainFm& mainFm);
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
    void Action_OptionsExecute();
    void Action_AboutExecute();
    TmainFm* m_main;
};
