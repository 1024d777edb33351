#pragma once

#include <QIcon>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <functional>

class QTimer;
class QWidget;

// What one call to the notification area carries: the icon with its tip, or
// a balloon. Texts are already cut to what the area takes.
struct TNotifyIconData {
    enum Flags { Message = 1, IconFlag = 2, Tip = 4, Info = 16 };
    static constexpr int Id = 2;
    static constexpr int CallbackMessage = 1791;
    int flags = 0;
    QIcon icon;
    QString tip;       // at most 127 characters
    QString info;      // balloon text, at most 255
    int timeoutMs = 0; // the balloon's seconds times 1000
    QString infoTitle; // at most 63
    int infoKind = 0;  // 0 none, 1 information, 2 warning, 3 error
};

// The desktop's notification area, one icon of ours in it. The real one
// stands on QSystemTrayIcon; tests put in one that records every call.
class TZvNotifyArea : public QObject {
    Q_OBJECT
public:
    enum Command { Add = 0, Modify = 1, Delete = 2 };
    using QObject::QObject;
    // Whether the desktop has a notification area at all.
    virtual bool isAvailable() const = 0;
    // Returns whether the area took the call.
    virtual bool notify(Command command, const TNotifyIconData& data) = 0;

signals:
    // The mouse and balloon event codes of the icon (513 left button down ...).
    void callback(int code);
};

// Makes the notification area for new tray icons; empty: the real one.
using NotifyAreaFactory = std::function<TZvNotifyArea*(QObject* parent)>;
void SetNotifyAreaFactory(NotifyAreaFactory factory);
TZvNotifyArea* MakeNotifyArea(QObject* parent);
// A hint as the desktop's tool tip shows it: Qt breaks lines at line feeds
// only and draws text that looks like HTML as HTML, so CRs become line
// feeds and such text is handed over escaped.
QString NotifyAreaToolTip(const QString& hint);

// The program's icon in the notification area: hint, balloons, clicks, menu,
// animation, and the owner window's minimise and close turned into hiding.
class TZvTrayIcon : public QObject {
    Q_OBJECT
public:
    enum EventCode {
        LeftDown = 513,
        LeftDouble = 515,
        RightDown = 516,
        RightDouble = 518,
        MiddleDown = 519,
        MiddleDouble = 521,
        BalloonHidden = 1027,
        BalloonTimeout = 1028,
        BalloonClicked = 1029,
    };
    static constexpr int TipLimit = 127;
    static constexpr int BalloonTextLimit = 255;
    static constexpr int BalloonTitleLimit = 63;

    // owner: the window whose minimise and close become hiding.
    explicit TZvTrayIcon(QWidget* owner, TZvNotifyArea* area = nullptr);
    ~TZvTrayIcon() override;

    // Published properties.
    bool Active() const { return m_active; }
    void SetActive(bool on);
    bool Animate() const { return m_animate; }
    void SetAnimate(bool on);
    bool CloseToTray = true;
    bool HideOnRestore = false;
    QString Hint() const { return m_hint; }
    void SetHint(const QString& text);
    QIcon Icon() const { return m_icon; }
    void SetIcon(const QIcon& icon);
    QList<QIcon> Images() const { return m_images; }
    void SetImages(const QList<QIcon>& images);
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);
    int Interval() const { return m_interval; }
    void SetInterval(int ms);
    bool MinimizeToTray = false;
    QMenu* PopupMenu() const { return m_popup; }
    void SetPopupMenu(QMenu* menu);
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool on);

    // After the owner is set up: puts the icon in when active.
    void Loaded();
    bool AddToTray();
    void RemoveFromTray();
    void ResetIcon();
    void ShowBalloonHint(const QString& title, const QString& text, int seconds, int kind);
    // Shows the owner again, in front.
    void Restore();
    // Asks the owner to minimise, later, as its own minimise button would.
    void Minimize();

    bool isAdded() const { return m_added; }
    TZvNotifyArea* notifyArea() const { return m_area; }
    QIcon currentIcon() const { return m_current; }
    QMenu* ownMenu() const { return m_ownMenu; }

signals:
    void OnClick(Qt::MouseButton button, Qt::KeyboardModifiers shift);
    // A handler may set restoreApp false to keep the owner hidden.
    void OnDblClick(Qt::MouseButton button, Qt::KeyboardModifiers shift, bool& restoreApp);
    void OnMinimize();
    void OnRestore();
    void OnBalloonHintHide();
    void OnBalloonHintClose();
    void OnBalloonHintClick();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool Notify(TZvNotifyArea::Command command);
    void Callback(int code);
    void DblClick(Qt::MouseButton button);
    void ShowPopup();
    void HideOwner();
    void OwnerMinimized();
    void AnimateNext();
    QIcon ImageAt(int index) const;
    static void Error(const QString& text);

    QPointer<QWidget> m_owner;
    TZvNotifyArea* m_area;
    bool m_active = true;
    bool m_animate = false;
    bool m_resumeAnimation = false;
    bool m_added = false;
    bool m_hooked = false;
    bool m_showHint = true;
    QString m_hint;
    QIcon m_icon;
    QIcon m_current;
    QList<QIcon> m_images;
    int m_imageIndex = 0;
    int m_interval = 250;
    int m_frame = 0;
    QTimer* m_timer = nullptr;
    QPointer<QMenu> m_popup;
    QMenu* m_ownMenu;
};
