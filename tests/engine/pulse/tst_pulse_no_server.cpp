// Without any reachable sound server nothing breaks: counts are -1, Start and Play report
// an error code, reads are neutral, and the values the program keeps stay kept.
#include "engine/pulse/pulse_player.h"
#include "engine/pulse/pulse_recorder.h"
#include "engine/pulse/error_codes.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using engine::PulsePlayer;
using engine::PulseRecorder;

class TestPulseNoServer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The suite points PULSE_SERVER at a socket that does not exist.
        QVERIFY(qEnvironmentVariable("PULSE_SERVER").contains(QStringLiteral("nonexistent")));
    }

    void recorderFailsQuietly()
    {
        PulseRecorder rec;
        QCOMPARE(rec.GetDeviceCount(), short(-1));
        rec.SetDevice(rec.GetDevice());
        QVERIFY(!rec.GetDeviceAvailable());
        QCOMPARE(rec.GetDeviceName(), QString());
        QCOMPARE(rec.GetLineCount(), short(-1));
        rec.SetLine(0);
        QCOMPARE(rec.GetLineName(), QString());
        QCOMPARE(rec.GetLineVolume(), 0);
        QCOMPARE(rec.GetLineBalance(), short(50));
        QVERIFY(!rec.GetLineSelectAvailable());
        QCOMPARE(rec.GetAdvancedCount(), short(-1));
        rec.SetLineVolume(1000);
        rec.SetLineBalance(10);
        rec.SetLineSelected(true);
        rec.SetAdvancedValue(0, QVariant(true));

        QSignalSpy ticks(&rec, &PulseRecorder::OnTimer);
        rec.SetFormat(2, 44100);
        rec.SetArraySize(rec.CalcArraySize(200));
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), int(engine::pulse::kNoServer));
        QVERIFY(!rec.GetErrorText().isEmpty());
        QTest::qWait(150);
        QCOMPARE(ticks.count(), 0);
        rec.Stop();
        QVERIFY(rec.GetArray().isEmpty());
        // The spectrum view still gets what it asks for: silence.
        const engine::SampleArray snap = rec.GetSnapshotArray(512);
        QCOMPARE(snap.frames(), qint64(512));
        for (float v : snap.toFloat())
            QCOMPARE(v, 0.0f);
    }

    void playerFailsQuietlyAndKeepsItsLine()
    {
        PulsePlayer player;
        QCOMPARE(player.GetDeviceCount(), short(-1));
        QVERIFY(!player.GetDeviceAvailable());
        QCOMPARE(player.GetLineCount(), short(-1));
        player.SetVolume(35);
        QCOMPARE(player.GetVolume(), 35);
        player.SetLine(1);
        player.SetLineMute(true);
        QCOMPARE(player.GetLineMute(), true);
        QCOMPARE(player.GetLineName(), QStringLiteral("Tavrin Sound Recorder"));
        player.SetLine(0);
        QCOMPARE(player.GetLineMute(), false);
        player.SetLineMute(true);

        QSignalSpy ended(&player, &PulsePlayer::OnEndPlay);
        player.SetFormat(2, 44100);
        player.Play();
        QCOMPARE(player.GetErrorCode(), int(engine::pulse::kNoServer));
        player.LoadArray(engine::SampleArray::fromFloat(std::vector<float>(882, 0.1f), 44100, 2));
        player.LoadArray(engine::SampleArray());
        QTest::qWait(150);
        QCOMPARE(ended.count(), 0);
        QCOMPARE(player.GetCurrentSamples(), qint64(0));
        QCOMPARE(player.GetSnapshotArray(64).frames(), qint64(64));
        player.Stop();
    }

    void retriesAreCheap()
    {
        // The program asks many questions in a row while it builds its panels.
        PulsePlayer player;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 200; ++i) {
            player.SetDevice(0);
            player.GetDeviceAvailable();
            player.GetDeviceName();
        }
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
    }

    void badFormatsAreRefused_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::newRow("no channels") << 0 << 44100;
        QTest::newRow("nine channels") << 9 << 44100;
        QTest::newRow("no rate") << 2 << 0;
    }
    void badFormatsAreRefused()
    {
        QFETCH(int, channels);
        QFETCH(int, rate);
        PulseRecorder rec;
        PulsePlayer player;
        QVERIFY_THROWS_EXCEPTION(engine::EngineError, rec.SetFormat(channels, rate));
        QVERIFY_THROWS_EXCEPTION(engine::EngineError, player.SetFormat(channels, rate));
        // The format in force stays.
        QCOMPARE(rec.CalcArraySize(200), qint64(8820));
        QCOMPARE(player.SamplesToMs(44100), qint64(1000));
    }

    void blockSizesAndTimes_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<qint64>("frames200ms");
        QTest::addColumn<qint64>("msOf12345");
        QTest::newRow("8 kHz") << 8000 << qint64(1600) << qint64(1543);
        QTest::newRow("22.05 kHz") << 22050 << qint64(4410) << qint64(560);
        QTest::newRow("44.1 kHz") << 44100 << qint64(8820) << qint64(280);
        QTest::newRow("48 kHz") << 48000 << qint64(9600) << qint64(257);
    }
    void blockSizesAndTimes()
    {
        QFETCH(int, rate);
        QFETCH(qint64, frames200ms);
        QFETCH(qint64, msOf12345);
        PulseRecorder rec;
        PulsePlayer player;
        rec.SetFormat(1, rate);
        player.SetFormat(2, rate);
        QCOMPARE(rec.CalcArraySize(200), frames200ms);
        QCOMPARE(player.CalcArraySize(200), frames200ms);
        QCOMPARE(rec.SamplesToMs(12345), msOf12345);
        QCOMPARE(player.SamplesToMs(12345), msOf12345);
    }

    void filterSettingsAreKept()
    {
        PulseRecorder rec;
        rec.SetNotchEnabled(true);
        rec.SetNotchFrequency(60);
        rec.SetHighPassFrequency(44100);
        rec.SetLowPassEnabled(true);
        QCOMPARE(rec.GetNotchEnabled(), true);
        QCOMPARE(rec.GetNotchFrequency(), 60.0f);
        QCOMPARE(rec.GetHighPassEnabled(), false);
        QCOMPARE(rec.GetHighPassFrequency(), 44100.0f);
        QCOMPARE(rec.GetLowPassEnabled(), true);
        QCOMPARE(rec.GetLowPassFrequency(), 4000.0f);
    }
};

QTEST_GUILESS_MAIN(TestPulseNoServer)
#include "tst_pulse_no_server.moc"
