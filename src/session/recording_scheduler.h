// A recording that starts by itself at a set time of the wall clock, optionally for a set
// length of its own. The clock is looked at every second (one long timer would stall across
// a suspend), and the time left is told each time.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>

class RecordingScheduler : public QObject {
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    explicit RecordingScheduler(QObject *parent = nullptr);
    // The wall clock (tests give their own).
    void setClock(Clock clock);
    QDateTime now() const { return m_clock(); }

    // lengthSeconds > 0: the run it starts lasts that long.
    void schedule(const QDateTime &at, int lengthSeconds);
    void cancel();
    bool isScheduled() const { return m_at.isValid(); }
    QDateTime at() const { return m_at; }

signals:
    void countdown(qint64 secondsLeft);
    // The time has come: the run starts now (lengthSeconds 0: the usual limit).
    void due(int lengthSeconds);

private:
    void check();

    Clock m_clock;
    QDateTime m_at;
    int m_length = 0;
    QTimer m_timer;
};
