#include "ui/global_shortcuts.h"

#include "session/recording_session.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QRandomGenerator>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");

const QString kRecordPause = QStringLiteral("record-pause");
const QString kStop = QStringLiteral("stop");
const QString kAddMarker = QStringLiteral("add-marker");

// One shortcut as the portal lists them: its id and what is known of it.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

}  // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace {

bool holdsArgument(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<QDBusArgument>();
}

QVariantMap mapOf(const QVariant &value)
{
    if (holdsArgument(value))
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

// An object path that may come as a string: the session handle of CreateSession's answer does.
QString pathOf(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

QList<PortalShortcut> shortcutsOf(const QVariant &value)
{
    if (holdsArgument(value))
        return qdbus_cast<QList<PortalShortcut>>(value.value<QDBusArgument>());
    return value.value<QList<PortalShortcut>>();
}

}  // namespace

GlobalShortcuts::GlobalShortcuts(MainWindow &window, QDBusConnection bus, QObject *parent)
    : QObject(parent), m_window(window), m_bus(std::move(bus))
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

GlobalShortcuts::~GlobalShortcuts()
{
    closeSession();
}

QList<GlobalShortcuts::Shortcut> GlobalShortcuts::shortcuts() const
{
    QList<Shortcut> all{{kRecordPause, tr("Record or pause"), QStringLiteral("CTRL+ALT+R"), {}},
                        {kStop, tr("Stop recording"), QStringLiteral("CTRL+ALT+S"), {}},
                        {kAddMarker, tr("Add a marker"), QStringLiteral("CTRL+ALT+M"), {}}};
    for (Shortcut &s : all)
        s.keys = m_keys.value(s.id);
    return all;
}

void GlobalShortcuts::start()
{
    if (m_started || !m_bus.isConnected())
        return;
    m_started = true;
    // The version says whether the portal has global shortcuts at all; asking for it starts
    // a portal that is not running yet. An error answer (no portal, no such interface) ends
    // it here, quietly.
    QDBusMessage get = QDBusMessage::createMethodCall(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kInterface << QStringLiteral("version");
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *w;
        if (reply.isError())
            return;
        m_version = reply.value().variant().toUInt();
        m_bus.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this, SLOT(onActivated(QDBusMessage)));
        m_bus.connect(kService, kPath, kInterface, QStringLiteral("ShortcutsChanged"), this,
                      SLOT(onShortcutsChanged(QDBusMessage)));
        createSession();
    });
}

void GlobalShortcuts::change()
{
    if (!m_available || m_session.isEmpty())
        return;
    if (m_version >= 2) {
        // The desktop's own dialog; what the user chooses there comes back as ShortcutsChanged.
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("ConfigureShortcuts"));
        call << QVariant::fromValue(QDBusObjectPath(m_session)) << QString() << QVariantMap();
        auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
            w->deleteLater();
            if (!w->isError())
                list();
        });
        return;
    }
    // A session binds its shortcuts once: binding them again takes a new session, and the
    // portal shows its dialog for them again.
    closeSession();
    createSession();
}

void GlobalShortcuts::ask(const QString &method, QVariantList arguments, QVariantMap options, Answer answer)
{
    // The answer comes on a request object whose path the token decides: listen there before
    // calling, so that no answer comes too early to be heard.
    const QString token = newToken();
    QString sender = m_bus.baseService();
    sender.remove(0, sender.startsWith(QLatin1Char(':')) ? 1 : 0);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString expected = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    options.insert(QStringLiteral("handle_token"), token);
    arguments << options;
    m_requests.insert(expected, std::move(answer));
    followRequest(expected, true);

    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    call.setArguments(arguments);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, expected](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (!m_requests.contains(expected))
            return;   // answered already
        if (reply.isError()) {
            m_requests.remove(expected);
            followRequest(expected, false);
            return;
        }
        // An older portal names a request object of its own: the answer comes there.
        const QString path = reply.value().path();
        if (path != expected) {
            m_requests.insert(path, m_requests.take(expected));
            followRequest(expected, false);
            followRequest(path, true);
        }
    });
}

