#include "ProgramFolders.h"

#include "FileModes.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString withSlash(const QString& path) {
    return QDir(path).absolutePath() + u'/';
}
} // namespace

ProgramFolders ProgramFolders::Portable(const QString& folder) {
    return {withSlash(folder), withSlash(folder), true};
}

QString ProgramFolders::UserDataFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) // as the base directory rules say
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return withSlash(base + QStringLiteral("/zarvik-tasquel"));
}

ProgramFolders ProgramFolders::ForExecutable(const QString& executableFolder) {
    const QString beside = withSlash(executableFolder);
    const QString installed = withSlash(beside + QStringLiteral(TASQUEL_SHARE_FROM_BIN));
    const bool filesBeside = QFileInfo::exists(beside + QStringLiteral("Images"));
    const bool installedFiles = QFileInfo::exists(installed + QStringLiteral("Images"));
    if (QFileInfo(beside).isWritable() && (filesBeside || !installedFiles))
        return Portable(beside);
    ProgramFolders f{UserDataFolder(), filesBeside ? beside : installed, false};
    FileModes::MakeFolder(f.data);
    FileModes::MakeFolder(f.data + QStringLiteral("Temp"));
    return f;
}
