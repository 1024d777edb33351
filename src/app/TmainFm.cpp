#include "TmainFm.h"

#include "TcommonDm.h"
#include "components/ZvStatusBar.h"
#include "components/ZvTray.h"
#include "components/zvHHComp.h"
#include "dialogs/TupdateDlg.h"
#include "gui/ImageList.h"
#include "gui/Messages.h"
#include "gui/pU_Boxes.h"
#include "io/TIoDm.h"
#include "platform/FileModes.h"
#include "platform/Sealed.h"
#include "platform/SingleInstance.h"
#include "tasks/TaskDialogs.h"
#include "tasks/TzvTasksFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTimer>

TmainFm::TmainFm(const QString& folder, SingleInstance* instance, QWidget* parent)
    : TmainFm(ProgramFolders::Portable(folder), instance, parent) {}

TmainFm::TmainFm(const ProgramFolders& folders, SingleInstance* instance, QWidget* parent)
    : QMainWindow(parent), m_instance(instance),
      m_context(folders, m_db, m_options, ZvVersionInfo1, m_backgrounds) {
    setObjectName(QStringLiteral("mainFm"));
    setWindowTitle(AppTitle());
    setWindowIcon(QIcon(m_context.shareFolder + QStringLiteral("Images/appIcon.png")));
    setGeometry(567, 190, 446, 545);
    const auto action = [this](const char* name, const QString& caption) {
        return MakeAction(this, name, caption);
    };
    Action_AddTask = action("Action_AddTask", tr("&Add Task"));
    Action_PasteTask = action("Action_PasteTask", tr("Paste to &Task"));
    Action_Exit = action("Action_Exit", tr("E&xit"));
    Action_Exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Action_DbBackup = action("Action_DbBackup", tr("Database &Backup..."));
    Action_DbRestore = action("Action_DbRestore", tr("Database &Restore..."));
    Action_Import = action("Action_Import", tr("&Import..."));
    Action_ImportCalendar = action("Action_ImportCalendar", tr("Import from iCalen&dar..."));
    // Queued: the menu that triggered Exit belongs to the frame that Exit
    // deletes, and it is still handling its key or click.
    connect(Action_Exit, &QAction::triggered, this, &TmainFm::Exit, Qt::QueuedConnection);
    connect(Action_DbBackup, &QAction::triggered, this,
            [this] { Guarded([this] { Action_DbBackupExecute(); }); });
    connect(Action_DbRestore, &QAction::triggered, this,
            [this] { Guarded([this] { Action_DbRestoreExecute(); }); });
    connect(Action_Import, &QAction::triggered, this,
            [this] { Guarded([this] { Action_ImportExecute(); }); });
    connect(Action_ImportCalendar, &QAction::triggered, this,
            [this] { Guarded([this] { Action_ImportCalendarExecute(); }); });
    ZvFormState1 = new TZvFormState(this);
    ZVHHComp1 = new TZVHHComp(this);
    ZvFormState1->Section = QStringLiteral("form");
    connect(Action_AddTask, &QAction::triggered, this, [this] {
        ZvTrayIcon1->Restore();
        if (m_tasksFrame)
            PostTaskMessage(m_tasksFrame, WM_TASKS_ADD);
    });
    connect(Action_PasteTask, &QAction::triggered, this, [this] {
        if (m_tasksFrame)
            Guarded([this] { m_tasksFrame->Action_PasteTaskExecute(); }); // the window stays
    });
    FormCreate();
    m_context.notifications = new DesktopNotifications(QDBusConnection::sessionBus(),
                                                       QGuiApplication::desktopFileName(), this);
    // The modules after the database and the options they work on.
    m_io = new TIoDm(m_context, this);
    m_common = new TcommonDm(m_context, this);
    connect(m_common->Action_UiOpen, &QAction::triggered, this, &TmainFm::BringForward);
    connect(m_common->Action_UiClose, &QAction::triggered, this, &TmainFm::Action_UiCloseExecute);
    connect(m_common->Action_UiStayOnTop, &QAction::toggled, this,
            &TmainFm::Action_UiStayOnTopExecute);
    SharedActions& shared = m_context.actions;
    shared.backup = Action_DbBackup;
    shared.restore = Action_DbRestore;
    shared.import = Action_Import;
    shared.importCalendar = Action_ImportCalendar;
    shared.exit = Action_Exit;
    shared.open = m_common->Action_UiOpen;
    CreateSync();
    CreateTrayIcon();
    CreatePopupMenu();
    if (m_instance)
        connect(m_instance, &SingleInstance::activationRequested, this, &TmainFm::BringForward);
}

TmainFm::~TmainFm() {
    delete m_tasksFrame;
    Sealed::SetCurrentPassword({});
    Sealed::SetAsker({});
}

