// tasquel-gen FOLDER N [SEED]: writes FOLDER/zvData.zvb holding N tasks, a
// tenth of them top-level with nine sub-tasks each. The same seed gives the
// same database.
#include "platform/Database.h"
#include "platform/pU_Funcs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <sqlite3.h>

namespace {

const char* kWords[] = {"call",   "buy",     "milk",   "report", "meeting", "review", "plan",
                        "garden", "invoice", "friday", "doctor", "tickets", "draft",  "budget",
                        "it's",   "café",    "naïve",  "Ärger",  "日本",    "отчёт",  "email",
                        "backup", "car",     "taxes",  "gift",   "school",  "paint",  "fix"};

QString sentence(QRandomGenerator& rng) {
    const int length = 20 + int(rng.bounded(181));
    QString s;
    while (s.size() < length) {
        if (!s.isEmpty())
            s += rng.bounded(12) == 0 ? QStringLiteral("\r\n") : QStringLiteral(" ");
        s += QString::fromUtf8(kWords[rng.bounded(int(std::size(kWords)))]);
    }
    s.truncate(length);
    return TrimRight(s);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: tasquel-gen FOLDER N [SEED]\n");
        return 2;
    }
    const QString folder = QDir(args.at(1)).absolutePath() + u'/';
    const int n = args.at(2).toInt();
    QRandomGenerator rng(args.size() > 3 ? args.at(3).toUInt() : 1u);
    QDir().mkpath(folder);
    QFile::remove(folder + Database::FileName);
    QFile::remove(folder + Database::FileName + QStringLiteral("-wal"));
    QFile::remove(folder + Database::FileName + QStringLiteral("-shm"));
    try {
        Database::createEmpty(folder + Database::FileName);
        Database db;
        db.open(folder);
        sqlite3* h = db.handle();
        db.exec(QStringLiteral("begin"));
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(h,
                           "insert into tasks (tid,pid,content,checkFlag,dueFlag,alarmFlag,"
                           "expandFlag,textColor,backgroundColor,createTime,editTime,checkTime,"
                           "alarmTime,dueTime) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                           -1, &st, nullptr);
        // A fixed "now" and ids drawn from the seed: the same seed gives the
        // same file.
        const TDateTime now = ToDateTime(QDate(2026, 6, 1), QTime(12, 0));
        const auto guid = [&rng] {
            QString s =
                QStringLiteral("{%1-%2-%3-%4-%5}")
                    .arg(rng.generate(), 8, 16, QChar(u'0'))
                    .arg(rng.bounded(0x10000), 4, 16, QChar(u'0'))
                    .arg(rng.bounded(0x10000), 4, 16, QChar(u'0'))
                    .arg(rng.bounded(0x10000), 4, 16, QChar(u'0'))
                    .arg(quint64(rng.generate64() & 0xFFFFFFFFFFFFull), 12, 16, QChar(u'0'));
            return s.toUpper();
        };
        QString parent;
        for (int i = 0; i < n; ++i) {
            const bool top = i % 10 == 0;
            const QString tid = guid();
            if (top)
                parent = tid;
            const QByteArray tidU = tid.toUtf8();
            const QByteArray pidU = (top ? QStringLiteral("root") : parent).toUtf8();
            const QByteArray text = sentence(rng).toUtf8();
            const bool done = rng.bounded(100) < 30;
            const bool alarm = rng.bounded(100) < 5;
            const bool due = rng.bounded(100) < 5;
            const int colour = rng.bounded(100) < 4 ? int(rng.bounded(0x1000000)) : 0;
            const int back = rng.bounded(100) < 3 ? 0xE0F0FF : 0;
            const TDateTime created = now - rng.bounded(400.0);
            sqlite3_bind_text(st, 1, tidU.constData(), tidU.size(), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, pidU.constData(), pidU.size(), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 3, text.constData(), text.size(), SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 4, done);
            sqlite3_bind_int(st, 5, due);
            sqlite3_bind_int(st, 6, alarm);
            sqlite3_bind_int(st, 7, top && rng.bounded(3) == 0);
            sqlite3_bind_int(st, 8, colour);
            sqlite3_bind_int(st, 9, back);
            sqlite3_bind_double(st, 10, created);
            sqlite3_bind_double(st, 11, created + rng.bounded(3.0));
            sqlite3_bind_double(st, 12, done ? created + 4 : 0);
            sqlite3_bind_double(st, 13, alarm ? now + rng.bounded(20.0) - 10 : 0);
            sqlite3_bind_double(st, 14, due ? now + rng.bounded(40.0) - 20 : 0);
            if (sqlite3_step(st) != SQLITE_DONE)
                throw DbError(QString::fromUtf8(sqlite3_errmsg(h)));
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        db.exec(QStringLiteral("commit"));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
