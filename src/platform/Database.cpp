#include "Database.h"

#include "SqliteCheck.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdlib>
#include <cstring>
#include <sqlite3.h>
#include <utility>

namespace {

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// Keeps one statement prepared: another text gives it back to the
// connection's pool and takes that text's.
sqlite3_stmt* prepareKept(Database& database, const QString& sql, sqlite3_stmt*& kept,
                          QString& keptSql) {
    if (kept && sql == keptSql && sqlite3_db_handle(kept) == database.handle())
        return kept;
    if (kept)
        database.keepStatement(keptSql, std::exchange(kept, nullptr));
    kept = database.takeStatement(sql);
    keptSql = sql;
    return kept;
}

} // namespace

QString TranslateSql(const QString& sql) {
    QString out;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"') {
            // Copy a quoted run whole; a doubled quote stays inside it.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            j = qMin(j + 1, n);
            out += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < n && isWordChar(sql.at(j)))
                ++j;
            const QStringView word = QStringView(sql).mid(i, j - i);
            if (word.compare(u"true", Qt::CaseInsensitive) == 0)
                out += u'1';
            else if (word.compare(u"false", Qt::CaseInsensitive) == 0)
                out += u'0';
            else
                out += word;
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

Query::~Query() {
    close();
    m_db.keepStatement(m_cachedSql, m_cached);
    m_db.keepStatement(m_postSql, m_postStmt);
}

void Query::close() {
    if (m_stmt) {
        // Kept prepared: the same statement text runs again without parsing.
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        m_stmt = nullptr;
    }
    m_eof = true;
    m_columns.clear();
    m_offset = 0;
    m_table.clear();
    m_mode = Mode::Browse;
    m_pending.clear();
}

void Query::prepare(const QString& sql) {
    m_stmt = prepareKept(m_db, sql, m_cached, m_cachedSql);
    for (int i = 0; i < m_params.size(); ++i) {
        const QByteArray v = m_params.at(i).toUtf8();
        sqlite3_bind_text(m_stmt, i + 1, v.constData(), v.size(), SQLITE_TRANSIENT);
    }
}

void Query::open() {
    const QString sql = m_sql;
    close();
    m_sql = sql;
    // The same text again (a reader opens one statement per record): its
    // translation and columns are known already.
    if (sql == m_shape.sql && m_cached && !m_shape.sql.isEmpty()) {
        prepare(m_shape.actual);
        m_table = m_shape.table;
        m_offset = m_shape.offset;
        m_columns = m_shape.columns;
        m_eof = false;
        step();
        return;
    }
    // A "select * from <table>" result can be edited: read the row id along.
    static const QRegularExpression star(
        QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+([A-Za-z_][A-Za-z0-9_]*)(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QString actual = TranslateSql(sql);
    const auto m = star.match(actual);
    if (m.hasMatch()) {
        m_table = m.captured(1);
        actual = QStringLiteral("select rowid, * from ") + m_table + m.captured(2);
        m_offset = 1;
    }
    prepare(actual);
    const int count = sqlite3_column_count(m_stmt);
    for (int i = m_offset; i < count; ++i)
        m_columns << QString::fromUtf8(sqlite3_column_name(m_stmt, i));
    m_shape = {sql, actual, m_table, m_offset, m_columns};
    m_eof = false;
    step();
}

void Query::execSql() {
    const QString sql = m_sql;
    close();
    m_sql = sql;
    if (sqlite3_get_autocommit(m_db.handle()))
        m_db.requireSameFile();
    prepare(TranslateSql(sql));
    const int rc = sqlite3_step(m_stmt);
    close();
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw DbError(engineText(m_db.handle()));
}

void Query::execWith(const QString& sql, const std::vector<Param>& params) {
    close();
    m_sql = sql;
    m_params.clear();
    sqlite3* db = m_db.handle();
    if (sqlite3_get_autocommit(db))
        m_db.requireSameFile();
    m_stmt = prepareKept(m_db, sql, m_cached, m_cachedSql);
    std::vector<QByteArray> texts; // bound without a copy, kept until the step
    texts.reserve(params.size());
    int index = 1;
    for (const Param& p : params) {
        if (const auto* s = std::get_if<QString>(&p)) {
            const QByteArray& t = texts.emplace_back(s->toUtf8());
            sqlite3_bind_text64(m_stmt, index, t.constData(), sqlite3_uint64(t.size()),
                                SQLITE_STATIC, SQLITE_UTF8);
        } else if (const auto* i = std::get_if<qint64>(&p)) {
            sqlite3_bind_int64(m_stmt, index, *i);
        } else if (const auto* d = std::get_if<double>(&p)) {
            sqlite3_bind_double(m_stmt, index, *d);
        } else {
            sqlite3_bind_null(m_stmt, index);
        }
        ++index;
    }
    const int rc = sqlite3_step(m_stmt);
    close();
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw DbError(engineText(db));
}

void Query::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return;
    m_eof = true;
    if (rc != SQLITE_DONE)
        throw DbError(engineText(m_db.handle()));
}

void Query::next() {
    if (!m_stmt || m_eof)
        return;
    step();
}

void Query::first() {
    if (!m_stmt)
        throw DbError(QStringLiteral("Query is not open."));
    sqlite3_reset(m_stmt);
    m_eof = false;
    step();
}

int Query::fieldIndex(const QString& name) const {
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i) == name) // as spelled in the table, mostly
            return i;
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Query::requireField(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("Field '%1' not found.").arg(name));
    return i;
}

