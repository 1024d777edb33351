#include "TaskTreeModel.h"

#include "TaskColumns.h"

#include "platform/Database.h"

#include <QHash>

// Building the tree from the tasks table in one pass.

void TaskTreeModel::beginLoad() {
    m_flatDirty = true;
    m_topSorted = false;
    beginResetModel();
    m_visibleTop.clear();
    m_top.clear();
}

TaskNode* TaskTreeModel::loadTopLevel(TTaskInfo info) {
    m_flatDirty = true;
    m_topSorted = false;
    auto node = std::make_unique<TaskNode>();
    node->info = std::move(info);
    node->m_position = static_cast<int>(m_top.size());
    m_top.push_back(std::move(node));
    return m_top.back().get();
}

TaskNode* TaskTreeModel::loadChild(TaskNode* parent, TTaskInfo info) {
    m_flatDirty = true;
    auto node = std::make_unique<TaskNode>();
    node->info = std::move(info);
    node->info.expandFlag = false;
    node->m_parent = parent;
    node->m_position = static_cast<int>(parent->m_children.size());
    parent->m_childrenSorted = false;
    if (parent->m_children.empty())
        parent->m_children.reserve(8); // not five growths for a usual list
    parent->m_children.push_back(std::move(node));
    return parent->m_children.back().get();
}

void TaskTreeModel::endLoad() {
    rebuildVisible();
    endResetModel();
}

int LoadTaskTree(Database& db, TaskTreeModel& model) {
    // One pass over the table gives the same rows in the same order as a
    // query per parent, without a statement per top-level task.
    const ScanPageCache scan(db);
    Query q(db);
    OpenQuery(q, QStringLiteral("select * from tasks"));
    const TaskQueryColumns cols(q);
    QHash<QString, TaskNode*> parents;
    // Sub-tasks met before their task wait here; they come first under it,
    // since they come first in the table too.
    QHash<QString, std::vector<TTaskInfo>> waiting;
    // Sub-tasks mostly follow their task or a sibling in the table: the
    // last parent met is tried first, on the stored bytes.
    TaskNode* last = nullptr;
    QByteArray lastTid;
    const auto attach = [&](TaskNode* p, TTaskInfo&& t) {
        t.pid = p->info.tid;
        model.loadChild(p, std::move(t));
        if (p != last) {
            last = p;
            lastTid = p->info.tid.toUtf8();
        }
    };
    int rows = 0;
    model.beginLoad();
    try {
        for (; !q.eof(); q.next(), ++rows) {
            if (last && q.textEquals(cols.pid, lastTid.constData())) {
                attach(last, cols.read(q, false));
                continue;
            }
            TTaskInfo t = cols.read(q);
            if (t.pid == RootPid()) {
                const QString tid = t.tid;
                TaskNode* n = model.loadTopLevel(std::move(t));
                if (!tid.isEmpty() && !parents.contains(tid)) { // a duplicate keeps the first
                    parents.insert(tid, n);
                    if (auto it = waiting.find(tid); it != waiting.end()) {
                        for (TTaskInfo& child : *it)
                            attach(n, std::move(child));
                        waiting.erase(it);
                    }
                }
            } else if (TaskNode* p = parents.value(t.pid)) {
                attach(p, std::move(t));
            } else {
                waiting[t.pid].push_back(std::move(t)); // left unread if no task comes
            }
        }
    } catch (...) {
        model.endLoad();
        throw;
    }
    model.endLoad();
    return rows;
}

int CountTasks(Database& db) {
    Query q(db);
    OpenQuery(q, QStringLiteral("select count(*) as cnt from tasks"));
    return q.integer(QStringLiteral("cnt"));
}