void GlobalShortcuts::followRequest(const QString &path, bool on)
{
    if (on)
        m_bus.connect(kService, path, kRequestInterface, QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
    else
        m_bus.disconnect(kService, path, kRequestInterface, QStringLiteral("Response"), this,
                         SLOT(onResponse(QDBusMessage)));
}

QString GlobalShortcuts::newToken()
{
    // Unique in this program and not guessable by another.
    return QStringLiteral("tavrin_%1_%2").arg(++m_tokens).arg(QRandomGenerator::global()->generate());
}

void GlobalShortcuts::onResponse(const QDBusMessage &message)
{
    const QString path = message.path();
    if (!m_requests.contains(path))
        return;
    const Answer answer = m_requests.take(path);
    followRequest(path, false);
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2)
        return;
    answer(arguments.at(0).toUInt(), mapOf(arguments.at(1)));
}

void GlobalShortcuts::createSession()
{
    const QVariantMap options{{QStringLiteral("session_handle_token"), newToken()}};
    ask(QStringLiteral("CreateSession"), {}, options, [this](uint response, const QVariantMap &results) {
        const QString session = pathOf(results.value(QStringLiteral("session_handle")));
        if (response != 0 || session.isEmpty())
            return;
        m_session = session;
        if (!m_available) {
            m_available = true;
            emit changed();
        }
        bind();
    });
}

void GlobalShortcuts::bind()
{
    QList<PortalShortcut> wanted;
    for (const Shortcut &s : shortcuts())
        wanted.append({s.id,
                       {{QStringLiteral("description"), s.description},
                        {QStringLiteral("preferred_trigger"), s.preferredKeys}}});
    const QVariantList arguments{QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(wanted), QString()};
    const QString session = m_session;
    ask(QStringLiteral("BindShortcuts"), arguments, {}, [this, session](uint response, const QVariantMap &results) {
        if (session != m_session)
            return;
        const QString key = QStringLiteral("shortcuts");
        // Turned down, or answered without the list: what is bound is asked for.
        if (response == 0 && results.contains(key))
            takeKeys(results.value(key));
        else
            list();
    });
}

void GlobalShortcuts::list()
{
    if (m_session.isEmpty())
        return;
    const QString session = m_session;
    ask(QStringLiteral("ListShortcuts"), {QVariant::fromValue(QDBusObjectPath(m_session))}, {},
        [this, session](uint response, const QVariantMap &results) {
            if (response == 0 && session == m_session)
                takeKeys(results.value(QStringLiteral("shortcuts")));
        });
}

void GlobalShortcuts::closeSession()
{
    if (m_session.isEmpty())
        return;
    if (m_bus.isConnected())
        m_bus.send(QDBusMessage::createMethodCall(kService, m_session, kSessionInterface, QStringLiteral("Close")));
    m_session.clear();
}

void GlobalShortcuts::takeKeys(const QVariant &shortcuts)
{
    QHash<QString, QString> keys;
    for (const PortalShortcut &s : shortcutsOf(shortcuts)) {
        const QString description = s.properties.value(QStringLiteral("trigger_description")).toString();
        if (!description.isEmpty())
            keys.insert(s.id, description);
    }
    if (keys == m_keys)
        return;
    m_keys = keys;
    emit changed();
}

void GlobalShortcuts::onShortcutsChanged(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() >= 2 && !m_session.isEmpty() && pathOf(arguments.at(0)) == m_session)
        takeKeys(arguments.at(1));
}

void GlobalShortcuts::onActivated(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() >= 2 && !m_session.isEmpty() && pathOf(arguments.at(0)) == m_session)
        run(arguments.at(1).toString());
}

void GlobalShortcuts::run(const QString &id)
{
    // The window's own commands, as its buttons give them; a refusal shows its box once the
    // portal's signal is handled.
    ui::runCommandFromOutside([this, &id] {
        if (id == kRecordPause) {
            if (m_window.recording().state() == RecordingSession::State::Recording)
                m_window.pause();
            else
                m_window.record();   // starts a recording, or goes on with a paused one
        } else if (id == kStop) {
            m_window.stop();
        } else if (id == kAddMarker) {
            m_window.addMarker();
        }
    });
}
