// tasquel-syncbench FOLDER [SENT]: syncs with a Radicale of its own on
// 127.0.0.1 and prints the times of
//   - a device receiving every task of FOLDER, which the server already
//     holds (written into its storage as another device would have sent them),
//   - a sync with nothing changed (by the sync token),
//   - one with 100 tasks changed here,
//   - a first sync sending SENT tasks (default 1,000): the server's own cost
//     of a write grows with its collection, so a first upload of 10,000
//     measures the server more than the program.
#include "RadicaleServer.h"
#include "core/ICalendar.h"
#include "core/TaskStore.h"
#include "platform/Database.h"
#include "platform/FileWriter.h"
#include "platform/Transaction.h"
#include "sync/SyncEngine.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

namespace {

double timed(Database& db, const QString& folder, const SyncAccount& account, SyncResult& out) {
    SyncEngine engine(db, folder + QStringLiteral("Backups"), QStringLiteral("bench"));
    QEventLoop loop;
    QObject::connect(&engine, &SyncEngine::finished, [&](const SyncResult& r) {
        out = r;
        loop.quit();
    });
    QElapsedTimer t;
    t.start();
    engine.start(account);
    loop.exec();
    return double(t.nsecsElapsed()) / 1e9;
}

void line(const QString& what, double seconds, const SyncResult& r, const char* target = "") {
    std::printf("%-34s %9.3f s  %6d sent %6d received  %s%s\n", qPrintable(what), seconds, r.sent,
                r.received, r.ok ? "" : qPrintable(r.failure), target);
    std::fflush(stdout);
}

QString emptyFolder(const QString& path) {
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    Database::createEmpty(path + Database::FileName);
    return path;
}

// The collection the account's first sync made, in the server's storage.
QString collectionFolder(const test::RadicaleServer& server, const char* user) {
    QDirIterator it(server.storage() + QStringLiteral("/collection-root/") + user,
                    QDir::Dirs | QDir::NoDotAndDotDot);
    return it.hasNext() ? it.next() : QString();
}

// The server's own time: the same requests through the same HTTP client,
// with nothing read or written here, as many at a time as the sync sends.
double floorRequests(const test::RadicaleServer& server, int user,
                     const QList<std::tuple<QByteArray, QString, QByteArray>>& requests,
                     int atOnce = 4) {
    DavClient client;
    client.setAccount(QString::fromLatin1(server.Users[user]), QString::fromLatin1(server.Password),
                      false);
    QEventLoop loop;
    int next = 0, running = 0;
    std::function<void()> pump = [&] {
        while (running < atOnce && next < requests.size()) {
            const auto& [method, path, body] = requests.at(next++);
            ++running;
            client.send(method, QUrl(server.address()).resolved(QUrl(path)), body,
                        {{"Content-Type", method == "PUT" ? "text/calendar" : "application/xml"},
                         {"Depth", "1"}},
                        [&](const DavClient::Reply&) {
                            --running;
                            pump();
                        });
        }
        if (running == 0 && next == requests.size())
            loop.quit();
    };
    QElapsedTimer t;
    t.start();
    QTimer::singleShot(0, pump);
    loop.exec();
    return double(t.nsecsElapsed()) / 1e9;
}

QString collectionPath(const test::RadicaleServer& server, int user) {
    return QStringLiteral("/%1/%2/").arg(
        QLatin1String(server.Users[user]),
        QFileInfo(collectionFolder(server, server.Users[user])).fileName());
}

void floorLine(double seconds) {
    std::printf("%-34s %9.3f s\n", "  the server alone", seconds);
    std::fflush(stdout);
}

} // namespace

int run(int argc, char** argv);

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tasquel-syncbench: %s\n", e.what());
        return 1;
    }
}

