#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Any failure of the task database: the text is what the user is shown.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// The database opens, but not with this password.
class WrongPassword : public DbError {
public:
    using DbError::DbError;
};

// The one connection to the encrypted task database beside the program.
class Database {
public:
    static constexpr const char* FileName = "zvData.zvb";

    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // folder is the program folder; the file must exist and accept the key
    // (WrongPassword when it does not).
    void open(const QString& folder, const QString& password = defaultPassword());
    // Encrypts the open database with another password: a copy is written
    // under it and then put in the file's place, so a failure or a kill at
    // any moment leaves the old database or the new one whole. Reopens it.
    void changePassword(const QString& password);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString filePath() const { return m_path; }

    // Runs statements that return no rows (several may be separated by ';').
    void exec(const QString& sql);
    // Before a write outside a transaction: throws when the file opened is
    // no longer the one at its path (deleted or replaced while open), whose
    // writes would go into a file no one sees again.
    void requireSameFile() const;
    sqlite3* handle() const;

    // Prepared statements kept between queries: a Query made for each row
    // of a long run (a sync, a restore) finds its statement prepared. A
    // statement is taken while in use, so two queries never share one.
    sqlite3_stmt* takeStatement(const QString& sql);
    // Reset and kept for the next taker; finalized when the pool is full or
    // the statement belongs to a connection closed since.
    void keepStatement(const QString& sql, sqlite3_stmt* statement);

    // Writes a new database with both tables and their indexes; refuses to
    // touch an existing file.
    static void createEmpty(const QString& filePath, const QString& password = defaultPassword());
    static QString defaultPassword() { return QStringLiteral("mavrost"); }
    // Where changePassword writes its copy; one left by a kill is garbage.
    static QString rekeyCopyOf(const QString& path);

private:
    sqlite3* m_db = nullptr;
    QString m_path;
    QString m_password; // the database's own, to open it again
    quint64 m_device = 0, m_inode = 0;
    QMultiHash<QString, sqlite3_stmt*> m_kept;
};

// While it lives, the connection keeps few pages: a pass over every row
// (the load) reads each page once, and keeping them all would hold tens of
// megabytes of a large table for nothing. The full cache comes back after.
class ScanPageCache {
public:
    explicit ScanPageCache(Database& db);
    ~ScanPageCache();
    ScanPageCache(const ScanPageCache&) = delete;
    ScanPageCache& operator=(const ScanPageCache&) = delete;

private:
    Database& m_db;
};

// Our SQL dialect writes booleans as the words True and False; the engine
// wants numbers. Quoted text is left alone.
QString TranslateSql(const QString& sql);

// One statement on the connection: walks rows, and can append or edit a row
// of a "select * from <table> ..." result with columns set by name.
class Query {
public:
    explicit Query(Database& db) : m_db(db) {}
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    void close();
    // params are bound, in order, to the statement's "?" marks.
    void setSql(const QString& sql, const QStringList& params = {}) {
        close();
        m_sql = sql;
        m_params = params;
    }
    QString sql() const { return m_sql; }
    void open();    // a statement that returns rows; positions on the first row
    void execSql(); // a statement that returns no rows
    // A statement that returns no rows, each value bound to its "?" mark
    // with its own type, as the row setters store it; nullptr binds NULL.
    using Param = std::variant<QString, qint64, double, std::nullptr_t>;
    void execWith(const QString& sql, const std::vector<Param>& params);
    bool isOpen() const { return m_stmt != nullptr; }

    bool eof() const { return m_eof; }
    void next();
    void first(); // back to the first row (runs the statement again)

    int fieldCount() const { return static_cast<int>(m_columns.size()); }
    QString fieldName(int i) const { return m_columns.at(i); }
    int fieldIndex(const QString& name) const; // -1 when there is no such column
    bool isNull(int i) const;
    QString text(int i) const;
    bool boolean(int i) const;
    qint32 integer(int i) const;
    double dateTime(int i) const;
    // Whether column i holds exactly this UTF-8 text, without converting it.
    bool textEquals(int i, const char* utf8) const;
    QString text(const QString& name) const { return text(requireField(name)); }
    bool boolean(const QString& name) const { return boolean(requireField(name)); }
    qint32 integer(const QString& name) const { return integer(requireField(name)); }
    double dateTime(const QString& name) const { return dateTime(requireField(name)); }
    // The column's value as the interchange writer wants it: booleans as
    // "True"/"False", numbers in decimal, empty for an empty column.
    QString displayText(const QString& name, bool isBool) const;

    // Row editing. append()/edit() start, the setters collect, post() writes.
    void append();
    void edit();
    void setText(const QString& name, const QString& v);
    // Text already in UTF-8, bound as it is: no conversion, no copy. The
    // bytes must stay until post().
    void setUtf8(const QString& name, const QByteArray& v);
    void setBool(const QString& name, bool v);
    void setInt(const QString& name, qint64 v);
    void setDateTime(const QString& name, double v);
    void setNull(const QString& name);
    void post();
    void cancel();

private:
    using Value = std::variant<std::monostate, QString, qint64, double, QByteArray>;
    enum class Mode { Browse, Append, Edit };
    int requireField(const QString& name) const;
    void setValue(const QString& name, Value v);
    void prepare(const QString& sql);
    void step();
    int col(int i) const { return i + m_offset; }

    Database& m_db;
    QString m_sql;
    QStringList m_params;
    sqlite3_stmt* m_stmt = nullptr;   // the open statement
    sqlite3_stmt* m_cached = nullptr; // kept prepared for the next run
    QString m_cachedSql;
    sqlite3_stmt* m_postStmt = nullptr;
    QString m_postSql;
    bool m_eof = true;
    QStringList m_columns;
    int m_offset = 0; // 1 when the engine's row id is read as a hidden first column
    QString m_table;  // set for editable results
    Mode m_mode = Mode::Browse;
    std::vector<std::pair<QString, Value>> m_pending;
    struct Shape {
        QString sql, actual, table;
        int offset = 0;
        QStringList columns;
    } m_shape; // of the last statement opened
    struct PostShape {
        Mode mode = Mode::Browse;
        QString table;
        QStringList names;
        QString sql;
    } m_postShape; // of the last row posted
};

// Single quotes around the text, each inner quote doubled.
QString QuotedStr(const QString& text);
// Close the query, give it one statement, open it / execute it.
void OpenQuery(Query& q, const QString& sql);
void OpenQuery(Query& q, const QString& sql, const QStringList& params);
void ExecQuery(Query& q, const QString& sql);
