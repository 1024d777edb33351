#pragma once

#include <QStyledItemDelegate>

class QTreeView;
class TzvTasksFrame;

// Draws a task row: check box at the top left, the wrapped text beside it;
// the height follows the wrapped text.
class TaskDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TaskDelegate(TzvTasksFrame* frame, QTreeView* view);

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    QRect checkRect(const QRect& cell) const;
    QRect textRect(const QRect& cell) const;

private:
    int textWidthFor(const QModelIndex& index) const;
    TzvTasksFrame* m_frame;
    QTreeView* m_view;
};
