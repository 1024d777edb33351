#pragma once

#include <QPersistentModelIndex>
#include <QPoint>
#include <QTreeView>
#include <functional>

class QKeyEvent;
class QTimer;
class TaskTreeModel;

// The tree control: two levels, check boxes, multi-line rows. It reports
// what the frame needs and keeps every selection among siblings.
class TTaskTree : public QTreeView {
    Q_OBJECT
public:
    explicit TTaskTree(QWidget* parent);
    QPoint lastMousePos() const { return m_lastMousePos; }

    // Keys the frame handles before the tree; true when taken.
    std::function<bool(QKeyEvent*)> keyHandler;

signals:
    void blankDoubleClicked();
    // The tree's own wish to edit a row (F2, a click on the selected row).
    void editRequested(const QModelIndex& index);
    // Rows were dropped at index (invalid: blank space).
    void dropRequested(const QModelIndex& index);
    // The row under the mouse pointer changed (invalid: none).
    void hotChanged(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void startDrag(Qt::DropActions supported) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    QPoint m_lastMousePos;
    bool m_constraining = false;
    QPersistentModelIndex m_hot;
    QPersistentModelIndex m_pressedSelected; // pressed while already the only selection
    QTimer* m_clickEdit;
};
