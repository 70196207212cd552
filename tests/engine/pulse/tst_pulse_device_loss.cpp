// A device that vanishes while it is used ends the work cleanly: an error event, a
// non-zero error code, and everything captured before it delivered.
#include "engine/pulse/pulse_player.h"
#include "engine/pulse/pulse_recorder.h"
#include "engine/pulse/error_codes.h"
#include "pulse_test_util.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using engine::PulsePlayer;
using engine::PulseRecorder;
using pulsetest::pactl;
using pulsetest::deviceNamed;
using pulsetest::loadNullSink;

class TestPulseDeviceLoss : public QObject {
    Q_OBJECT
private slots:
    void recordingEndsWhenItsSourceVanishes()
    {
        const QString module = loadNullSink(QStringLiteral("tavrin_loss"), QStringLiteral("Loss"));
        QVERIFY(!module.isEmpty());
        PulseRecorder rec;
        const int device = deviceNamed(rec, QStringLiteral("Monitor of Loss"));
        QVERIFY(device >= 0);
        rec.SetDevice(short(device));
        rec.SetFormat(1, 16000);
        rec.SetArraySize(rec.CalcArraySize(200));
        pulsetest::Capture cap(&rec);
        QSignalSpy lost(&rec, &PulseRecorder::OnDeviceError);
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(cap.blocks.size() >= 2, 10000);

        QCOMPARE(pactl({QStringLiteral("unload-module"), module}), 0);
        QVERIFY(lost.count() == 1 || lost.wait(5000));
        QVERIFY(rec.GetErrorCode() != 0);
        QVERIFY(!cap.errors.first().isEmpty());
        // Every block came before the error, and the blocks add up to what was captured.
        QCOMPARE(cap.events.last(), QStringLiteral("error"));
        QCOMPARE(cap.events.count(QStringLiteral("error")), 1);
        QVERIFY(cap.frames() >= 2 * 3200);
        QVERIFY(cap.frames() >= cap.ticks.back());
        for (size_t i = 0; i + 1 < cap.blocks.size(); ++i)
            QCOMPARE(cap.blocks[i].frames(), qint64(3200));

        // No ticks once it ended; Stop is harmless; a new Start fails: the device is gone.
        const size_t ticks = cap.ticks.size();
        QTest::qWait(200);
        QCOMPARE(cap.ticks.size(), ticks);
        rec.Stop();
        rec.Start();
        QVERIFY(rec.GetErrorCode() != 0);
        QVERIFY(!rec.GetDeviceAvailable());
        QCOMPARE(lost.count(), 1);
    }

    void playbackEndsWhenItsSinkVanishes()
    {
        const QString module = loadNullSink(QStringLiteral("tavrin_loss2"), QStringLiteral("Loss Two"));
        QVERIFY(!module.isEmpty());
        PulsePlayer player;
        const int device = deviceNamed(player, QStringLiteral("Loss Two"));
        QVERIFY(device >= 0);
        player.SetDevice(short(device));
        player.SetFormat(2, 44100);
        pulsetest::Feeder feed(&player, testaudio::tone(440, 10.0, 44100, 2), 44100, 2);
        QSignalSpy lost(&player, &PulsePlayer::OnDeviceError);
        QSignalSpy ended(&player, &PulsePlayer::OnEndPlay);
        player.Play();
        QCOMPARE(player.GetErrorCode(), 0);
        feed.start();
        QTest::qWait(300);

        QCOMPARE(pactl({QStringLiteral("unload-module"), module}), 0);
        QVERIFY(lost.wait(5000));
        QVERIFY(player.GetErrorCode() != 0);
        const int requests = feed.requests;
        QTest::qWait(500);
        QCOMPARE(ended.count(), 0);
        QCOMPARE(feed.requests, requests);
        QCOMPARE(lost.count(), 1);
    }

    void serverLossEndsBothAndComesBack()
    {
        // A server of this test's own, which it can take away.
        QTemporaryDir dir;
        const QString script = QStringLiteral(TAVRIN_SOURCE_DIR "/scripts/sound-server");
        int code = -1;
        const QString line = testaudio::run(script, {QStringLiteral("start"), dir.path()}, &code).trimmed();
        QCOMPARE(code, 0);
        const QByteArray previous = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", line.section(QLatin1Char('='), 1).toUtf8());
        auto restore = qScopeGuard([&] {
            qputenv("PULSE_SERVER", previous);
            testaudio::run(script, {QStringLiteral("stop"), dir.path()});
        });

        PulseRecorder rec;
        PulsePlayer player;
        QCOMPARE(rec.GetDeviceCount(), short(1));   // the null sink's monitor and the mix
        QCOMPARE(player.GetDeviceCount(), short(0));
        pulsetest::Capture cap(&rec);
        QSignalSpy recLost(&rec, &PulseRecorder::OnDeviceError);
        QSignalSpy playLost(&player, &PulsePlayer::OnDeviceError);
        QSignalSpy ended(&player, &PulsePlayer::OnEndPlay);
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), 0);
        player.SetFormat(2, 44100);
        pulsetest::Feeder feed(&player, testaudio::tone(440, 20.0, 44100, 2), 44100, 2);
        player.Play();
        QCOMPARE(player.GetErrorCode(), 0);
        feed.start();
        QTRY_VERIFY_WITH_TIMEOUT(!cap.blocks.empty(), 8000);

        testaudio::run(script, {QStringLiteral("stop"), dir.path()});
        QVERIFY(recLost.count() == 1 || recLost.wait(5000));
        QVERIFY(playLost.count() == 1 || playLost.wait(5000));
        QCOMPARE(cap.events.last(), QStringLiteral("error"));
        QVERIFY(rec.GetErrorCode() != 0);
        QVERIFY(player.GetErrorCode() != 0);
        QCOMPARE(ended.count(), 0);

        // Nothing answers now: neutral values, and starting again fails quietly.
        QTest::qWait(1100);   // past the reconnect interval
        QCOMPARE(rec.GetDeviceCount(), short(-1));
        QCOMPARE(player.GetLineCount(), short(-1));
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), int(engine::pulse::kNoServer));

        // The server is back: the same device at the same index.
        QCOMPARE(testaudio::run(script, {QStringLiteral("start"), dir.path()}, &code).trimmed(), line);
        QTest::qWait(1100);
        QCOMPARE(player.GetDeviceCount(), short(0));
        player.SetDevice(0);
        QVERIFY(player.GetDeviceAvailable());
        QCOMPARE(player.GetDeviceName(), QStringLiteral("Null Output"));
    }
};

QTEST_GUILESS_MAIN(TestPulseDeviceLoss)
#include "tst_pulse_device_loss.moc"