TzvTasksFrame* TmainFm::tasksFrame() const {
    return m_tasksFrame;
}

void TmainFm::FormCreate() {
    m_firstShow = true;
    m_exiting = false;

    // A missing picture is reported once; the rest of creation still runs,
    // or the database would never be opened.
    QStringList missing;
    const auto load = [&](QPixmap& pm, const char* name) {
        const QString path =
            m_context.shareFolder + QStringLiteral("Images/") + QLatin1String(name);
        if (!pm.load(path))
            missing << path;
    };
    load(m_backgrounds.toolsbar, "toolsbarBackground.bmp");
    load(m_backgrounds.searchbar, "searchbarBackground.bmp");
    load(m_backgrounds.group, "groupBackground.bmp");
    load(m_backgrounds.item0, "itemBackground0.bmp");
    load(m_backgrounds.item1, "itemBackground1.bmp");
    if (!missing.isEmpty())
        ShowPictureError(missing);

    // What the program writes into its folder is the user's alone, and what
    // an earlier version left there becomes so.
    FileModes::SetPrivateFolder(m_context.folder);
    Sealed::SetCurrentPassword({});
    Sealed::SetAsker([](const QString& file, bool again) {
        const QString name = QFileInfo(file).fileName();
        return AskPassword(again ? tr("That is not the password of %1.\n\nPassword:").arg(name)
                                 : tr("%1 is protected with a password.\n\nPassword:").arg(name));
    });
    m_tightened = FileModes::Tighten(m_context.folder, !m_context.portable) > 0;
    Guarded([&] { ReadWindowOptions(IniFile(m_context.configPath), m_options); });
    // No database file at all: an installed copy's first start, or a folder
    // whose database was moved away. Anything already there is left alone.
    const QString dbFile = m_context.folder + QLatin1String(Database::FileName);
    if (!QFileInfo(dbFile).exists() && !QFileInfo(dbFile).isSymLink())
        Guarded([&] {
            Database::createEmpty(dbFile);
            m_newDatabase = true;
        });
    OpenDatabase();
    Guarded([&] { TcommonDm::LoadOptions(m_context.configPath, m_options); });
    ZVHHComp1->HelpFile = m_context.helpPath;
    ZVHHComp1->Loaded(m_context.shareFolder);
    ZvFormState1->IniPath = m_context.configPath;
}

void TmainFm::Action_DbBackupExecute() {
    if (m_io->BackupToFile() && m_tasksFrame)
        m_tasksFrame->ZvStatusBar1->setPanelText(m_io->lastReport());
}

void TmainFm::Action_DbRestoreExecute() {
    const bool ok = m_io->RestoreFromFile();
    ReportSafetyCopy(ok);
}

void TmainFm::Action_ImportExecute() {
    const bool ok = m_io->ImportFromFile();
    ReportSafetyCopy(ok);
}

void TmainFm::Action_ImportCalendarExecute() {
    bool ok = false;
    try {
        ok = m_io->ImportCalendarFromFile();
    } catch (...) {
        // What was committed before the failure is shown.
        ReportSafetyCopy(!m_io->lastSafetyCopy().isEmpty());
        throw;
    }
    ReportSafetyCopy(ok, ok ? m_io->lastReport() : QString());
}

void TmainFm::ReportSafetyCopy(bool reload, const QString& report) {
    if (!m_tasksFrame)
        return;
    if (reload)
        PostTaskMessage(m_tasksFrame, WM_TASKS_RELOAD);
    QString text = report;
    if (const QString copy = m_io->lastSafetyCopy(); !copy.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("; ")) + tr("Safety copy: ") +
                QDir(m_context.folder).relativeFilePath(copy);
    if (text.isEmpty())
        return;
    // After the reload, which puts a keyboard tip there.
    QTimer::singleShot(0, m_tasksFrame,
                       [this, text] { m_tasksFrame->ZvStatusBar1->setPanelText(text); });
}

bool TmainFm::event(QEvent* e) {
    if (e->type() == static_cast<QEvent::Type>(WM_SHOW_UPDATE_PROMPT)) {
        Guarded([this] {
            TupdateDlg prompt(m_context, this);
            prompt.exec();
        });
    }
    return QMainWindow::event(e);
}

void TmainFm::showEvent(QShowEvent* e) {
    if (!e->spontaneous())
        Guarded([this] { ZvFormState1->RestoreState(); });
    QMainWindow::showEvent(e);
    if (e->spontaneous())
        return;
    if (m_firstShow) {
        FirstShow();
    } else if (m_options.addOpenEn && m_tasksFrame && !m_restyling) {
        PostTaskMessage(m_tasksFrame, WM_TASKS_ADD);
    }
}

