#include "ui/sleep_inhibitor.h"

#include "ui/ui_services.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>

#include <fcntl.h>
#include <unistd.h>

bool SleepInhibitor::hold()
{
    if (m_fd >= 0)
        return true;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return false;
    QDBusInterface login(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                         QStringLiteral("org.freedesktop.login1.Manager"), bus);
    if (!login.isValid())
        return false;
    const QDBusReply<QDBusUnixFileDescriptor> reply =
        login.call(QStringLiteral("Inhibit"), QStringLiteral("sleep"), ui::applicationTitle, m_why,
                   QStringLiteral("block"));
    if (!reply.isValid() || !reply.value().isValid())
        return false;
    // The reply's descriptor closes with it: keep a copy of our own.
    m_fd = ::fcntl(reply.value().fileDescriptor(), F_DUPFD_CLOEXEC, 0);
    return m_fd >= 0;
}

void SleepInhibitor::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
