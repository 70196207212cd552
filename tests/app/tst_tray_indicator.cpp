// The tray's icon on a private session bus, with a StatusNotifierWatcher of the test's own:
// the item it registers, what its icon and tooltip say, its menu (the window's own commands),
// and closing the window during a run. The offscreen platform has no tray at all, so the test
// runs on an X server of its own (Xvfb) where one is installed; Qt's tray takes the session
// bus the environment names, so the bus is set before the application starts.
#include "common/private_bus.h"
#include "window_fixture.h"

#include "session/ini_file.h"
#include "ui/tray_indicator.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFileInfo>
#include <QMenu>
#include <QMutex>
#include <QProcess>
#include <QSemaphore>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QThread>
#include <QToolButton>

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItem = QStringLiteral("org.kde.StatusNotifierItem");

using testbus::PrivateBus;

// An X server on a free display, without a tray of its own: the tray is the watcher's.
struct XServer {
    QProcess server;
    QString display;
    XServer()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return;
        server.setStandardErrorFile(QProcess::nullDevice());
        server.start(xvfb, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
        if (server.waitForStarted() && server.waitForReadyRead(10000))
            display = QLatin1Char(':') + QString::fromLatin1(server.readLine()).trimmed();
    }
    ~XServer()
    {
        server.terminate();
        if (!server.waitForFinished(5000)) {
            server.kill();
            server.waitForFinished();
        }
    }
};

}  // namespace

// The desktop's side of the tray: it takes the items' registrations and says a host shows them.
class FakeWatcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    QStringList registeredItems() const
    {
        const QMutexLocker lock(&m_lock);
        return m_items;
    }
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString &item)
    {
        // A path alone names an item at the caller's own name.
        const QString named = item.startsWith(QLatin1Char('/')) ? message().service() : item;
        {
            const QMutexLocker lock(&m_lock);
            m_items << named;
        }
        emit StatusNotifierItemRegistered(named);
    }
    void RegisterStatusNotifierHost(const QString &) { emit StatusNotifierHostRegistered(); }

signals:
    void StatusNotifierItemRegistered(const QString &item);
    void StatusNotifierItemUnregistered(const QString &item);
    void StatusNotifierHostRegistered();

private:
    mutable QMutex m_lock;
    QStringList m_items;
};

// The watcher answers on a thread of its own: Qt's tray asks it with calls that wait.
class WatcherThread : public QThread {
public:
    explicit WatcherThread(QString address) : m_address(std::move(address)) {}
    FakeWatcher *watcher = nullptr;
    bool registered = false;

    void startAndWait()
    {
        start();
        m_ready.acquire();
    }

protected:
    void run() override
    {
        FakeWatcher fake;
        {
            QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("fakeWatcher"));
            registered = bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &fake,
                                            QDBusConnection::ExportAllContents)
                         && bus.registerService(kWatcher);
        }
        watcher = &fake;
        m_ready.release();
        exec();
        watcher = nullptr;
        QDBusConnection::disconnectFromBus(QStringLiteral("fakeWatcher"));
    }

private:
    QString m_address;
    QSemaphore m_ready;
};

class TestTrayIndicator : public QObject {
    Q_OBJECT

public:
    explicit TestTrayIndicator(QString busAddress) : m_address(std::move(busAddress)), m_watcher(m_address) {}

private:
    QString m_address;
    WatcherThread m_watcher;
    QDBusConnection m_probe{QString()};   // the desktop's host, reading the items

