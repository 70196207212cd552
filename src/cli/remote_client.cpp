#include "cli/remote_client.h"

#include "session/program_identity.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QVariantMap>

namespace {

int notRunning(std::FILE *err)
{
    //: %1 is the program's name.
    const QString text = QCoreApplication::translate("RemoteClient", "%1 is not running.").arg(programName);
    std::fprintf(err, "%s\n", qPrintable(text));
    return 1;
}

// "00:01:23.400", as the window's time display shows it.
QString elapsedText(qint64 ms)
{
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

}  // namespace

int callRemote(const QString &command, const QString &markerName, std::FILE *out, std::FILE *err)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return notRunning(err);
    // Asked of the bus directly: the bus's interface object would follow its signals, which
    // can still arrive while this short-lived process ends.
    QDBusMessage owned = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("NameHasOwner"));
    owned << remote::service;
    const QDBusMessage ownedReply = bus.call(owned);
    if (ownedReply.type() != QDBusMessage::ReplyMessage || ownedReply.arguments().isEmpty()
        || !ownedReply.arguments().constFirst().toBool())
        return notRunning(err);

    QDBusMessage call;
    if (command == QLatin1String("status")) {
        call = QDBusMessage::createMethodCall(remote::service, remote::path,
                                              QStringLiteral("org.freedesktop.DBus.Properties"),
                                              QStringLiteral("GetAll"));
        call << remote::interfaceName;
    } else if (command == QLatin1String("marker")) {
        call = QDBusMessage::createMethodCall(remote::service, remote::path, remote::interfaceName,
                                              QStringLiteral("AddMarker"));
        call << markerName;
    } else {
        QString method = command;
        method[0] = method[0].toUpper();
        call = QDBusMessage::createMethodCall(remote::service, remote::path, remote::interfaceName, method);
    }
    const QDBusMessage reply = bus.call(call);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
            || reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
            return notRunning(err);
        std::fprintf(err, "%s\n", qPrintable(reply.errorMessage()));
        return 1;
    }
    if (command == QLatin1String("status")) {
        const QVariantMap properties = QDBusReply<QVariantMap>(reply).value();
        std::fprintf(out, "%s\n%s\n%s\n", qPrintable(properties.value(QStringLiteral("State")).toString()),
                     qPrintable(elapsedText(properties.value(QStringLiteral("Elapsed")).toLongLong())),
                     qPrintable(properties.value(QStringLiteral("CurrentFile")).toString()));
    }
    return 0;
}
