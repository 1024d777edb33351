#pragma once

#include "TaskTreeModel.h"
#include "platform/RowImages.h"

#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Database;

// What one command changed in the tasks table, kept so that it can be
// taken back and done again: every row it touched, whole, as it was before
// and after, and where each row stood in the tree.
class TaskStep {
public:
    struct Row {
        std::optional<RowImage> before, after;
        int placeBefore = -1, placeAfter = -1; // among its siblings; -1: the end
    };

    QString name;
    bool empty() const { return m_rows.empty(); }
    qsizetype size() const { return qsizetype(m_rows.size()); }
    // Rows an undo (or a redo) brings back into the table.
    int restoredCount(bool undo) const;

    // Puts the rows back as they were before the command (undo) or after
    // it (redo), in one transaction. Only the columns the command changed
    // are written, so what changed since in other columns stays; a row that
    // has gone since is written whole, under its old row id, unless its
    // task is back under another one.
    // progress hears the number of rows written so far.
    void write(Database& db, bool undo, const std::function<void(qsizetype)>& progress = {});
    // Then brings the tree in line with the rows as written; returns the
    // rows the step left in it.
    std::vector<TaskNode*> apply(TaskTreeModel& model, bool undo, bool* reset = nullptr);

private:
    friend class TaskStepRecorder;
    QStringList m_columns;
    int m_tid = -1;
    std::vector<Row> m_rows;
    std::vector<std::optional<RowImage>> m_written; // by write, for apply
};

// Records a step around a command's writes: the rows it will touch are
// watched first, inside the command's transaction, and read again at the
// end of it.
class TaskStepRecorder {
public:
    TaskStepRecorder(Database& db, const QString& name);
    ~TaskStepRecorder();
    // A stored row, with its sub-tasks when asked, and the place of each.
    void watch(const TaskNode* node, bool withSubTasks = false);
    // Many at once, a few hundred ids to a statement.
    void watch(const std::vector<TaskNode*>& nodes, bool withSubTasks = false);
    // The row of a task not stored yet (or any stored row with that id).
    void watch(const QString& tid);
    // After the writes: every watched row as it is now. Rows the command
    // left as they were are not part of the step.
    TaskStep finish();

private:
    void add(std::vector<RowImage> rows, const QHash<QString, int>& places);

    std::unique_ptr<RowImages> m_images;
    TaskStep m_step;
    QStringList m_tids;  // watched ids, for rows that come
    QSet<qint64> m_seen; // row ids already in the step
};
