#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>

// A command on many rows that runs longer than half a second: a busy
// cursor, and how far it is ("Deleting... 40%") painted at once where show
// puts it, since the event loop does not run until the command ends.
class BusyProgress {
public:
    BusyProgress(const QString& doing, qsizetype total, std::function<void(const QString&)> show);
    ~BusyProgress();
    BusyProgress(const BusyProgress&) = delete;
    BusyProgress& operator=(const BusyProgress&) = delete;
    // Cheap enough for every row.
    void advance(qsizetype done);

private:
    QString m_doing;
    qsizetype m_total;
    std::function<void(const QString&)> m_show;
    QElapsedTimer m_clock;
    bool m_busy = false;
    int m_shown = -1;
};