// The built-in key first; a database the user has given a password of
// their own asks for it before any task is read (three tries).
void TmainFm::OpenDatabase() {
    const auto open = [this](const QString& password) {
        bool wrong = false;
        Guarded([&] {
            try {
                m_db.open(m_context.folder, password);
            } catch (const WrongPassword&) {
                wrong = true;
            }
        });
        return !wrong;
    };
    if (open(Database::defaultPassword()))
        return;
    // While it asks, the icon in the notification area offers Exit, as it
    // does later: it ends the program as Cancel does.
    QMenu menu;
    TZvTrayIcon icon(this);
    const bool area = icon.notifyArea()->isAvailable();
    icon.SetActive(area);
    icon.CloseToTray = false;
    connect(menu.addAction(tr("E&xit")), &QAction::triggered, this, [this] {
        m_refused = true;
        if (QWidget* question = QApplication::activeModalWidget())
            question->close();
    });
    if (area) {
        icon.SetImages({windowIcon()});
        icon.SetPopupMenu(&menu);
        icon.Loaded();
    }
    QString text = tr("The tasks are protected with a password.\n\nPassword:");
    for (int tries = 0; tries < 3; ++tries) {
        const std::optional<QString> typed = AskPassword(text);
        if (!typed || m_refused) {
            m_refused = true;
            return;
        }
        if (open(*typed)) {
            m_context.password = *typed;
            Sealed::SetCurrentPassword(*typed);
            return;
        }
        text = tr("That is not the password.\n\nPassword:");
    }
    ErrorBox(tr("The password was wrong three times; the tasks stay closed."));
}

void TmainFm::FirstShow() {
    CreateFrame();
    PostTaskMessage(m_tasksFrame, WM_TASKS_RELOAD);
    PostTaskMessage(m_tasksFrame, WM_TASKS_ATTACH);
    RunStartupChecks();
    QStringList said;
    if (m_newDatabase)
        said << tr("New empty database: ") +
                    QDir::toNativeSeparators(m_context.folder + QLatin1String(Database::FileName));
    if (m_tightened)
        said << tr("The task files can now be read by you alone");
    if (!said.isEmpty())
        // After the reload and the attaches, which put a keyboard tip there.
        QTimer::singleShot(0, m_tasksFrame, [this, text = said.join(QStringLiteral("; "))] {
            m_tasksFrame->ZvStatusBar1->setPanelText(text);
        });
    m_firstShow = false;
    StartSyncSoon();
}

// The frame says what changed; the window keeps the menu bar, the tray
// hint and the count.
void TmainFm::CreateFrame() {
    m_tasksFrame = new TzvTasksFrame(m_context, this);
    connect(m_tasksFrame, &TzvTasksFrame::menuBarReady, this,
            [this](QMenuBar* bar) { setMenuBar(bar); });
    connect(m_tasksFrame, &TzvTasksFrame::trayHintChanged, ZvTrayIcon1, &TZvTrayIcon::SetHint);
    connect(m_tasksFrame, &TzvTasksFrame::storedCountChanged, this,
            [this](int count) { m_context.storedTaskCount = count; });
    m_tasksFrame->ShowExitInFileMenu(true); // Ctrl+Q quits by the keyboard
    setCentralWidget(m_tasksFrame);
}

void TmainFm::RunStartupChecks() {
    setWindowTitle(Caption());
    PostTaskMessage(m_tasksFrame, WM_TASKS_ATTACH);
    if (m_options.visitWebEn && WholeDaysBetween(m_options.visitWebTime, Clock::Now()) > 90) {
        PostTaskMessage(this, WM_SHOW_UPDATE_PROMPT);
        m_options.runMinimizedEn = false; // for this run: the prompt stays up
    }
    if (m_options.runMinimizedEn)
        ZvTrayIcon1->Minimize();
}

void TmainFm::BringForward() {
    ZvTrayIcon1->Restore();
}

void TmainFm::Exit() {
    if (m_exiting)
        return;
    // A reminder pop-up waits in a loop of its own: it is closed first,
    // unanswered, and the program ends once that loop has unwound.
    if (TtaskReminderDlg* popup = TzvTasksFrame::ReminderPopup()) {
        popup->abandon();
        QTimer::singleShot(0, this, &TmainFm::Exit);
        return;
    }
    m_exiting = true;
    StopSync(); // what landed is stored; the rest goes next time
    Guarded([this] { ZvFormState1->SaveState(); });
    delete m_tasksFrame; // commits an open edit and stops the frame's timers
    if (m_instance)
        m_instance->release();
    close();
    emit exited();
}

void TmainFm::closeEvent(QCloseEvent* e) {
    if (!m_exiting && e->spontaneous()) {
        // No notification area took it: the program goes on in the task bar.
        e->ignore();
        showMinimized();
        return;
    }
    // Closed from code: that is Exit.
    if (!m_exiting)
        Exit();
    QMainWindow::closeEvent(e);
}
