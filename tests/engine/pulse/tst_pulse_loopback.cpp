// The player plays into the private server's null sink while the recorder records its
// monitor: what was played must come back.
#include "engine/pulse/pulse_player.h"
#include "engine/pulse/pulse_recorder.h"
#include "pulse_test_util.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using engine::PulsePlayer;
using engine::PulseRecorder;
using pulsetest::Capture;
using pulsetest::Feeder;

namespace {
constexpr int kRate = 44100;

// Starts a recorder on the default source and waits until the monitor delivers.
bool startAwake(PulseRecorder &rec, Capture &cap)
{
    rec.SetFormat(2, kRate);
    rec.SetArraySize(rec.CalcArraySize(200));
    rec.Start();
    if (rec.GetErrorCode() != 0)
        return false;
    QSignalSpy first(&rec, &PulseRecorder::OnEndArrayRecord);
    return !cap.blocks.empty() || first.wait(8000);
}
}  // namespace

class TestPulseLoopback : public QObject {
    Q_OBJECT
    pulsetest::KeepAwake m_awake;
private slots:
    void initTestCase() { QVERIFY(m_awake.start()); }
    void cleanupTestCase() { m_awake.stop(); }

    void recordsWhatThePlayerPlays()
    {
        PulseRecorder rec;
        Capture cap(&rec);
        QVERIFY(startAwake(rec, cap));

        PulsePlayer player;
        player.SetFormat(2, kRate);
        Feeder feed(&player, testaudio::tone(1000, 3.0, kRate, 2, 0.5f), kRate, 2);
        QSignalSpy ended(&player, &PulsePlayer::OnEndPlay);
        QSignalSpy playerTicks(&player, &PulsePlayer::OnTimer);
        QElapsedTimer clock;
        player.Play();
        clock.start();
        QCOMPARE(player.GetErrorCode(), 0);
        feed.start();

        // Frames heard follow the server's clock, not what was written ahead.
        QTest::qWait(1000 - int(clock.elapsed()));
        const qint64 heard = player.GetCurrentSamples();
        const qint64 wall = clock.elapsed() * kRate / 1000;
        QVERIFY2(std::abs(heard - wall) <= kRate * 60 / 1000,
                 qPrintable(QStringLiteral("heard %1 frames after %2").arg(heard).arg(wall)));

        // Pause and resume the recorder in the middle: the same stream goes on.
        const qint64 beforePause = cap.frames();
        rec.Stop();
        const qint64 firstTake = cap.frames();
        QVERIFY(!cap.ticks.empty());
        const qint64 lastTick = cap.ticks.back();
        QVERIFY(firstTake > beforePause);   // the partly filled block came with Stop
        QTest::qWait(200);
        QCOMPARE(cap.frames(), firstTake);   // nothing after Stop
        cap.ticks.clear();
        rec.SetRecordFlag(true);
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), 0);

        QVERIFY(ended.wait(8000));
        QCOMPARE(player.GetCurrentSamples(), feed.totalFrames());
        QTest::qWait(300);
        QCOMPARE(ended.count(), 1);
        rec.Stop();

        // The first take's ticks agree with its blocks (a tick is at most 50 ms old).
        QVERIFY(firstTake >= lastTick);
        QVERIFY2(firstTake - lastTick <= kRate * 80 / 1000,
                 qPrintable(QStringLiteral("blocks %1, last tick %2").arg(firstTake).arg(lastTick)));
        // And the second take's as well, counted from 0 again.
        QVERIFY(!cap.ticks.empty());
        const qint64 secondTake = cap.frames() - firstTake;
        QVERIFY(secondTake >= cap.ticks.back() && secondTake - cap.ticks.back() <= kRate * 80 / 1000);
        QVERIFY(cap.ticks.front() < kRate / 5);
        // Every block but the ones Stop cut short is exactly 200 ms.
        int shortBlocks = 0;
        for (const auto &b : cap.blocks) {
            QCOMPARE(b.channels(), 2);
            QCOMPARE(b.sampleRate(), kRate);
            QCOMPARE(b.sampleFormat(), engine::SampleFormat::Float32);
            if (b.frames() != 8820)
                ++shortBlocks;
        }
        QVERIFY(shortBlocks <= 2);

        // The tone came back: 1 kHz within 2 %, at the level played (-6 dBFS), in every
        // block the tone filled (each block is contiguous sound; the pause is not).
        int toneBlocks = 0;
        for (const auto &b : cap.blocks) {
            const std::vector<float> left = testaudio::channel(b.toFloat(), 2, 0);
            if (b.frames() != 8820 || testaudio::rmsDb(left) < -9.5)
                continue;
            ++toneBlocks;
            const double hz = testaudio::dominantFrequency(left, kRate);
            QVERIFY2(std::abs(hz - 1000) <= 20, qPrintable(QString::number(hz)));
            const double level = testaudio::toneLevelDb(left, kRate, 1000);
            QVERIFY2(std::abs(level - (-6.02)) <= 1.0, qPrintable(QString::number(level)));
        }
        QVERIFY2(toneBlocks >= 8, qPrintable(QString::number(toneBlocks)));
        // The player's meters saw it as well.
        QVERIFY(playerTicks.count() >= 30);
        int loudest = 0;
        for (const auto &args : playerTicks)
            loudest = std::max(loudest, args.at(2).toInt());
        QCOMPARE(loudest, 90);   // -6 dBFS on the 0..100 scale
    }

    void stopEndsPlaybackWithoutEndEvent()
    {
        PulsePlayer player;
        player.SetFormat(1, 22050);
        Feeder feed(&player, testaudio::tone(440, 5.0, 22050, 1), 22050, 1);
        QSignalSpy ended(&player, &PulsePlayer::OnEndPlay);
        QSignalSpy ticks(&player, &PulsePlayer::OnTimer);
        player.Play();
        QCOMPARE(player.GetErrorCode(), 0);
        feed.start();
        QTest::qWait(600);
        const qint64 atStop = player.GetCurrentSamples();
        player.Stop();
        const int requests = feed.requests;
        const int tickCount = ticks.count();
        QTest::qWait(1500);
        QCOMPARE(ended.count(), 0);
        QCOMPARE(feed.requests, requests);   // no request after Stop
        QCOMPARE(ticks.count(), tickCount);  // no tick either
        // The position where it stopped stays readable, as a pause needs it.
        QVERIFY(player.GetCurrentSamples() >= atStop);
        QVERIFY(player.GetCurrentSamples() < 22050);

        // Blocks queued before Stop are gone: a new Play plays only what comes after it.
        Feeder again(&player, testaudio::tone(440, 0.3, 22050, 1), 22050, 1);
        feed.active = false;
        player.Play();
        again.start();
        QVERIFY(ended.wait(3000));
        QCOMPARE(player.GetCurrentSamples(), again.totalFrames());
    }

    void unansweredRequestsEndTheData()
    {
        // A caller that loads a short sound and then never answers: playback still ends.
        PulsePlayer player;
        player.SetFormat(2, kRate);
        QSignalSpy ended(&player, &PulsePlayer::OnEndPlay);
        QSignalSpy requested(&player, &PulsePlayer::OnRequestOnLoadArray);
        player.Play();
        const std::vector<float> t = testaudio::tone(500, 0.3, kRate, 2);
        player.LoadArray(engine::SampleArray::fromFloat(t, kRate, 2));
        QVERIFY(requested.wait(2000));
        QVERIFY(ended.wait(4000));
        QCOMPARE(ended.count(), 1);
        QCOMPARE(player.GetCurrentSamples(), qint64(t.size() / 2));
    }
};

QTEST_GUILESS_MAIN(TestPulseLoopback)
#include "tst_pulse_loopback.moc"
