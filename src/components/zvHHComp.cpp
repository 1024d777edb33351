#include "zvHHComp.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QUrl>
#include <QWidget>

namespace {
const char* const kContext = "helpContext";

QString ownContext(const QWidget* w) {
    return w ? w->property(kContext).toString() : QString();
}
} // namespace

TZVHHComp::TZVHHComp(QWidget* owner) : QObject(owner), m_owner(owner) {
    setObjectName(QStringLiteral("ZVHHComp1"));
}

// The help viewer is the desktop's own program, started once per request:
// there are no viewer windows of ours to close here.
TZVHHComp::~TZVHHComp() = default;

void TZVHHComp::SetHelpContext(QWidget* w, const QString& anchor) {
    w->setProperty(kContext, anchor);
}

void TZVHHComp::Loaded(const QString& folder) {
    m_fullPath = HelpFile.isEmpty() ? QString() : QDir(folder).absoluteFilePath(HelpFile);
    if (!m_preview) {
        // Keys go to the focused control first; only an application filter
        // sees them before it, as a form's key preview does.
        qApp->installEventFilter(this);
        m_preview = true;
    }
}

QString TZVHHComp::contextOf(QWidget* w) const {
    QString context = ownContext(w);
    if (context.isEmpty() && w && w != m_owner)
        context = ownContext(w->parentWidget());
    if (context.isEmpty())
        context = ownContext(m_owner);
    return context;
}

bool TZVHHComp::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w->window() != m_owner)
        return false;
    // A key the focused control leaves is sent on to its parents: take it
    // only at its first delivery.
    QWidget* active = m_owner->focusWidget();
    if (w != (active ? active : m_owner))
        return false;
    auto* key = static_cast<QKeyEvent*>(e);
    const bool f1 =
        key->key() == Qt::Key_F1 &&
        (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
    if (f1 && !HelpFile.isEmpty()) {
        QUrl url = QUrl::fromLocalFile(m_fullPath);
        if (const QString context = contextOf(active); !context.isEmpty())
            url.setFragment(context);
        QDesktopServices::openUrl(url); // a viewer that fails is not reported
    }
    if (OnKeyDown)
        OnKeyDown(key);
    return f1;
}
