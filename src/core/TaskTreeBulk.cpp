#include "TaskTreeModel.h"

#include <QHash>
#include <climits>
#include <unordered_map>

// Changes of many rows at once, each inside one reset: a delete or a move
// of many selected rows, and the rows an undo or a redo changed, brought in
// at their old places, taken out, or given back their records.

namespace {
// Row by row up to here; beyond, one reset costs less than the view's
// work for each row.
constexpr size_t kRowByRow = 64;

bool SameParent(const TaskNode* node, const QString& pid) {
    return node->isTopLevel() ? pid == RootPid() : node->parent()->info.tid == pid;
}
} // namespace

void TaskTreeModel::closeUp(std::vector<std::vector<std::unique_ptr<TaskNode>>*>& lists) {
    std::sort(lists.begin(), lists.end());
    lists.erase(std::unique(lists.begin(), lists.end()), lists.end());
    for (auto* list : lists) {
        list->erase(std::remove(list->begin(), list->end(), nullptr), list->end());
        renumber(*list);
    }
}

bool TaskTreeModel::nodesChanged(const std::vector<TaskNode*>& nodes) {
    if (nodes.size() <= kRowByRow) {
        for (TaskNode* n : nodes)
            nodeChanged(n);
        return false;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::NoLayoutChangeHint);
    for (TaskNode* n : nodes) {
        ++n->m_revision;
        siblingsSorted(n->m_parent) = false;
    }
    emit layoutChanged({}, QAbstractItemModel::NoLayoutChangeHint);
    return true;
}

bool TaskTreeModel::removeNodes(const std::vector<TaskNode*>& nodes) {
    if (nodes.size() <= kRowByRow) {
        for (TaskNode* n : nodes)
            removeNode(n);
        return false;
    }
    beginResetModel();
    m_flatDirty = true;
    std::vector<std::unique_ptr<TaskNode>> gone; // until the view has let go
    gone.reserve(nodes.size());
    std::vector<std::vector<std::unique_ptr<TaskNode>>*> emptied;
    for (TaskNode* n : nodes) {
        auto& list = siblings(n->m_parent);
        gone.push_back(std::move(list[size_t(n->m_position)]));
        emptied.push_back(&list);
        siblingsSorted(n->m_parent) = false;
    }
    closeUp(emptied);
    rebuildVisible();
    endResetModel();
    return true;
}

std::vector<TaskNode*> TaskTreeModel::moveNodes(const std::vector<TaskNode*>& nodes,
                                                TaskNode* newParent, bool first) {
    m_flatDirty = true;
    beginResetModel();
    std::vector<std::vector<std::unique_ptr<TaskNode>>> groups;
    groups.reserve(nodes.size());
    std::vector<std::vector<std::unique_ptr<TaskNode>>*> emptied;
    for (TaskNode* node : nodes) {
        siblingsSorted(node->m_parent) = false;
        auto& from = siblings(node->m_parent);
        auto& group = groups.emplace_back();
        group.push_back(std::move(from[size_t(node->m_position)]));
        emptied.push_back(&from);
        if (newParent)
            takeSubTasks(node, group);
    }
    closeUp(emptied);
    siblingsSorted(newParent) = false;
    auto& to = siblings(newParent);
    // First: each group goes in at the top in turn, so the last one ends
    // up first, as a row-by-row move would leave them.
    std::vector<std::unique_ptr<TaskNode>> merged;
    merged.reserve(to.size() + nodes.size());
    if (!first)
        for (auto& n : to)
            merged.push_back(std::move(n));
    std::vector<TaskNode*> moved;
    for (size_t k = 0; k < groups.size(); ++k)
        for (auto& n : groups[first ? groups.size() - 1 - k : k]) {
            n->m_parent = newParent;
            moved.push_back(n.get());
            merged.push_back(std::move(n));
        }
    if (first)
        for (auto& n : to)
            merged.push_back(std::move(n));
    to = std::move(merged);
    rebuildVisible();
    endResetModel();
    return moved;
}

