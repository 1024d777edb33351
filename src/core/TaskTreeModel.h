#pragma once

#include "TaskInfo.h"

#include <QAbstractItemModel>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Database;

// One row of the two-level tree. Hidden rows stay in the tree (they keep
// their place and number) but the model does not offer them to the view.
class alignas(64) TaskNode {
    // First and beside the start of info, on one cache line: the passes over
    // every row (search, filter, sort, the view's lookups) touch only it.
    TaskNode* m_parent = nullptr;
    int m_position = 0;
    int m_row = -1; // row offered to the view, -1 while hidden
    quint32 m_revision = 1;
    quint32 m_hitRevision = 0; // the revision m_hit was found at; 0: never
    bool m_hidden = false;
    bool m_hit = false;
    // As of the last sort: the text equals the previous sibling's.
    bool m_tiesPrevious = false;
    // The children are still as the last sort left them.
    bool m_childrenSorted = false;

public:
    TTaskInfo info;

    TaskNode* parent() const { return m_parent; }
    bool isTopLevel() const { return m_parent == nullptr; }
    // Position among all siblings, hidden ones included.
    int position() const { return m_position; }
    const std::vector<std::unique_ptr<TaskNode>>& children() const { return m_children; }
    bool isHidden() const { return m_hidden; }
    void setHidden(bool h) { m_hidden = h; }
    // Counts changes of the record, so measurements can be kept until then.
    quint32 revision() const { return m_revision; }
    // Whether the content holds the model's last search text.
    bool searchHit() const { return m_hit; }

    // The view's last measurement of the row and what it depended on.
    struct Measure {
        int width = -1;
        int mode = 0;
        quint32 revision = 0;
        int height = 0;
    };
    mutable Measure measure;

private:
    friend class TaskTreeModel;
    std::vector<std::unique_ptr<TaskNode>> m_children;
    std::vector<TaskNode*> m_visible;
};

class TaskTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Roles { NodeRole = Qt::UserRole + 1 };

    explicit TaskTreeModel(QObject* parent = nullptr);
    ~TaskTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    // "Complete" or "Not complete", then the reminder and the due date.
    static QString accessibleStatus(const TTaskInfo& t);
    const std::vector<std::unique_ptr<TaskNode>>& topLevel() const { return m_top; }
    // Every node in tree order, hidden ones included; kept between changes.
    const std::vector<TaskNode*>& flatNodes() const;
    TaskNode* nodeAt(const QModelIndex& index) const;
    QModelIndex indexOf(const TaskNode* node) const; // invalid while not offered
    int visibleTopLevelCount() const { return static_cast<int>(m_visibleTop.size()); }
    int totalCount() const;
    // Each top-level row followed by its sub-tasks.
    void forEachNode(const std::function<void(TaskNode*)>& fn) const;
    // Whether node is still a row of the tree: a pointer kept across the
    // event loop may have gone with a reload or a delete.
    bool contains(const TaskNode* node) const;

    // Bulk load inside one reset: the view sees the result once.
    void beginLoad();
    TaskNode* loadTopLevel(TTaskInfo info);
    TaskNode* loadChild(TaskNode* parent, TTaskInfo info);
    void endLoad();
    void clear();

    // Single changes, announced row by row.
    TaskNode* appendTopLevel(TTaskInfo info);
    TaskNode* appendChild(TaskNode* parent, TTaskInfo info);
    void removeNode(TaskNode* node);
    // After any change to a node's record: repaints and re-measures it, and
    // its search answer and its list's order are found again.
    void nodeChanged(TaskNode* node);
    // The same for many: beyond a few, one layout change, so the view
    // measures again only the rows it shows instead of every changed one.
    // Returns whether it was a layout change.
    bool nodesChanged(const std::vector<TaskNode*>& nodes);
    // Sets the complete state the check box shows.
    void setChecked(TaskNode* node, bool checked);

    // Gives node a new parent (nullptr: the top level) at position (-1: the
    // end). A top-level node's sub-tasks come along as its siblings, right
    // after it, since the tree has two levels. Returns the rows moved.
    std::vector<TaskNode*> moveNode(TaskNode* node, TaskNode* newParent, int position);
    // Many rows at once, siblings or not, and with one reset beyond a few:
    // as removeNode for each, and as moveNode for each in turn, first (at
    // position 0) or last.
    // removeNodes returns whether it reset the tree.
    bool removeNodes(const std::vector<TaskNode*>& nodes);
    std::vector<TaskNode*> moveNodes(const std::vector<TaskNode*>& nodes, TaskNode* newParent,
                                     bool first);

    // A row of the table as an undo or a redo left it: its record, or gone.
    // place: where it goes among its siblings (-1: the end); placeBefore
    // receives where it was when it moves to another parent or goes.
    struct RowState {
        QString tid;
        std::optional<TTaskInfo> info;
        int place = -1;
        int* placeBefore = nullptr;
    };
    // Brings the tree in line with those rows: records changed in place are
    // announced row by row; rows that come, go or change parent inside one
    // reset. Returns the nodes that hold the given records, and whether the
    // tree was reset (every pointer to a node that went is void).
    std::vector<TaskNode*> applyRows(const std::vector<RowState>& rows, bool* reset = nullptr);

    // Reorders each set of siblings by text (stable); the view keeps its
    // selection. compare gives the order of two texts as <0, 0 or >0.
    // A list unchanged since the last sort by the same compare is turned
    // round without reading a text.
    using TextOrder = int (*)(QStringView, QStringView);
    void sortSiblings(TextOrder compare, bool ascending);

    // After changing hidden flags: offers the view the new set of rows.
    // Returns true when the rows offered changed (a layout change).
    bool refreshVisibility();
    // The top-level rows the last refreshVisibility() offered again: the
    // only ones whose expansion the view has lost.
    const std::vector<TaskNode*>& shownAgain() const { return m_shownAgain; }

    // Sets every node's searchHit() for text. Typing on narrows or widens
    // the last search, so only the rows whose answer can change are tested.
    void matchSearch(const QString& text);

