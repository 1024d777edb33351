#include "TaskDelegate.h"

#include "TzvTasksFrame.h"
#include "core/TaskRules.h"
#include "core/TaskTreeModel.h"
#include "gui/ColorValues.h"
#include "gui/ImageList.h"
#include "gui/TBackgrounds.h"
#include "gui/ThemeColors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTreeView>

namespace {
constexpr int kMargin = 2;
constexpr int kCheck = 13;
constexpr int kGap = 4;
} // namespace

TaskDelegate::TaskDelegate(TzvTasksFrame* frame, QTreeView* view)
    : QStyledItemDelegate(view), m_frame(frame), m_view(view) {}

QRect TaskDelegate::checkRect(const QRect& cell) const {
    const int line = m_view->fontMetrics().height();
    return QRect(cell.left() + kMargin, cell.top() + kMargin + qMax(0, (line - kCheck) / 2), kCheck,
                 kCheck);
}

QRect TaskDelegate::iconRect(const QRect& cell) const {
    const int line = m_view->fontMetrics().height();
    return QRect(cell.left() + kMargin + kCheck + kGap,
                 cell.top() + kMargin + qMax(0, (line - 16) / 2), 16, 16);
}

QRect TaskDelegate::textRect(const QRect& cell, bool withIcon) const {
    const int left = cell.left() + kMargin + kCheck + kGap + (withIcon ? 16 + kGap : 0);
    return QRect(left, cell.top() + kMargin, qMax(1, cell.right() - kMargin - left),
                 qMax(1, cell.height() - 2 * kMargin));
}

int TaskDelegate::textWidthFor(const QModelIndex& index) const {
    const int depth = index.parent().isValid() ? 2 : 1;
    const int cell = m_view->viewport()->width() - depth * m_view->indentation();
    const TaskNode* node = m_frame->model()->nodeAt(index);
    const bool icon = node && RowIcon(node->info, Clock::Now()) >= 0;
    return qMax(20, cell - 2 * kMargin - kCheck - kGap - (icon ? 16 + kGap : 0));
}

QSize TaskDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QFontMetrics fm(option.font);
    const TaskNode* node = m_frame->model()->nodeAt(index);
    const bool editing = node && node == m_frame->editingNode();
    const int line = fm.height();
    const int width = textWidthFor(index);
    // Measuring wrapped text is the costly part of drawing: a row keeps its
    // height until its record, the width or the view mode changes.
    const int mode = (m_frame->Action_ViewList->isChecked() ? 1 : 0) |
                     (m_frame->Action_ViewDate->isChecked() ? 2 : 0) | (editing ? 4 : 0) |
                     (node == m_frame->hotExpandedNode() ? 8 : 0) | (line << 4);
    if (node && !editing && node->measure.width == width && node->measure.mode == mode &&
        node->measure.revision == node->revision())
        return QSize(width, node->measure.height);
    int h = line + 4; // one line in list view
    if (!m_frame->Action_ViewList->isChecked() || editing || node == m_frame->hotExpandedNode()) {
        const QRect r = fm.boundingRect(QRect(0, 0, width, 1 << 20),
                                        Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                                        m_frame->RowText(index));
        h = r.height() + 4;
    }
    h = qMax(h, (editing ? 4 * line : line) + 4);
    if (editing)
        h = qMin(h, qMax(line + 4, m_view->viewport()->height() - line));
    else if (node)
        node->measure = {width, mode, node->revision(), h};
    return QSize(width, h);
}

namespace {
// The multi-line in-place editor.
class TTaskEditor : public QPlainTextEdit {
public:
    TTaskEditor(QWidget* parent, TaskNode* node) : QPlainTextEdit(parent), node(node) {
        setObjectName(QStringLiteral("TaskEditor"));
        setFrameShape(QFrame::Box);
        setTabChangesFocus(true);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        document()->setDocumentMargin(1);
    }
    TaskNode* node;
};
} // namespace

QWidget* TaskDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    auto* editor = new TTaskEditor(parent, m_frame->model()->nodeAt(index));
    editor->setFont(m_view->font());
    return editor;
}

TaskNode* TaskDelegate::nodeOf(QWidget* editor) const {
    auto* e = dynamic_cast<TTaskEditor*>(editor);
    return e ? e->node : nullptr;
}

void TaskDelegate::setEditorData(QWidget* editor, const QModelIndex&) const {
    // Only when the editor opens: later calls would overwrite the typing.
    auto* e = static_cast<TTaskEditor*>(editor);
    if (e->property("filled").toBool() || !e->node)
        return;
    // Line breaks are stored as CR LF; the editor works with LF.
    QString text = e->node->info.content;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    e->setProperty("original", text);
    if (!m_nextText.isNull())
        text = std::exchange(m_nextText, QString());
    e->setPlainText(text);
    e->moveCursor(QTextCursor::End);
    e->setProperty("filled", true);
}

void TaskDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const {
    auto* e = static_cast<TTaskEditor*>(editor);
    if (!e->node)
        return;
    // The tree reports a new text only when it was changed.
    QString text = e->toPlainText();
    if (text == e->property("original").toString())
        return;
    text.replace(u'\n', QStringLiteral("\r\n"));
    m_frame->EditorKeep(e->node, text);
}

void TaskDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    const TaskNode* node = m_frame->model()->nodeAt(index);
    const bool icon = node && RowIcon(node->info, Clock::Now()) >= 0;
    editor->setGeometry(textRect(option.rect, icon).adjusted(-2, -2, 0, 0));
}

