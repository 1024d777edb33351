#include "TaskHistory.h"

#include "TaskColumns.h"

#include "platform/Database.h"
#include "platform/Transaction.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <cstdlib>

// Steps of the undo history: recorded around a command, written back and
// brought into the tree by undo and redo.

namespace {

const QString kTasks = QStringLiteral("tasks");
const QString kTid = QStringLiteral("tid");

// The engine's own conversions, so a record reads as the load reads it.
qint64 IntegerOf(const Cell& c) {
    switch (c.kind) {
    case Cell::Integer:
        return c.integer;
    case Cell::Real:
        return qint64(c.real);
    case Cell::Text:
        return qint64(std::strtod(c.bytes.constData(), nullptr));
    default:
        return 0;
    }
}

double RealOf(const Cell& c) {
    switch (c.kind) {
    case Cell::Integer:
        return double(c.integer);
    case Cell::Real:
        return c.real;
    case Cell::Text:
        return std::strtod(c.bytes.constData(), nullptr);
    default:
        return 0;
    }
}

QString TextOf(const Cell& c) {
    switch (c.kind) {
    case Cell::Integer:
        return QString::number(c.integer);
    case Cell::Real:
        return QString::number(c.real, 'g', 17);
    case Cell::Text:
    case Cell::Blob:
        return QString::fromUtf8(c.bytes);
    default:
        return QString();
    }
}

struct TaskColumns : TaskColumnIndexes {
    explicit TaskColumns(const QStringList& columns)
        : TaskColumnIndexes([&](QLatin1String n) { return int(columns.indexOf(n)); }) {}
    TTaskInfo read(const RowImage& row) const {
        const auto& c = row.cells;
        TTaskInfo t;
        t.tid = TextOf(c[size_t(tid)]);
        t.pid = TextOf(c[size_t(pid)]);
        if (t.pid == RootPid())
            t.pid = RootPid(); // shared, as the load shares it
        t.content = TextOf(c[size_t(content)]);
        t.checkFlag = IntegerOf(c[size_t(checkFlag)]) != 0;
        t.dueFlag = IntegerOf(c[size_t(dueFlag)]) != 0;
        t.alarmFlag = IntegerOf(c[size_t(alarmFlag)]) != 0;
        t.expandFlag = IntegerOf(c[size_t(expandFlag)]) != 0;
        t.textColor = qint32(IntegerOf(c[size_t(textColor)]));
        t.backgroundColor = qint32(IntegerOf(c[size_t(backgroundColor)]));
        t.createTime = RealOf(c[size_t(createTime)]);
        t.editTime = RealOf(c[size_t(editTime)]);
        t.checkTime = RealOf(c[size_t(checkTime)]);
        t.alarmTime = RealOf(c[size_t(alarmTime)]);
        t.dueTime = RealOf(c[size_t(dueTime)]);
        return t;
    }
};

} // namespace

int TaskStep::restoredCount(bool undo) const {
    int n = 0;
    for (const Row& r : m_rows)
        n += (undo ? r.before && !r.after : r.after && !r.before) ? 1 : 0;
    return n;
}

void TaskStep::write(Database& db, bool undo, const std::function<void(qsizetype)>& progress) {
    Transaction transaction(db);
    RowImages images(db, kTasks, kTid);
    if (images.columns() != m_columns)
        throw DbError(QCoreApplication::translate(
            "Undo", "The tasks table has other columns now; the change cannot "
                    "be taken back."));
    const int all = int(m_columns.size());
    std::vector<int> everyCell(static_cast<size_t>(all));
    for (int i = 0; i < all; ++i)
        everyCell[size_t(i)] = i;
    std::vector<std::optional<RowImage>> now(m_rows.size());
    // Backwards for an undo: the last write of the command is taken back
    // first.
    const int count = int(m_rows.size());
    for (int k = 0; k < count; ++k) {
        const size_t at = size_t(undo ? count - 1 - k : k);
        const Row& r = m_rows[at];
        const std::optional<RowImage>& target = undo ? r.before : r.after;
        const std::optional<RowImage>& source = undo ? r.after : r.before;
        if (!target) {
            images.remove(*source);
        } else if (!source) {
            // A row back, whole; unless the task came back meanwhile (a
            // sync brought another device's edit of it): that one is newer.
            if (!images.byKey(*target))
                images.insert(*target);
        } else {
            std::vector<int> cells;
            for (int i = 0; i < all; ++i)
                if (source->cells[size_t(i)] != target->cells[size_t(i)])
                    cells.push_back(i);
            if (!images.update(*target, cells))
                images.insert(*target);
        }
        // What the other columns hold now may differ from the step's
        // record: the tree shows the table.
        now[at] = images.byKey(target ? *target : *source);
        if (progress)
            progress(k + 1);
    }
    transaction.commit();
    m_written = std::move(now);
}

