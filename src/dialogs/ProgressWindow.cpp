#include "ProgressWindow.h"

#include "gui/pU_Boxes.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TProgressWnd::TProgressWnd(QWidget* parent, const QString& label) : QDialog(parent) {
    setObjectName(QStringLiteral("ProgressWnd"));
    setWindowTitle(AppTitle());
    // Window-modal: the main window waits, a question of the command does not.
    setWindowModality(Qt::WindowModal);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_label = new QLabel(label, this);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setMinimumWidth(280);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_clock.start();
    m_sinceRepaint.start();
}

Interchange::Progress TProgressWnd::callback() {
    return [this](int done, int total) { step(done, total); };
}

Interchange::ErrorBox TProgressWnd::errorBox() {
    return [this](const QString& text) { aside([&] { ErrorBox(text); }); };
}

int TProgressWnd::value() const {
    return m_bar->value();
}

int TProgressWnd::maximum() const {
    return m_bar->maximum();
}

void TProgressWnd::step(int done, int total) {
    m_bar->setMaximum(qMax(1, total));
    m_bar->setValue(qBound(0, done, m_bar->maximum()));
    if (m_aside > 0)
        return;
    if (!isVisible()) {
        if (m_clock.elapsed() < ShowDelayMs)
            return;
        show();
    }
    // The work runs on this thread: let the window paint now and then.
    if (m_sinceRepaint.elapsed() >= 50) {
        m_sinceRepaint.restart();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

bool TProgressWnd::stepAside() {
    ++m_aside;
    const bool shown = isVisible();
    if (shown)
        hide();
    return shown;
}

void TProgressWnd::comeBack(bool shown) {
    --m_aside;
    if (shown && m_aside == 0)
        show();
}
