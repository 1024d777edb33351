#pragma once

#include "TBackgrounds.h"
#include "platform/Database.h"
#include "platform/DesktopNotifications.h"
#include "platform/Options.h"
#include "platform/ProgramFolders.h"
#include "platform/ZvVersionInfo.h"
#include "sync/SyncSettings.h"

#include <QString>

class QAction;

// The window's and the common module's commands that the frame's menus and
// the dialogs place or run; their owners fill them in before anything that
// uses them is made.
struct SharedActions {
    QAction* options = nullptr;
    QAction* backup = nullptr;
    QAction* restore = nullptr;
    QAction* import = nullptr;
    QAction* importCalendar = nullptr;
    QAction* sync = nullptr; // F5
    QAction* stayOnTop = nullptr;
    QAction* close = nullptr; // Ctrl+F12
    QAction* exit = nullptr;  // in File without a notification area
    QAction* helpContents = nullptr;
    QAction* contact = nullptr;
    QAction* suggestion = nullptr;
    QAction* website = nullptr;
    QAction* update = nullptr;
    QAction* resources = nullptr;
    QAction* about = nullptr;
    QAction* open = nullptr; // brings the window forward
};

// What the main window owns and hands to the parts it builds.
class AppContext {
public:
    AppContext(const ProgramFolders& folders, Database& db, AppOptions& options,
               const TZvVersionInfo& version, const TBackgrounds& backgrounds)
        : folder(folders.data), shareFolder(folders.share), portable(folders.portable),
          configPath(folder + QStringLiteral("zvConf.ini")),
          alarmSoundPath(shareFolder + QStringLiteral("Sounds/Alarm.wav")),
          helpPath(shareFolder + QStringLiteral("tasquel-help.html")), db(db), options(options),
          version(version), backgrounds(backgrounds) {}
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    const QString folder;      // the data folder, with its trailing separator
    const QString shareFolder; // pictures, sounds and help; the same when portable
    const bool portable;
    const QString configPath, alarmSoundPath, helpPath;
    Database& db;
    AppOptions& options;
    const TZvVersionInfo& version;
    const TBackgrounds& backgrounds;
    SharedActions actions;
    SyncHooks sync;          // filled by the window, read by Options
    int storedTaskCount = 0; // as the last load counted them
    QString password;        // the user's own, when the database has one; else empty
    DesktopNotifications* notifications = nullptr; // the desktop's server, where one runs

    QString fileVersion() const { return version.GetVersionValue(TZvVersionInfo::FileVersion); }
};
