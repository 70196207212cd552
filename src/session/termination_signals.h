// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C) as a Qt signal on the thread
// that made the object, so the program ends as its window's close would: a recording is
// finalised, not cut off.
#pragma once

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT

public:
    // One per program; the handlers stay installed while it lives.
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;
    // SIGUSR1 comes as userSignal() from now on, instead of ending the program.
    void watchUserSignal();

signals:
    void requested(int signalNumber);
    void userSignal();

private:
    static void handle(int signalNumber);
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
    bool m_watchesUserSignal = false;
};
