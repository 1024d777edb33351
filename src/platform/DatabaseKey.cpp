#include "Database.h"

#include "SqliteCheck.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cstdio>
#include <fcntl.h>
#include <openssl/crypto.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

QString failure(const QString& path) {
    return QCoreApplication::translate("Database", "The password of '%1' could not be changed.")
        .arg(path);
}

bool syncPath(const QByteArray& path, int flags) {
    const int fd = ::open(path.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace

QString Database::rekeyCopyOf(const QString& path) {
    return path + QStringLiteral(".rekey");
}

void Database::changePassword(const QString& password) {
    if (!m_db)
        throw DbError(failure(m_path));
    const QString path = m_path;
    const QString copy = rekeyCopyOf(path);
    const QByteArray copyName = QFile::encodeName(copy);
    ::unlink(copyName.constData());
    // The user's alone from the start, as the database is.
    if (const int fd = ::open(copyName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        fd >= 0)
        ::close(fd);
    const auto run = [this, &path](const char* sql, const QByteArray& a = {},
                                   const QByteArray& b = {}) {
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr);
        if (rc == SQLITE_OK && !a.isNull())
            sqlite3_bind_text(st, 1, a.constData(), int(a.size()), SQLITE_TRANSIENT);
        if (rc == SQLITE_OK && !b.isNull())
            sqlite3_bind_text(st, 2, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        while (rc == SQLITE_OK || rc == SQLITE_ROW)
            rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            throw DbError(failure(path) + QStringLiteral(" (") +
                          QString::fromUtf8(sqlite3_errmsg(m_db)) + u')');
    };
    try {
        run("pragma wal_checkpoint(TRUNCATE)");
        QByteArray key = password.toUtf8();
        const auto wipe = qScopeGuard([&key] { OPENSSL_cleanse(key.data(), size_t(key.size())); });
        run("attach database ?1 as rekeyed key ?2", copyName, key);
        run("select sqlcipher_export('rekeyed')");
        run("detach database rekeyed");
    } catch (...) {
        sqlite3_exec(m_db, "detach database rekeyed", nullptr, nullptr, nullptr);
        ::unlink(copyName.constData());
        throw;
    }
    // On the disk before it takes the old one's place; then the old one's
    // connection goes, and the rename is the moment of change.
    const QByteArray name = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    if (!syncPath(copyName, O_RDONLY)) {
        ::unlink(copyName.constData());
        throw DbError(failure(path));
    }
    close();
    const bool renamed = std::rename(copyName.constData(), name.constData()) == 0;
    syncPath(folder, O_RDONLY | O_DIRECTORY);
    if (!renamed) {
        ::unlink(copyName.constData());
        open(QFileInfo(path).absolutePath() + u'/', m_password);
        throw DbError(failure(path));
    }
    open(QFileInfo(path).absolutePath() + u'/', password);
}