signals:
    // The user toggled a check box. The record is unchanged until the new
    // state is stored and set with setChecked.
    void checkRequested(TaskNode* node, bool checked);

private:
    struct SortScratch;
    QModelIndex indexFor(int row, const TaskNode* node, bool child) const;
    std::vector<TaskNode*>& visibleSiblings(TaskNode* parent);
    std::vector<std::unique_ptr<TaskNode>>& siblings(TaskNode* parent);
    bool& siblingsSorted(TaskNode* parent);
    // Numbers one list of siblings and rebuilds its visible rows.
    void placeSiblings(TaskNode* parent);
    static void sortList(std::vector<std::unique_ptr<TaskNode>>& list, TextOrder compare,
                         bool ascending, SortScratch& scratch);
    static void turnRound(std::vector<std::unique_ptr<TaskNode>>& list);
    void rebuildVisible();
    // A task becoming a sub-task: its sub-tasks go into group, after it.
    static void takeSubTasks(TaskNode* node, std::vector<std::unique_ptr<TaskNode>>& group);
    // Drops the emptied slots of each list and numbers it again.
    static void closeUp(std::vector<std::vector<std::unique_ptr<TaskNode>>*>& lists);
    static void renumber(std::vector<std::unique_ptr<TaskNode>>& list);

    void beginLayoutChange(QModelIndexList& before, std::vector<TaskNode*>& nodes);
    void endLayoutChange(const QModelIndexList& before, const std::vector<TaskNode*>& nodes);

    std::vector<std::unique_ptr<TaskNode>> m_top;
    mutable std::vector<TaskNode*> m_flat;
    mutable bool m_flatDirty = true;
    std::vector<TaskNode*> m_shownAgain;
    std::vector<TaskNode*> m_visibleTop;
    QString m_hitText;
    bool m_hitTextValid = false;
    TextOrder m_sortOrder = nullptr; // of the last sort
    bool m_sortAscending = true;
    bool m_topSorted = false;
};

// Builds the two-level tree from the tasks table: top-level rows are those
// with pid "root", sub-tasks those whose pid is a top-level tid; both in the
// table's order. Rows deeper down or without a parent stay unread.
// Returns the number of rows the table holds.
int LoadTaskTree(Database& db, TaskTreeModel& model);
int CountTasks(Database& db);
