// Devices and mixer lines written through the engine and read back with pactl (and the
// other way round), on the private server.
#include "engine/pulse/pulse_player.h"
#include "engine/pulse/pulse_recorder.h"
#include "engine/pulse/mixer_scale.h"
#include "pulse_test_util.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

using engine::PulsePlayer;
using engine::PulseRecorder;
using pulsetest::pactl;
using pulsetest::pactlJson;

namespace {
const QString kSink = QStringLiteral("tavrin_null");
const QString kMonitor = QStringLiteral("tavrin_null.monitor");

QJsonObject sinkNamed(const QString &name)
{
    return pulsetest::findByName(pactlJson({QStringLiteral("list"), QStringLiteral("sinks")}), name);
}

QJsonObject sourceNamed(const QString &name)
{
    return pulsetest::findByName(pactlJson({QStringLiteral("list"), QStringLiteral("sources")}),
                                 name);
}

// The sink input of this process's player (application.name), or an empty object.
QJsonObject sinkInputOf(const QString &application)
{
    for (const QJsonValue &v : pactlJson({QStringLiteral("list"), QStringLiteral("sink-inputs")})) {
        const QJsonObject o = v.toObject();
        if (o.value(QStringLiteral("properties")).toObject().value(QStringLiteral("application.name")).toString() ==
            application)
            return o;
    }
    return {};
}

// Index of the device with that display name on one side, available or not; -1 when not listed.
template <typename Side>
int listedDeviceNamed(Side &side, const QString &description)
{
    const short count = side.GetDeviceCount();
    for (short i = 0; i <= count; ++i) {
        side.SetDevice(i);
        if (side.GetDeviceName() == description)
            return i;
    }
    return -1;
}

}  // namespace