    static bool trayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }
    int itemCount() const { return m_watcher.watcher->registeredItems().size(); }

    // The window on the fake engine; its tray's item once the watcher has it.
    QString startWithItem(WindowFixture &w)
    {
        const int before = itemCount();
        w.start();
        if (!QTest::qWaitFor([&] { return itemCount() > before; }, 5000))
            return {};
        return m_watcher.watcher->registeredItems().constLast();
    }

    // An item's property as the host reads it (the call is answered while the test waits).
    QVariant itemProperty(const QString &item, const QString &name)
    {
        QDBusMessage get = QDBusMessage::createMethodCall(item, QStringLiteral("/StatusNotifierItem"),
                                                          QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
        get << kItem << name;
        QDBusPendingCall call = m_probe.asyncCall(get);
        if (!QTest::qWaitFor([&] { return call.isFinished(); }, 5000) || call.isError())
            return {};
        return call.reply().arguments().value(0).value<QDBusVariant>().variant();
    }
    // The tooltip the host shows: its title and text.
    QString busToolTip(const QString &item)
    {
        const QDBusArgument tip = itemProperty(item, QStringLiteral("ToolTip")).value<QDBusArgument>();
        QString iconName, title, text;
        tip.beginStructure();
        tip >> iconName;
        tip.beginArray();
        while (!tip.atEnd()) {
            int width = 0, height = 0;
            QByteArray data;
            tip.beginStructure();
            tip >> width >> height >> data;
            tip.endStructure();
        }
        tip.endArray();
        tip >> title >> text;
        tip.endStructure();
        return (title + QLatin1Char('\n') + text).trimmed();
    }
    // The colour in the middle of the largest icon the host is given (ARGB, network order).
    QColor busIconCentre(const QString &item)
    {
        const QDBusArgument pixmaps = itemProperty(item, QStringLiteral("IconPixmap")).value<QDBusArgument>();
        int bestWidth = 0, bestHeight = 0;
        QByteArray best;
        pixmaps.beginArray();
        while (!pixmaps.atEnd()) {
            int width = 0, height = 0;
            QByteArray data;
            pixmaps.beginStructure();
            pixmaps >> width >> height >> data;
            pixmaps.endStructure();
            if (width > bestWidth && data.size() == width * height * 4) {
                bestWidth = width;
                bestHeight = height;
                best = data;
            }
        }
        pixmaps.endArray();
        if (best.isEmpty())
            return {};
        const int at = ((bestHeight / 2) * bestWidth + bestWidth / 2) * 4;
        return QColor(quint8(best[at + 1]), quint8(best[at + 2]), quint8(best[at + 3]), quint8(best[at]));
    }
    bool activate(const QString &item)
    {
        QDBusMessage click = QDBusMessage::createMethodCall(item, QStringLiteral("/StatusNotifierItem"), kItem,
                                                            QStringLiteral("Activate"));
        click << 10 << 10;
        QDBusPendingCall call = m_probe.asyncCall(click);
        return QTest::qWaitFor([&] { return call.isFinished(); }, 5000) && !call.isError();
    }

    static void blocks(WindowFixture &w, int count)
    {
        for (int i = 0; i < count && w.recorder()->isRunning(); ++i) {
            w.recorder()->emitBlock();
            w.recording().flush();
        }
    }
    static qint64 sizeOf(const QString &path) { return QFileInfo(path).size(); }

private slots:
    void initTestCase()
    {
        QVERIFY2(!m_address.isEmpty(), "dbus-daemon did not start");
        m_watcher.startAndWait();
        QVERIFY(m_watcher.registered);
        m_probe = QDBusConnection::connectToBus(m_address, QStringLiteral("probe"));
        QVERIFY(m_probe.isConnected());
        qInfo("platform %s, tray %s", qPrintable(QGuiApplication::platformName()),
              trayAvailable() ? "available" : "not available");
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("probe"));
        m_watcher.quit();
        m_watcher.wait();
    }

    // From start-up the item is with the watcher, and its menu holds the window's own
    // commands: enabled as the window's are, Show/Hide following the window, a click on the
    // icon toggling it.
    void itemAndMenu()
    {
        if (!trayAvailable())
            QSKIP("this platform has no tray");
        WindowFixture w;
        const QString item = startWithItem(w);
        QVERIFY2(!item.isEmpty(), "no item was registered with the watcher");
        TrayIndicator *tray = w.window->trayIndicator();
        QVERIFY(tray && tray->isVisible() && tray->isPresent());
        QCOMPARE(busToolTip(item), QString("Stop"));

        QList<QAction *> commands = tray->menu()->actions();
        commands.removeIf([](QAction *a) { return a->isSeparator(); });
        QCOMPARE(commands, QList<QAction *>({w.action("recordAction"), w.action("pauseAction"),
                                             w.action("stopAction"), w.action("addMarkerAction"),
                                             tray->showHideAction(), tray->quitAction()}));
        auto *markerButton = w.find<QToolButton>("markerButton");
        QVERIFY(!commands[3]->isEnabled() && !markerButton->isEnabled());
        commands[0]->trigger();   // Record, from the tray
        QCOMPARE(w.recording().state(), RecordingSession::State::Recording);
        QVERIFY(commands[3]->isEnabled() && markerButton->isEnabled());

        QCOMPARE(tray->showHideAction()->text(), QString("&Hide Window"));
        tray->showHideAction()->trigger();
        QVERIFY(!w.window->isVisible());
        QCOMPARE(tray->showHideAction()->text(), QString("&Show Window"));
        QVERIFY(activate(item));   // the host's click
        QTRY_VERIFY(w.window->isVisible());
        QCOMPARE(tray->showHideAction()->text(), QString("&Hide Window"));
        QVERIFY(activate(item));
        QTRY_VERIFY(!w.window->isVisible());
        QVERIFY(w.recording().isActive());
        QCOMPARE(w.errors(), QStringList());
    }

    // The icon and the tooltip (state words, time, file) say what runs, to the host too.
    void showsWhatRuns_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<TrayIndicator::State>("state");
        QTest::addColumn<QString>("words");
        QTest::newRow("idle") << "idle" << TrayIndicator::State::Idle << "Stop";
        QTest::newRow("recording") << "record" << TrayIndicator::State::Recording << "Recording...";
        QTest::newRow("paused") << "pause" << TrayIndicator::State::Paused << "Pause";
        QTest::newRow("waiting for sound") << "sound" << TrayIndicator::State::Waiting << "Waiting for sound...";
        QTest::newRow("playing") << "play" << TrayIndicator::State::Playing << "Playing...";
    }
    void showsWhatRuns()
    {
        QFETCH(QString, how);
        QFETCH(TrayIndicator::State, state);
        QFETCH(QString, words);
        WindowFixture w;
        const QString item = trayAvailable() ? startWithItem(w) : (w.start(), QString());
        TrayIndicator *tray = w.window->trayIndicator();
        if (how == "sound")
            w.changeSettings([](RecordingSettings &s) { s.triggerOn = true; });
        if (how == "play") {
            w.engine.addFile(w.path("song.wav"), 44100 * 10);
            w.files().setCurrentFile(w.path("song.wav"));
            w.window->play();
        } else if (how != "idle") {
            w.window->record();
        }
        if (how == "pause")
            w.window->pause();
        QCOMPARE(tray->state(), state);
        QVERIFY(tray->icon().pixmap(22).toImage() == TrayIndicator::iconFor(state).pixmap(22).toImage());
        const QString file = QFileInfo(w.core->currentFile()).fileName();
        QCOMPARE(tray->toolTip().section('\n', 1), file);
        QVERIFY2(tray->toolTip().startsWith(words), qPrintable(tray->toolTip()));
        if (how == "record") {
            QVERIFY(!file.isEmpty());
            // The time follows, once a second.
            w.recorder()->emitTimer(qint64(w.recorder()->sampleRate()) * 65);
            QTRY_COMPARE(tray->toolTip(), "Recording...  00:01:05\n" + file);
        }
        if (item.isEmpty())
            return;
        QTRY_VERIFY2(busToolTip(item).startsWith(words), qPrintable(busToolTip(item)));
        const QColor centre = busIconCentre(item);
        const bool red = centre.red() > 180 && centre.green() < 90 && centre.blue() < 90;
        QVERIFY2(red == (state == TrayIndicator::State::Recording), qPrintable(centre.name()));
    }

    // Closing the window during a run, with the tray there and the option on, leaves it
    // behind the tray and the run going on; the tray's Quit asks first. Otherwise closing ends
    // the program as before, and SIGTERM (quitNow) never asks.
    void closing_data()
    {
        QTest::addColumn<bool>("run");
        QTest::addColumn<bool>("option");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("close during a run") << true << true << true << "close" << "behind the tray";
        QTest::newRow("close, option off") << true << false << true << "close" << "ended";
        QTest::newRow("close, icon taken away") << true << true << false << "close" << "ended";
        QTest::newRow("close without a run") << false << true << true << "close" << "ended";
        QTest::newRow("File / Exit during a run") << true << true << true << "exit" << "asked";
        QTest::newRow("terminated during a run") << true << true << true << "terminate" << "ended";
    }
    void closing()
    {
        QFETCH(bool, run);
        QFETCH(bool, option);
        QFETCH(bool, icon);
        QFETCH(QString, how);
        QFETCH(QString, outcome);
        if (outcome != "ended" && !trayAvailable())
            QSKIP("this platform has no tray");
        WindowFixture w;
        w.start();
        TrayIndicator *tray = w.window->trayIndicator();
        if (!option)
            w.core->settings().storeClosesToTray(false);
        tray->setVisible(icon);
        if (run) {
            w.window->record();
            blocks(w, 2);
        }
        const QString part = w.recording().partPath();
        w.recorder()->SetMixLevels(55, 20);   // kept when the program ends
        const auto ended = [&] {
            QVERIFY(!w.window->isVisible());
            QVERIFY(!w.recording().isActive());
            QCOMPARE(IniFile(w.path("setup.ini")).readInteger("mix", "mic", -1), 55);
            if (run)
                QVERIFY(w.engine.log.indexOf("writer.Close()") >= 0);
        };

        if (how == "close")
            QCOMPARE(w.window->close(), outcome == "ended");
        else if (how == "exit") {
            w.answers = {false};   // "Stop and quit"
            w.trigger("exitAction");
        } else
            w.window->quitNow();

        if (outcome == "ended") {
            ended();
            QCOMPARE(w.boxes.size(), 0);
            return;
        }
        if (outcome == "asked") {
            ended();
            QCOMPARE(w.boxes.size(), 1);
            QCOMPARE(w.boxes[0].kind, ui::BoxKind::Question);
            return;
        }
        // Behind the tray: the run goes on and the file grows.
        QVERIFY(!w.window->isVisible());
        QVERIFY(w.recording().isActive());
        QCOMPARE(tray->showHideAction()->text(), QString("&Show Window"));
        const qint64 before = sizeOf(part);
        blocks(w, 5);
        QVERIFY2(sizeOf(part) > before, qPrintable(QString::number(sizeOf(part))));
        QCOMPARE(w.boxes.size(), 0);
        // Quit asks; the first answer keeps the run, "Stop and quit" ends it and the program.
        w.answers = {true};
        tray->quitAction()->trigger();
        QCOMPARE(w.boxes.size(), 1);
        QCOMPARE(w.boxes[0].kind, ui::BoxKind::Question);
        QVERIFY(w.recording().isActive());
        QCOMPARE(IniFile(w.path("setup.ini")).readInteger("mix", "mic", -1), -1);
        w.answers = {false};
        tray->quitAction()->trigger();
        QCOMPARE(w.boxes.size(), 2);
        ended();
        QCOMPARE(w.errors(), QStringList());
    }
};

int main(int argc, char *argv[])
{
    // The bus and the display before the application, which takes them from the environment.
    PrivateBus bus;
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address.toLocal8Bit());
    std::unique_ptr<XServer> x;
    if (qgetenv("QT_QPA_PLATFORM") != "xcb") {
        x = std::make_unique<XServer>();
        if (!x->display.isEmpty()) {
            qputenv("DISPLAY", x->display.toLocal8Bit());
            qputenv("QT_QPA_PLATFORM", "xcb");
        }
    }
    int status = 0;
    {
        QApplication app(argc, argv);
        app.setAttribute(Qt::AA_Use96Dpi, true);
        TestTrayIndicator test(bus.address);
        QTEST_SET_MAIN_SOURCE_PATH
        status = QTest::qExec(&test, argc, argv);
    }
    return status;
}

#include "tst_tray_indicator.moc"
