// Desktop notifications on a private session bus, told to a notification server of the test's
// own: what the window's runs make it send, and what its "Show" does.
#include "common/private_bus.h"
#include "window_fixture.h"

#include "ui/desktop_notifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

using testbus::PrivateBus;

}  // namespace

// Keeps every notification it is given; answers each with a new id.
class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Note {
        uint id;
        QString app, icon, summary, body;
        QStringList actions;
        QVariantMap hints;
        int timeout;
    };
    QList<Note> notes;

public slots:
    uint Notify(const QString &app, uint, const QString &icon, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        notes.append({uint(100 + notes.size()), app, icon, summary, body, actions, hints, timeout});
        return notes.constLast().id;
    }
    QStringList GetCapabilities() { return {"actions", "body"}; }
};

// The window on the fake engine, the server (or none) on a bus of its own, and the
// notifications on another connection to it (or on no bus at all); the window is not the
// active one.
struct Fixture {
    enum Desktop { WithServer, NoServer, NoBus };
    static inline int count = 0;
    PrivateBus daemon;
    const QString serverName = QStringLiteral("server%1").arg(++count);
    const QString clientName = QStringLiteral("client%1").arg(count);
    QDBusConnection server = QDBusConnection::connectToBus(daemon.address, serverName);
    QDBusConnection client;
    FakeNotificationServer notes;
    WindowFixture w;
    std::unique_ptr<DesktopNotifications> notifications;
    bool active = false;

    explicit Fixture(Desktop desktop = WithServer)
        : client(QDBusConnection::connectToBus(desktop == NoBus ? "unix:path=/nonexistent/bus" : daemon.address,
                                               clientName))
    {
        if (desktop == WithServer) {
            server.registerObject(kPath, &notes, QDBusConnection::ExportAllSlots);
            server.registerService(kService);
        }
        w.start();
        notifications = std::make_unique<DesktopNotifications>(*w.window, *w.core, client);
        notifications->setWindowActiveCheck([this] { return active; });
    }
    ~Fixture()
    {
        notifications.reset();
        QDBusConnection::disconnectFromBus(clientName);
        QDBusConnection::disconnectFromBus(serverName);
    }

    // Capture as the recorder gives it, a block at a time, while the run records.
    void blocks(int n)
    {
        for (int i = 0; i < n && w.recorder()->isRunning() && w.recording().isActive(); ++i) {
            w.recorder()->emitBlock();
            w.recording().flush();
        }
    }
    // Whatever was sent has reached the server: a call after it is answered.
    bool settled()
    {
        QDBusPendingCallWatcher call(
            client.asyncCall(QDBusMessage::createMethodCall(kService, kPath, kService, "GetCapabilities")));
        return QTest::qWaitFor([&] { return call.isFinished(); }, 5000);
    }
    QStringList sent() const
    {
        QStringList out;
        for (const FakeNotificationServer::Note &n : notes.notes)
            out << n.summary + " | " + n.body;
        return out;
    }
    QString file() const { return QFileInfo(w.recording().partPath()).fileName(); }
};