void TaskDelegate::keepAndClose(QWidget* editor) {
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TaskDelegate::cancelAndClose(QWidget* editor) {
    emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool TaskDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        const bool enter = ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter;
        if (enter && (ke->modifiers() & Qt::ControlModifier)) {
            keepAndClose(editor);
            return true;
        }
        if (ke->key() == Qt::Key_Escape) {
            cancelAndClose(editor);
            return true;
        }
        if (enter)
            return false; // a line break
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

void TaskDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const TaskNode* node = m_frame->model()->nodeAt(index);
    if (!node)
        return;
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    const TTaskInfo& t = node->info;
    const bool editing = node == m_frame->editingNode();
    const bool selected = opt.state & QStyle::State_Selected;
    const QRect cell = option.rect;

    // Background: the hovered row, a chosen colour, or the row bitmaps;
    // back is what the text and the check box stand on.
    const bool hovered = opt.state & QStyle::State_MouseOver;
    const QColor chosenBack = ColorValues::ToColor(t.backgroundColor, opt.palette);
    QColor back = opt.palette.color(QPalette::Base);
    if (!editing) {
        const TBackgrounds& bg = m_frame->backgrounds();
        if (hovered) {
            back = ThemeColors::HoverBackground(opt.palette);
            p->fillRect(cell, back);
        } else if (chosenBack.isValid()) {
            back = chosenBack;
            p->fillRect(cell, back);
        } else {
            const QPixmap& pm = rowPicture(
                !node->isTopLevel() ? bg.group : (node->position() % 2 == 0 ? bg.item0 : bg.item1),
                opt.palette);
            if (!pm.isNull()) {
                p->drawPixmap(cell, pm);
                back = averageColor(pm);
            }
        }
    }
    if (selected) {
        back = opt.palette.color(QPalette::Highlight);
        QStyleOptionViewItem sel(opt);
        sel.text.clear();
        sel.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        sel.state &= ~QStyle::State_MouseOver;
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &sel, p, opt.widget);
    }

    QStyleOptionViewItem check(opt);
    check.rect = checkRect(cell);
    check.state = (check.state & ~QStyle::State_HasFocus) |
                  (t.checkFlag ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, p, opt.widget);
    // The style's outline can all but vanish on a dark or coloured row.
    p->save();
    p->setPen(
        ThemeColors::Legible(opt.palette.color(QPalette::Mid), back, 3.5)); // the picture varies
    p->setBrush(Qt::NoBrush);
    p->drawRect(check.rect.adjusted(0, 0, -1, -1));
    p->restore();

    const TDateTime now = Clock::Now();
    const int icon = RowIcon(t, now);
    if (icon >= 0)
        p->drawPixmap(iconRect(cell),
                      ImageList::Pixmap(icon, 16, p->device()->devicePixelRatioF()));

    const RowLook look = RowLookFor(t, now, editing, selected);
    QFont font = opt.font;
    font.setBold(look.bold);
    font.setItalic(look.italic);
    // A chosen colour keeps its hue but reads on the row (the stored value
    // stays); selected, it gives way to the highlighted text where it would
    // not read. The palette's text on a chosen background may turn.
    const QColor chosen = ColorValues::ToColor(look.color, opt.palette);
    QColor color = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    if (look.grey)
        color = opt.palette.color(QPalette::Disabled, QPalette::Text);
    if (selected) {
        if (chosen.isValid() && ThemeColors::Contrast(chosen, back) >= 3.0)
            color = chosen;
    } else if (!editing) {
        color = ThemeColors::RowText(look.grey ? QColor() : chosen, color, back,
                                     chosenBack.isValid() && !hovered, look.grey);
    } else if (chosen.isValid()) {
        color = chosen;
    }

    p->save();
    p->setFont(font);
    p->setPen(color);
    const bool oneLine =
        m_frame->Action_ViewList->isChecked() && !editing && node != m_frame->hotExpandedNode();
    const QRect tr = textRect(cell, icon >= 0);
    const QString text = m_frame->RowText(index);
    if (oneLine)
        p->drawText(tr, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    QFontMetrics(font).elidedText(text, Qt::ElideRight, tr.width()));
    else
        p->drawText(tr, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    // Horizontal grid line under every row.
    p->setPen(opt.palette.color(QPalette::Midlight));
    p->drawLine(cell.bottomLeft(), cell.bottomRight());
    p->restore();
}

QColor TaskDelegate::averageColor(const QPixmap& picture) const {
    auto it = m_averages.find(picture.cacheKey());
    if (it == m_averages.end())
        it = m_averages.insert(picture.cacheKey(),
                               picture.toImage()
                                   .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                   .pixelColor(0, 0));
    return *it;
}

const QPixmap& TaskDelegate::rowPicture(const QPixmap& light, const QPalette& palette) const {
    if (light.isNull() || !ThemeColors::IsDark(palette))
        return light;
    auto it = m_darkPictures.find(light.cacheKey());
    if (it == m_darkPictures.end())
        it = m_darkPictures.insert(light.cacheKey(), ThemeColors::DarkCounterpart(light));
    return *it;
}

bool TaskDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                               const QStyleOptionViewItem& option, const QModelIndex& index) {
    const auto toggle = [&] {
        const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(event);
        return me->button() == Qt::LeftButton &&
               checkRect(option.rect).contains(me->position().toPoint());
    }
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton ||
            !checkRect(option.rect).contains(me->position().toPoint()))
            return false;
        toggle();
        return true;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        toggle();
        return true;
    }
    default:
        return false;
    }
}