bool Query::isNull(int i) const {
    return m_eof || sqlite3_column_type(m_stmt, col(i)) == SQLITE_NULL;
}

// An empty column reads as an empty text, false, 0 and 0.0 through the
// engine's own conversions: no separate test for it per value.
QString Query::text(int i) const {
    if (m_eof)
        return QString();
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col(i)));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, col(i))) : QString();
}

bool Query::boolean(int i) const {
    return !m_eof && sqlite3_column_int64(m_stmt, col(i)) != 0;
}

qint32 Query::integer(int i) const {
    return m_eof ? 0 : static_cast<qint32>(sqlite3_column_int64(m_stmt, col(i)));
}

bool Query::textEquals(int i, const char* utf8) const {
    if (isNull(i))
        return false;
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col(i)));
    const int n = sqlite3_column_bytes(m_stmt, col(i));
    return qstrlen(utf8) == uint(n) && std::memcmp(p, utf8, size_t(n)) == 0;
}

double Query::dateTime(int i) const {
    return m_eof ? 0.0 : sqlite3_column_double(m_stmt, col(i));
}

QString Query::displayText(const QString& name, bool isBool) const {
    const int i = requireField(name);
    if (isNull(i))
        return QString();
    if (isBool)
        return boolean(i) ? QStringLiteral("True") : QStringLiteral("False");
    return QString::number(sqlite3_column_int64(m_stmt, col(i)));
}

void Query::append() {
    if (!m_stmt || m_table.isEmpty())
        throw DbError(QStringLiteral("This result cannot be changed."));
    m_mode = Mode::Append;
    m_pending.clear();
}

void Query::edit() {
    if (!m_stmt || m_table.isEmpty())
        throw DbError(QStringLiteral("This result cannot be changed."));
    if (m_eof)
        throw DbError(QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                     "deleted."));
    m_mode = Mode::Edit;
    m_pending.clear();
}

void Query::setValue(const QString& name, Value v) {
    if (m_mode == Mode::Browse)
        throw DbError(QStringLiteral("The result is not in edit or insert mode."));
    const QString column = m_columns.at(requireField(name));
    for (auto& p : m_pending)
        if (p.first == column) {
            p.second = std::move(v);
            return;
        }
    m_pending.emplace_back(column, std::move(v));
}

