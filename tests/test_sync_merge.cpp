// The sync's decision on a changed task, run over random histories of two
// devices and a server (with a third client writing there): every history
// must end with the same tasks everywhere and nothing lost.

#include "sync/SyncDecide.h"

#include <QRandomGenerator>
#include <QTest>
#include <map>

using namespace SyncedFields;
using SyncDecide::Outcome;

namespace {

// Time in whole seconds, as calendar objects keep it.
TDateTime At(int second) {
    return second / 86400.0;
}

struct Device {
    struct Item {
        bool known = false; // on the server, as far as this device knows
        int etag = 0;
        std::optional<Version> base;
        bool dirty = false, deleted = false;
        TDateTime changed = 0;
    };
    std::map<QString, Version> tasks;
    std::map<QString, Item> items; // no record: never sent
};

struct Object {
    Version v;
    int etag = 0;
};

struct World {
    Device dev[2];
    std::map<QString, Object> server;
    int clock = 1000, etags = 0, ids = 0;
    std::multimap<QString, Version> backups; // the losing versions, by task
    // The newest value written of each field of each task, and whether a
    // task's newest event was an edit (true) or a deletion. A value the
    // field held before (a due date taken off again) is no news: a side
    // whose last exchange still had it cannot tell it from no change.
    std::map<std::pair<QString, unsigned>, Version> newest;
    std::multimap<std::pair<QString, unsigned>, Version> held;
    std::map<QString, bool> lastEventEdit;

    void edited(const QString& tid, const Version& v, unsigned fields) {
        for (unsigned f = 1; f <= kAll; f <<= 1) {
            if (!(fields & f))
                continue;
            const auto [from, to] = held.equal_range({tid, f});
            const bool news = std::all_of(
                from, to, [&](const auto& e) { return (Differing(e.second, v) & f) != 0; });
            held.emplace(std::pair{tid, f}, v);
            if (news) {
                newest[{tid, f}] = v;
                lastEventEdit[tid] = true;
            } else {
                newest.erase({tid, f});
            }
        }
    }
    // A deletion takes back what its side held; another side's edit that
    // brings the task back does so with its own values.
    void deleted(const QString& tid, const Version& last) {
        std::erase_if(newest, [&](const auto& e) {
            return e.first.first == tid && !(Differing(e.second, last) & e.first.second);
        });
        lastEventEdit[tid] = false;
    }

    void change(Version& v, unsigned fields, QRandomGenerator& r) {
        v.info.editTime = At(++clock);
        const int n = int(r.bounded(5));
        if (fields & Parent)
            v.parent = n == 0 ? QString() : QStringLiteral("P%1").arg(n);
        if (fields & Content)
            v.info.content = QStringLiteral("text %1 at %2").arg(n).arg(clock);
        if (fields & Completion) {
            v.info.checkFlag = !v.info.checkFlag;
            v.info.checkTime = At(clock);
        }
        if (fields & Due) {
            v.info.dueFlag = n != 0;
            v.info.dueTime = At(clock + 3600 * n);
        }
        if (fields & TextColor)
            v.info.textColor = n * 1000 + clock;
    }

    void localEdit(Device& d, QRandomGenerator& r) {
        const unsigned fields = 1u << r.bounded(7);
        if (d.tasks.empty() || r.bounded(6) == 0) {
            const QString tid = QStringLiteral("T%1").arg(++ids);
            Version v;
            v.info.tid = tid;
            change(v, kAll, r);
            d.tasks[tid] = v;
            return edited(tid, v, kAll);
        }
        auto it = std::next(d.tasks.begin(), r.bounded(int(d.tasks.size())));
        const QString tid = it->first;
        const auto item = d.items.find(tid);
        if (r.bounded(8) == 0) {
            deleted(tid, it->second);
            d.tasks.erase(it);
            if (item != d.items.end()) {
                item->second.deleted = item->second.dirty = true;
                item->second.changed = At(++clock);
            }
            return;
        }
        const Version before = it->second;
        change(it->second, fields, r);
        if (!Differing(before, it->second))
            return; // the same values: no change to record
        if (item != d.items.end()) {
            item->second.dirty = true;
            item->second.changed = At(clock);
        }
        edited(tid, it->second, Differing(before, it->second));
    }

    void serverEdit(QRandomGenerator& r) {
        if (server.empty())
            return;
        auto it = std::next(server.begin(), r.bounded(int(server.size())));
        if (r.bounded(8) == 0) {
            deleted(it->first, it->second.v);
            server.erase(it);
            return;
        }
        const Version before = it->second.v;
        change(it->second.v, 1u << r.bounded(7), r);
        if (!Differing(before, it->second.v))
            return;
        it->second.etag = ++etags;
        edited(it->first, it->second.v, Differing(before, it->second.v));
    }

