#pragma once

#include "components/ZvFormState.h"
#include "gui/AppContext.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

class QAction;
class QMenu;
class QTimer;
class TZvTrayIcon;
class SingleInstance;
class TzvTasksFrame;
class TcommonDm;
class TIoDm;
class TZVHHComp;
class SyncEngine;
struct SyncResult;

class TmainFm : public QMainWindow {
    Q_OBJECT
public:
    // The whole program: builds the context, the modules and the tray icon;
    // the frame comes at the first showing. folder: the program folder,
    // with its trailing separator.
    explicit TmainFm(const QString& folder, SingleInstance* instance = nullptr,
                     QWidget* parent = nullptr);
    TmainFm(const ProgramFolders& folders, SingleInstance* instance, QWidget* parent = nullptr);
    ~TmainFm() override;

    QString folder() const { return m_context.folder; }
    QString configPath() const { return m_context.configPath; }
    QString alarmSoundPath() const { return m_context.alarmSoundPath; }
    QString helpPath() const { return m_context.helpPath; }
    AppContext& context() { return m_context; }
    Database& db() { return m_db; }
    const TBackgrounds& backgrounds() const { return m_backgrounds; }
    AppOptions& options() { return m_options; }
    const TZvVersionInfo& versionInfo() const { return ZvVersionInfo1; }
    TZvFormState* formState() const { return ZvFormState1; }
    TzvTasksFrame* tasksFrame() const;
    bool firstShow() const { return m_firstShow; }
    bool exiting() const { return m_exiting; }
    int storedTaskCount() const { return m_context.storedTaskCount; }
    TcommonDm* commonDm() const { return m_common; }
    TIoDm* ioDm() const { return m_io; }
    TZvTrayIcon* trayIcon() const { return ZvTrayIcon1; }
    // False on a desktop without a notification area: the window then
    // minimises to the task bar and File has Exit.
    bool hasNotifyArea() const { return m_hasNotifyArea; }
    // The user cancelled the password question at start: the program ends.
    bool refused() const { return m_refused; }
    // The caption and balloon title: "Zarvik Tasquel " and the label.
    static QString Caption();
    // The edition's label, after the product title.
    static QString Label();
    QTimer* Timer_balloon;
    QTimer* Timer_notifyArea; // follows the desktop's notification area
    // The notification area came or went while the program runs.
    void NotifyAreaChanged(bool available);
    QMenu* PopupMenu_Tray = nullptr;

    // Window-level commands.
    QAction* Action_AddTask;
    QAction* Action_PasteTask;
    QAction* Action_Exit;
    QAction* Action_DbBackup;
    QAction* Action_DbRestore;
    QAction* Action_Import;
    QAction* Action_ImportCalendar;
    QAction* Action_Sync; // F5, while a sync account is set

    // Ends the program: save, free the frame, release the instance, close.
    void Exit();
    // Brings the window forward: shown, restored, raised and active.
    void BringForward();

signals:
    // Exit has run: the program should end.
    void exited();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void Action_DbBackupExecute();
    void Action_DbRestoreExecute();
    void Action_ImportExecute();
    void Action_ImportCalendarExecute();
    // Reloads after a command that changed the tasks and names its safety copy.
    void ReportSafetyCopy(bool reload, const QString& report = {});
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void FormCreate();
    void OpenDatabase();
    void FirstShow();
    void RunStartupChecks();
    void CreateTrayIcon();
    void ZvTrayIcon1Click(Qt::MouseButton button);

public:
    void Action_UiStayOnTopExecute(bool on);
    void Action_UiCloseExecute();

private:
    void CreatePopupMenu();
    void CreateFrame();
    // Synchronizing (MainWindowSync.cpp).
    void CreateSync();
    void ApplySyncSettings();
    void StartSyncSoon();
    void StartSync(bool byHand);
    void SyncFinished(const SyncResult& r);
    void AskSyncPassword(SecretStore::Outcome stored);
    void StopSync();
    void ShowSyncInTrayMenu();

    SingleInstance* m_instance = nullptr;
    bool m_firstShow = true;
    bool m_exiting = false;
    TBackgrounds m_backgrounds;
    AppOptions m_options;
    Database m_db;
    TZvVersionInfo ZvVersionInfo1;
    AppContext m_context; // after the parts it refers to
    QPointer<TzvTasksFrame> m_tasksFrame;
    TIoDm* m_io = nullptr;
    TcommonDm* m_common = nullptr;
    TZvFormState* ZvFormState1;
    TZvTrayIcon* ZvTrayIcon1 = nullptr;
    TZVHHComp* ZVHHComp1;
    bool m_hasNotifyArea = true;
    bool m_restyling = false;   // Stay on top re-makes the window
    bool m_newDatabase = false; // made at this start: the status bar says so
    bool m_tightened = false;   // files of an earlier version made private
    bool m_refused = false;     // Cancel when asked for the password
    SyncEngine* m_sync = nullptr;
    SecretStore* m_secrets = nullptr;
    SyncSettings m_syncSettings;
    QString m_syncPassword; // in memory only
    bool m_syncPasswordKnown = false, m_syncPasswordDeclined = false, m_syncAsking = false;
    QString m_syncListDeclined;         // a task list whose change was cancelled; asked again by F5
    bool m_syncPasswordRefused = false; // by the server: the store's is not tried again
    bool m_syncByHand = false;
    quint64 m_syncSeen = 0;            // changes here already followed by a sync
    QTimer* Timer_sync = nullptr;      // every few minutes
    QTimer* Timer_syncSoon = nullptr;  // soon after a change here
    QTimer* Timer_syncWatch = nullptr; // looks for changes here
};