void Query::setText(const QString& name, const QString& v) {
    setValue(name, v);
}
void Query::setUtf8(const QString& name, const QByteArray& v) {
    setValue(name, v);
}
void Query::setBool(const QString& name, bool v) {
    setValue(name, qint64(v ? 1 : 0));
}
void Query::setInt(const QString& name, qint64 v) {
    setValue(name, v);
}
void Query::setDateTime(const QString& name, double v) {
    setValue(name, v);
}
void Query::setNull(const QString& name) {
    setValue(name, std::monostate{});
}

void Query::cancel() {
    m_mode = Mode::Browse;
    m_pending.clear();
}

void Query::post() {
    if (m_mode == Mode::Browse)
        return;
    sqlite3* db = m_db.handle();
    if (sqlite3_get_autocommit(db))
        m_db.requireSameFile();
    if (m_mode == Mode::Edit && m_pending.empty()) {
        m_mode = Mode::Browse;
        return;
    }
    // A reader posts row after row with the same columns: the statement
    // text is made once for them.
    QStringList names;
    names.reserve(qsizetype(m_pending.size()));
    for (const auto& p : m_pending)
        names << p.first;
    if (m_mode != m_postShape.mode || m_table != m_postShape.table || names != m_postShape.names) {
        QString sql;
        if (m_mode == Mode::Append) {
            const QStringList marks(names.size(), QStringLiteral("?"));
            sql = names.isEmpty() ? QStringLiteral("insert into %1 default values").arg(m_table)
                                  : QStringLiteral("insert into %1 (%2) values (%3)")
                                        .arg(m_table, names.join(u','), marks.join(u','));
        } else {
            sql = QStringLiteral("update %1 set %2=? where rowid=?")
                      .arg(m_table, names.join(QStringLiteral("=?,")));
        }
        m_postShape = {m_mode, m_table, names, sql};
    }
    const QString& sql = m_postShape.sql;
    sqlite3_stmt* stmt = prepareKept(m_db, sql, m_postStmt, m_postSql);
    // Texts are bound without a copy of their own: each converted text is
    // kept here until the statement has run.
    std::vector<QByteArray> converted;
    converted.reserve(m_pending.size());
    int index = 1;
    for (const auto& p : m_pending) {
        const Value& v = p.second;
        const QByteArray* utf8 = std::get_if<QByteArray>(&v);
        if (const auto* s = std::get_if<QString>(&v))
            utf8 = &converted.emplace_back(s->toUtf8());
        if (utf8) {
            sqlite3_bind_text64(stmt, index, utf8->constData(), sqlite3_uint64(utf8->size()),
                                SQLITE_STATIC, SQLITE_UTF8);
        } else if (const auto* i = std::get_if<qint64>(&v)) {
            sqlite3_bind_int64(stmt, index, *i);
        } else if (const auto* d = std::get_if<double>(&v)) {
            sqlite3_bind_double(stmt, index, *d);
        } else {
            sqlite3_bind_null(stmt, index);
        }
        ++index;
    }
    if (m_mode == Mode::Edit)
        sqlite3_bind_int64(stmt, index, sqlite3_column_int64(m_stmt, 0));
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    m_mode = Mode::Browse;
    m_pending.clear();
    if (rc != SQLITE_DONE)
        throw DbError(engineText(db));
}

QString QuotedStr(const QString& text) {
    QString out = text;
    out.replace(u'\'', QStringLiteral("''"));
    return u'\'' + out + u'\'';
}

void OpenQuery(Query& q, const QString& sql) {
    q.setSql(sql);
    q.open();
}

void OpenQuery(Query& q, const QString& sql, const QStringList& params) {
    q.setSql(sql, params);
    q.open();
}

void ExecQuery(Query& q, const QString& sql) {
    q.setSql(sql);
    q.execSql();
}
