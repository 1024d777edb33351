#include "BusyProgress.h"

#include <QApplication>
#include <QCursor>

BusyProgress::BusyProgress(const QString& doing, qsizetype total,
                           std::function<void(const QString&)> show)
    : m_doing(doing), m_total(total), m_show(std::move(show)) {
    m_clock.start();
}

BusyProgress::~BusyProgress() {
    if (m_busy)
        QApplication::restoreOverrideCursor();
}

void BusyProgress::advance(qsizetype done) {
    if (!m_busy && m_clock.elapsed() < 500)
        return;
    if (!m_busy) {
        m_busy = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    const int percent = m_total > 0 ? int(done * 100 / m_total) : 0;
    if (percent == m_shown)
        return;
    m_shown = percent;
    m_show(QStringLiteral("%1... %2%").arg(m_doing).arg(percent));
}