    // One sync of a device: the server's changes taken, then its own sent,
    // as the engine takes and sends them.
    void sync(Device& d) {
        for (const auto& [tid, o] : server) {
            Device::Item& item = d.items[tid];
            if (item.known && item.etag == o.etag)
                continue;
            SyncDecide::Pull in;
            in.base = item.known ? item.base : std::nullopt;
            in.there = o.v;
            in.thereModified = o.v.info.editTime;
            const auto here = d.tasks.find(tid);
            if (here != d.tasks.end()) {
                in.here = here->second;
                in.hereModified = std::max(here->second.info.editTime, item.changed);
            }
            in.changedHere = item.dirty || (!item.known && here != d.tasks.end());
            const Outcome out = SyncDecide::DecidePull(in);
            if (out.lost == Outcome::Here)
                backups.emplace(tid, *in.here);
            else if (out.lost == Outcome::There)
                backups.emplace(tid, o.v);
            if (out.write)
                d.tasks[tid] = *out.write;
            item = {true, o.etag, o.v, !out.settled, false, item.changed};
        }
        for (auto it = d.items.begin(); it != d.items.end();) {
            Device::Item& item = it->second;
            if (!item.known || server.count(it->first)) {
                ++it;
            } else if (item.deleted) {
                it = d.items.erase(it);
            } else if (item.dirty) {
                item = {false, 0, std::nullopt, true, false, item.changed}; // sent back
                ++it;
            } else {
                d.tasks.erase(it->first);
                it = d.items.erase(it);
            }
        }
        for (const auto& [tid, v] : d.tasks)
            if (!d.items.count(tid))
                d.items[tid].dirty = true;
        for (auto it = d.items.begin(); it != d.items.end();) {
            Device::Item& item = it->second;
            if (item.deleted) {
                server.erase(it->first);
                it = d.items.erase(it);
                continue;
            }
            if (item.dirty) {
                const Version& v = d.tasks.at(it->first);
                server[it->first] = {v, ++etags};
                item = {true, etags, v, false, false, item.changed};
            }
            ++it;
        }
    }
};

QString Describe(const std::map<QString, Version>& tasks) {
    QStringList out;
    for (const auto& [tid, v] : tasks)
        out << tid + u':' + v.parent + u'|' + v.info.content + u'|' +
                   QString::number(v.info.checkFlag) + u'|' + QString::number(v.info.textColor);
    return out.join(u' ');
}

} // namespace

class TestSyncMerge : public QObject {
    Q_OBJECT
private slots:
    // Fields changed on different sides both stay; a field changed on both
    // goes to the later edit, the other version kept.
    void fieldByField_data() {
        QTest::addColumn<unsigned>("here");
        QTest::addColumn<unsigned>("there");
        QTest::addColumn<bool>("thereLater");
        QTest::addColumn<unsigned>("takenFromThere");
        QTest::addColumn<int>("lost");
        QTest::newRow("different fields")
            << unsigned(Content) << unsigned(Due) << false << unsigned(Due) << int(Outcome::Nobody);
        QTest::newRow("same field, there later")
            << unsigned(Content | TextColor) << unsigned(Content) << true << unsigned(Content)
            << int(Outcome::Here);
        QTest::newRow("same field, here later")
            << unsigned(Content) << unsigned(Content | Completion) << false << unsigned(Completion)
            << int(Outcome::There);
    }
    void fieldByField() {
        QFETCH(unsigned, here);
        QFETCH(unsigned, there);
        QFETCH(bool, thereLater);
        QFETCH(unsigned, takenFromThere);
        QFETCH(int, lost);
        World w;
        QRandomGenerator r(1);
        Version base;
        base.info.tid = QStringLiteral("T");
        SyncDecide::Pull in{base, base, 0, base, true, 0};
        w.change(*in.here, here, r);
        in.hereModified = At(thereLater ? 10 : 20);
        w.change(in.there, there, r);
        in.thereModified = At(thereLater ? 20 : 10);
        const Outcome out = SyncDecide::DecidePull(in);
        QCOMPARE(int(out.lost), lost);
        QVERIFY(out.write);
        QCOMPARE(Differing(*out.write, in.there), kAll & ~takenFromThere & (here | there));
        QCOMPARE(out.settled, false);
    }

    void randomHistoriesConverge() {
        for (quint32 seed = 1; seed <= 400; ++seed) {
            QRandomGenerator r(seed);
            World w;
            for (int step = 0; step < 120; ++step) {
                const int what = int(r.bounded(10));
                if (what < 3)
                    w.localEdit(w.dev[0], r);
                else if (what < 6)
                    w.localEdit(w.dev[1], r);
                else if (what < 7)
                    w.serverEdit(r);
                else
                    w.sync(w.dev[r.bounded(2)]);
            }
            for (int round = 0; round < 2; ++round)
                for (Device& d : w.dev)
                    w.sync(d);
            std::map<QString, Version> server;
            for (const auto& [tid, o] : w.server)
                server[tid] = o.v;
            const QString where = QStringLiteral("seed %1").arg(seed);
            QVERIFY2(Describe(w.dev[0].tasks) == Describe(server), qPrintable(where));
            QVERIFY2(Describe(w.dev[1].tasks) == Describe(server), qPrintable(where));
            // A task last edited survives; each field's newest value is
            // shown, or kept in the file of the version that lost.
            for (const auto& [tid, edit] : w.lastEventEdit)
                QVERIFY2(!edit || server.count(tid), qPrintable(where + u' ' + tid));
            for (const auto& [key, v] : w.newest) {
                const auto shown = server.find(key.first);
                if (shown == server.end() || !(Differing(shown->second, v) & key.second))
                    continue;
                bool kept = false;
                const auto [from, to] = w.backups.equal_range(key.first);
                for (auto b = from; b != to && !kept; ++b)
                    kept = !(Differing(b->second, v) & key.second);
                QVERIFY2(kept,
                         qPrintable(where + u' ' + key.first + u' ' + QString::number(key.second)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSyncMerge)
#include "test_sync_merge.moc"
