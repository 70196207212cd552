// Asks the desktop not to suspend the machine while the program records, through logind's
// "sleep" inhibitor lock on the system bus. Where there is no logind (no system bus, a
// machine without systemd) it quietly does nothing.
#pragma once

#include <QString>

class SleepInhibitor {
public:
    explicit SleepInhibitor(QString why) : m_why(std::move(why)) {}
    ~SleepInhibitor() { release(); }

    // Takes the lock (once); true when logind granted it.
    bool hold();
    void release();
    bool isHeld() const { return m_fd >= 0; }

private:
    QString m_why;
    int m_fd = -1;   // the lock: held while this descriptor is open
};