class TestPulseMixer : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        // Every case starts from a plain sink and source.
        pactl({QStringLiteral("set-sink-volume"), kSink, QStringLiteral("100%")});
        pactl({QStringLiteral("set-sink-mute"), kSink, QStringLiteral("0")});
        pactl({QStringLiteral("set-source-volume"), kMonitor, QStringLiteral("100%")});
        pactl({QStringLiteral("set-source-mute"), kMonitor, QStringLiteral("0")});
    }

    void deviceListsMatchTheServer()
    {
        PulsePlayer player;
        PulseRecorder rec;
        const QJsonArray sinks = pactlJson({QStringLiteral("list"), QStringLiteral("sinks")});
        const QJsonArray sources = pactlJson({QStringLiteral("list"), QStringLiteral("sources")});
        const QJsonArray playing = pactlJson({QStringLiteral("list"), QStringLiteral("sink-inputs")});
        // The server's defaults are the current devices at start.
        QCOMPARE(player.GetDevice(), short(0));
        QCOMPARE(rec.GetDevice(), short(0));
        QCOMPARE(player.GetDeviceCount(), short(sinks.size() - 1));
        // The recorder's list: the sources, an entry per playing application, the mix.
        QCOMPARE(rec.GetDeviceCount(), short(sources.size() + playing.size()));
        for (int i = 0; i < sinks.size(); ++i) {
            player.SetDevice(short(i));
            QVERIFY(player.GetDeviceAvailable());
            QCOMPARE(player.GetDeviceName(),
                     sinks[i].toObject().value(QStringLiteral("description")).toString());
        }
        for (int i = 0; i < sources.size(); ++i) {
            rec.SetDevice(short(i));
            QVERIFY(rec.GetDeviceAvailable());
            QCOMPARE(rec.GetDeviceName(),
                     sources[i].toObject().value(QStringLiteral("description")).toString());
        }
        rec.SetDevice(0);
        QCOMPARE(rec.GetDeviceName(), QStringLiteral("Monitor of Null Output"));
        rec.SetDevice(short(sources.size() + playing.size()));
        QVERIFY(rec.GetDeviceAvailable());
        QCOMPARE(rec.GetDeviceName(), QStringLiteral("Microphone + computer sound"));
        // Past the end: nothing there, and nothing breaks.
        player.SetDevice(short(sinks.size()));
        QVERIFY(!player.GetDeviceAvailable());
        QCOMPARE(player.GetDeviceName(), QString());
        QCOMPARE(player.GetLineCount(), short(-1));
    }

    void secondSinkKeepsItsIndex()
    {
        PulsePlayer player;
        PulseRecorder rec;
        QCOMPARE(player.GetDeviceCount(), short(0));
        testaudio::NullSink extra(QStringLiteral("tavrin_second"), QStringLiteral("Second"));
        QCOMPARE(player.GetDeviceCount(), short(1));
        player.SetDevice(1);
        QVERIFY(player.GetDeviceAvailable());
        QCOMPARE(player.GetDeviceName(), QStringLiteral("Second"));
        QVERIFY(listedDeviceNamed(rec, QStringLiteral("Monitor of Second")) > 0);

        // Gone: still listed at its index, unavailable; back: the same index again.
        extra.unload();
        QCOMPARE(player.GetDeviceCount(), short(1));
        player.SetDevice(1);
        QVERIFY(!player.GetDeviceAvailable());
        player.SetDevice(0);
        QVERIFY(player.GetDeviceAvailable());
        QVERIFY(extra.load(QStringLiteral("tavrin_second"), QStringLiteral("Second")));
        QCOMPARE(player.GetDeviceCount(), short(1));
        player.SetDevice(1);
        QVERIFY(player.GetDeviceAvailable());
        QCOMPARE(player.GetDeviceName(), QStringLiteral("Second"));
    }

    void masterVolume_data()
    {
        QTest::addColumn<int>("volume");
        QTest::newRow("silent") << 0;
        QTest::newRow("quarter") << 16384;
        QTest::newRow("half") << 32768;
        QTest::newRow("full") << 65535;
    }
    void masterVolume()
    {
        QFETCH(int, volume);
        PulsePlayer player;
        QVERIFY(player.GetLineCount() >= 1);
        player.SetLine(0);
        QCOMPARE(player.GetLineName(), QStringLiteral("Master"));
        QVERIFY(player.GetLineVolumeAvailable());
        player.SetLineVolume(volume);
        const auto expected = qint64(engine::pulse::paVolumeFromLine(volume));
        QCOMPARE(pulsetest::channelVolumes(sinkNamed(kSink)), (std::vector<qint64>{expected, expected}));
        QCOMPARE(player.GetLineVolume(), volume);
    }

    void balanceBothSides_data()
    {
        QTest::addColumn<bool>("recorder");
        QTest::addColumn<int>("balance");
        QTest::newRow("sink left") << false << 25;
        QTest::newRow("sink right") << false << 100;
        QTest::newRow("source left") << true << 0;
        QTest::newRow("source right") << true << 75;
    }
    void balanceBothSides()
    {
        QFETCH(bool, recorder);
        QFETCH(int, balance);
        PulsePlayer player;
        PulseRecorder rec;
        engine::IMixerSide &side = recorder ? static_cast<engine::IMixerSide &>(rec)
                                            : static_cast<engine::IMixerSide &>(player);
        QVERIFY(side.GetLineCount() >= 0);
        side.SetLine(0);
        QVERIFY(side.GetLineBalanceAvailable());
        side.SetLineVolume(40000);
        side.SetLineBalance(short(balance));
        const QJsonObject o = recorder ? sourceNamed(kMonitor) : sinkNamed(kSink);
        const double serverBalance = o.value(QStringLiteral("balance")).toDouble();
        QVERIFY2(std::abs(serverBalance - (balance - 50) / 50.0) < 0.02,
                 qPrintable(QString::number(serverBalance)));
        QCOMPARE(side.GetLineBalance(), short(balance));
        // The louder side keeps the volume.
        const std::vector<qint64> v = pulsetest::channelVolumes(o);
        QCOMPARE(std::max(v[0], v[1]), qint64(engine::pulse::paVolumeFromLine(40000)));
        QCOMPARE(side.GetLineVolume(), 40000);
    }

    void masterMute()
    {
        PulsePlayer player;
        player.SetLine(0);
        QVERIFY(player.GetLineMuteAvailable());
        player.SetLineMute(true);
        QCOMPARE(sinkNamed(kSink).value(QStringLiteral("mute")).toBool(), true);
        QCOMPARE(player.GetLineMute(), true);
        player.SetLineMute(false);
        QCOMPARE(sinkNamed(kSink).value(QStringLiteral("mute")).toBool(), false);
    }

    void readsShowChangesMadeElsewhere()
    {
        PulsePlayer player;
        player.SetLine(0);
        pactl({QStringLiteral("set-sink-volume"), kSink, QStringLiteral("30%")});
        pactl({QStringLiteral("set-sink-mute"), kSink, QStringLiteral("1")});
        const qint64 raw = pulsetest::channelVolumes(sinkNamed(kSink)).at(0);
        QVERIFY(std::abs(raw - qint64(0.30 * PA_VOLUME_NORM)) <= 1);
        QCOMPARE(player.GetLineVolume(), engine::pulse::lineVolumeFromPa(pa_volume_t(raw)));
        QCOMPARE(player.GetLineMute(), true);
    }

    void sourceWithoutPortsIsOneCaptureLine()
    {
        PulseRecorder rec;
        rec.SetDevice(0);
        QCOMPARE(rec.GetLineCount(), short(0));
        rec.SetLine(0);
        QCOMPARE(rec.GetLineName(), QStringLiteral("Capture"));
        QVERIFY(!rec.GetLineSelectAvailable());
        QVERIFY(rec.GetLineSelected());
        QVERIFY(rec.GetLineVolumeAvailable());
        rec.SetLineVolume(20000);
        const auto expected = qint64(engine::pulse::paVolumeFromLine(20000));
        QCOMPARE(pulsetest::channelVolumes(sourceNamed(kMonitor)), (std::vector<qint64>{expected, expected}));
        // The source's mute is the line's advanced switch.
        QCOMPARE(rec.GetAdvancedCount(), short(0));
        QCOMPARE(rec.GetAdvancedName(0), QStringLiteral("Mute"));
        QCOMPARE(rec.srcAdvancedValue(0), QVariant(false));
        rec.SetAdvancedValue(0, QVariant(true));
        QCOMPARE(sourceNamed(kMonitor).value(QStringLiteral("mute")).toBool(), true);
        QCOMPARE(rec.srcAdvancedValue(0), QVariant(true));
        rec.SetAdvancedValue(0, QVariant(false));
        QCOMPARE(sourceNamed(kMonitor).value(QStringLiteral("mute")).toBool(), false);
    }

    void sinkWithoutPortsHasNoAdvancedControls()
    {
        PulsePlayer player;
        player.SetLine(0);
        QCOMPARE(player.GetAdvancedCount(), short(-1));
    }

    void ownStreamIsLineOneAndKeepsItsValues()
    {
        PulsePlayer player;
        player.SetFormat(2, 44100);
        // Set while nothing plays: kept, and applied when the stream starts.
        player.SetVolume(30);
        QCOMPARE(player.GetVolume(), 30);
        player.SetLine(1);
        QCOMPARE(player.GetLineName(), QStringLiteral("Tavrin Sound Recorder"));
        player.SetLineBalance(40);
        player.SetLineMute(true);
        QVERIFY(sinkInputOf(QStringLiteral("Tavrin Sound Recorder")).isEmpty());

        pulsetest::Feeder feed(&player, testaudio::tone(300, 4.0, 44100, 2, 0.1f), 44100, 2);
        player.Play();
        QCOMPARE(player.GetErrorCode(), 0);
        feed.start();
        QJsonObject input = sinkInputOf(QStringLiteral("Tavrin Sound Recorder"));
        QVERIFY(!input.isEmpty());
        const auto knob30 = qint64(engine::pulse::paVolumeFromLine(engine::pulse::lineVolumeFromKnob(30)));
        QCOMPARE(std::max(pulsetest::channelVolumes(input)[0], pulsetest::channelVolumes(input)[1]), knob30);
        QVERIFY(std::abs(input.value(QStringLiteral("balance")).toDouble() - (-0.2)) < 0.02);
        QCOMPARE(input.value(QStringLiteral("mute")).toBool(), true);

        // While playing, line 1 is that stream: written through, read back from the server.
        QVERIFY(player.GetLineCount() >= 1);
        player.SetLine(1);
        QCOMPARE(player.GetLineName(), QStringLiteral("Tavrin Sound Recorder"));
        player.SetLineMute(false);
        player.SetVolume(55);
        input = sinkInputOf(QStringLiteral("Tavrin Sound Recorder"));
        QCOMPARE(input.value(QStringLiteral("mute")).toBool(), false);
        const auto knob55 = qint64(engine::pulse::paVolumeFromLine(engine::pulse::lineVolumeFromKnob(55)));
        QCOMPARE(std::max(pulsetest::channelVolumes(input)[0], pulsetest::channelVolumes(input)[1]), knob55);
        // A change made by another mixer shows, and is kept after the stream ends.
        pactl({QStringLiteral("set-sink-input-volume"),
               QString::number(input.value(QStringLiteral("index")).toInt()), QStringLiteral("70%")});
        QCOMPARE(player.GetVolume(), 70);
        player.Stop();
        QVERIFY(sinkInputOf(QStringLiteral("Tavrin Sound Recorder")).isEmpty());
        QCOMPARE(player.GetVolume(), 70);
        player.SetLine(1);
        QCOMPARE(player.GetLineBalance(), short(50));   // 70 % on both channels is centred
    }

    void otherApplicationsAreFurtherLines()
    {
        QProcess other;
        other.start(QStringLiteral("pacat"), {QStringLiteral("--raw"), QStringLiteral("--client-name=ToneMaker"),
                                              QStringLiteral("--device=tavrin_null"), QStringLiteral("/dev/zero")});
        QVERIFY(other.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!sinkInputOf(QStringLiteral("ToneMaker")).isEmpty(), 5000);

        PulsePlayer player;
        player.SetDevice(0);
        const short lines = player.GetLineCount();
        QCOMPARE(lines, short(2));
        player.SetLine(2);
        QCOMPARE(player.GetLineName(), QStringLiteral("ToneMaker"));
        QVERIFY(player.GetLineVolumeAvailable());
        QVERIFY(player.GetLineMuteAvailable());
        QCOMPARE(player.GetAdvancedCount(), short(-1));
        player.SetLineVolume(32768);
        player.SetLineMute(true);
        const QJsonObject input = sinkInputOf(QStringLiteral("ToneMaker"));
        const auto expected = qint64(engine::pulse::paVolumeFromLine(32768));
        QCOMPARE(pulsetest::channelVolumes(input), (std::vector<qint64>{expected, expected}));
        QCOMPARE(input.value(QStringLiteral("mute")).toBool(), true);
        QCOMPARE(player.GetLineVolume(), 32768);
        QCOMPARE(player.GetLineMute(), true);

        // Once the application has gone its line reads neutral and takes writes quietly.
        other.kill();
        other.waitForFinished();
        QTRY_VERIFY_WITH_TIMEOUT(sinkInputOf(QStringLiteral("ToneMaker")).isEmpty(), 5000);
        player.SetLine(2);
        QCOMPARE(player.GetLineVolume(), 0);
        player.SetLineVolume(1000);
        QCOMPARE(player.GetLineCount(), short(1));
    }
};

QTEST_GUILESS_MAIN(TestPulseMixer)
#include "tst_pulse_mixer.moc"
