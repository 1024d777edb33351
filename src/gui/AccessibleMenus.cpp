#include "AccessibleMenus.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>

namespace {

// Where the shortcut part of a caption begins: after two spaces or a tab.
qsizetype shortcutStart(const QString& caption) {
    static const QRegularExpression gap(QStringLiteral("\\s{2,}|\\t"));
    const auto m = gap.match(caption);
    return m.hasMatch() ? m.capturedStart() : -1;
}

// A menu or menu bar item of one action. An action can sit in several
// menus: the one open, or else the first, is its parent.
class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit MenuItemAccessible(QAction* action) : m_action(action) {}

    bool isValid() const override { return m_action && owner(); }
    QObject* object() const override { return m_action; }
    QWindow* window() const override {
        QWidget* w = owner();
        return w ? w->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(owner());
    }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && m_action && m_action->menu()
                   ? QAccessible::queryAccessibleInterface(m_action->menu())
                   : nullptr;
    }
    int childCount() const override { return m_action && m_action->menu() ? 1 : 0; }
    int indexOfChild(const QAccessibleInterface* c) const override {
        return c && m_action && c->object() == m_action->menu() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QVector<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation) const override {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!m_action)
            return {};
        const QString caption = m_action->text();
        switch (t) {
        case QAccessible::Name:
            return SpokenCaption(caption);
        case QAccessible::Accelerator: {
            if (!m_action->shortcut().isEmpty())
                return m_action->shortcut().toString(QKeySequence::NativeText);
            const qsizetype at = shortcutStart(caption);
            return at < 0 ? QString() : caption.mid(at).trimmed();
        }
        case QAccessible::Description:
            return m_action->statusTip() == SpokenCaption(caption) ? QString()
                                                                   : m_action->statusTip();
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        QWidget* w = owner();
        QRect r;
        if (auto* m = qobject_cast<QMenu*>(w))
            r = m->actionGeometry(m_action);
        else if (auto* bar = qobject_cast<QMenuBar*>(w))
            r = bar->actionGeometry(m_action);
        return w && r.isValid() ? QRect(w->mapToGlobal(r.topLeft()), r.size()) : QRect();
    }
    QAccessible::Role role() const override {
        return m_action && m_action->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        QWidget* w = owner();
        if (!m_action || !w) {
            s.invalid = true;
            return s;
        }
        s.disabled = !m_action->isEnabled();
        s.invisible = !m_action->isVisible() || !w->isVisible();
        s.focusable = !s.disabled;
        s.checkable = m_action->isCheckable();
        s.checked = m_action->isChecked();
        s.hasPopup = m_action->menu() != nullptr;
        const QAction* active = nullptr;
        if (auto* m = qobject_cast<QMenu*>(w))
            active = m->activeAction();
        else if (auto* bar = qobject_cast<QMenuBar*>(w))
            active = bar->activeAction();
        s.focused = s.hotTracked = active == m_action;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }

    QStringList actionNames() const override {
        if (!m_action || !m_action->isEnabled())
            return {};
        return {m_action->menu() ? showMenuAction() : pressAction()};
    }
    void doAction(const QString& name) override {
        if (!m_action || !m_action->isEnabled() ||
            (name != pressAction() && name != showMenuAction()))
            return;
        if (auto* bar = qobject_cast<QMenuBar*>(owner()))
            bar->setActiveAction(m_action);
        else if (auto* m = qobject_cast<QMenu*>(owner()); m && m_action->menu())
            m->setActiveAction(m_action);
        else
            m_action->activate(QAction::Trigger);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QWidget* owner() const {
        if (!m_action)
            return nullptr;
        QWidget* first = nullptr;
        for (QObject* o : m_action->associatedObjects()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || !(qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w)))
                continue;
            if (w->isVisible())
                return w;
            if (!first)
                first = w;
        }
        return first;
    }

    QPointer<QAction> m_action;
};

QAccessibleInterface* menuItemFactory(const QString& className, QObject* object) {
    auto* action = qobject_cast<QAction*>(object);
    if (!action || className != QLatin1String("QAction"))
        return nullptr;
    for (QObject* o : action->associatedObjects())
        if (qobject_cast<QMenu*>(o) || qobject_cast<QMenuBar*>(o))
            return new MenuItemAccessible(action);
    return nullptr;
}

} // namespace

QString SpokenCaption(const QString& caption) {
    const qsizetype at = shortcutStart(caption);
    QString text = at < 0 ? caption : caption.left(at);
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                out += u'&', ++i;
            continue;
        }
        out += text[i];
    }
    return out.trimmed();
}

void InstallAccessibleMenus() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(menuItemFactory);
        installed = true;
    }
}
