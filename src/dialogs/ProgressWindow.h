#pragma once

#include "core/Interchange.h"

#include <QDialog>
#include <QElapsedTimer>
#include <utility>

class QLabel;
class QProgressBar;

// The progress window of one backup, restore or import. A child of the main
// window that shows itself only when the work lasts over half a second, and
// steps aside while a question or message of the same command is up, so it
// never covers one or takes its keyboard.
class TProgressWnd : public QDialog {
    Q_OBJECT
public:
    static constexpr int ShowDelayMs = 500;

    TProgressWnd(QWidget* parent, const QString& label);

    // For the reader or writer: done of total, shown when due.
    Interchange::Progress callback();
    // A message box of the command, shown with the window out of the way.
    Interchange::ErrorBox errorBox();
    // Runs a question or box: the window is hidden meanwhile and comes back
    // after it, where it was.
    template <typename F> auto aside(F&& fn) {
        struct Back {
            TProgressWnd* w;
            bool shown;
            ~Back() { w->comeBack(shown); }
        } back{this, stepAside()};
        return std::forward<F>(fn)();
    }

    int value() const;
    int maximum() const;

private:
    void step(int done, int total);
    bool stepAside();
    void comeBack(bool shown);

    QLabel* m_label;
    QProgressBar* m_bar;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceRepaint;
    int m_aside = 0; // questions open now
};
