#include "SyncStore.h"

#include "core/SyncedFields.h"
#include "platform/Database.h"

#include <atomic>
#include <sqlite3.h>

namespace {

const QString kColumns =
    QStringLiteral("select tid, href, etag, object, deleted, dirty, rev, changed from sync_items");

SyncStore::Item itemOf(const Query& q) {
    SyncStore::Item i;
    i.tid = q.text(0);
    i.href = q.text(1);
    i.etag = q.text(2);
    i.object = q.text(3).toUtf8();
    i.deleted = q.integer(4) != 0;
    i.dirty = q.integer(5) != 0;
    i.rev = q.integer(6);
    i.changed = q.dateTime(7);
    return i;
}

void now(sqlite3_context* context, int, sqlite3_value**) {
    sqlite3_result_double(context, Clock::Now());
}

std::atomic<quint64> changes{0};

void changed(sqlite3_context* context, int, sqlite3_value**) {
    ++changes;
    sqlite3_result_int(context, 1);
}

// A change of what the server holds: a column of the task's object.
QString syncedChange() {
    QStringList terms;
    for (const QString& c : SyncedFields::Columns())
        terms << QStringLiteral("old.%1 is not new.%1").arg(c);
    return terms.join(QStringLiteral(" or "));
}

} // namespace

void SyncStore::attach() {
    m_db.exec(QStringLiteral(
        "create table if not exists sync_items (tid text primary key, href text, etag text,"
        " object text, deleted integer not null default 0, dirty integer not null default 0,"
        " rev integer not null default 0, changed real not null default 0);"
        "create index if not exists sync_items_href on sync_items(href);"
        "create table if not exists sync_meta (key text primary key, value text)"));
    using Fn = void (*)(sqlite3_context*, int, sqlite3_value**);
    for (const auto& [name, fn] : {std::pair<const char*, Fn>{"tasquel_now", now},
                                   std::pair<const char*, Fn>{"tasquel_changed", changed}})
        if (sqlite3_create_function_v2(m_db.handle(), name, 0, SQLITE_UTF8, nullptr, fn, nullptr,
                                       nullptr, nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(m_db.handle())));
    // Counted last: a term that is false decides alone.
    const QString quiet = QStringLiteral(" when not exists (select 1 from temp.sync_quiet)");
    const QString count = QStringLiteral(" and tasquel_changed()");
    const QString mark = QStringLiteral("rev=rev+1, changed=tasquel_now() where tid=");
    m_db.exec(QStringLiteral("create temp table if not exists sync_quiet (x);"
                             "create temp trigger if not exists sync_on_update after update on"
                             " main.tasks") +
              quiet + QStringLiteral(" and (") + syncedChange() + QStringLiteral(")") + count +
              QStringLiteral(" begin update sync_items set dirty=1, ") + mark +
              QStringLiteral("new.tid; end;"
                             "create temp trigger if not exists sync_on_delete after delete on"
                             " main.tasks") +
              quiet + count + QStringLiteral(" begin update sync_items set deleted=1, dirty=1, ") +
              mark +
              QStringLiteral("old.tid; end;"
                             "create temp trigger if not exists sync_on_insert after insert on"
                             " main.tasks") +
              quiet + count + QStringLiteral(" begin update sync_items set deleted=0, dirty=1, ") +
              mark + QStringLiteral("new.tid; end"));
    // What the server's changes wrote, for the window to show those rows.
    const QString quietOnly = QStringLiteral(" when exists (select 1 from temp.sync_quiet)");
    m_db.exec(QStringLiteral("create temp table if not exists sync_touched (tid text);") +
              QStringLiteral("create temp trigger if not exists sync_touched_update after update"
                             " on main.tasks") +
              quietOnly +
              QStringLiteral(" begin insert into sync_touched values (new.tid); end;"
                             "create temp trigger if not exists sync_touched_insert after insert"
                             " on main.tasks") +
              quietOnly +
              QStringLiteral(" begin insert into sync_touched values (new.tid); end;"
                             "create temp trigger if not exists sync_touched_delete after delete"
                             " on main.tasks") +
              quietOnly + QStringLiteral(" begin insert into sync_touched values (old.tid); end"));
}

QStringList SyncStore::takeTouched() {
    QStringList out;
    Query q(m_db);
    OpenQuery(q, QStringLiteral("select 1 from sqlite_temp_master where name='sync_touched'"));
    if (q.eof())
        return out;
    for (OpenQuery(q, QStringLiteral("select distinct tid from temp.sync_touched")); !q.eof();
         q.next())
        out << q.text(0);
    q.close();
    m_db.exec(QStringLiteral("delete from temp.sync_touched"));
    return out;
}

quint64 SyncStore::ChangeCount() {
    return changes;
}

