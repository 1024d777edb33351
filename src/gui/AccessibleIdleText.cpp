#include "AccessibleIdleText.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

const char* const kIdle = "tasquelIdleText";
const char* const kHint = "tasquelIdleHint";

bool isIdle(const QLineEdit* e) {
    return e->property(kIdle).toBool();
}

// While idle the field reads as empty; otherwise it is the line edit's own
// text, selection and cursor.
class IdleTextAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit IdleTextAccessible(QLineEdit* e) : QAccessibleWidget(e, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Value:
            return content();
        case QAccessible::Description: {
            const QString own = QAccessibleWidget::text(t);
            const QString hint = edit()->property(kHint).toString().trimmed();
            if (!isIdle(edit()) || hint.isEmpty())
                return own;
            return own.isEmpty() ? hint : hint + QStringLiteral(", ") + own;
        }
        default:
            return QAccessibleWidget::text(t);
        }
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value)
            edit()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !edit()->isReadOnly();
        s.readOnly = edit()->isReadOnly();
        s.selectableText = true;
        return s;
    }

    // Text
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && !isIdle(edit()) && edit()->hasSelectedText()) {
            *start = int(edit()->selectionStart());
            *end = *start + int(edit()->selectedText().size());
        }
    }
    int selectionCount() const override {
        return !isIdle(edit()) && edit()->hasSelectedText() ? 1 : 0;
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { edit()->deselect(); }
    void setSelection(int, int start, int end) override {
        if (!isIdle(edit()))
            edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return isIdle(edit()) ? 0 : edit()->cursorPosition(); }
    void setCursorPosition(int position) override {
        if (!isIdle(edit()))
            edit()->setCursorPosition(position);
    }
    QString text(int start, int end) const override {
        const QString c = content();
        start = qBound(0, start, int(c.size()));
        end = end < 0 ? int(c.size()) : qBound(start, end, int(c.size()));
        return c.mid(start, end - start);
    }
    int characterCount() const override { return int(content().size()); }
    QRect characterRect(int offset) const override {
        const QString c = content();
        if (offset < 0 || offset >= c.size())
            return {};
        const QRect area = textArea();
        const QFontMetrics fm(edit()->font());
        const int x = area.left() + fm.horizontalAdvance(c.left(offset));
        const QRect r(x, area.top(), fm.horizontalAdvance(c.at(offset)), area.height());
        return QRect(edit()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        if (isIdle(edit()))
            return -1;
        const QPoint local = edit()->mapFromGlobal(point);
        return edit()->rect().contains(local) ? edit()->cursorPositionAt(local) : -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

    // Editable text
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (isIdle(edit()) || edit()->isReadOnly())
            return;
        QString c = edit()->text();
        start = qBound(0, start, int(c.size()));
        end = qBound(start, end, int(c.size()));
        edit()->setText(c.replace(start, end - start, text));
    }

private:
    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
    QString content() const {
        if (isIdle(edit()) || edit()->echoMode() != QLineEdit::Normal)
            return {};
        return edit()->text();
    }
    QRect textArea() const {
        QStyleOptionFrame opt;
        opt.initFrom(edit());
        const QRect r = edit()->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit());
        const QMargins m = edit()->textMargins();
        return r.marginsRemoved(m).adjusted(2, 0, 0, 0); // the line edit's own inner margin
    }
};

QAccessibleInterface* idleTextFactory(const QString&, QObject* object) {
    auto* e = qobject_cast<QLineEdit*>(object);
    if (e && e->property(kIdle).isValid())
        return new IdleTextAccessible(e);
    return nullptr;
}

} // namespace

void SetIdleText(QLineEdit* edit, bool idle) {
    const bool known = edit->property(kIdle).isValid();
    edit->setProperty(kIdle, idle);
    if (idle)
        edit->setProperty(kHint, edit->text());
    if (!known)
        return; // its interface is made on first ask, already knowing
    QAccessibleValueChangeEvent changed(edit, idle ? QString() : edit->text());
    QAccessible::updateAccessibility(&changed);
}

void InstallAccessibleIdleText() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(idleTextFactory);
        installed = true;
    }
}
