#include "FileWriter.h"

#include "FileModes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileWriter {

namespace {

// The temporary name carries the writer's process id, so a later run can
// tell a dead writer's leftover from a live one's.
QByteArray tempName(const QByteArray& path) {
    return path + '.' + QByteArray::number(QCoreApplication::applicationPid()) + ".tmp";
}

bool writeAll(int fd, const QByteArray& data) {
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QString target(const QString& path) {
    const QFileInfo fi(path);
    return fi.isSymLink() ? fi.symLinkTarget() : path;
}

} // namespace

bool TryWrite(const QString& path, const QByteArray& data, Sync sync) {
    const QByteArray name = QFile::encodeName(target(path));
    const QByteArray temp = tempName(name);
    struct stat old {};
    const bool existed = ::stat(name.constData(), &old) == 0;
    const bool own = FileModes::IsPrivate(QFile::decodeName(name));
    const int fd =
        ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, own ? 0600 : 0666);
    bool ok = fd >= 0 && writeAll(fd, data);
    // Some file systems report a lack of space only when the data is forced out.
    if (ok && sync == Sync::Durable)
        ok = ::fsync(fd) == 0;
    struct stat written {};
    ok = ok && ::fstat(fd, &written) == 0 && written.st_size == off_t(data.size());
    // The user's own files are theirs alone; one written where the user
    // chose keeps the umask's mode, but never more than the file it replaces.
    if (ok && own)
        ok = ::fchmod(fd, 0600) == 0;
    else if (ok && existed)
        ok = ::fchmod(fd, written.st_mode & old.st_mode & 07777) == 0;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temp.constData(), name.constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}

void RemoveStaleTemps(const QString& path) {
    const QFileInfo fi(target(path));
    const QString prefix = fi.fileName() + u'.';
    const QFileInfoList temps =
        QDir(fi.absolutePath()).entryInfoList({prefix + QStringLiteral("*.tmp")}, QDir::Files);
    for (const QFileInfo& t : temps) {
        bool ok = false;
        const qint64 pid = t.fileName().mid(prefix.size()).chopped(4).toLongLong(&ok);
        if (ok && pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            QFile::remove(t.filePath());
    }
}

} // namespace FileWriter
