#include "TaskTreeModel.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

TaskTreeModel::TaskTreeModel(QObject* parent) : QAbstractItemModel(parent) {}
TaskTreeModel::~TaskTreeModel() = default;

QModelIndex TaskTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    const std::vector<TaskNode*>* list = &m_visibleTop;
    if (parent.isValid()) {
        const TaskNode* p = nodeAt(parent);
        if (!p || !p->isTopLevel())
            return {};
        list = &p->m_visible;
    }
    if (row >= static_cast<int>(list->size()))
        return {};
    return indexFor(row, (*list)[row], parent.isValid());
}

QModelIndex TaskTreeModel::parent(const QModelIndex& child) const {
    const TaskNode* n = nodeAt(child);
    if (!n || !n->m_parent)
        return {};
    return indexFor(n->m_parent->m_row, n->m_parent, false);
}

// A sub-task's index carries that in its lowest bit, which the alignment of
// the rows leaves free: the view's layout asks flags() for every row and
// then need not read the row itself.
QModelIndex TaskTreeModel::indexFor(int row, const TaskNode* node, bool child) const {
    return createIndex(row, 0, reinterpret_cast<quintptr>(node) | quintptr(child));
}

int TaskTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return static_cast<int>(m_visibleTop.size());
    const TaskNode* p = nodeAt(parent);
    return p && p->isTopLevel() ? static_cast<int>(p->m_visible.size()) : 0;
}

int TaskTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

TaskNode* TaskTreeModel::nodeAt(const QModelIndex& index) const {
    return index.isValid() && index.model() == this
               ? reinterpret_cast<TaskNode*>(index.internalId() & ~quintptr(1))
               : nullptr;
}

QModelIndex TaskTreeModel::indexOf(const TaskNode* node) const {
    if (!node || node->m_row < 0 || (node->m_parent && node->m_parent->m_row < 0))
        return {};
    return indexFor(node->m_row, node, node->m_parent != nullptr);
}

// What a screen reader says after a row's text.
QString TaskTreeModel::accessibleStatus(const TTaskInfo& t) {
    const QLocale locale;
    QStringList parts{t.checkFlag ? QCoreApplication::translate("Tasks", "Complete")
                                  : QCoreApplication::translate("Tasks", "Not complete")};
    if (t.alarmFlag)
        parts << QCoreApplication::translate("Tasks", "reminder ") +
                     locale.toString(FromDateTime(t.alarmTime), QLocale::ShortFormat);
    if (t.dueFlag)
        parts << QCoreApplication::translate("Tasks", "due ") +
                     locale.toString(DatePart(t.dueTime), QLocale::ShortFormat);
    return parts.join(QLatin1String(", "));
}

QVariant TaskTreeModel::data(const QModelIndex& index, int role) const {
    const TaskNode* n = nodeAt(index);
    if (!n)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return n->info.content;
    case Qt::CheckStateRole:
        return n->info.checkFlag ? Qt::Checked : Qt::Unchecked;
    case Qt::AccessibleTextRole: {
        // Heard as one line: the break between a title and its notes is a pause.
        QString t = n->info.content;
        return t.replace(QLatin1String("\r\n"), QLatin1String(". "));
    }
    case Qt::AccessibleDescriptionRole:
        return accessibleStatus(n->info);
    case NodeRole:
        return QVariant::fromValue(static_cast<void*>(const_cast<TaskNode*>(n)));
    default:
        return {};
    }
}

bool TaskTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TaskNode* n = nodeAt(index);
    if (!n || role != Qt::CheckStateRole)
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    if (checked == n->info.checkFlag)
        return false;
    emit checkRequested(n, checked);
    return true;
}

void TaskTreeModel::setChecked(TaskNode* node, bool checked) {
    node->info.checkFlag = checked;
    nodeChanged(node);
}

Qt::ItemFlags TaskTreeModel::flags(const QModelIndex& index) const {
    if (!nodeAt(index))
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                      Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (index.internalId() & 1)
        f |= Qt::ItemNeverHasChildren;
    return f;
}

