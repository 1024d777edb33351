#include "TcommonDm.h"

#include "TmainFm.h"
#include "dialogs/TOptionsDlg.h"
#include "pU_Boxes.h"
#include "platform/AutoStart.h"

#include <QAction>
#include <QCoreApplication>

namespace {
QAction* makeAction(QObject* owner, const char* name, const QString& caption,
                    const QString& hint = QString()) {
    auto* a = new QAction(caption, owner);
    a->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    return a;
}

AutoStart autoStart() {
    return AutoStart(AutoStart::defaultDir(), QCoreApplication::applicationFilePath());
}
} // namespace

TcommonDm::TcommonDm(TmainFm* mainFm) : QObject(mainFm), m_main(mainFm) {
    setObjectName(QStringLiteral("commonDm"));
    Action_UiOpen = makeAction(this, "Action_UiOpen", QStringLiteral("&Open Zarvik Tasquel"));
    Action_UiStayOnTop = makeAction(this, "Action_UiStayOnTop", QStringLiteral("S&tay on top"));
    Action_UiStayOnTop->setCheckable(true);
    Action_UiClose =
        makeAction(this, "Action_UiClose", QStringLiteral("&Close            Ctrl+F12"));
    Action_Options = makeAction(this, "Action_Options", QStringLiteral("&Options..."));
    HelpContents1 = makeAction(this, "HelpContents1", QStringLiteral("&Contents"),
                               QStringLiteral("Help Contents"));
    Action_Contact =
        makeAction(this, "Action_Contact", QStringLiteral("C&ontact Technical Support"));
    Action_Suggestion = makeAction(this, "Action_Suggestion", QStringLiteral("&Make a Suggestion"));
    Action_Website = makeAction(this, "Action_Website", QStringLiteral("&Visit Zarvik Website"));
    Action_Update = makeAction(this, "Action_Update", QStringLiteral("Check for &Update"));
    Action_Resources = makeAction(this, "Action_Resources", QStringLiteral("Get Free Resources"));
    Action_About = makeAction(this, "Action_About", QStringLiteral("&About"));

    connect(Action_UiOpen, &QAction::triggered, m_main, &TmainFm::BringForward);
    connect(Action_Options, &QAction::triggered, this,
            [this] { Guarded([this] { Action_OptionsExecute(); }); });
    // Until the notification area exists, "Close" minimises the window.
    connect(Action_UiClose, &QAction::triggered, m_main, &QWidget::showMinimized);
    connect(Action_UiStayOnTop, &QAction::toggled, m_main, [this](bool on) {
        const QRect g = m_main->geometry();
        m_main->setWindowFlag(Qt::WindowStaysOnTopHint, on);
        m_main->setGeometry(g);
        m_main->show();
    });
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
