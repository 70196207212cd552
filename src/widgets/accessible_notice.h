// Tells assistive technology of a value or a text that keeps changing, at most every
// IntervalMs: a change after a quiet stretch at once, later ones when the interval is up,
// with the newest value then. Nothing runs while no assistive technology listens.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

class AccessibleNotice {
public:
    static constexpr int IntervalMs = 250;

    // tell sends the event with the newest value; the timer's calls run in owner's thread.
    AccessibleNotice(QObject *owner, std::function<void()> tell);

    void changed();

private:
    void tellNow();

    std::function<void()> m_tell;
    QTimer m_timer;          // tells the newest value when the interval is up
    QElapsedTimer m_last;    // since the last one was told
};