QVariant TaskTreeModel::headerData(int section, Qt::Orientation o, int role) const {
    if (section == 0 && o == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Tasks");
    return {};
}

int TaskTreeModel::totalCount() const {
    int n = 0;
    for (const auto& t : m_top)
        n += 1 + static_cast<int>(t->m_children.size());
    return n;
}

void TaskTreeModel::forEachNode(const std::function<void(TaskNode*)>& fn) const {
    for (TaskNode* n : flatNodes())
        fn(n);
}

bool TaskTreeModel::contains(const TaskNode* node) const {
    const auto& all = flatNodes();
    return std::find(all.begin(), all.end(), node) != all.end();
}

void TaskTreeModel::renumber(std::vector<std::unique_ptr<TaskNode>>& list) {
    for (size_t i = 0; i < list.size(); ++i)
        list[i]->m_position = static_cast<int>(i);
}

void TaskTreeModel::clear() {
    beginLoad();
    endLoad();
}

std::vector<TaskNode*>& TaskTreeModel::visibleSiblings(TaskNode* parent) {
    return parent ? parent->m_visible : m_visibleTop;
}

std::vector<std::unique_ptr<TaskNode>>& TaskTreeModel::siblings(TaskNode* parent) {
    return parent ? parent->m_children : m_top;
}

bool& TaskTreeModel::siblingsSorted(TaskNode* parent) {
    return parent ? parent->m_childrenSorted : m_topSorted;
}

TaskNode* TaskTreeModel::appendTopLevel(TTaskInfo info) {
    const int row = static_cast<int>(m_visibleTop.size());
    beginInsertRows({}, row, row);
    TaskNode* n = loadTopLevel(std::move(info));
    n->m_row = row;
    m_visibleTop.push_back(n);
    endInsertRows();
    return n;
}

TaskNode* TaskTreeModel::appendChild(TaskNode* parent, TTaskInfo info) {
    // A hidden parent cannot show the new row; it is offered with the parent.
    if (parent->m_row < 0) {
        TaskNode* n = loadChild(parent, std::move(info));
        n->m_hidden = false;
        parent->m_hidden = false;
        rebuildVisible();
        return n;
    }
    const int row = static_cast<int>(parent->m_visible.size());
    beginInsertRows(indexOf(parent), row, row);
    TaskNode* n = loadChild(parent, std::move(info));
    n->m_row = row;
    parent->m_visible.push_back(n);
    endInsertRows();
    return n;
}

void TaskTreeModel::takeSubTasks(TaskNode* node, std::vector<std::unique_ptr<TaskNode>>& group) {
    for (auto& child : node->m_children)
        group.push_back(std::move(child));
    node->m_children.clear();
    node->m_visible.clear();
    node->info.expandFlag = false;
}

void TaskTreeModel::removeNode(TaskNode* node) {
    m_flatDirty = true;
    TaskNode* parent = node->m_parent;
    siblingsSorted(parent) = false;
    auto& owners = siblings(parent);
    auto& visible = visibleSiblings(parent);
    const bool offered = node->m_row >= 0 && (!parent || parent->m_row >= 0);
    if (offered)
        beginRemoveRows(indexOf(parent), node->m_row, node->m_row);
    if (node->m_row >= 0) {
        visible.erase(visible.begin() + node->m_row);
        for (size_t i = node->m_row; i < visible.size(); ++i)
            visible[i]->m_row = static_cast<int>(i);
    }
    owners.erase(owners.begin() + node->m_position);
    renumber(owners);
    if (offered)
        endRemoveRows();
}

std::vector<TaskNode*> TaskTreeModel::moveNode(TaskNode* node, TaskNode* newParent, int position) {
    m_flatDirty = true;
    beginResetModel();
    siblingsSorted(node->m_parent) = false;
    siblingsSorted(newParent) = false;
    auto& from = siblings(node->m_parent);
    std::unique_ptr<TaskNode> owned = std::move(from[node->m_position]);
    from.erase(from.begin() + node->m_position);

    std::vector<std::unique_ptr<TaskNode>> group;
    group.push_back(std::move(owned));
    if (newParent)
        takeSubTasks(node, group);
    auto& to = siblings(newParent);
    const size_t at = position < 0 ? to.size() : std::min<size_t>(position, to.size());
    std::vector<TaskNode*> moved;
    for (size_t i = 0; i < group.size(); ++i) {
        group[i]->m_parent = newParent;
        moved.push_back(group[i].get());
        to.insert(to.begin() + at + i, std::move(group[i]));
    }
    rebuildVisible(); // numbers both lists too
    endResetModel();
    return moved;
}

void TaskTreeModel::nodeChanged(TaskNode* node) {
    ++node->m_revision;
    siblingsSorted(node->m_parent) = false; // the text may have changed
    const QModelIndex i = indexOf(node);
    if (i.isValid())
        emit dataChanged(i, i);
}

void TaskTreeModel::placeSiblings(TaskNode* parent) {
    auto& list = siblings(parent);
    auto& visible = visibleSiblings(parent);
    // Rebuilt from scratch: hidden rows lose their row.
    visible.clear();
    visible.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        TaskNode* n = list[i].get();
        n->m_position = static_cast<int>(i);
        n->m_row = -1;
        if (!n->m_hidden) {
            n->m_row = static_cast<int>(visible.size());
            visible.push_back(n);
        }
    }
}

void TaskTreeModel::rebuildVisible() {
    placeSiblings(nullptr);
    for (const auto& t : m_top)
        placeSiblings(t.get());
}

// Kept from list to list.
struct TaskTreeModel::SortScratch {
    std::vector<std::pair<QStringView, size_t>> keys;
    std::vector<signed char> steps; // each pair of neighbours: <0 in order, 0 equal, >0 not
    std::vector<std::unique_ptr<TaskNode>> buffer;
};

