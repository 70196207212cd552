#include "session/recording_scheduler.h"

#include <algorithm>

RecordingScheduler::RecordingScheduler(QObject *parent) : QObject(parent), m_clock(&QDateTime::currentDateTime)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &RecordingScheduler::check);
}

void RecordingScheduler::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(&QDateTime::currentDateTime);
}

void RecordingScheduler::schedule(const QDateTime &at, int lengthSeconds)
{
    m_at = at;
    m_length = std::max(0, lengthSeconds);
    m_timer.start();
    check();
}

void RecordingScheduler::cancel()
{
    m_timer.stop();
    m_at = QDateTime();
}

void RecordingScheduler::check()
{
    if (!isScheduled()) {
        m_timer.stop();
        return;
    }
    const qint64 left = m_clock().secsTo(m_at);
    if (left > 0) {
        emit countdown(left);
        return;
    }
    cancel();
    emit due(m_length);
}
