#pragma once

#include <QString>

// Where the program's files are. Portable: everything beside the executable,
// when that folder can be written and holds the program's pictures.
// Installed: what the program writes in the user's own data folder, what it
// only reads in the installed share folder.
struct ProgramFolders {
    QString data;  // database, settings, Backups/, Temp/; trailing separator
    QString share; // Images/, Sounds/, the help page; trailing separator
    bool portable = true;

    // Everything in folder, as the tests and the tools use it.
    static ProgramFolders Portable(const QString& folder);
    // For the executable in executableFolder; makes the data folder.
    static ProgramFolders ForExecutable(const QString& executableFolder);
    // $XDG_DATA_HOME/zarvik-tasquel/, or ~/.local/share/zarvik-tasquel/.
    static QString UserDataFolder();
};
