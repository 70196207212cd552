// The window's player as the desktop's controllers see it (MPRIS 2), on a private session
// bus: the names, the interfaces, and what Play, Pause, Stop, Seek and the volume do to the
// window and tell the bus.
#include "common/private_bus.h"
#include "window_fixture.h"

#include "ui/media_player_control.h"
#include "widgets/position_slider.h"
#include "widgets/transport_block.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QProcess>

namespace {

using testbus::PrivateBus;

// A controller on the bus: calls the player and hears what it announces.
class Controller : public QObject {
    Q_OBJECT

public:
    Controller(const QString &address, const QString &service)
        : bus(QDBusConnection::connectToBus(address, QStringLiteral("controller"))), service(service)
    {
        bus.connect(service, mpris::objectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged", this,
                    SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        bus.connect(service, mpris::objectPath, mpris::playerInterface, "Seeked", this, SLOT(seeked(qlonglong)));
    }
    ~Controller() override { QDBusConnection::disconnectFromBus(QStringLiteral("controller")); }

    // The call's answer; the event loop turns meanwhile, so the player, on this thread too,
    // answers it.
    QDBusMessage call(const QString &interface, const QString &method, const QVariantList &arguments = {})
    {
        QDBusMessage m = QDBusMessage::createMethodCall(service, mpris::objectPath, interface, method);
        m.setArguments(arguments);
        return bus.call(m, QDBus::BlockWithGui);
    }
    QDBusMessage player(const QString &method, const QVariantList &arguments = {})
    {
        return call(mpris::playerInterface, method, arguments);
    }
    QVariant get(const QString &interface, const QString &name)
    {
        const QDBusMessage reply = call("org.freedesktop.DBus.Properties", "Get", {interface, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    QVariant get(const QString &name) { return get(mpris::playerInterface, name); }
    QDBusMessage set(const QString &name, const QVariant &value)
    {
        return call("org.freedesktop.DBus.Properties", "Set",
                    {mpris::playerInterface, name, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariantMap metadata()
    {
        QVariantMap out;
        get("Metadata").value<QDBusArgument>() >> out;
        return out;
    }
    // Waits until a PropertiesChanged has told name, and gives its last value.
    QVariant told(const QString &name)
    {
        (void)QTest::qWaitFor([&] { return changes.contains(name); }, 5000);
        return changes.value(name);
    }

    QDBusConnection bus;
    QString service;
    QVariantMap changes;          // every property told, its last value
    QList<qlonglong> seekedAt;

public slots:
    void propertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &)
    {
        if (interface != mpris::playerInterface)
            return;
        for (auto it = changed.cbegin(); it != changed.cend(); ++it)
            changes.insert(it.key(), it.value());
    }
    void seeked(qlonglong position) { seekedAt.append(position); }
};

// A window with a ten-second file opened, its player on the private bus.
struct Player {
    WindowFixture w;
    std::unique_ptr<MediaPlayerControl> control;

    explicit Player(const QString &address)
    {
        w.start();
        w.changeSettings([&](RecordingSettings &s) { s.savePath = w.path("rec/"); });
        w.engine.addFile(w.path("tune.wav"), 44100 * 10);
        w.window->openFile(w.path("tune.wav"));
        control = std::make_unique<MediaPlayerControl>(
            *w.window, QDBusConnection::connectToBus(address, QStringLiteral("player")));
    }
    ~Player()
    {
        control.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("player"));
    }
};

}  // namespace

class TestMediaPlayerControl : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!bus.address.isEmpty(), "dbus-daemon did not start");
    }

    void takesTheNameAndShowsBothInterfaces()
    {
        // No bus: nothing registered, nothing said.
        {
            WindowFixture w;
            w.start();
            MediaPlayerControl none(*w.window, QDBusConnection(QStringLiteral("no bus")));
            QVERIFY(!none.registerOnBus());
        }

        Player p(bus.address);
        QVERIFY(p.control->registerOnBus());
        QCOMPARE(p.control->serviceName(), mpris::serviceName);
        Controller c(bus.address, mpris::serviceName);
        QCOMPARE(c.bus.interface()->serviceOwner(mpris::serviceName).value(),
                 QDBusConnection(QStringLiteral("player")).baseService());

        // A second window takes a name of its own.
        {
            QDBusConnection second = QDBusConnection::connectToBus(bus.address, QStringLiteral("second"));
            MediaPlayerControl other(*p.w.window, second);
            QVERIFY(other.registerOnBus());
            QCOMPARE(other.serviceName(),
                     mpris::serviceName + ".instance" + QString::number(QCoreApplication::applicationPid()));
            QVERIFY(c.bus.interface()->isServiceRegistered(other.serviceName()));
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("second"));

        const QString xml =
            c.call("org.freedesktop.DBus.Introspectable", "Introspect").arguments().value(0).toString();
        for (const char *part :
             {"<interface name=\"org.mpris.MediaPlayer2\">", "<interface name=\"org.mpris.MediaPlayer2.Player\">",
              "<method name=\"Raise\"/>", "<arg name=\"Offset\" type=\"x\" direction=\"in\"/>",
              "<arg name=\"TrackId\" type=\"o\" direction=\"in\"/>", "<signal name=\"Seeked\">",
              "<property name=\"Metadata\" type=\"a{sv}\" access=\"read\">",
              "<property name=\"Volume\" type=\"d\" access=\"readwrite\"/>"})
            QVERIFY2(xml.contains(part), qPrintable(part));
        QCOMPARE(c.get(mpris::rootInterface, "Identity").toString(), QString("Tavrin Sound Recorder"));
        QCOMPARE(c.get(mpris::rootInterface, "DesktopEntry").toString(), QString("org.example.TavrinSoundRecorder"));
        QCOMPARE(c.get(mpris::rootInterface, "CanQuit").toBool(), true);
        QCOMPARE(c.get(mpris::rootInterface, "HasTrackList").toBool(), false);
        QCOMPARE(c.get("CanControl").toBool(), true);
        QCOMPARE(c.get("CanGoNext").toBool(), false);
        QCOMPARE(c.get("Rate").toDouble(), 1.0);

        // Raise shows the window; Quit closes it as its close button does.
        p.w.window->hide();
        QCOMPARE(c.call(mpris::rootInterface, "Raise").type(), QDBusMessage::ReplyMessage);
        QVERIFY(p.w.window->isVisible());
        p.w.window->play();
        QCOMPARE(c.call(mpris::rootInterface, "Quit").type(), QDBusMessage::ReplyMessage);
        QTRY_VERIFY(!p.w.window->isVisible());
        QVERIFY(!p.w.playback().isActive());
    }

    void playsPausesSeeksAndTurnsTheVolume()
    {
        Player p(bus.address);
        QVERIFY(p.control->registerOnBus());
        Controller c(bus.address, mpris::serviceName);

        QCOMPARE(c.get("PlaybackStatus").toString(), QString("Stopped"));
        QVERIFY(c.get("CanPlay").toBool() && c.get("CanSeek").toBool());
        QVariantMap data = c.metadata();
        QCOMPARE(data.value("xesam:title").toString(), QString("tune.wav"));
        QCOMPARE(data.value("xesam:url").toString(), QUrl::fromLocalFile(p.w.path("tune.wav")).toString());
        QCOMPARE(data.value("mpris:length").toLongLong(), 10'000'000LL);
        const QDBusObjectPath track = data.value("mpris:trackid").value<QDBusObjectPath>();
        QVERIFY2(track.path().startsWith(mpris::trackPathPrefix), qPrintable(track.path()));

        QCOMPARE(c.player("Play").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(c.get("PlaybackStatus").toString(), QString("Playing"));
        QCOMPARE(c.told("PlaybackStatus").toString(), QString("Playing"));
        QCOMPARE(p.w.playback().state(), PlaybackSession::State::Playing);
        QCOMPARE(p.w.window->statusText(0), QString("Playing..."));

        // To 4 s in: the window's slider and the player go there; Seeked says so.
        QCOMPARE(c.player("SetPosition", {QVariant::fromValue(track), 4'000'000LL}).type(),
                 QDBusMessage::ReplyMessage);
        QTRY_COMPARE(c.seekedAt, QList<qlonglong>{4'000'000});
        QCOMPARE(p.w.find<PositionSlider>("positionSlider")->value(), 400);
        QCOMPARE(c.get("Position").toLongLong(), 4'000'000LL);
        QVERIFY(!c.changes.contains("Position"));
        // A stale track id is ignored; a second seek within the second waits for it to end.
        c.player("SetPosition", {QVariant::fromValue(QDBusObjectPath("/org/example/old")), 1'000'000LL});
        QCOMPARE(c.get("Position").toLongLong(), 4'000'000LL);
        c.player("Seek", {2'000'000LL});
        QCOMPARE(c.get("Position").toLongLong(), 6'000'000LL);
        QTest::qWait(300);
        QCOMPARE(c.seekedAt.size(), 1);
        QTRY_COMPARE(c.seekedAt, (QList<qlonglong>{4'000'000, 6'000'000}));

        c.player("Pause");
        QCOMPARE(c.get("PlaybackStatus").toString(), QString("Paused"));
        QTRY_COMPARE(c.changes.value("PlaybackStatus").toString(), QString("Paused"));
        QCOMPARE(p.w.window->statusText(0), QString("Pause"));
        c.player("PlayPause");
        QCOMPARE(p.w.playback().state(), PlaybackSession::State::Playing);
        c.player("Stop");
        QCOMPARE(c.get("PlaybackStatus").toString(), QString("Stopped"));
        QCOMPARE(p.w.window->statusText(0), QString("Stop"));

        // The volume as the knob shows it, and turned as the knob turns it.
        auto *knob = p.w.find<TransportBlock>("transportBlock");
        QCOMPARE(c.get("Volume").toDouble(), knob->volume() / 100.0);
        QCOMPARE(c.set("Volume", 0.4).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(knob->volume(), 40);
        QCOMPARE(p.w.player()->volume, 40);
        QCOMPARE(c.told("Volume").toDouble(), 0.4);
        knob->setVolume(55);   // the user turns the knob
        emit knob->volumeChanged(55);
        QTRY_COMPARE(c.changes.value("Volume").toDouble(), 0.55);
        QCOMPARE(p.w.errors(), QStringList());
    }

    void stopLeavesARecordingRunning_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::newRow("recording") << false;
        QTest::newRow("recording while playing") << true;
    }
    void stopLeavesARecordingRunning()
    {
        QFETCH(bool, playing);
        Player p(bus.address);
        QVERIFY(p.control->registerOnBus());
        Controller c(bus.address, mpris::serviceName);
        if (playing)
            p.w.window->play();
        p.w.window->record();
        QCOMPARE(p.w.recording().state(), RecordingSession::State::Recording);

        QCOMPARE(c.player("Stop").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(p.w.recording().state(), RecordingSession::State::Recording);
        QVERIFY(!p.w.playback().isActive());
        QCOMPARE(c.get("PlaybackStatus").toString(), QString("Stopped"));
        if (playing)
            QCOMPARE(c.told("PlaybackStatus").toString(), QString("Stopped"));
        else
            QCOMPARE(c.told("CanPlay").toBool(), false);   // the file is being written

        // Nothing to play while the recording captures: Play is refused and changes nothing.
        QVERIFY(!c.get("CanPlay").toBool());
        QVERIFY(!c.get("CanSeek").toBool());
        const QDBusMessage refused = c.player("Play");
        QCOMPARE(refused.type(), QDBusMessage::ErrorMessage);
        QVERIFY(!p.w.playback().isActive());
        c.player("Pause");
        QCOMPARE(p.w.recording().state(), RecordingSession::State::Recording);
        QCOMPARE(p.w.errors(), QStringList());
    }

private:
    PrivateBus bus;
};

QTEST_MAIN(TestMediaPlayerControl)
#include "tst_media_player_control.moc"
