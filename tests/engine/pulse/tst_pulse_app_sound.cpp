// One application's sound: two programs play different tones into the same sink; the
// recorder lists each of them and records only the one chosen, follows it to another sink,
// and ends when it stops playing.
#include "engine/pulse/error_codes.h"
#include "engine/pulse/pulse_recorder.h"
#include "pulse_test_util.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using engine::PulseRecorder;
using pulsetest::Capture;
using pulsetest::pactl;
using pulsetest::TonePlayer;

namespace {
constexpr int kRate = 44100;
const QString kLow = QStringLiteral("Tone Four Forty");
const QString kHigh = QStringLiteral("Tone Thousand");

// Index of the listed device with that name; -1 when not listed.
int listed(PulseRecorder &rec, const QString &name)
{
    const short count = rec.GetDeviceCount();
    for (short i = 0; i <= count; ++i) {
        rec.SetDevice(i);
        if (rec.GetDeviceName() == name)
            return i;
    }
    return -1;
}

// The blocks' left channel from frame `from` on.
std::vector<float> leftFrom(const Capture &cap, qint64 from)
{
    const std::vector<float> left = testaudio::channel(cap.samples, 2, 0);
    return std::vector<float>(left.begin() + std::min<qint64>(from, qint64(left.size())), left.end());
}
}  // namespace

class TestPulseAppSound : public QObject {
    Q_OBJECT
    pulsetest::KeepAwake m_awake;
private slots:
    void initTestCase() { QVERIFY(m_awake.start()); }
    void cleanupTestCase() { m_awake.stop(); }

    void applicationsComeAndGoInTheList()
    {
        PulseRecorder rec;
        QSignalSpy changed(&rec, &PulseRecorder::OnDevicesChanged);
        const short before = rec.GetDeviceCount();
        QVERIFY(before >= 1);
        rec.SetDevice(before);
        QCOMPARE(rec.GetDeviceName(), QStringLiteral("Microphone + computer sound"));

        auto player = std::make_unique<TonePlayer>();
        QVERIFY(player->start(440, kLow));
        QVERIFY(changed.wait(3000));
        // One more entry: the application, after the input devices, before the mix.
        QCOMPARE(rec.GetDeviceCount(), short(before + 1));
        const int entry = listed(rec, QStringLiteral("Sound of %1").arg(kLow));
        QCOMPARE(entry, int(before));
        rec.SetDevice(short(entry));
        QVERIFY(rec.GetDeviceAvailable());
        const QString id = rec.GetDeviceId();
        QCOMPARE(id, QStringLiteral("sink-input:%1").arg(kLow));
        rec.SetDevice(0);
        QVERIFY(rec.SetDeviceById(id));
        QCOMPARE(rec.GetDevice(), short(entry));
        // Its one line: the application's own stream.
        QCOMPARE(rec.GetLineCount(), short(0));
        rec.SetLine(0);
        QCOMPARE(rec.GetLineName(), kLow);
        QVERIFY(rec.GetLineVolumeAvailable());
        QCOMPARE(rec.GetLineVolume(), 65535);

        // It stops: the list says so, the entry stays while chosen but is unavailable, and
        // its id cannot be chosen any more.
        changed.clear();
        player->stop();
        QVERIFY(changed.wait(3000));
        QCOMPARE(rec.GetDeviceCount(), short(before + 1));
        QCOMPARE(rec.GetDevice(), short(entry));
        QVERIFY(!rec.GetDeviceAvailable());
        QCOMPARE(rec.GetDeviceName(), QStringLiteral("Sound of %1").arg(kLow));
        rec.SetDevice(0);
        QVERIFY(!rec.SetDeviceById(id));
        QCOMPARE(rec.GetDeviceCount(), short(before));
        QVERIFY(rec.SetDeviceById(QStringLiteral("tavrin_null.monitor")));
        QCOMPARE(rec.GetDeviceName(), QStringLiteral("Monitor of Null Output"));
    }

