#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Database;
struct sqlite3_stmt;

// One column of a row as the engine stores it, with its own storage class:
// written back, it gives the same bytes, whatever the column's declared type.
struct Cell {
    enum Kind : quint8 { Null, Integer, Real, Text, Blob };
    Kind kind = Null;
    qint64 integer = 0;
    double real = 0;
    QByteArray bytes; // Text (UTF-8) and Blob
    bool operator==(const Cell&) const = default;
};

// A whole row: its row id and every column in the table's order.
struct RowImage {
    qint64 rowid = 0;
    std::vector<Cell> cells;
    bool operator==(const RowImage&) const = default;
};

// Reads rows of one table as images and puts them back exactly. A row is
// found by its row id and checked by its key column, so a row id the engine
// has since given to another row is never overwritten; a row deleted and
// added again meanwhile (a new row id, the same key) is found by its key.
class RowImages {
public:
    RowImages(Database& db, const QString& table, const QString& keyColumn);
    ~RowImages();
    RowImages(const RowImages&) = delete;
    RowImages& operator=(const RowImages&) = delete;

    const QStringList& columns() const { return m_columns; }
    int column(const QString& name) const { return int(m_columns.indexOf(name)); }

    // The rows a where clause selects, its "?" bound to params in order.
    std::vector<RowImage> select(const QString& where, const QStringList& params = {});
    std::optional<RowImage> read(qint64 rowid);
    // The first row whose key column holds the key of row.
    std::optional<RowImage> byKey(const RowImage& row);
    // Writes the listed cells of row into its row; false when no row holds
    // its key any more.
    bool update(const RowImage& row, const std::vector<int>& cells);
    // Adds row under its own row id, or under a new one when that is taken.
    void insert(const RowImage& row);
    // Removes the row of the image, or the row holding its key now.
    void remove(const RowImage& row);

private:
    sqlite3_stmt* prepare(const QString& sql);
    sqlite3_stmt* kept(sqlite3_stmt*& stmt, const QString& sql);
    void bindCell(sqlite3_stmt* stmt, int index, const Cell& cell);
    void run(sqlite3_stmt* stmt);
    RowImage readRow(sqlite3_stmt* stmt) const;
    std::optional<RowImage> first(sqlite3_stmt* stmt); // the statement's first row, run

    Database& m_db;
    QString m_table, m_key;
    int m_keyIndex = -1;
    QStringList m_columns;
    sqlite3_stmt* m_read = nullptr;
    sqlite3_stmt* m_byKey = nullptr;
    sqlite3_stmt* m_taken = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    sqlite3_stmt* m_insertNew = nullptr;
    sqlite3_stmt* m_remove = nullptr;
    QHash<QString, sqlite3_stmt*> m_selects; // by where clause
};
