// The parts the recording session is made of, each alone: the sound trigger on plain sample
// arrays, the run's limits, the disk runway's arithmetic, the scheduler on a clock of the
// test's own, and the part writer falling behind the ring.
#include "fakes/fake_engine.h"
#include "session/capture_ring.h"
#include "session/disk_runway.h"
#include "session/file_operations.h"
#include "session/part_writer.h"
#include "session/recording_scheduler.h"
#include "session/recording_settings.h"
#include "session/run_limits.h"
#include "session/save_format.h"
#include "session/sound_trigger.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

using Stretches = QList<QPair<int, int>>;   // from, to (ms)

namespace {

constexpr int kRate = 1000;   // a frame a millisecond keeps the arithmetic plain

// Mono blocks of 100 ms from a level a millisecond: loud (0.5) inside the given stretches
// (in ms), a whisper (0.01) elsewhere.
std::vector<engine::SampleArray> blocks(int totalMs, const Stretches &loud)
{
    std::vector<engine::SampleArray> out;
    for (int at = 0; at < totalMs; at += 100) {
        std::vector<float> samples(100, 0.01f);
        for (int i = 0; i < 100; ++i)
            for (const auto &stretch : loud)
                if (at + i >= stretch.first && at + i < stretch.second)
                    samples[size_t(i)] = 0.5f;
        out.push_back(engine::SampleArray::fromFloat(samples, kRate, 1));
    }
    return out;
}

}  // namespace

class TestRecordingParts : public QObject {
    Q_OBJECT

private slots:
    // Armed at 0: where a sound is found, where writing starts, how far it may go, and when
    // the sound is over.
    void soundTrigger_data()
    {
        QTest::addColumn<Stretches>("loud");
        QTest::addColumn<int>("onset");          // -1: none
        QTest::addColumn<int>("writeFrom");
        QTest::addColumn<int>("overAt");         // the block end at which the sound is over; -1 never
        QTest::addColumn<int>("dueWhenOver");
        QTest::newRow("quiet") << Stretches{} << -1 << 0 << -1 << 0;
        QTest::newRow("one sound") << Stretches{{2000, 3000}} << 2000 << 1500 << 6000 << 3500;
        QTest::newRow("a sound at the start") << Stretches{{100, 400}} << 100 << 0 << 3400 << 900;
        QTest::newRow("a gap shorter than the quiet")
            << Stretches{{2000, 2500}, {4000, 4500}} << 2000 << 1500 << 7500 << 5000;
    }
    void soundTrigger()
    {
        QFETCH(Stretches, loud);
        QFETCH(int, onset);
        QFETCH(int, writeFrom);
        QFETCH(int, overAt);
        QFETCH(int, dueWhenOver);
        CaptureRing ring;
        ring.reset(kRate, 1, 20 * kRate);
        SoundTrigger trigger;
        trigger.configure(-30, 3, 0.5);   // -30 dBFS: the whisper is below, 0.5 above
        trigger.arm(0);
        qint64 found = -1;
        qint64 over = -1;
        qint64 due = 0;
        for (const engine::SampleArray &block : blocks(9000, loud)) {
            const qint64 from = ring.end();
            ring.append(block);
            if (found < 0) {
                found = trigger.findOnset(ring);
                if (found >= 0) {
                    QCOMPARE(trigger.writeFrom(ring, found), qint64(writeFrom));
                    trigger.start(ring, found);
                }
                continue;
            }
            trigger.follow(ring, from);
            if (over < 0 && trigger.soundIsOver(ring)) {
                over = ring.end();
                due = trigger.due(ring, found);
            }
        }
        QCOMPARE(found, qint64(onset));
        QCOMPARE(over, qint64(overAt));
        if (over >= 0)
            QCOMPARE(due, qint64(dueWhenOver));   // the sound and half a second of its quiet
    }

