// SIGTERM, SIGINT and SIGHUP reach the event loop as one request, however many come, and
// the handler neither blocks nor disturbs errno of the code it interrupts.
#include "session/termination_signals.h"

#include <QSignalSpy>
#include <QtTest>

#include <cerrno>
#include <csignal>

class TestTerminationSignals : public QObject {
    Q_OBJECT

private slots:
    void manySignalsNeverBlock()
    {
        TerminationSignals termination;
        QSignalSpy requested(&termination, &TerminationSignals::requested);
        // Far more than the socket holds, with nobody reading: a blocking write would hang here.
        for (int i = 0; i < 200000; ++i) {
            errno = EDOM;
            ::raise(i % 2 ? SIGHUP : SIGTERM);
            QCOMPARE(errno, EDOM);
        }
        QTRY_VERIFY(requested.count() >= 1);
        QCOMPARE(requested[0][0].toInt(), int(SIGTERM));
    }
};

QTEST_GUILESS_MAIN(TestTerminationSignals)
#include "tst_termination_signals.moc"
