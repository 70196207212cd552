// Global shortcuts through a fake desktop portal on a private session bus: what the program
// binds, the keys the Options dialog shows, the window's commands the shortcuts run, changing
// the keys (version 1: bound again; version 2: the desktop's own dialog), and a desktop
// without the portal, where the Options dialog says what to do instead.
#include "common/private_bus.h"
#include "window_fixture.h"
#include "session/recording_session.h"
#include "session/session_fixture.h"
#include "ui/global_shortcuts.h"
#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTimer>

namespace {

using testbus::PrivateBus;

struct Shortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &a, const Shortcut &s)
{
    a.beginStructure();
    a << s.id << s.properties;
    a.endStructure();
    return a;
}

const QDBusArgument &operator>>(const QDBusArgument &a, Shortcut &s)
{
    a.beginStructure();
    a >> s.id >> s.properties;
    a.endStructure();
    return a;
}

}  // namespace

Q_DECLARE_METATYPE(Shortcut)
Q_DECLARE_METATYPE(QList<Shortcut>)

namespace {

const QString kPortalPath = "/org/freedesktop/portal/desktop";
const QString kInterface = "org.freedesktop.portal.GlobalShortcuts";

// The portal's global shortcuts as a desktop gives them: every request is answered at once
// through its Response signal, and the bound keys are the ones asked for unless the test
// chose others.
class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)

public:
    FakePortal(QDBusConnection bus, uint version) : m_bus(std::move(bus)), m_version(version) {}
    uint version() const { return m_version; }

    QStringList calls;                  // the methods called, in order
    QStringList sessions;               // the sessions made
    QList<Shortcut> bound;              // what the last BindShortcuts asked for
    QHash<QString, QString> chosen;     // keys the user chose instead of those asked for

    void activate(const QString &id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(kPortalPath, kInterface, "Activated");
        signal << QVariant::fromValue(QDBusObjectPath(sessions.last())) << id << qulonglong(1234) << QVariantMap();
        m_bus.send(signal);
    }

public slots:
    QDBusObjectPath CreateSession(const QVariantMap &options)
    {
        calls << "CreateSession";
        sessions << QString("/org/freedesktop/portal/desktop/session/%1/%2")
                        .arg(sender(), options.value("session_handle_token").toString());
        // The session handle comes as a string, as the portal gives it.
        return respond(options, {{"session_handle", sessions.last()}});
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath &session, const QList<Shortcut> &shortcuts, const QString &,
                                  const QVariantMap &options)
    {
        calls << "BindShortcuts";
        if (session.path() == sessions.last())
            bound = shortcuts;
        return respond(options, {{"shortcuts", QVariant::fromValue(boundKeys())}});
    }
    QDBusObjectPath ListShortcuts(const QDBusObjectPath &, const QVariantMap &options)
    {
        calls << "ListShortcuts";
        return respond(options, {{"shortcuts", QVariant::fromValue(boundKeys())}});
    }
    void ConfigureShortcuts(const QDBusObjectPath &session, const QString &, const QVariantMap &)
    {
        calls << "ConfigureShortcuts";
        QDBusMessage signal = QDBusMessage::createSignal(kPortalPath, kInterface, "ShortcutsChanged");
        signal << QVariant::fromValue(session) << QVariant::fromValue(boundKeys());
        QTimer::singleShot(0, this, [this, signal] { m_bus.send(signal); });
    }

private:
    QString sender() const { return message().service().mid(1).replace('.', '_'); }

    QList<Shortcut> boundKeys() const
    {
        QList<Shortcut> out;
        for (const Shortcut &s : bound)
            out.append({s.id,
                        {{"description", s.properties.value("description")},
                         {"trigger_description", chosen.value(s.id, s.properties.value("preferred_trigger").toString())}}});
        return out;
    }

    // The request's object path, and its Response once the call is answered.
    QDBusObjectPath respond(const QVariantMap &options, const QVariantMap &results)
    {
        const QString path = QString("/org/freedesktop/portal/desktop/request/%1/%2")
                                 .arg(sender(), options.value("handle_token").toString());
        QDBusMessage response = QDBusMessage::createSignal(path, "org.freedesktop.portal.Request", "Response");
        response << uint(0) << results;
        QTimer::singleShot(0, this, [this, response] { m_bus.send(response); });
        return QDBusObjectPath(path);
    }

    QDBusConnection m_bus;
    uint m_version;
};

// The keys the dialog shows, row by row.
QStringList shownKeys(OptionsDialog &d)
{
    QStringList out;
    for (const char *name : {"recordPauseKeys", "stopKeys", "addMarkerKeys"})
        out << d.findChild<QLabel *>(name)->text();
    return out;
}

}  // namespace

