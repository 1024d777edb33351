#pragma once

#include <QString>

// The files that hold the user's tasks and settings are the user's alone:
// what the program writes into its data folder is made 0600, folders it
// makes there 0700, whatever the umask. Elsewhere (a place the user chose
// in a Save window) a file gets the umask's mode, never wider than the one
// it replaces.
namespace FileModes {

// The data folder; set once the program knows it.
void SetPrivateFolder(const QString& folder);
// path lies in the data folder.
bool IsPrivate(const QString& path);

// Makes folder and any missing parents; the folder itself is made 0700.
bool MakeFolder(const QString& folder);

// The data folder as an earlier version left it: the task and settings
// files in it, and its Backups/ and Temp/ with theirs, lose every right of
// others; the folder itself too when ownFolder (the program made it).
// Returns how many were changed.
int Tighten(const QString& folder, bool ownFolder);

} // namespace FileModes
