#include "ui/remote_control.h"

#include "session/program_identity.h"
#include "session/recorder_core.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

RemoteControl::RemoteControl(MainWindow &window, QObject *parent)
    : QObject(parent), m_window(window), m_core(window.core())
{
    connect(&m_core, &RecorderCore::statusChanged, this, &RemoteControl::announceChanges);
}

RemoteControl::~RemoteControl()
{
    if (!m_registered)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(remote::path);
    bus.unregisterService(remote::service);
}

bool RemoteControl::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // The first window keeps the name: a second one asks for it without queueing.
    if (bus.interface()->registerService(remote::service, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement)
            .value()
        != QDBusConnectionInterface::ServiceRegistered)
        return false;
    if (!bus.registerObject(remote::path, this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)) {
        bus.unregisterService(remote::service);
        return false;
    }
    m_registered = true;
    m_shownState = state();
    m_shownFile = currentFile();
    return true;
}

QString RemoteControl::state() const
{
    return m_core.stateName();
}

qlonglong RemoteControl::elapsed() const
{
    return m_core.elapsedMs();
}

QString RemoteControl::currentFile() const
{
    return m_core.currentFile();
}

template <typename Command>
void RemoteControl::answer(Command command)
{
    const QStringList refusals = ui::runCommandFromOutside(command);
    if (!refusals.isEmpty() && calledFromDBus())
        sendErrorReply(remote::refusedError, refusals.join(QLatin1Char('\n')));
}

void RemoteControl::Record()
{
    answer([this] { m_window.record(); });
}

void RemoteControl::Pause()
{
    answer([this] { m_window.pause(); });
}

void RemoteControl::Stop()
{
    answer([this] { m_window.stop(); });
}

void RemoteControl::AddMarker(const QString &name)
{
    answer([this, &name] { m_window.addMarker(name); });
}

void RemoteControl::announceChanges()
{
    if (!m_registered)
        return;
    QVariantMap changed;
    const QString nowState = state();
    const QString nowFile = currentFile();
    if (nowState != m_shownState)
        changed.insert(QStringLiteral("State"), nowState);
    if (nowFile != m_shownFile)
        changed.insert(QStringLiteral("CurrentFile"), nowFile);
    if (changed.isEmpty())
        return;
    changed.insert(QStringLiteral("Elapsed"), elapsed());
    m_shownState = nowState;
    m_shownFile = nowFile;
    QDBusMessage signal = QDBusMessage::createSignal(remote::path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << remote::interfaceName << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
