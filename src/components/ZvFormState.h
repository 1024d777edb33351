#pragma once

#include <QObject>
#include <QRect>
#include <QString>

class QWidget;

// Keeps a window's place, size and maximised state in a section of the
// configuration file, and puts them back.
class TZvFormState : public QObject {
    Q_OBJECT
public:
    explicit TZvFormState(QWidget* owner);
    bool Enabled = true;
    QString Section;
    QString IniPath;

    void SaveState();
    void RestoreState();
    // A window's place inside a screen's free area: made no larger than
    // the area (unless it cannot change size), and moved into it.
    static QRect FitInto(QRect rect, const QRect& area, bool sizeable);
    // Whether a "form" placement has been saved before.
    bool Saved() const;

signals:
    void OnSaveState();
    void OnRestoreState();

private:
    bool sizeable() const;
    QWidget* m_owner;
};
