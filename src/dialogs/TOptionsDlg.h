#pragma once

#include "platform/AutoStart.h"
#include "platform/IniFile.h"
#include "platform/Options.h"

#include <QDialog>

class DesktopNotifications;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class SecurityPage;
class SyncPage;
struct SyncHooks;

class TOptionsDlg : public QDialog {
    Q_OBJECT
public:
    // hooks: the running program's sync; without them the page cannot test.
    // protectedNow: the tasks have a password of the user's own.
    // notifications: the desktop's server; without one the box says why not.
    TOptionsDlg(QWidget* parent, AppOptions& options, IniFile ini, AutoStart autoStart,
                SyncHooks* hooks = nullptr, bool protectedNow = false,
                const DesktopNotifications* notifications = nullptr);

    QCheckBox* cb_AutoStart;
    QCheckBox* cb_AutoMinimized;
    QCheckBox* cb_AddOpen;
    QCheckBox* cb_DesktopNotify;
    QLabel* lbl_NoDesktopNotify; // why the box above is off, where it is
    QPushButton* Btn_Ok;
    QPushButton* Btn_Cancel;
    QTabWidget* Tabs;
    SyncPage* page_Sync;
    SecurityPage* page_Security;

    // The caption of the log-on box names the platform it runs on.
    static QString autoStartCaption();

private:
    void Btn_OkClick();
    AppOptions& m_options;
    IniFile m_ini;
    AutoStart m_autoStart;
    SyncHooks* m_hooks;
};
