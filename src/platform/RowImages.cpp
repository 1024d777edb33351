#include "RowImages.h"

#include "SqliteCheck.h"

// Exact copies of rows, for putting back what a command changed.

namespace {
struct Statement {
    sqlite3_stmt* stmt;
    ~Statement() { sqlite3_finalize(stmt); }
};
} // namespace

RowImages::RowImages(Database& db, const QString& table, const QString& keyColumn)
    : m_db(db), m_table(table), m_key(keyColumn) {
    const Statement probe{prepare(QStringLiteral("select * from %1 where 0").arg(table))};
    for (int i = 0; i < sqlite3_column_count(probe.stmt); ++i)
        m_columns << QString::fromUtf8(sqlite3_column_name(probe.stmt, i));
    m_keyIndex = column(keyColumn);
    if (m_keyIndex < 0)
        throw DbError(QStringLiteral("Field '%1' not found.").arg(keyColumn));
}

RowImages::~RowImages() {
    for (sqlite3_stmt* s : {m_read, m_byKey, m_taken, m_insert, m_insertNew, m_remove})
        sqlite3_finalize(s);
    for (sqlite3_stmt* s : std::as_const(m_selects))
        sqlite3_finalize(s);
}

sqlite3_stmt* RowImages::prepare(const QString& sql) {
    sqlite3* db = m_db.handle();
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    check(db, sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr),
          QString());
    return stmt;
}

sqlite3_stmt* RowImages::kept(sqlite3_stmt*& stmt, const QString& sql) {
    if (!stmt)
        stmt = prepare(sql);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    return stmt;
}

void RowImages::bindCell(sqlite3_stmt* stmt, int index, const Cell& cell) {
    int rc = SQLITE_OK;
    switch (cell.kind) {
    case Cell::Null:
        rc = sqlite3_bind_null(stmt, index);
        break;
    case Cell::Integer:
        rc = sqlite3_bind_int64(stmt, index, cell.integer);
        break;
    case Cell::Real:
        rc = sqlite3_bind_double(stmt, index, cell.real);
        break;
    case Cell::Text:
        rc = sqlite3_bind_text64(stmt, index, cell.bytes.constData(),
                                 sqlite3_uint64(cell.bytes.size()), SQLITE_STATIC, SQLITE_UTF8);
        break;
    case Cell::Blob:
        rc = sqlite3_bind_blob64(stmt, index, cell.bytes.constData(),
                                 sqlite3_uint64(cell.bytes.size()), SQLITE_STATIC);
        break;
    }
    check(m_db.handle(), rc, QString());
}

void RowImages::run(sqlite3_stmt* stmt) {
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw DbError(engineText(m_db.handle()));
}

RowImage RowImages::readRow(sqlite3_stmt* stmt) const {
    RowImage row;
    row.rowid = sqlite3_column_int64(stmt, 0);
    row.cells.resize(size_t(m_columns.size()));
    for (int i = 0; i < m_columns.size(); ++i) {
        Cell& c = row.cells[size_t(i)];
        const int col = i + 1;
        switch (sqlite3_column_type(stmt, col)) {
        case SQLITE_INTEGER:
            c.kind = Cell::Integer;
            c.integer = sqlite3_column_int64(stmt, col);
            break;
        case SQLITE_FLOAT:
            c.kind = Cell::Real;
            c.real = sqlite3_column_double(stmt, col);
            break;
        case SQLITE_TEXT:
            c.kind = Cell::Text;
            c.bytes = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, col)),
                                 sqlite3_column_bytes(stmt, col));
            break;
        case SQLITE_BLOB:
            c.kind = Cell::Blob;
            c.bytes = QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, col)),
                                 sqlite3_column_bytes(stmt, col));
            break;
        default:
            break;
        }
    }
    return row;
}

