#include "TApplication.h"

#include "gui/pU_Boxes.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    Configure();
}

void TApplication::Configure() {
    // No display name: the platform would add it to every window title.
    QCoreApplication::setApplicationName(AppTitle());
    // The id of the installed menu entry: docks and the Wayland compositor
    // match the window to it, and so to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.zarvik.Tasquel"));
    // The program lives on with no window shown; only Exit ends it.
    QApplication::setQuitOnLastWindowClosed(false);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(e);
    }
    return false;
}
