// The child the crash tests kill: it writes until it is stopped and reports
// on stdout each write that has returned.
//   crash_child restore FOLDER FILE   restores FILE into FOLDER's database
//   crash_child edits FOLDER          inserts task i, then rewrites task i/2
//   crash_child settings FILE         rewrites key hintSize of FILE, i = 0, 1, ...
//   crash_child rekey FOLDER          changes the password between "one" and
//                                     "two", starting from the built-in one
#include "core/Interchange.h"
#include "core/TaskStore.h"
#include "platform/Database.h"
#include "platform/IniFile.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
void ack(const char* what, long i) {
    std::printf("%s %ld\n", what, i);
    std::fflush(stdout);
}
} // namespace

// The value written by settings write i: lengths vary, so some writes go
// in place and some replace the file.
QString SettingsValue(long i) {
    return QString(int(1 + i % 3), QChar(u'a' + int(i % 26)));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString mode = args[1];
    if (mode == QLatin1String("settings")) {
        const IniFile ini(args[2]);
        ack("ready", 0);
        for (long i = 0;; ++i) {
            ini.writeString(QStringLiteral("option"), QStringLiteral("hintSize"), SettingsValue(i));
            ack("wrote", i);
        }
    }
    Database db;
    db.open(args[2] + u'/');
    if (mode == QLatin1String("rekey")) {
        ack("ready", 0);
        for (long i = 0;; ++i) {
            db.changePassword(i % 2 ? QStringLiteral("two") : QStringLiteral("one"));
            ack("changed", i);
        }
    }
    if (mode == QLatin1String("restore") && args.size() == 4) {
        Interchange::RestoreFromFile(
            db, args[3],
            [](const Interchange::ReplaceQuestion&) { return Interchange::Answer::All; }, {}, {},
            [] { ack("ready", 0); }); // the file is read: the writes begin
        ack("done", 0);
        return 0;
    }
    if (mode == QLatin1String("edits")) {
        ack("ready", 0);
        Query q(db);
        for (long i = 0;; ++i) {
            TTaskInfo t;
            t.tid = QStringLiteral("{E%1}").arg(i);
            t.pid = QStringLiteral("root");
            t.content = QStringLiteral("it's task %1").arg(i);
            t.createTime = t.editTime = 46000 + i;
            TaskStore::Insert(q, t);
            ack("inserted", i);
            TaskStore::WriteContent(q, QStringLiteral("{E%1}").arg(i / 2),
                                    QStringLiteral("edited by %1").arg(i), 47000 + i);
            ack("edited", i);
        }
    }
    return 2;
}