bool SyncStore::exists() const {
    Query q(m_db);
    OpenQuery(q, QStringLiteral("select 1 from sqlite_master where name='sync_items'"));
    return !q.eof();
}

void SyncStore::reset() {
    m_db.exec(QStringLiteral("delete from sync_items; delete from sync_meta"));
}

std::optional<SyncStore::Item> SyncStore::byTid(const QString& tid) const {
    Query q(m_db);
    OpenQuery(q, kColumns + QStringLiteral(" where tid=?"), {tid});
    return q.eof() ? std::nullopt : std::optional(itemOf(q));
}

std::optional<SyncStore::Item> SyncStore::byHref(const QString& href) const {
    Query q(m_db);
    OpenQuery(q, kColumns + QStringLiteral(" where href=?"), {href});
    return q.eof() ? std::nullopt : std::optional(itemOf(q));
}

QString SyncStore::anyHref() const {
    Query q(m_db);
    OpenQuery(q, QStringLiteral("select href from sync_items where href<>'' limit 1"));
    return q.eof() ? QString() : q.text(0);
}

std::vector<SyncStore::Item> SyncStore::all() const {
    std::vector<Item> out;
    Query q(m_db);
    OpenQuery(q, kColumns);
    for (; !q.eof(); q.next())
        out.push_back(itemOf(q));
    return out;
}

std::vector<SyncStore::Item> SyncStore::pending() const {
    // A task never sent gets its record first, so that a change made
    // while it is on its way counts as a change.
    m_db.exec(QStringLiteral("insert into sync_items (tid, dirty) select tid, 1 from tasks"
                             " where tid not in (select tid from sync_items)"));
    std::vector<Item> out;
    Query q(m_db);
    OpenQuery(q, kColumns + QStringLiteral(" where dirty<>0"));
    for (; !q.eof(); q.next())
        out.push_back(itemOf(q));
    return out;
}

void SyncStore::storeClean(const QString& tid, const QString& href, const QString& etag,
                           const QByteArray& object) {
    ensure(tid);
    Query q(m_db);
    q.execWith(QStringLiteral("update sync_items set href=?, etag=?, object=?, dirty=0, deleted=0"
                              " where tid=?"),
               {href, etag, QString::fromUtf8(object), tid});
}

void SyncStore::storeSent(const QString& tid, int rev, const QString& href, const QString& etag,
                          const QByteArray& object) {
    ensure(tid);
    Query q(m_db);
    q.execWith(QStringLiteral("update sync_items set href=?, etag=?, object=?, dirty=(rev<>?)"
                              " where tid=?"),
               {href, etag, QString::fromUtf8(object), qint64(rev), tid});
    // Deleted here while it travelled: the server's copy goes next time.
    q.execWith(QStringLiteral("update sync_items set deleted=1, dirty=1 where tid=?1"
                              " and not exists (select 1 from tasks where tid=?1)"),
               {tid});
}

void SyncStore::storeServerVersion(const QString& tid, const QString& href, const QString& etag,
                                   const QByteArray& object) {
    ensure(tid);
    Query q(m_db);
    q.execWith(
        QStringLiteral("update sync_items set href=?, etag=?, object=?, dirty=1 where tid=?"),
        {href, etag, QString::fromUtf8(object), tid});
}

void SyncStore::forgetHref(const QString& tid) {
    Query q(m_db);
    q.execWith(QStringLiteral("update sync_items set href=null, etag=null, object=null, dirty=1"
                              " where tid=?"),
               {tid});
}

void SyncStore::remove(const QString& tid) {
    Query q(m_db);
    q.execWith(QStringLiteral("delete from sync_items where tid=?"), {tid});
}

void SyncStore::removeDeleted(const QString& tid, int rev) {
    Query q(m_db);
    q.execWith(QStringLiteral("delete from sync_items where tid=? and rev=? and deleted<>0"),
               {tid, qint64(rev)});
}

void SyncStore::ensure(const QString& tid) {
    Query q(m_db);
    q.execWith(QStringLiteral("insert or ignore into sync_items (tid) values (?)"), {tid});
}

QString SyncStore::meta(const QString& key) const {
    Query q(m_db);
    OpenQuery(q, QStringLiteral("select value from sync_meta where key=?"), {key});
    return q.eof() ? QString() : q.text(0);
}

void SyncStore::setMeta(const QString& key, const QString& value) {
    Query q(m_db);
    q.execWith(QStringLiteral("insert or replace into sync_meta (key, value) values (?, ?)"),
               {key, value});
}

SyncStore::Quiet::Quiet(SyncStore& s) : m_db(s.m_db) {
    m_db.exec(QStringLiteral("insert into temp.sync_quiet values (1)"));
}

SyncStore::Quiet::~Quiet() {
    try {
        m_db.exec(QStringLiteral("delete from temp.sync_quiet"));
    } catch (...) {
        // a connection gone is quiet anyway
    }
}
