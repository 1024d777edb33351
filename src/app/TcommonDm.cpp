#include "TcommonDm.h"

#include "TmainFm.h"
#include "components/ImageList.h"
#include "dialogs/TOptionsDlg.h"
#include "pU_Boxes.h"
#include "platform/AutoStart.h"

#include <QAction>
#include <QCoreApplication>

namespace {
AutoStart autoStart() {
    return AutoStart(AutoStart::defaultDir(), QCoreApplication::applicationFilePath());
}
} // namespace

TcommonDm::TcommonDm(TmainFm* mainFm) : QObject(mainFm), m_main(mainFm) {
    setObjectName(QStringLiteral("commonDm"));
    Action_UiOpen = MakeAction(this, "Action_UiOpen", QStringLiteral("&Open Zarvik Tasquel"));
    Action_UiStayOnTop = MakeAction(this, "Action_UiStayOnTop", QStringLiteral("S&tay on top"));
    Action_UiStayOnTop->setCheckable(true);
    Action_UiClose =
        MakeAction(this, "Action_UiClose", QStringLiteral("&Close            Ctrl+F12"));
    Action_Options = MakeAction(this, "Action_Options", QStringLiteral("&Options..."));
    HelpContents1 = MakeAction(this, "HelpContents1", QStringLiteral("&Contents"),
                               QStringLiteral("Help Contents"));
    Action_Contact =
        MakeAction(this, "Action_Contact", QStringLiteral("C&ontact Technical Support"));
    Action_Suggestion = MakeAction(this, "Action_Suggestion", QStringLiteral("&Make a Suggestion"));
    Action_Website = MakeAction(this, "Action_Website", QStringLiteral("&Visit Zarvik Website"));
    Action_Update = MakeAction(this, "Action_Update", QStringLiteral("Check for &Update"));
    Action_Resources = MakeAction(this, "Action_Resources", QStringLiteral("Get Free Resources"));
    Action_About = MakeAction(this, "Action_About", QStringLiteral("&About"));

    connect(Action_UiOpen, &QAction::triggered, m_main, &TmainFm::BringForward); // Restore
    connect(Action_Options, &QAction::triggered, this,
            [this] { Guarded([this] { Action_OptionsExecute(); }); });
    connect(Action_UiClose, &QAction::triggered, m_main, &TmainFm::Action_UiCloseExecute);
    connect(Action_UiStayOnTop, &QAction::toggled, m_main, &TmainFm::Action_UiStayOnTopExecute);
}

void TcommonDm::LoadOptions(TmainFm& mainFm) {
    const QString complaint = ::LoadOptions(IniFile(mainFm.configPath()), mainFm.options());
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
    TOptionsDlg dlg(m_main, m_main->options(), IniFile(m_main->configPath()), autoStart());
    dlg.exec();
}