class TestDesktopNotifications : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(!PrivateBus().address.isEmpty(), "dbus-daemon did not start"); }

    // How a run ends, and whether the user hears of it.
    void runEnds_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("reason");   // "" for no notification
        QTest::newRow("time limit") << "limit" << "the time limit was reached";
        QTest::newRow("device lost") << "lost" << "The input device was unplugged";
        QTest::newRow("window active") << "active" << "";
        QTest::newRow("user's Stop") << "stop" << "";
        QTest::newRow("notifications off") << "off" << "";
        QTest::newRow("no server") << "no server" << "";
        QTest::newRow("no bus") << "no bus" << "";
    }
    void runEnds()
    {
        QFETCH(QString, how);
        QFETCH(QString, reason);
        const bool missing = how.startsWith("no ");
        if (missing)
            QTest::failOnWarning(QRegularExpression(".*"));   // nothing said
        Fixture f(how == "no server" ? Fixture::NoServer : how == "no bus" ? Fixture::NoBus : Fixture::WithServer);
        f.active = how == "active";
        if (how == "off")
            f.w.core->settings().storeNotifies(false);
        f.w.changeSettings([](RecordingSettings &s) {
            s.timeLimitSeconds = 1;
            s.resumeAfterDeviceLoss = false;
        });
        f.w.window->record();
        QCOMPARE(f.w.recording().state(), RecordingSession::State::Recording);
        f.blocks(2);
        if (how == "stop")
            f.w.window->stop();
        else if (how == "lost")
            f.w.recorder()->emitDeviceError("The input device was unplugged");
        f.blocks(20);
        QVERIFY(!f.w.recording().isActive());
        QVERIFY(f.w.files().count() == 1);
        QVERIFY(f.settled());
        if (reason.isEmpty()) {
            QCOMPARE(f.sent(), QStringList());
            if (missing)
                QCOMPARE(f.w.boxes.size(), 0);
            return;
        }
        QCOMPARE(f.notes.notes.size(), 1);
        const FakeNotificationServer::Note &n = f.notes.notes.first();
        QCOMPARE(n.summary, QString("Recording ended"));
        QVERIFY2(n.body.startsWith(f.file() + ": ") && n.body.contains(reason), qPrintable(n.body));
        QCOMPARE(n.app, QString("Tavrin Sound Recorder"));
        QCOMPARE(n.icon, QString("tavrin-sound-recorder"));
        QCOMPARE(n.actions, QStringList({"default", "Show"}));
        QCOMPARE(n.hints.value("desktop-entry").toString(), QString("org.example.TavrinSoundRecorder"));
        QCOMPARE(n.hints.value("urgency").toInt(), 1);
    }

    // A run that starts by itself is announced when its file starts; one the user starts is not.
    void runStarts_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("said");   // after the file's name; "" for nothing
        QTest::newRow("at the scheduled time") << "scheduled" << ": the scheduled recording started";
        QTest::newRow("on sound") << "sound" << ": sound came and the recording started";
        QTest::newRow("Record while scheduled") << "record" << "";
    }
    void runStarts()
    {
        QFETCH(QString, how);
        QFETCH(QString, said);
        Fixture f;
        QDateTime now = QDateTime::currentDateTime();
        f.w.recording().setClock([&now] { return now; });
        f.w.recorder()->sound = [](qint64) { return 0.5f; };
        if (how == "sound") {
            f.w.changeSettings([](RecordingSettings &s) { s.triggerOn = true; });
            f.w.window->record();
            QCOMPARE(f.w.recording().state(), RecordingSession::State::WaitingForSound);
            f.blocks(2);
        } else {
            f.w.recording().schedule(now.addSecs(60), 0);
            QCOMPARE(f.w.recording().state(), RecordingSession::State::Scheduled);
            if (how == "record")
                f.w.window->record();
            now = now.addSecs(60);
        }
        QTRY_COMPARE(f.w.recording().state(), RecordingSession::State::Recording);
        const QString file = f.file();
        f.blocks(2);
        f.w.window->stop();   // the user's: no more
        QVERIFY(f.settled());
        QCOMPARE(f.sent(), said.isEmpty() ? QStringList() : QStringList{"Recording started | " + file + said});
    }

    void recoveredFilesAreNamed()
    {
        Fixture f;
        RecoveryReport report;
        report.recovered = QStringList{f.w.path("Untitled3.mp3"), f.w.path("Untitled4.mp3")};
        emit f.w.core->recovered(report);
        QVERIFY(f.settled());
        QCOMPARE(f.sent(), QStringList{"Recordings recovered | 2 interrupted recordings were repaired and listed: "
                                       + QLocale().createSeparatedList({"Untitled3.mp3", "Untitled4.mp3"})});
    }

    // "Show" brings the window up on File Info with the file selected; another program's
    // notification is none of the window's business.
    void showShowsTheFile()
    {
        Fixture f;
        f.w.window->record();
        f.blocks(2);
        f.w.window->stop();
        f.w.changeSettings([](RecordingSettings &s) { s.timeLimitSeconds = 1; });
        f.w.window->record();
        f.blocks(20);
        QVERIFY(f.settled());
        QCOMPARE(f.w.files().count(), 2);
        QCOMPARE(f.notes.notes.size(), 1);
        const QString second = f.w.files().at(1).path;
        f.w.window->showTab(0);
        f.w.files().select(0);
        f.w.window->hide();   // closed to the tray
        auto invoke = [&](uint id, const QString &action) {
            QDBusMessage signal = QDBusMessage::createSignal(kPath, kService, "ActionInvoked");
            signal << id << action;
            QVERIFY(f.server.send(signal));
        };
        QTabWidget *pages = f.w.find<QTabWidget>("pages");
        invoke(f.notes.notes.first().id + 1, "default");
        invoke(f.notes.notes.first().id, "other");
        QVERIFY(f.settled());
        QTest::qWait(50);
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(!f.w.window->isVisible());
        invoke(f.notes.notes.first().id, "default");
        QTRY_COMPARE(pages->currentIndex(), 3);
        QCOMPARE(f.w.files().selectedPath(), second);
        QVERIFY(f.w.window->isVisible());
    }
};

QTEST_MAIN(TestDesktopNotifications)
#include "tst_desktop_notifications.moc"