// Orders one list by its texts, stably, and notes which rows tie with the
// one before.
void TaskTreeModel::sortList(std::vector<std::unique_ptr<TaskNode>>& list, TextOrder compare,
                             bool ascending, SortScratch& s) {
    if (list.empty())
        return;
    // Sorted by the texts themselves, not through the nodes: fewer
    // pointers to follow for each of the many comparisons.
    s.keys.clear();
    for (size_t i = 0; i < list.size(); ++i)
        s.keys.emplace_back(list[i]->info.content, i);
    // One comparison per neighbours tells a list in order, or in the other
    // order, from any other.
    s.steps.clear();
    bool forward = true, backward = true;
    for (size_t i = 1; i < s.keys.size() && (forward || backward); ++i) {
        const int c = compare(s.keys[i - 1].first, s.keys[i].first);
        const int step = c == 0 ? 0 : ((c < 0) == ascending ? -1 : 1);
        s.steps.push_back(static_cast<signed char>(step));
        forward = forward && step <= 0;
        backward = backward && step >= 0;
    }
    if (backward && !forward) {
        // Turned round, then each run of equal texts back into its order.
        std::reverse(list.begin(), list.end());
        std::reverse(s.steps.begin(), s.steps.end());
        for (size_t from = 0; from < list.size();) {
            size_t to = from + 1;
            while (to < list.size() && s.steps[to - 1] == 0)
                ++to;
            std::reverse(list.begin() + from, list.begin() + to);
            from = to;
        }
    } else if (!forward) {
        std::stable_sort(s.keys.begin(), s.keys.end(), [&](const auto& a, const auto& b) {
            const int c = compare(a.first, b.first);
            return ascending ? c < 0 : c > 0;
        });
        s.buffer.clear();
        for (const auto& k : s.keys)
            s.buffer.push_back(std::move(list[k.second]));
        list.swap(s.buffer);
        s.steps.clear();
        for (size_t i = 1; i < list.size(); ++i)
            s.steps.push_back(compare(list[i - 1]->info.content, list[i]->info.content) == 0 ? 0
                                                                                             : 1);
    }
    // In every case steps[i - 1] now tells whether row i ties with row i - 1.
    list[0]->m_tiesPrevious = false;
    for (size_t i = 1; i < list.size(); ++i)
        list[i]->m_tiesPrevious = s.steps[i - 1] == 0;
}

// A sorted list into the other direction: each run of ties keeps its order.
void TaskTreeModel::turnRound(std::vector<std::unique_ptr<TaskNode>>& list) {
    std::reverse(list.begin(), list.end());
    // A run now ends with the row that began it, the one that ties with none.
    for (size_t from = 0; from < list.size();) {
        size_t to = from;
        while (to + 1 < list.size() && list[to]->m_tiesPrevious)
            ++to;
        std::reverse(list.begin() + from, list.begin() + to + 1);
        from = to + 1;
    }
}

void TaskTreeModel::sortSiblings(TextOrder compare, bool ascending) {
    QModelIndexList before;
    std::vector<TaskNode*> nodes;
    beginLayoutChange(before, nodes);
    const bool sameOrder = compare == m_sortOrder;
    const bool turn = ascending != m_sortAscending;
    SortScratch scratch;
    bool changed = false;
    const auto sortOne = [&](TaskNode* parent) {
        bool& sorted = siblingsSorted(parent);
        auto& list = siblings(parent);
        if (sorted && sameOrder) {
            if (!turn || list.size() < 2)
                return;
            turnRound(list);
        } else {
            sortList(list, compare, ascending, scratch);
            sorted = true;
        }
        // Numbered while the rows are still at hand.
        placeSiblings(parent);
        changed = true;
    };
    sortOne(nullptr);
    // The rows are scattered over the heap and each list is short: asking
    // for the rows a few lists ahead keeps the memory busy while this
    // list is reordered.
    const size_t count = m_top.size();
    for (size_t i = 0; i < count; ++i) {
        if (i + 8 < count)
            __builtin_prefetch(&m_top[i + 8]->m_children);
        if (i + 4 < count)
            __builtin_prefetch(m_top[i + 4]->m_children.data());
        if (i + 2 < count)
            for (const auto& c : m_top[i + 2]->m_children)
                __builtin_prefetch(c.get(), 1);
        sortOne(m_top[i].get());
    }
    m_sortOrder = compare;
    m_sortAscending = ascending;
    if (changed)
        m_flatDirty = true;
    endLayoutChange(before, nodes);
}

void TaskTreeModel::beginLayoutChange(QModelIndexList& before, std::vector<TaskNode*>& nodes) {
    emit layoutAboutToBeChanged();
    before = persistentIndexList();
    nodes.reserve(before.size());
    for (const QModelIndex& i : before)
        nodes.push_back(nodeAt(i));
}

void TaskTreeModel::endLayoutChange(const QModelIndexList& before,
                                    const std::vector<TaskNode*>& nodes) {
    QModelIndexList after;
    after.reserve(before.size());
    for (TaskNode* n : nodes)
        after << indexOf(n);
    changePersistentIndexList(before, after);
    emit layoutChanged();
}
