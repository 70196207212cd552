#include "ui/sleep_inhibitor.h"

#include "ui/ui_services.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>

#include <fcntl.h>
#include <unistd.h>

SleepInhibitor::SleepInhibitor(QString why, QObject *parent) : QObject(parent), m_why(std::move(why)) {}

void SleepInhibitor::hold()
{
    m_wanted = true;
    if (m_fd >= 0 || m_asking || m_refused)
        return;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        m_refused = true;
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
                                                       QStringLiteral("/org/freedesktop/login1"),
                                                       QStringLiteral("org.freedesktop.login1.Manager"),
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << ui::applicationTitle << m_why << QStringLiteral("block");
    m_asking = true;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        m_asking = false;
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *watcher;
        if (reply.isError() || !reply.value().isValid()) {
            m_refused = true;
            return;
        }
        // Released meanwhile: the lock goes with the reply.
        if (!m_wanted)
            return;
        // The reply's descriptor closes with it: keep a copy of our own.
        m_fd = ::fcntl(reply.value().fileDescriptor(), F_DUPFD_CLOEXEC, 0);
    });
}

void SleepInhibitor::release()
{
    m_wanted = false;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