    void recordsOnlyItsApplicationAndFollowsIt()
    {
        TonePlayer low, high;
        QVERIFY(low.start(440, kLow));
        QVERIFY(high.start(1000, kHigh));
        const QString otherSink = pulsetest::loadNullSink(QStringLiteral("tavrin_app_other"),
                                                      QStringLiteral("Other Output"));
        QVERIFY(!otherSink.isEmpty());
        auto unload = qScopeGuard([&] { pactl({QStringLiteral("unload-module"), otherSink}); });
        pulsetest::MonitorReader awakeOther(QStringLiteral("tavrin_app_other.monitor"));

        PulseRecorder rec;
        QVERIFY(rec.SetDeviceById(QStringLiteral("sink-input:%1").arg(kLow)));
        rec.SetFormat(2, kRate);
        rec.SetArraySize(rec.CalcArraySize(200));
        Capture cap(&rec);
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(cap.frames() >= 2 * kRate, 8000);

        // Only its tone: the other application's is at least 30 dB lower.
        const std::vector<float> first = leftFrom(cap, cap.frames() - kRate);
        QVERIFY2(std::abs(testaudio::dominantFrequency(first, kRate) - 440) < 5,
                 qPrintable(QString::number(testaudio::dominantFrequency(first, kRate))));
        const double own = testaudio::toneLevelDb(first, kRate, 440);
        const double other = testaudio::toneLevelDb(first, kRate, 1000);
        QVERIFY2(std::abs(own - (-12.04)) < 1.0, qPrintable(QString::number(own)));
        QVERIFY2(other < own - 30, qPrintable(QStringLiteral("%1 dB against %2 dB").arg(other).arg(own)));

        // A pause: the next take records the same application again.
        rec.Stop();
        const qint64 firstTake = cap.frames();
        const size_t secondTake = cap.blocks.size();
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(cap.frames() >= firstTake + kRate, 8000);

        // The application moves to another sink: the recording follows at once, without an
        // error, and the time the move took is kept as silence.
        const qint64 beforeMove = cap.frames();
        QCOMPARE(pactl({QStringLiteral("move-sink-input"), QString::number(low.sinkInput()),
                        QStringLiteral("tavrin_app_other")}),
                 0);
        QTRY_VERIFY_WITH_TIMEOUT(cap.frames() >= beforeMove + 2 * kRate, 8000);
        QVERIFY2(cap.errors.isEmpty(), qPrintable(cap.errors.join(QLatin1Char('\n'))));
        QCOMPARE(rec.reconnects(), 1);
        const double gapMs = rec.lostFrames() * 1000.0 / kRate;
        qInfo("following the move took %.1f ms; %.1f ms (with what the server had not yet "
              "handed over when it ended the stream) filled with silence",
              rec.followMs(), gapMs);
        QVERIFY2(rec.followMs() < 20, qPrintable(QString::number(rec.followMs())));
        QVERIFY2(gapMs < 100, qPrintable(QString::number(gapMs)));
        const std::vector<float> moved = leftFrom(cap, cap.frames() - kRate);
        QVERIFY2(std::abs(testaudio::toneLevelDb(moved, kRate, 440) - own) < 1.0,
                 qPrintable(QString::number(testaudio::toneLevelDb(moved, kRate, 440))));
        QVERIFY(testaudio::toneLevelDb(moved, kRate, 1000) < own - 30);

        // The application stops playing: capture ends as for a lost device, after every block.
        QSignalSpy lost(&rec, &PulseRecorder::OnDeviceError);
        low.stop();
        QVERIFY(lost.count() == 1 || lost.wait(5000));
        QCOMPARE(cap.errors, QStringList{QStringLiteral("%1 stopped playing").arg(kLow)});
        QCOMPARE(cap.events.last(), QStringLiteral("error"));
        QCOMPARE(rec.GetErrorCode(), int(engine::pulse::kDeviceLost));
        QVERIFY(cap.frames() >= cap.ticks.back());
        for (size_t i = secondTake; i + 1 < cap.blocks.size(); ++i)
            QCOMPARE(cap.blocks[i].frames(), qint64(8820));
        rec.Stop();
        QCOMPARE(lost.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPulseAppSound)
#include "tst_pulse_app_sound.moc"
