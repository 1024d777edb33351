#include "Database.h"

#include "SqliteCheck.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <fcntl.h>
#include <openssl/crypto.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

// The connection: opening the file, its identity while open, and the empty
// database the set-up writes.

namespace {

const char* const kFullCache = "pragma cache_size=-32768";

void applyKey(sqlite3* db, const QString& password) {
    QByteArray key = password.toUtf8();
    const int rc = sqlite3_key(db, key.constData(), int(key.size()));
    // SQLCipher keeps its own derived copy; ours goes before the heap reuses it.
    OPENSSL_cleanse(key.data(), size_t(key.size()));
    check(db, rc, QString());
}

} // namespace

Database::~Database() {
    close();
}

namespace {
bool hasTasksTable(sqlite3* db) {
    int tables = 0;
    sqlite3_exec(
        db, "select count(*) from sqlite_master where type='table' and name='tasks'",
        [](void* out, int, char** values, char**) {
            *static_cast<int*>(out) = values[0] ? std::atoi(values[0]) : 0;
            return 0;
        },
        &tables, nullptr);
    return tables > 0;
}
} // namespace

void Database::open(const QString& folder, const QString& password) {
    close();
    const QString path = folder + QLatin1String(FileName);
    const QFileInfo file(path);
    if (!file.isFile())
        throw DbError(
            QCoreApplication::translate("Database", "Could not find file '%1'.").arg(path));
    // The engine takes an empty file for a new database and would write
    // its header into it: nothing of the user's file is changed here.
    const auto foreign = [&path] {
        return DbError(
            QCoreApplication::translate("Database", "'%1' is not a task database.").arg(path));
    };
    if (file.size() == 0)
        throw foreign();
    // A change of password killed before its copy took this file's place.
    QFile::remove(rekeyCopyOf(path));
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    try {
        check(db, rc, QCoreApplication::translate("Database", "Cannot open '%1'").arg(path));
        applyKey(db, password);
        sqlite3_busy_timeout(db, 2000);
        // The first read proves the key: a wrong one reads as "not a database".
        const int probe =
            sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
        if (probe == SQLITE_NOTADB)
            throw WrongPassword(
                QCoreApplication::translate("Database", "Cannot open '%1': not a valid password.")
                    .arg(path));
        check(db, probe, QCoreApplication::translate("Database", "Cannot open '%1'").arg(path));
        if (!hasTasksTable(db))
            throw foreign();
        check(db, sqlite3_exec(db, "pragma journal_mode=WAL", nullptr, nullptr, nullptr),
              QCoreApplication::translate("Database", "Cannot open '%1'").arg(path));
        check(db, sqlite3_exec(db, "pragma synchronous=NORMAL", nullptr, nullptr, nullptr),
              QCoreApplication::translate("Database", "Cannot open '%1'").arg(path));
        // Each page read is decrypted: a command on many rows all over the
        // table (a delete of thousands) runs twice as fast with up to 32 MB
        // of pages kept, taken only as a large table needs them.
        check(db, sqlite3_exec(db, kFullCache, nullptr, nullptr, nullptr),
              QCoreApplication::translate("Database", "Cannot open '%1'").arg(path));
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    m_db = db;
    m_path = path;
    m_password = password;
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    m_device = st.st_dev;
    m_inode = st.st_ino;
}

void Database::requireSameFile() const {
    struct stat st {};
    if (!m_db || (::stat(QFile::encodeName(m_path).constData(), &st) == 0 &&
                  st.st_dev == m_device && st.st_ino == m_inode))
        return;
    throw DbError(QCoreApplication::translate(
                      "Database", "The task database '%1' was deleted or replaced while the "
                                  "program was running. Nothing more is written to it; start "
                                  "the program again to open the file that is there now.")
                      .arg(m_path));
}

void Database::close() {
    for (sqlite3_stmt* st : std::as_const(m_kept))
        sqlite3_finalize(st);
    m_kept.clear();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

sqlite3_stmt* Database::takeStatement(const QString& sql) {
    sqlite3* db = handle();
    if (const auto it = m_kept.find(sql); it != m_kept.end()) {
        sqlite3_stmt* st = it.value();
        m_kept.erase(it);
        return st;
    }
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    check(db, sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st, nullptr), QString());
    return st;
}

void Database::keepStatement(const QString& sql, sqlite3_stmt* statement) {
    if (!statement)
        return;
    // Enough for every statement a long command runs by turns.
    constexpr qsizetype kPool = 64;
    if (!m_db || sqlite3_db_handle(statement) != m_db || m_kept.size() >= kPool) {
        sqlite3_finalize(statement);
        return;
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    m_kept.insert(sql, statement);
}

sqlite3* Database::handle() const {
    if (!m_db)
        throw DbError(
            QCoreApplication::translate("Database", "The database connection is not open."));
    return m_db;
}

void Database::exec(const QString& sql) {
    sqlite3* db = handle();
    if (sqlite3_get_autocommit(db))
        requireSameFile();
    check(db, sqlite3_exec(db, TranslateSql(sql).toUtf8().constData(), nullptr, nullptr, nullptr),
          QString());
}

void Database::createEmpty(const QString& filePath, const QString& password) {
    if (QFileInfo::exists(filePath))
        throw DbError(
            QCoreApplication::translate("Database", "'%1' already exists; it was left as it is.")
                .arg(filePath));
    // Made the user's alone before a byte goes in; the engine gives its
    // journal files the database's mode.
    const QByteArray name = QFile::encodeName(filePath);
    if (const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        fd >= 0) {
        (void)::fchmod(fd, 0600);
        ::close(fd);
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(filePath.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    try {
        check(db, rc, QCoreApplication::translate("Database", "Cannot create '%1'").arg(filePath));
        applyKey(db, password);
        const char* schema =
            "pragma journal_mode=WAL;"
            "begin;"
            "create table tasks (tid text, pid text, content text, checkFlag integer,"
            " dueFlag integer, alarmFlag integer, expandFlag integer, textColor integer,"
            " backgroundColor integer, createTime real, editTime real, checkTime real,"
            " alarmTime real, dueTime real);"
            "create table memos (mid text, pid text, content text, assignTime real,"
            " createTime real, editTime real);"
            "create index tasks_tid on tasks(tid);"
            "create index tasks_pid on tasks(pid);"
            "create index tasks_open on tasks(checkFlag, content);"
            "create index memos_mid on memos(mid);"
            "commit;";
        check(db, sqlite3_exec(db, schema, nullptr, nullptr, nullptr),
              QCoreApplication::translate("Database", "Cannot create '%1'").arg(filePath));
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

ScanPageCache::ScanPageCache(Database& db) : m_db(db) {
    if (db.isOpen())
        sqlite3_exec(db.handle(), "pragma cache_size=-1024", nullptr, nullptr, nullptr);
}

ScanPageCache::~ScanPageCache() {
    if (m_db.isOpen())
        sqlite3_exec(m_db.handle(), kFullCache, nullptr, nullptr, nullptr);
}