    // The run's boundaries in frames: the limit over all parts, a split every interval.
    void runLimits_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("split");
        QTest::addColumn<QList<int>>("parts");   // frames of each part, the run written in 7-frame steps
        QTest::newRow("neither") << 0 << 0 << QList<int>{100};
        QTest::newRow("limit") << 30 << 0 << QList<int>{30};
        QTest::newRow("split") << 0 << 40 << QList<int>{40, 40, 20};
        QTest::newRow("limit at a split") << 80 << 40 << QList<int>{40, 40};
        QTest::newRow("limit inside a part") << 90 << 40 << QList<int>{40, 40, 10};
    }
    void runLimits()
    {
        QFETCH(int, limit);
        QFETCH(int, split);
        QFETCH(QList<int>, parts);
        RunLimits limits;
        limits.start(1, limit, split);
        QList<int> written{0};
        for (qint64 captured = 0; captured < 100;) {
            qint64 before = 0;
            const RunLimits::Boundary boundary = limits.next(&before);
            const qint64 step = std::min<qint64>({7, 100 - captured, before});
            limits.add(step);
            captured += step;
            written.last() += int(step);
            if (step == before && boundary == RunLimits::Boundary::End)
                break;
            if (step == before && boundary == RunLimits::Boundary::Split) {
                limits.newPart();
                written.append(0);
            }
        }
        if (written.last() == 0)
            written.removeLast();
        QCOMPARE(written, parts);
    }

    // Free space against the data rate: may a run start, must it stop, how long is left.
    void diskRunway_data()
    {
        QTest::addColumn<double>("freeSeconds");   // of 44.1 kHz stereo 16-bit WAV, beyond the reserve
        QTest::addColumn<bool>("mayStart");
        QTest::addColumn<bool>("mustStop");
        QTest::addColumn<qint64>("secondsLeft");
        QTest::newRow("an hour") << 3600.0 << true << false << qint64(3598);
        QTest::newRow("twelve seconds") << 12.0 << true << false << qint64(10);
        QTest::newRow("eleven seconds") << 11.0 << false << false << qint64(9);
        QTest::newRow("one second") << 1.0 << false << true << qint64(0);
    }
    void diskRunway()
    {
        QFETCH(double, freeSeconds);
        QFETCH(bool, mayStart);
        QFETCH(bool, mustStop);
        QFETCH(qint64, secondsLeft);
        RecordingSettings s;
        s.saveFormat = ".wav";
        s.savePath = "/recordings/";
        s.wavFrequency = 44100;
        s.wavChannels = 2;
        s.wavBitsPerSample = 16;
        const double rate = boundBytesPerSecond(s);
        QCOMPARE(rate, 44100.0 * 4);
        DiskRunway runway;
        QStringList asked;
        runway.setFreeSpaceSource([&](const QString &path) {
            asked << path;
            return DiskRunway::kReserveBytes + qint64(freeSeconds * rate);
        });
        QCOMPARE(runway.refusal(s).isEmpty(), mayStart);
        QCOMPARE(runway.mustStop("/recordings/Untitled1.wav", rate), mustStop);
        QCOMPARE(runway.secondsLeft("/recordings/Untitled1.wav", rate), secondsLeft);
        QCOMPARE(asked.first(), QString("/recordings/"));
    }

    // The writer's thread stalls while three seconds come into a ring that holds one: the
    // sound the ring gave up is said once, and the part goes on with what the ring still
    // holds, the UI thread never waiting meanwhile.
    void aWriterThatFallsBehindLosesOnlyWhatTheRingGaveUp()
    {
        QTemporaryDir dir;
        fake::FakeEngine engine;
        CaptureRing ring;
        ring.reset(kRate, 1, kRate);
        PartWriter writer(engine, ring);
        RecordingSettings s;
        s.saveFormat = ".wav";
        s.savePath = dir.path();
        writer.setSettings(s);
        std::atomic<bool> held{true};
        std::atomic<bool> stalled{false};
        DiskRunway runway;
        // The writer asks for the free space before each block: there it stalls.
        runway.setFreeSpaceSource([&held, &stalled](const QString &) {
            stalled = true;
            while (held)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return qint64(-1);
        });
        writer.setRunway(runway);
        QSignalSpy problems(&writer, &PartWriter::problem);
        ReservedFile file = reserveNumberedFile(dir.path(), "Untitled", ".wav");
        writer.open(file, {}, 0, 100);
        for (const engine::SampleArray &block : blocks(3000, {})) {
            const qint64 from = ring.end();
            ring.append(block);
            writer.write(from, ring.end());
            QTRY_VERIFY(stalled);   // the first block is taken, and the writer stalls on it
        }
        held = false;
        writer.flush();
        QCOMPARE(problems.count(), 1);
        QVERIFY2(problems[0][0].toString().startsWith("The disk did not keep up with the recording: 1 s of sound"),
                 qPrintable(problems[0][0].toString()));
        const PartWriter::Finished part = writer.finish();
        // The first slice was taken before the stall, then the newest second.
        QCOMPARE(part.frames, qint64(100 + kRate));
        QVERIFY(part.failure.isEmpty());
        QCOMPARE(problems.count(), 1);
    }

    // A set time on the test's own clock: counted down once a second, due when the clock
    // passes it (a machine that slept through it included), cancelled by cancel().
    void scheduler()
    {
        QDateTime now(QDate(2026, 12, 8), QTime(6, 59));
        RecordingScheduler scheduler;
        scheduler.setClock([&now] { return now; });
        QSignalSpy countdown(&scheduler, &RecordingScheduler::countdown);
        QSignalSpy due(&scheduler, &RecordingScheduler::due);
        scheduler.schedule(now.addSecs(90), 300);
        QCOMPARE(countdown.last().first().toLongLong(), qint64(90));
        now = now.addSecs(30);
        QTRY_COMPARE_WITH_TIMEOUT(countdown.last().first().toLongLong(), qint64(60), 2000);
        QCOMPARE(due.count(), 0);
        now = now.addSecs(3600);   // asleep past the time
        QTRY_COMPARE_WITH_TIMEOUT(due.count(), 1, 2000);
        QCOMPARE(due.last().first().toInt(), 300);
        QVERIFY(!scheduler.isScheduled());

        scheduler.schedule(now.addSecs(10), 0);
        scheduler.cancel();
        now = now.addSecs(20);
        QTest::qWait(1100);
        QCOMPARE(due.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRecordingParts)
#include "tst_recording_parts.moc"