std::vector<RowImage> RowImages::select(const QString& where, const QStringList& params) {
    sqlite3_stmt* s = kept(m_selects[where],
                           QStringLiteral("select rowid, * from %1 where ").arg(m_table) + where);
    std::vector<QByteArray> texts; // bound without a copy, kept until the rows are read
    texts.reserve(size_t(params.size()));
    for (int i = 0; i < params.size(); ++i) {
        const QByteArray& t = texts.emplace_back(params.at(i).toUtf8());
        check(m_db.handle(),
              sqlite3_bind_text64(s, i + 1, t.constData(), sqlite3_uint64(t.size()), SQLITE_STATIC,
                                  SQLITE_UTF8),
              QString());
    }
    std::vector<RowImage> rows;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        rows.push_back(readRow(s));
    sqlite3_reset(s);
    check(m_db.handle(), rc, QString());
    return rows;
}

std::optional<RowImage> RowImages::read(qint64 rowid) {
    sqlite3_stmt* s =
        kept(m_read, QStringLiteral("select rowid, * from %1 where rowid=?").arg(m_table));
    sqlite3_bind_int64(s, 1, rowid);
    return first(s);
}

std::optional<RowImage> RowImages::first(sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    std::optional<RowImage> row;
    if (rc == SQLITE_ROW)
        row = readRow(s);
    sqlite3_reset(s);
    check(m_db.handle(), rc, QString());
    return row;
}

std::optional<RowImage> RowImages::byKey(const RowImage& row) {
    sqlite3_stmt* s =
        kept(m_byKey,
             QStringLiteral("select rowid, * from %1 where %2 is ? limit 1").arg(m_table, m_key));
    bindCell(s, 1, row.cells[size_t(m_keyIndex)]);
    return first(s);
}

bool RowImages::update(const RowImage& row, const std::vector<int>& cells) {
    if (cells.empty())
        return read(row.rowid).has_value() || byKey(row).has_value();
    QStringList sets;
    for (int i : cells)
        sets << m_columns.at(i) + QStringLiteral("=?") + QString::number(sets.size() + 3);
    // Its own row first; else the row that holds its key now.
    const Statement s{prepare(
        QStringLiteral("update %1 set %2 where rowid=coalesce((select rowid from %1 where "
                       "rowid=?1 and %3 is ?2), (select rowid from %1 where %3 is ?2 limit 1))")
            .arg(m_table, sets.join(u','), m_key))};
    sqlite3_bind_int64(s.stmt, 1, row.rowid);
    bindCell(s.stmt, 2, row.cells[size_t(m_keyIndex)]);
    int index = 3;
    for (int i : cells)
        bindCell(s.stmt, index++, row.cells[size_t(i)]);
    run(s.stmt);
    return sqlite3_changes(m_db.handle()) > 0;
}

void RowImages::insert(const RowImage& row) {
    sqlite3_stmt* taken =
        kept(m_taken, QStringLiteral("select 1 from %1 where rowid=?").arg(m_table));
    sqlite3_bind_int64(taken, 1, row.rowid);
    const int rc = sqlite3_step(taken);
    sqlite3_reset(taken);
    check(m_db.handle(), rc, QString());
    const bool free = rc == SQLITE_DONE;
    const QStringList marks(m_columns.size(), QStringLiteral("?"));
    sqlite3_stmt* s =
        free ? kept(m_insert, QStringLiteral("insert into %1 (rowid,%2) values (?,%3)")
                                  .arg(m_table, m_columns.join(u','), marks.join(u',')))
             : kept(m_insertNew, QStringLiteral("insert into %1 (%2) values (%3)")
                                     .arg(m_table, m_columns.join(u','), marks.join(u',')));
    int index = 1;
    if (free)
        sqlite3_bind_int64(s, index++, row.rowid);
    for (const Cell& c : row.cells)
        bindCell(s, index++, c);
    run(s);
}

void RowImages::remove(const RowImage& row) {
    sqlite3_stmt* s =
        kept(m_remove, QStringLiteral("delete from %1 where rowid=coalesce((select rowid from %1 "
                                      "where rowid=?1 and %2 is ?2), (select rowid from %1 where "
                                      "%2 is ?2 limit 1))")
                           .arg(m_table, m_key));
    sqlite3_bind_int64(s, 1, row.rowid);
    bindCell(s, 2, row.cells[size_t(m_keyIndex)]);
    run(s);
}
