#include "TaskTree.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>

TTaskTree::TTaskTree(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("VtTasks"));
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setUniformRowHeights(false);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Per item: per pixel would measure every wrapped row up front, which
    // tens of thousands of tasks make slow.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setAllColumnsShowFocus(true);
    setAnimated(false);
    setIndentation(18);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    // A click on the selected row edits it, unless a double click follows.
    m_clickEdit = new QTimer(this);
    m_clickEdit->setSingleShot(true);
    connect(m_clickEdit, &QTimer::timeout, this, [this] {
        if (m_pressedSelected.isValid())
            emit editRequested(m_pressedSelected);
        m_pressedSelected = QPersistentModelIndex();
    });
}

void TTaskTree::keyPressEvent(QKeyEvent* e) {
    if (keyHandler && keyHandler(e))
        return;
    if (e->key() == Qt::Key_F2 && (e->modifiers() & Qt::ControlModifier) == 0) {
        if (currentIndex().isValid())
            emit editRequested(currentIndex());
        return;
    }
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(e);
    // At start the first row is current but not selected: Home or Down on a
    // one-row list moves nowhere and would select nothing.
    const bool moving = e->key() == Qt::Key_Home || e->key() == Qt::Key_End ||
                        e->key() == Qt::Key_Up || e->key() == Qt::Key_Down ||
                        e->key() == Qt::Key_PageUp || e->key() == Qt::Key_PageDown;
    if (moving && e->modifiers() == Qt::NoModifier && currentIndex().isValid() &&
        currentIndex() == before && !selectionModel()->isSelected(before))
        selectionModel()->select(before,
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TTaskTree::mousePressEvent(QMouseEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    const QModelIndexList selected = selectionModel()->selectedRows();
    m_pressedSelected = QPersistentModelIndex();
    if (at.isValid() && e->button() == Qt::LeftButton && e->modifiers() == Qt::NoModifier &&
        selected.size() == 1 && selected.first() == at)
        m_pressedSelected = at;
    QTreeView::mousePressEvent(e);
}

void TTaskTree::mouseReleaseEvent(QMouseEvent* e) {
    QTreeView::mouseReleaseEvent(e);
    const QModelIndex at = indexAt(e->position().toPoint());
    if (m_pressedSelected.isValid() && at == m_pressedSelected &&
        visualRect(at).adjusted(24, 0, 0, 0).contains(e->position().toPoint()))
        m_clickEdit->start(QApplication::doubleClickInterval());
    else
        m_pressedSelected = QPersistentModelIndex();
}

void TTaskTree::mouseMoveEvent(QMouseEvent* e) {
    m_lastMousePos = e->position().toPoint();
    const QModelIndex at = indexAt(m_lastMousePos);
    if (at != m_hot) {
        m_hot = at;
        emit hotChanged(at);
    }
    QTreeView::mouseMoveEvent(e);
}

void TTaskTree::startDrag(Qt::DropActions) {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    auto* data = new QMimeData;
    QStringList texts;
    for (const QModelIndex& i : rows)
        texts << i.data().toString();
    data->setText(texts.join(u'\n'));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void TTaskTree::dragEnterEvent(QDragEnterEvent* e) {
    // Drops from other programs are welcome too; the selection is what moves.
    e->acceptProposedAction();
}

void TTaskTree::dragMoveEvent(QDragMoveEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    QModelIndex first;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        if (!first.isValid() || i.row() < first.row())
            first = i;
    if (at.isValid() && at == first) {
        e->ignore();
        return;
    }
    if (at.isValid() && !at.parent().isValid() && !isExpanded(at))
        expand(at); // shows the sub-tasks it may land among
    e->acceptProposedAction();
}

void TTaskTree::dropEvent(QDropEvent* e) {
    e->acceptProposedAction();
    emit dropRequested(indexAt(e->position().toPoint()));
}

void TTaskTree::leaveEvent(QEvent* e) {
    if (m_hot.isValid()) {
        m_hot = QPersistentModelIndex();
        emit hotChanged(QModelIndex());
    }
    QTreeView::leaveEvent(e);
}

void TTaskTree::mouseDoubleClickEvent(QMouseEvent* e) {
    m_clickEdit->stop();
    m_pressedSelected = QPersistentModelIndex();
    m_lastMousePos = e->position().toPoint();
    if (!indexAt(m_lastMousePos).isValid()) {
        emit blankDoubleClicked();
        return;
    }
    QTreeView::mouseDoubleClickEvent(e);
}

void TTaskTree::resizeEvent(QResizeEvent* e) {
    QTreeView::resizeEvent(e);
    // Wrapped rows change height with the width.
    scheduleDelayedItemsLayout();
}

void TTaskTree::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    // The expand button sits beside the first line, like the check box.
    QRect top = rect;
    top.setHeight(qMin(rect.height(), fontMetrics().height() + 4));
    QTreeView::drawBranches(painter, top, index);
}

void TTaskTree::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTreeView::selectionChanged(selected, deselected);
    if (m_constraining || selected.isEmpty())
        return;
    // A selection only ever holds siblings: those of the current row win.
    QModelIndex anchor = selectionModel()->currentIndex();
    if (!anchor.isValid() || !selectionModel()->isSelected(anchor))
        anchor = selected.indexes().value(0);
    const QModelIndex parent = anchor.parent();
    QItemSelection strangers;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        if (i.parent() != parent)
            strangers.select(i, i);
    if (strangers.isEmpty())
        return;
    m_constraining = true;
    selectionModel()->select(strangers, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    m_constraining = false;
}