class TestGlobalShortcuts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qDBusRegisterMetaType<Shortcut>();
        qDBusRegisterMetaType<QList<Shortcut>>();
    }

    void shortcutsRunTheWindowsCommands_data()
    {
        QTest::addColumn<uint>("version");
        QTest::addColumn<QString>("changeCall");
        QTest::newRow("version 1") << 1u << "BindShortcuts";
        QTest::newRow("version 2") << 2u << "ConfigureShortcuts";
    }
    void shortcutsRunTheWindowsCommands()
    {
        QFETCH(uint, version);
        QFETCH(QString, changeCall);
        PrivateBus bus;
        QVERIFY(!bus.address.isEmpty());
        QDBusConnection portalBus = QDBusConnection::connectToBus(bus.address, QString("portal%1").arg(version));
        QDBusConnection programBus = QDBusConnection::connectToBus(bus.address, QString("program%1").arg(version));
        const auto disconnect = qScopeGuard([&] {
            QDBusConnection::disconnectFromBus(portalBus.name());
            QDBusConnection::disconnectFromBus(programBus.name());
        });
        FakePortal portal(portalBus, version);
        QVERIFY(portalBus.registerObject(kPortalPath, &portal, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
        QVERIFY(portalBus.registerService("org.freedesktop.portal.Desktop"));

        WindowFixture w;
        w.start();
        w.changeSettings([&](RecordingSettings &s) {
            s.savePath = w.path("rec/");
            s.saveFormat = ".wav";
        });
        GlobalShortcuts shortcuts(*w.window, programBus);
        shortcuts.start();
        QTRY_VERIFY(shortcuts.available());

        // The three are bound with their names and the keys asked for, and the dialog shows
        // the keys bound.
        QTRY_COMPARE(shortcuts.keys("add-marker"), QString("CTRL+ALT+M"));
        QStringList asked;
        for (const Shortcut &s : portal.bound)
            asked << s.id + "=" + s.properties.value("description").toString() + "="
                         + s.properties.value("preferred_trigger").toString();
        QCOMPARE(asked, QStringList({"record-pause=Record or pause=CTRL+ALT+R", "stop=Stop recording=CTRL+ALT+S",
                                     "add-marker=Add a marker=CTRL+ALT+M"}));
        OptionsDialog options(*w.core, w.window.get());
        options.setGlobalShortcuts(&shortcuts);
        QCOMPARE(shownKeys(options), QStringList({"CTRL+ALT+R", "CTRL+ALT+S", "CTRL+ALT+M"}));
        QVERIFY(!options.findChild<QLabel *>("shortcutsMissing")->isVisibleTo(&options));

        // Change…: the portal's way for its version, and the keys chosen show.
        portal.chosen.insert("stop", "Ctrl+Shift+F12");
        options.findChild<QPushButton *>("changeShortcutsButton")->click();
        QTRY_COMPARE(shownKeys(options), QStringList({"CTRL+ALT+R", "Ctrl+Shift+F12", "CTRL+ALT+M"}));
        QVERIFY(portal.calls.count(changeCall) >= (version == 1 ? 2 : 1));

        // Record, pause, go on, a marker, stop: as the window's buttons do them.
        RecordingClock clock(w.engine, [&] { w.recording().flush(); });
        portal.activate("record-pause");
        QTRY_COMPARE(w.recording().state(), RecordingSession::State::Recording);
        const QString file = w.core->currentFile();
        clock.run(1.0);
        portal.activate("record-pause");
        QTRY_COMPARE(w.recording().state(), RecordingSession::State::Paused);
        portal.activate("record-pause");
        QTRY_COMPARE(w.recording().state(), RecordingSession::State::Recording);
        clock.run(1.0);
        portal.activate("add-marker");
        QTRY_COMPARE(w.window->statusBar()->currentMessage().left(8), QString("Marker 1"));
        portal.activate("stop");
        QTRY_COMPARE(w.recording().state(), RecordingSession::State::Idle);
        w.recording().flush();
        QVERIFY(QFileInfo(file).isFile());
        QVERIFY(w.engine.files.value(file).frames > 0);
        QCOMPARE(w.engine.files.value(file).markers.size(), size_t(1));
        QVERIFY(w.errors().isEmpty());
    }

    void withoutThePortalNothingHappens()
    {
        PrivateBus bus;
        QVERIFY(!bus.address.isEmpty());
        QDBusConnection programBus = QDBusConnection::connectToBus(bus.address, "lonely");
        const auto disconnect = qScopeGuard([&] { QDBusConnection::disconnectFromBus(programBus.name()); });
        WindowFixture w;
        w.start();
        GlobalShortcuts shortcuts(*w.window, programBus);
        int changes = 0;
        connect(&shortcuts, &GlobalShortcuts::changed, [&] { ++changes; });
        shortcuts.start();
        QTest::qWait(300);
        QVERIFY(!shortcuts.available());
        QCOMPARE(changes, 0);
        shortcuts.change();   // nothing to change: nothing happens
        const QString missing =
            "Global shortcuts are not available on this desktop. The desktop's own keyboard settings can run "
            "“tavrin-sound-recorder --remote record”, “--remote stop” or “--remote marker” instead.";
        // The dialog says what to do instead; its switches for the background are stored on OK.
        QPointer<OptionsDialog> options = new OptionsDialog(*w.core, w.window.get());
        options->setGlobalShortcuts(&shortcuts);
        options->show();
        QVERIFY(QTest::qWaitForWindowExposed(options));
        auto *label = options->findChild<QLabel *>("shortcutsMissing");
        QVERIFY(label->isVisible() && label->wordWrap());
        QCOMPARE(label->text(), missing);
        QVERIFY(options->rect().contains(QRect(label->mapTo(options, QPoint(0, 0)), label->size())));
        QVERIFY(!options->findChild<QPushButton *>("changeShortcutsButton")->isVisible());
        auto *tray = options->findChild<QCheckBox *>("trayBox");
        auto *notify = options->findChild<QCheckBox *>("notifyBox");
        QVERIFY(tray->isChecked() && notify->isChecked());
        tray->click();
        notify->click();
        options->findChild<QPushButton *>("okButton")->click();
        QTRY_VERIFY(!options);
        QVERIFY(!w.core->settings().closesToTray() && !w.core->settings().notifies());
        QVERIFY(w.errors().isEmpty() && w.boxes.isEmpty());
    }
};

QTEST_MAIN(TestGlobalShortcuts)
#include "tst_global_shortcuts.moc"
