#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QKeyEvent;
class QWidget;

// F1 help for one form: sees the form's keys before its controls do, and on
// F1 without Shift, Ctrl or Alt opens the help file at the topic of the
// focused control (its "helpContext" property, an anchor of the file; empty
// falls back to its parent's, then the form's).
class TZVHHComp : public QObject {
    Q_OBJECT
public:
    explicit TZVHHComp(QWidget* owner);
    ~TZVHHComp() override;

    // A file name relative to folder (an absolute one stays as it is).
    QString HelpFile;
    // The form's own key handler; every key reaches it, F1 included.
    std::function<void(QKeyEvent*)> OnKeyDown;

    // The form has been read: key preview on, full path computed.
    void Loaded(const QString& folder);
    QString fullPath() const { return m_fullPath; }
    // The topic F1 shows for w: its own, its parent's, then the form's.
    QString contextOf(QWidget* w) const;

    static void SetHelpContext(QWidget* w, const QString& anchor);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* m_owner;
    QString m_fullPath;
    bool m_preview = false;
};
