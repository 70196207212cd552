// A session bus of the test's own: a dbus-daemon that lives as long as the object.
#pragma once

#include <QProcess>
#include <QString>

namespace testbus {

struct PrivateBus {
    QProcess daemon;
    QString address;   // empty when the daemon did not start
    PrivateBus()
    {
        daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                     QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
        if (daemon.waitForStarted() && daemon.waitForReadyRead(10000))
            address = QString::fromLatin1(daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        daemon.kill();
        daemon.waitForFinished();
    }
};

}  // namespace testbus
