#pragma once

#include <QByteArray>
#include <QString>

namespace FileWriter {

enum class Sync {
    Durable, // on the disk before the rename: a crash right after keeps it
    Quick,   // left to the system: settings, written on every toggle
};

// Writes data to path through a temporary file beside it, each write and
// the final size checked, then renamed over path. Any shortfall (a full disk
// that a buffered write hid, a quota, a lost device) answers false and
// leaves what path held. A symbolic link is followed, so the link stays.
// The mode follows FileModes: 0600 in the data folder.
[[nodiscard]] bool TryWrite(const QString& path, const QByteArray& data, Sync sync = Sync::Durable);

// Removes the temporary files that writers killed before their rename left
// beside path; a running writer's own file is left to it.
void RemoveStaleTemps(const QString& path);

} // namespace FileWriter
