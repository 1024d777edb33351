#include "ZvTray.h"

#include "gui/pU_Boxes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QWidget>

TZvTrayIcon::TZvTrayIcon(QWidget* owner, TZvNotifyArea* area)
    : QObject(owner), m_owner(owner), m_area(area ? area : MakeNotifyArea(this)) {
    setObjectName(QStringLiteral("ZvTrayIcon1"));
    if (m_area->parent() == nullptr)
        m_area->setParent(this);
    connect(m_area, &TZvNotifyArea::callback, this,
            [this](int code) { Guarded([&] { Callback(code); }); });
    // The component's own menu, until another is set.
    m_ownMenu = new QMenu(owner);
    m_ownMenu->setObjectName(QStringLiteral("ZvTrayOwnMenu"));
    connect(m_ownMenu->addAction(tr("&Close")), &QAction::triggered, this,
            [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); });
    connect(m_ownMenu->addAction(tr("&Restore")), &QAction::triggered, this, [this] { Restore(); });
    m_popup = m_ownMenu;
}

TZvTrayIcon::~TZvTrayIcon() {
    RemoveFromTray();
    if (m_owner && m_hooked)
        m_owner->removeEventFilter(this);
    delete m_ownMenu;
}

void TZvTrayIcon::Error(const QString& text) {
    ShowMessageBox(tr("Zarvik TrayIcon Error"), text, MB_OK);
}

QIcon TZvTrayIcon::ImageAt(int index) const {
    return index >= 0 && index < m_images.size() ? m_images.at(index) : QIcon();
}

bool TZvTrayIcon::Notify(TZvNotifyArea::Command command) {
    TNotifyIconData d;
    d.flags = TNotifyIconData::Message | TNotifyIconData::IconFlag |
              (m_showHint ? TNotifyIconData::Tip : 0);
    d.icon = m_current;
    if (d.icon.isNull())
        d.icon = QApplication::windowIcon();
    if (d.icon.isNull())
        d.icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    if (m_showHint)
        d.tip = m_hint.left(TipLimit);
    return m_area->notify(command, d);
}

// ----------------------------------------------------------- the area

bool TZvTrayIcon::AddToTray() {
    if (m_added)
        return true;
    if (m_owner && !m_hooked) {
        m_owner->installEventFilter(this);
        m_hooked = true;
    }
    m_added = Notify(TZvNotifyArea::Add);
    if (!m_added)
        Error(tr("AddToTray can not add icon to the tray"));
    return m_added;
}

void TZvTrayIcon::RemoveFromTray() {
    if (!m_added)
        return;
    Notify(TZvNotifyArea::Delete);
    m_added = false;
}

void TZvTrayIcon::ResetIcon() {
    if (m_active && !Notify(TZvNotifyArea::Modify))
        Error(tr("ResetIcon Error"));
}

void TZvTrayIcon::ShowBalloonHint(const QString& title, const QString& text, int seconds,
                                  int kind) {
    TNotifyIconData d;
    d.flags = TNotifyIconData::Info;
    d.infoTitle = title.left(BalloonTitleLimit);
    d.info = text.left(BalloonTextLimit);
    d.timeoutMs = seconds * 1000;
    d.infoKind = kind;
    m_area->notify(TZvNotifyArea::Modify, d); // a balloon that cannot show is not reported
}

void TZvTrayIcon::Loaded() {
    if (m_active)
        AddToTray();
    if (!m_icon.isNull())
        SetIcon(m_icon);
    else if (!m_images.isEmpty())
        SetImages(m_images);
}

// ----------------------------------------------------------- properties

void TZvTrayIcon::SetActive(bool on) {
    if (on) {
        AddToTray();
        m_active = true;
        if (m_resumeAnimation)
            SetAnimate(true);
    } else {
        if (m_animate) {
            SetAnimate(false);
            m_resumeAnimation = true;
        }
        RemoveFromTray();
        m_active = false;
    }
}

void TZvTrayIcon::SetHint(const QString& text) {
    if (text == m_hint)
        return;
    m_hint = text;
    if (m_showHint && m_added && !Notify(TZvNotifyArea::Modify))
        Error(tr("SetHint Error"));
}

void TZvTrayIcon::SetShowHint(bool on) {
    m_showHint = on;
    if (m_added && !Notify(TZvNotifyArea::Modify))
        Error(tr("SetShowHint Error"));
}

void TZvTrayIcon::SetIcon(const QIcon& icon) {
    m_icon = icon;
    m_current = icon;
    if (m_added)
        ResetIcon();
}

void TZvTrayIcon::SetImages(const QList<QIcon>& images) {
    m_images = images;
    if (!m_icon.isNull() || m_images.isEmpty())
        return;
    m_current = ImageAt(m_imageIndex);
    ResetIcon();
}

void TZvTrayIcon::SetImageIndex(int index) {
    m_imageIndex = index;
    if (!m_added)
        return;
    if (m_images.isEmpty()) {
        Error(tr("SetImageIndex: No image list assigned"));
        return;
    }
    m_current = ImageAt(m_imageIndex);
    ResetIcon();
}

