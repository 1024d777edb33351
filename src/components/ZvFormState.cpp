#include "ZvFormState.h"

#include "gui/pU_Boxes.h"
#include "platform/IniFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

TZvFormState::TZvFormState(QWidget* owner) : QObject(owner), m_owner(owner) {
    setObjectName(QStringLiteral("ZvFormState1"));
}

bool TZvFormState::sizeable() const {
    return m_owner->minimumSize() != m_owner->maximumSize();
}

bool TZvFormState::Saved() const {
    return IniFile(IniPath).readBool(Section, QStringLiteral("Saved"), false);
}

void TZvFormState::SaveState() {
    if (!Enabled || !m_owner)
        return;
    const IniFile ini(IniPath);
    const QRect normal =
        m_owner->normalGeometry().isValid() ? m_owner->normalGeometry() : m_owner->geometry();
    try {
        ini.writeBool(Section, QStringLiteral("Maximized"), m_owner->isMaximized());
        ini.writeInteger(Section, QStringLiteral("Left"), normal.left());
        ini.writeInteger(Section, QStringLiteral("Top"), normal.top());
        if (sizeable()) {
            ini.writeInteger(Section, QStringLiteral("Right"), normal.left() + normal.width());
            ini.writeInteger(Section, QStringLiteral("Bottom"), normal.top() + normal.height());
        }
        ini.writeBool(Section, QStringLiteral("Saved"), true);
    } catch (const IniWriteError& e) {
        ErrorBox(QString::fromUtf8(e.what()));
    }
    emit OnSaveState();
}

QRect TZvFormState::FitInto(QRect rect, const QRect& area, bool sizeable) {
    if (sizeable)
        rect.setSize(rect.size().boundedTo(area.size()));
    rect.moveLeft(qMax(area.left(), qMin(rect.left(), area.right() + 1 - rect.width())));
    rect.moveTop(qMax(area.top(), qMin(rect.top(), area.bottom() + 1 - rect.height())));
    return rect;
}

void TZvFormState::RestoreState() {
    if (!Enabled || !m_owner)
        return;
    const IniFile ini(IniPath);
    const QRect current = m_owner->normalGeometry().isValid() && !m_owner->isMaximized()
                              ? m_owner->geometry()
                              : m_owner->normalGeometry();
    const int l = ini.readInteger(Section, QStringLiteral("Left"), current.left());
    const int t = ini.readInteger(Section, QStringLiteral("Top"), current.top());
    int r = l + current.width(), b = t + current.height();
    if (sizeable()) {
        r = ini.readInteger(Section, QStringLiteral("Right"), r);
        b = ini.readInteger(Section, QStringLiteral("Bottom"), b);
    }
    QRect rect(l, t, qMax(1, r - l), qMax(1, b - t));
    // A place on no screen comes back to the top-left corner; on any
    // screen the whole window fits its free area (another scale, another
    // screen than the one it was saved on).
    const QScreen* screen = QGuiApplication::screenAt(QPoint(l, t));
    if (!screen)
        rect.moveTo(0, 0);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        rect = FitInto(rect, screen->availableGeometry(), sizeable());
    if (m_owner->isMaximized())
        m_owner->showNormal();
    m_owner->setGeometry(rect);
    if (ini.readBool(Section, QStringLiteral("Maximized"), false))
        m_owner->setWindowState(m_owner->windowState() | Qt::WindowMaximized);
    emit OnRestoreState();
}
