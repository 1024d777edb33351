#include "TmainFm.h"

#include "TcommonDm.h"
#include "components/ZvTray.h"
#include "gui/Messages.h"
#include "gui/pU_Boxes.h"
#include "tasks/TzvTasksFrame.h"

#include <QAction>
#include <QHideEvent>
#include <QMenu>
#include <QTimer>

// The main window's life in the notification area: the icon and its menu,
// hiding with the balloon, stay on top, close.

QString TmainFm::Label() {
    return AppLabel();
}

QString TmainFm::Caption() {
    return QStringLiteral("Zarvik Tasquel ") + Label();
}

void TmainFm::CreateTrayIcon() {
    Timer_balloon = new QTimer(this);
    Timer_balloon->setObjectName(QStringLiteral("Timer_balloon"));
    Timer_balloon->setInterval(3600000);
    Timer_balloon->setSingleShot(true); // it only switches itself off

    ZvTrayIcon1 = new TZvTrayIcon(this);
    m_hasNotifyArea = ZvTrayIcon1->notifyArea()->isAvailable();
    if (!m_hasNotifyArea) {
        // Hidden there, the window could never come back.
        ZvTrayIcon1->SetActive(false);
        ZvTrayIcon1->CloseToTray = false;
    }
    ZvTrayIcon1->MinimizeToTray = true;
    ZvTrayIcon1->SetImages({QIcon(m_context.shareFolder + QStringLiteral("Images/appIcon.png"))});
    connect(ZvTrayIcon1, &TZvTrayIcon::OnClick, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers) { ZvTrayIcon1Click(b); });
    connect(ZvTrayIcon1, &TZvTrayIcon::OnBalloonHintClick, this,
            [this] { ZvTrayIcon1->Restore(); });
    ZvTrayIcon1->Loaded();

    // The desktop's panel may come after us (started at log-in) or go and
    // come back: the icon, Exit and closing follow it.
    Timer_notifyArea = new QTimer(this);
    Timer_notifyArea->setObjectName(QStringLiteral("Timer_notifyArea"));
    Timer_notifyArea->setInterval(2000);
    connect(Timer_notifyArea, &QTimer::timeout, this, [this] {
        const bool available = ZvTrayIcon1->notifyArea()->isAvailable();
        if (available != m_hasNotifyArea && !m_exiting)
            Guarded([&] { NotifyAreaChanged(available); });
    });
    Timer_notifyArea->start();
}

void TmainFm::NotifyAreaChanged(bool available) {
    m_hasNotifyArea = available;
    ZvTrayIcon1->CloseToTray = available;
    ZvTrayIcon1->SetActive(available);
    // Hidden in an area that has gone, the window could never come back.
    if (!available && !m_firstShow && !isVisible())
        showMinimized();
}

void TmainFm::ZvTrayIcon1Click(Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        ZvTrayIcon1->Restore();
}

void TmainFm::CreatePopupMenu() {
    PopupMenu_Tray = new QMenu(this);
    PopupMenu_Tray->setObjectName(QStringLiteral("PopupMenu_Tray"));
    PopupMenu_Tray->addAction(m_common->Action_UiOpen);
    PopupMenu_Tray->addSeparator();
    PopupMenu_Tray->addAction(Action_AddTask);
    PopupMenu_Tray->addAction(Action_PasteTask);
    PopupMenu_Tray->addSeparator();
    PopupMenu_Tray->addAction(Action_Exit);
    ZvTrayIcon1->SetPopupMenu(PopupMenu_Tray);
    ShowSyncInTrayMenu();
}

// After Paste to Task, while an account is set.
void TmainFm::ShowSyncInTrayMenu() {
    if (!PopupMenu_Tray)
        return;
    PopupMenu_Tray->removeAction(Action_Sync);
    if (Action_Sync->isVisible())
        PopupMenu_Tray->insertAction(PopupMenu_Tray->actions().value(
                                         PopupMenu_Tray->actions().indexOf(Action_PasteTask) + 1),
                                     Action_Sync);
}

void TmainFm::hideEvent(QHideEvent* e) {
    QMainWindow::hideEvent(e);
    if (m_exiting || m_restyling || e->spontaneous() || !m_hasNotifyArea)
        return;
    Guarded([this] { ZvFormState1->SaveState(); });
    if (!Timer_balloon->isActive()) {
        ZvTrayIcon1->ShowBalloonHint(Caption(), tr("Click here to open!"), 10, 1);
        Timer_balloon->start();
    }
}

void TmainFm::Action_UiStayOnTopExecute(bool on) {
    Guarded([this] { ZvFormState1->SaveState(); });
    // Re-made hidden and shown again at once: not a hide to the icon.
    m_restyling = true;
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    Guarded([this] { ZvFormState1->RestoreState(); });
    show(); // no opening of the window: no new task for "Add new item while open"
    m_restyling = false;
}

void TmainFm::Action_UiCloseExecute() {
    ZvTrayIcon1->Minimize();
}