int run(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: tasquel-syncbench FOLDER [SENT]\n", stderr);
        return 2;
    }
    QString folder = QString::fromLocal8Bit(argv[1]);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    const int sentCount = argc > 2 ? std::atoi(argv[2]) : 1000;
    test::RadicaleServer server;
    if (!server.start()) {
        std::fputs("radicale did not start\n", stderr);
        return 1;
    }
    const auto account = [&](int user) {
        return SyncAccount{server.address(), QString::fromLatin1(server.Users[user]),
                           QString::fromLatin1(server.Password)};
    };
    SyncResult r;

    // The server holds the folder's tasks, as another device sent them.
    Database source;
    source.open(folder);
    const QString writer = emptyFolder(folder + QStringLiteral("sync-writer/"));
    {
        Database w;
        w.open(writer);
        timed(w, writer, account(0), r); // makes the collection
    }
    const QString collection = collectionFolder(server, server.Users[0]);
    int count = 0;
    {
        Query q(source);
        OpenQuery(q, QStringLiteral("select tid, pid, content, checkFlag, createTime, editTime"
                                    " from tasks"));
        for (; !q.eof(); q.next(), ++count) {
            TTaskInfo t;
            t.tid = q.text(0), t.pid = q.text(1), t.content = q.text(2);
            t.checkFlag = q.boolean(3), t.createTime = q.dateTime(4), t.editTime = q.dateTime(5);
            const QString parent = t.pid == RootPid() ? QString() : t.pid;
            if (!FileWriter::TryWrite(collection + QStringLiteral("/%1.ics").arg(count),
                                      ICalendar::WriteCalendar({{&t, parent}}, "bench"),
                                      FileWriter::Sync::Quick))
                return 1;
        }
    }
    {
        QList<std::tuple<QByteArray, QString, QByteArray>> gets{
            {"REPORT", collectionPath(server, 0), Dav::SyncCollection(QString())}};
        for (int i = 0; i < count; i += 100) {
            QStringList hrefs;
            for (int k = i; k < std::min(count, i + 100); ++k)
                hrefs << collectionPath(server, 0) + QStringLiteral("%1.ics").arg(k);
            gets.append({"REPORT", collectionPath(server, 0), Dav::Multiget(hrefs)});
        }
        // The server reads and parses what was written once, before
        // either is timed.
        floorRequests(server, 0, gets, 1);
        const QString device = emptyFolder(folder + QStringLiteral("sync-device/"));
        Database d;
        d.open(device);
        line(QStringLiteral("receiving %1 tasks").arg(count), timed(d, device, account(0), r), r);
        floorLine(floorRequests(server, 0, gets, 1));
    }
    const QString device = folder + QStringLiteral("sync-device/");
    Database d;
    d.open(device);
    line(QStringLiteral("nothing changed"), timed(d, device, account(0), r), r,
         "  (target: under 1 s at 10,000)");
    floorRequests(server, 0, {}); // warm
    {
        SyncStore store(d);
        floorLine(floorRequests(server, 0,
                                {{"REPORT", collectionPath(server, 0),
                                  Dav::SyncCollection(store.meta(QStringLiteral("token")))}}));
    }
    {
        Transaction t(d);
        Query q(d);
        OpenQuery(q, QStringLiteral("select tid from tasks limit 100"));
        QStringList tids;
        for (; !q.eof(); q.next())
            tids << q.text(0);
        q.close();
        for (const QString& tid : tids)
            TaskStore::WriteContent(q, tid, QStringLiteral("changed for the benchmark"),
                                    Clock::Now());
        t.commit();
    }
    line(QStringLiteral("100 changed"), timed(d, device, account(0), r), r);
    {
        QList<std::tuple<QByteArray, QString, QByteArray>> puts;
        Query q(d);
        OpenQuery(q, QStringLiteral("select href, object from sync_items limit 100"));
        for (; !q.eof(); q.next())
            puts.append({"PUT", q.text(0), q.text(1).toUtf8()});
        floorLine(floorRequests(server, 0, puts));
    }

    // A first upload, to a list of its own.
    const QString sender = emptyFolder(folder + QStringLiteral("sync-sender/"));
    Database s;
    s.open(sender);
    {
        Transaction t(s);
        Query q(s);
        OpenQuery(q, QStringLiteral("select * from tasks where 1=0"));
        for (int i = 0; i < sentCount; ++i) {
            TTaskInfo task;
            task.pid = RootPid();
            task.content = QStringLiteral("Sent task %1").arg(i);
            TaskStore::StampNewTask(task, Clock::Now());
            TaskStore::Insert(q, task);
        }
        t.commit();
    }
    line(QStringLiteral("sending %1 tasks").arg(sentCount), timed(s, sender, account(1), r), r);
    // The same objects into a list of their own.
    const QString other = emptyFolder(folder + QStringLiteral("sync-other/"));
    {
        Database o;
        o.open(other);
        timed(o, other, account(2), r);
    }
    QList<std::tuple<QByteArray, QString, QByteArray>> puts;
    {
        Query q(s);
        OpenQuery(q, QStringLiteral("select object from sync_items"));
        for (int i = 0; !q.eof(); q.next(), ++i)
            puts.append({"PUT", collectionPath(server, 2) + QStringLiteral("%1.ics").arg(i),
                         q.text(0).toUtf8()});
    }
    floorLine(floorRequests(server, 2, puts));
    return 0;
}