std::vector<TaskNode*> TaskStep::apply(TaskTreeModel& model, bool undo, bool* reset) {
    const TaskColumns columns(m_columns);
    std::vector<TaskTreeModel::RowState> states;
    states.reserve(m_rows.size());
    const bool written = m_written.size() == m_rows.size();
    for (size_t k = 0; k < m_rows.size(); ++k) {
        Row& r = m_rows[k];
        const std::optional<RowImage>& recorded = undo ? r.before : r.after;
        const std::optional<RowImage>& target = written ? m_written[k] : recorded;
        const RowImage& any = recorded ? *recorded : *(undo ? r.after : r.before);
        TaskTreeModel::RowState s;
        s.tid = TextOf(any.cells[size_t(columns.tid)]);
        if (target)
            s.info = columns.read(*target);
        s.place = undo ? r.placeBefore : r.placeAfter;
        s.placeBefore = undo ? &r.placeAfter : &r.placeBefore;
        states.push_back(std::move(s));
    }
    m_written.clear();
    return model.applyRows(states, reset);
}

TaskStepRecorder::TaskStepRecorder(Database& db, const QString& name)
    : m_images(std::make_unique<RowImages>(db, kTasks, kTid)) {
    m_step.name = name;
    m_step.m_columns = m_images->columns();
    m_step.m_tid = m_images->column(kTid);
}

TaskStepRecorder::~TaskStepRecorder() = default;

void TaskStepRecorder::add(std::vector<RowImage> rows, const QHash<QString, int>& places) {
    for (RowImage& image : rows) {
        if (m_seen.contains(image.rowid))
            continue;
        m_seen.insert(image.rowid);
        TaskStep::Row r;
        r.placeBefore = places.value(TextOf(image.cells[size_t(m_step.m_tid)]), -1);
        r.before = std::move(image);
        m_step.m_rows.push_back(std::move(r));
    }
}

void TaskStepRecorder::watch(const TaskNode* node, bool withSubTasks) {
    watch(std::vector<TaskNode*>{const_cast<TaskNode*>(node)}, withSubTasks);
}

void TaskStepRecorder::watch(const std::vector<TaskNode*>& nodes, bool withSubTasks) {
    // Each row's place, and its sub-tasks' places, for an undo to put
    // them back.
    QHash<QString, int> places;
    QStringList ids;
    for (const TaskNode* n : nodes) {
        if (n->info.tid.isEmpty())
            continue;
        ids << n->info.tid;
        places.insert(n->info.tid, n->position());
        if (withSubTasks)
            for (const auto& child : n->children())
                places.insert(child->info.tid, child->position());
    }
    constexpr qsizetype batch = 500;
    for (qsizetype at = 0; at < ids.size(); at += batch) {
        const QStringList part = ids.mid(at, batch);
        QStringList marks;
        for (qsizetype i = 0; i < part.size(); ++i)
            marks << u'?' + QString::number(i + 1);
        const QString list = marks.join(u',');
        const QString where = withSubTasks ? QStringLiteral("tid in (%1) or pid in (%1)").arg(list)
                                           : QStringLiteral("tid in (%1)").arg(list);
        add(m_images->select(where, part), places);
    }
}

void TaskStepRecorder::watch(const QString& tid) {
    m_tids << tid;
    add(m_images->select(QStringLiteral("tid=?"), {tid}), {});
}

TaskStep TaskStepRecorder::finish() {
    QSet<qint64>& seen = m_seen;
    for (TaskStep::Row& r : m_step.m_rows) {
        r.after = m_images->read(r.before->rowid);
        // The id may be another row's by now: the watched row went.
        if (r.after &&
            r.after->cells[size_t(m_step.m_tid)] != r.before->cells[size_t(m_step.m_tid)])
            r.after.reset();
    }
    for (const QString& tid : std::as_const(m_tids))
        for (RowImage& image : m_images->select(QStringLiteral("tid=?"), {tid}))
            if (!seen.contains(image.rowid)) {
                seen.insert(image.rowid);
                TaskStep::Row r;
                r.after = std::move(image);
                m_step.m_rows.push_back(std::move(r));
            }
    auto& rows = m_step.m_rows;
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [](const TaskStep::Row& r) { return r.before == r.after; }),
               rows.end());
    return std::move(m_step);
}
