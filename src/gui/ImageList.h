#pragma once

#include <QIcon>
#include <QString>

class QAction;
class QObject;

// A command as the program's menus and tool bars use it: caption, hint as
// tool and status tip, and a picture of the image list (-1: none).
QAction* MakeAction(QObject* owner, const char* name, const QString& caption,
                    const QString& hint = QString(), int image = -1);
#include <QPixmap>

// The program's image list, drawn in code so it scales cleanly. Indexes are
// fixed: commands, tips and rows refer to their pictures by number.
namespace ImageList {
enum Index {
    SubTaskAdd = 3,
    Edit = 4,
    Delete = 5,
    ViewDate = 8,
    SortAscending = 9,
    SortDescending = 10,
    ViewList = 11,
    ExpandAll = 13,
    CollapseAll = 14,
    TaskAdd = 15,
    FinishEdit = 16,
    SearchNoResult = 19,
    Search = 20,
    SearchClear = 21,
    Reminder = 22,
    DuePassed = 23,
    DueAhead = 24,
};
// `size` logical pixels drawn for a screen of `dpr` device pixels per pixel.
QPixmap Pixmap(int index, int size = 16, qreal dpr = 1.0);
// Drawn afresh at whatever size and scale a menu, tool bar or tray asks for.
QIcon Icon(int index);
} // namespace ImageList
