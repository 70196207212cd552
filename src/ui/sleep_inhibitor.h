// Asks the desktop not to suspend the machine while the program records, through logind's
// "sleep" inhibitor lock on the system bus. The request never waits: its answer comes later,
// and a refusal (or no logind: no system bus, a machine without systemd) is taken once and
// not asked again.
#pragma once

#include <QObject>
#include <QString>

class SleepInhibitor : public QObject {
    Q_OBJECT

public:
    explicit SleepInhibitor(QString why, QObject *parent = nullptr);
    ~SleepInhibitor() override { release(); }

    // Wants the lock: asked for once; held from logind's answer on, unless released first.
    void hold();
    void release();
    bool isHeld() const { return m_fd >= 0; }

private:
    QString m_why;
    int m_fd = -1;          // the lock: held while this descriptor is open
    bool m_wanted = false;
    bool m_asking = false;
    bool m_refused = false;
};