void TZvTrayIcon::SetInterval(int ms) {
    m_interval = ms;
    if (m_timer)
        m_timer->setInterval(ms);
}

void TZvTrayIcon::SetPopupMenu(QMenu* menu) {
    m_popup = menu;
}

void TZvTrayIcon::SetAnimate(bool on) {
    if (on == m_animate)
        return;
    m_animate = on;
    if (!m_active)
        return;
    m_resumeAnimation = on;
    if (on) {
        if (!m_timer) {
            m_timer = new QTimer(this);
            connect(m_timer, &QTimer::timeout, this,
                    [this] { Guarded([this] { AnimateNext(); }); });
        }
        if (m_interval == 0)
            m_interval = 200;
        m_timer->setInterval(m_interval);
    } else {
        if (m_timer)
            m_timer->stop();
        if (!m_icon.isNull())
            m_current = m_icon;
        else if (!m_images.isEmpty())
            m_current = ImageAt(m_imageIndex);
        ResetIcon();
    }
    if (m_timer) {
        if (m_animate)
            m_timer->start();
        else
            m_timer->stop();
    }
}

void TZvTrayIcon::AnimateNext() {
    if (m_images.isEmpty() || !m_added)
        return;
    m_current = ImageAt(m_frame);
    ResetIcon();
    m_frame = m_frame + 1 < m_images.size() ? m_frame + 1 : 0;
}

// ----------------------------------------------------------- events

void TZvTrayIcon::Callback(int code) {
    const Qt::KeyboardModifiers shift = QApplication::queryKeyboardModifiers();
    switch (code) {
    case LeftDown:
        emit OnClick(Qt::LeftButton, shift);
        break;
    case MiddleDown:
        emit OnClick(Qt::MiddleButton, shift);
        break;
    case LeftDouble:
        DblClick(Qt::LeftButton);
        break;
    case RightDouble:
        DblClick(Qt::RightButton);
        break;
    case MiddleDouble:
        DblClick(Qt::MiddleButton);
        break;
    case RightDown:
        ShowPopup();
        break;
    case BalloonHidden:
        emit OnBalloonHintHide();
        break;
    case BalloonTimeout:
        emit OnBalloonHintClose();
        break;
    case BalloonClicked:
        emit OnBalloonHintClick();
        break;
    default:
        break; // button-up codes and moves
    }
}

void TZvTrayIcon::DblClick(Qt::MouseButton button) {
    bool restoreApp = true;
    emit OnDblClick(button, QApplication::queryKeyboardModifiers(), restoreApp);
    if (restoreApp)
        Restore();
}

void TZvTrayIcon::ShowPopup() {
    if (!m_popup)
        return;
    // Handlers find the window from the menu.
    m_popup->setProperty("popupComponent", QVariant::fromValue<QObject*>(m_owner.data()));
    m_popup->popup(QCursor::pos());
    m_popup->activateWindow(); // closes when the user clicks elsewhere
}

void TZvTrayIcon::Restore() {
    emit OnRestore();
    if (m_owner) {
        if (m_owner->isMinimized())
            m_owner->setWindowState(m_owner->windowState() & ~Qt::WindowMinimized);
        m_owner->show();
        m_owner->raise();
        m_owner->activateWindow();
    }
    if (HideOnRestore)
        RemoveFromTray();
}

void TZvTrayIcon::Minimize() {
    // Posted, as a minimise command would be: it runs after the caller.
    QMetaObject::invokeMethod(
        this,
        [this] {
            Guarded([this] {
                if (m_owner && !(MinimizeToTray && m_active) && !m_owner->isMinimized())
                    m_owner->showMinimized(); // its state change reports it
                else
                    OwnerMinimized();
            });
        },
        Qt::QueuedConnection);
}

// ----------------------------------------------------------- the owner hook

void TZvTrayIcon::HideOwner() {
    AddToTray();
    if (m_owner)
        m_owner->hide();
}

// The owner was minimised, by its button, its system menu or Minimize.
void TZvTrayIcon::OwnerMinimized() {
    emit OnMinimize();
    if (!m_owner || !(MinimizeToTray && m_active))
        return;
    // Back to normal first, so that Restore shows it as it was.
    if (m_owner->isMinimized())
        m_owner->setWindowState(m_owner->windowState() & ~Qt::WindowMinimized);
    HideOwner();
}

bool TZvTrayIcon::eventFilter(QObject* watched, QEvent* e) {
    if (watched != m_owner)
        return false;
    if (e->type() == QEvent::Close && e->spontaneous() && CloseToTray && m_active) {
        // The close button, Alt+F4, the system menu: hidden, not closed.
        e->ignore();
        Guarded([this] { HideOwner(); });
        return true;
    }
    if (e->type() == QEvent::WindowStateChange && m_owner->isMinimized() &&
        !static_cast<QWindowStateChangeEvent*>(e)->oldState().testFlag(Qt::WindowMinimized)) {
        // The window manager has minimised it already: it is undone later,
        // outside its own state change. A late echo of a minimise that was
        // already turned into hiding finds the window hidden.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_owner && m_owner->isVisible())
                    Guarded([this] { OwnerMinimized(); });
            },
            Qt::QueuedConnection);
    }
    return false;
}
