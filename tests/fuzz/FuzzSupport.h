#pragma once

// What the fuzz targets share: a scratch folder for the life of the
// process and a keyed database opened once (the key derivation is far
// slower than one input).

#include "core/XmlTry.h"
#include "platform/Database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace fuzz {

inline QTemporaryDir& Scratch() {
    static QTemporaryDir dir;
    return dir;
}

inline QString WriteInput(const char* name, const uint8_t* data, size_t size) {
    const QString path = Scratch().filePath(QLatin1String(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

// The fuzzer's XML packed into the interchange container, as a file: the
// fuzzer then works on the structure rather than on compressed bytes.
inline QString WriteContainer(const char* name, const uint8_t* data, size_t size) {
    const QByteArray container =
        Txmltry::Compress(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return WriteInput(name, reinterpret_cast<const uint8_t*>(container.constData()),
                      size_t(container.size()));
}

// A task database holding the rows every input starts with.
inline Database& TaskDatabase() {
    static Database* db = [] {
        const QString folder = Scratch().path() + u'/';
        Database::createEmpty(folder + QLatin1String(Database::FileName));
        auto* opened = new Database;
        opened->open(folder);
        return opened;
    }();
    return *db;
}

inline void ResetTasks(Database& db) {
    db.exec(
        QStringLiteral("delete from tasks; delete from memos;"
                       "insert into tasks (tid, pid, content) values ('{1}', 'root', 'it''s');"
                       "insert into tasks (tid, pid, content) values ('{2}', '{1}', 'child');"));
}

inline int CountRows(Database& db) {
    Query q(db);
    OpenQuery(q, QStringLiteral("select count(*) from tasks"));
    return q.integer(0);
}

} // namespace fuzz
