#include "FileModes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace FileModes {

namespace {
QString& privateFolder() {
    static QString folder;
    return folder;
}

// Takes the rights of group and others away; true when there were any.
bool restrict(const QString& path, mode_t keep) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &st) != 0 || S_ISLNK(st.st_mode) || !(st.st_mode & 077))
        return false;
    return ::chmod(name.constData(), st.st_mode & keep) == 0;
}
} // namespace

void SetPrivateFolder(const QString& folder) {
    privateFolder() = folder.isEmpty() ? QString() : QDir(folder).absolutePath() + u'/';
}

bool IsPrivate(const QString& path) {
    const QString& folder = privateFolder();
    return !folder.isEmpty() && QFileInfo(path).absoluteFilePath().startsWith(folder);
}

bool MakeFolder(const QString& folder) {
    const QFileInfo fi(folder);
    if (fi.isDir())
        return true;
    if (!QDir().mkpath(fi.absolutePath()))
        return false;
    const QByteArray name = QFile::encodeName(fi.absoluteFilePath());
    return ::mkdir(name.constData(), 0700) == 0 || fi.isDir();
}

int Tighten(const QString& folder, bool ownFolder) {
    const QDir dir(folder);
    int changed = ownFolder&& restrict(dir.absolutePath(), 0700) ? 1 : 0;
    for (const char* name :
         {"zvData.zvb", "zvData.zvb-wal", "zvData.zvb-shm", "zvData.zvb-journal", "zvConf.ini"})
        changed += restrict(dir.filePath(QLatin1String(name)), 0600);
    for (const char* sub : {"Backups", "Temp"}) {
        const QString path = dir.filePath(QLatin1String(sub));
        if (QFileInfo(path).isSymLink())
            continue;
        changed += restrict(path, 0700);
        const QFileInfoList files =
            QDir(path).entryInfoList(QDir::Files | QDir::NoSymLinks | QDir::Hidden);
        for (const QFileInfo& f : files)
            changed += restrict(f.filePath(), 0600);
    }
    return changed;
}

} // namespace FileModes
