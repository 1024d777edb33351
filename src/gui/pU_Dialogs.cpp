#include "pU_Dialogs.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void SetFixedDialogBorder(QWidget* dialog, bool closeButton) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeButton)
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    dialog->setWindowFlags(flags);
}

namespace {

QRect ScreenArea(const QWidget* dialog) {
    const QWidget* parent = dialog->parentWidget();
    QScreen* screen = parent ? parent->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void MoveFrameToCentre(QWidget* dialog, const QRect& area) {
    QRect frame = dialog->frameGeometry();
    frame.moveCenter(area.center());
    dialog->move(frame.topLeft()); // the frame's place, title bar included
}

// Once shown the frame is known: the dialog is centred again with it.
class CentreWhenShown : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Show) {
            auto* w = static_cast<QWidget*>(watched);
            if (const QRect area = ScreenArea(w); area.isValid())
                MoveFrameToCentre(w, area);
        }
        return false;
    }
};

} // namespace

void CentreOnScreen(QWidget* dialog) {
    const QRect area = ScreenArea(dialog);
    if (!area.isValid())
        return;
    // Room for the whole caption beside the window manager's buttons: a
    // narrow dialog would show its title cut.
    if (auto* box = qobject_cast<QBoxLayout*>(dialog->layout())) {
        QFont bold = dialog->font();
        bold.setBold(true);
        const int room = QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()) + 120;
        box->addItem(new QSpacerItem(room, 0, QSizePolicy::Minimum, QSizePolicy::Fixed));
    }
    dialog->adjustSize();
    // Moved by hand: the dialog is no longer placed over its parent.
    MoveFrameToCentre(dialog, area);
    dialog->installEventFilter(new CentreWhenShown(dialog));
}
