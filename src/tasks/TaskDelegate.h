#pragma once

#include <QHash>
#include <QPixmap>

#include <QStyledItemDelegate>
#include <utility>

class QTreeView;
class TaskNode;
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

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    // The row an open editor belongs to.
    TaskNode* nodeOf(QWidget* editor) const;
    // Ends the edit keeping the text, as Ctrl+Enter does.
    void keepAndClose(QWidget* editor);
    // Ends the edit dropping the text, as Esc does.
    void cancelAndClose(QWidget* editor);
    // The next editor opens with this text instead of the stored one.
    void openNextWith(const QString& text) { m_nextText = text; }

    QRect checkRect(const QRect& cell) const;
    QRect iconRect(const QRect& cell) const;
    QRect textRect(const QRect& cell, bool withIcon = false) const;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    int textWidthFor(const QModelIndex& index) const;
    // The row picture for this palette: the light one, or its dark
    // counterpart, made once per picture.
    const QPixmap& rowPicture(const QPixmap& light, const QPalette& palette) const;
    mutable QHash<qint64, QPixmap> m_darkPictures;
    // A row picture's mean colour, what its text must read on.
    QColor averageColor(const QPixmap& picture) const;
    mutable QHash<qint64, QColor> m_averages;
    TzvTasksFrame* m_frame;
    QTreeView* m_view;
    mutable QString m_nextText;
};