std::vector<TaskNode*> TaskTreeModel::applyRows(const std::vector<RowState>& rows, bool* reset) {
    QHash<QString, TaskNode*> byTid;
    byTid.reserve(qsizetype(flatNodes().size()));
    for (TaskNode* n : flatNodes())
        if (!byTid.contains(n->info.tid)) // a duplicate keeps the first, as the load does
            byTid.insert(n->info.tid, n);

    struct Move {
        const RowState* row;
        TaskNode* node; // nullptr: a row the tree does not hold yet
    };
    std::vector<Move> out, in;
    std::vector<TaskNode*> changed;
    for (const RowState& r : rows) {
        TaskNode* node = byTid.value(r.tid);
        if (!r.info) {
            if (node)
                out.push_back({&r, node});
            continue;
        }
        if (node && SameParent(node, r.info->pid)) {
            node->info = *r.info;
            if (!node->isTopLevel())
                node->info.expandFlag = false;
            changed.push_back(node);
            continue;
        }
        if (node)
            out.push_back({&r, node});
        in.push_back({&r, node});
    }
    if (reset)
        *reset = !out.empty() || !in.empty();
    if (out.empty() && in.empty()) {
        nodesChanged(changed);
        return changed;
    }

    beginResetModel();
    m_flatDirty = true;
    for (TaskNode* n : changed) {
        ++n->m_revision;
        siblingsSorted(n->m_parent) = false;
    }
    // Every place is noted before anything moves.
    for (const Move& m : out)
        if (m.row->placeBefore)
            *m.row->placeBefore = m.node->m_position;
    // Taken out in one pass per list: a slot is emptied, the list closed
    // up once.
    std::unordered_map<TaskNode*, std::unique_ptr<TaskNode>> held;
    std::vector<std::vector<std::unique_ptr<TaskNode>>*> emptied;
    for (const Move& m : out) {
        auto& list = siblings(m.node->m_parent);
        held[m.node] = std::move(list[size_t(m.node->m_position)]);
        emptied.push_back(&list);
        siblingsSorted(m.node->m_parent) = false;
    }
    closeUp(emptied);

    // Top-level rows first: a sub-task's parent may be among them.
    std::stable_sort(in.begin(), in.end(), [](const Move& a, const Move& b) {
        return (a.row->info->pid == RootPid()) > (b.row->info->pid == RootPid());
    });
    struct Placed {
        int place;
        std::unique_ptr<TaskNode> node;
    };
    std::vector<std::pair<TaskNode*, std::vector<Placed>>> groups; // by parent, nullptr: top
    const auto groupOf = [&](TaskNode* parent) -> std::vector<Placed>& {
        for (auto& g : groups)
            if (g.first == parent)
                return g.second;
        return groups.emplace_back(parent, std::vector<Placed>()).second;
    };
    std::vector<TaskNode*> placed;
    for (const Move& m : in) {
        const TTaskInfo& info = *m.row->info;
        TaskNode* parent = nullptr;
        if (info.pid != RootPid()) {
            parent = byTid.value(info.pid);
            // Two levels only: a row under a sub-task, or under a row the
            // tree lacks, stays in the table unshown, as at a load.
            if (!parent || parent->m_parent || held.count(parent))
                continue;
        }
        std::unique_ptr<TaskNode> node;
        if (m.node) {
            node = std::move(held[m.node]);
            held.erase(m.node);
        } else {
            node = std::make_unique<TaskNode>();
        }
        node->info = info;
        node->m_parent = parent;
        node->m_hidden = false;
        ++node->m_revision;
        auto& group = groupOf(parent);
        const int place = m.row->place < 0 ? INT_MAX : m.row->place;
        std::vector<std::unique_ptr<TaskNode>> along;
        if (parent) {
            node->info.expandFlag = false;
            // Sub-tasks of a task that becomes a sub-task come along after it.
            along = std::move(node->m_children);
            node->m_children.clear();
            node->m_visible.clear();
        }
        byTid.insert(node->info.tid, node.get());
        placed.push_back(node.get());
        group.push_back({place, std::move(node)});
        for (auto& child : along) {
            child->m_parent = parent;
            group.push_back({place, std::move(child)});
        }
    }
    // Each list merged with what comes into it, in the order of the places,
    // as if each were inserted in turn: the old places come back exactly.
    for (auto& [parent, group] : groups) {
        std::stable_sort(group.begin(), group.end(),
                         [](const Placed& a, const Placed& b) { return a.place < b.place; });
        auto& list = siblings(parent);
        std::vector<std::unique_ptr<TaskNode>> merged;
        merged.reserve(list.size() + group.size());
        size_t next = 0;
        for (Placed& p : group) {
            while (merged.size() < size_t(p.place) && next < list.size())
                merged.push_back(std::move(list[next++]));
            merged.push_back(std::move(p.node));
        }
        while (next < list.size())
            merged.push_back(std::move(list[next++]));
        list = std::move(merged);
        siblingsSorted(parent) = false;
    }
    rebuildVisible();
    endResetModel();
    changed.insert(changed.end(), placed.begin(), placed.end());
    return changed;
}
