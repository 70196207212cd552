// "Microphone + computer sound": a tone on the default input (the monitor of a null sink of
// its own) and another on the default output are both in the recording, each at its level;
// when one side stops or its device goes, the recording goes on with the other, without a
// gap.
#include "engine/pulse/pulse_recorder.h"
#include "pulse_test_util.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

using engine::PulseRecorder;
using pulsetest::Capture;
using pulsetest::pactl;

namespace {
const QString kMixId = QStringLiteral("mix:microphone+computer");
constexpr double kToneDb = -12.04;   // the players' tones

// A microphone (a null sink whose monitor is the default source, a 440 Hz tone playing
// into it) and speakers (the default sink, a 1000 Hz tone playing), each kept awake.
struct Scene {
    QString micModule, outModule;
    pulsetest::TonePlayer voice, music;
    std::unique_ptr<pulsetest::MonitorReader> micAwake, outAwake;

    bool start()
    {
        micModule = pulsetest::loadNullSink(QStringLiteral("tavrin_mic"), QStringLiteral("Microphone"));
        outModule = pulsetest::loadNullSink(QStringLiteral("tavrin_out"), QStringLiteral("Speakers"));
        if (micModule.isEmpty() || outModule.isEmpty())
            return false;
        pactl({QStringLiteral("set-default-source"), QStringLiteral("tavrin_mic.monitor")});
        pactl({QStringLiteral("set-default-sink"), QStringLiteral("tavrin_out")});
        micAwake = std::make_unique<pulsetest::MonitorReader>(QStringLiteral("tavrin_mic.monitor"));
        outAwake = std::make_unique<pulsetest::MonitorReader>(QStringLiteral("tavrin_out.monitor"));
        if (!voice.start(440, QStringLiteral("Voice"), QStringLiteral("tavrin_mic")) ||
            !music.start(1000, QStringLiteral("Music"), QStringLiteral("tavrin_out")))
            return false;
        QTest::qWait(1000);   // the tones reach the monitors
        return true;
    }
    ~Scene()
    {
        voice.stop();
        music.stop();
        micAwake.reset();
        outAwake.reset();
        pactl({QStringLiteral("suspend-sink"), QStringLiteral("tavrin_mic"), QStringLiteral("0")});
        for (const QString &m : {micModule, outModule})
            if (!m.isEmpty())
                pactl({QStringLiteral("unload-module"), m});
        pactl({QStringLiteral("set-default-sink"), QStringLiteral("tavrin_null")});
        pactl({QStringLiteral("set-default-source"), QStringLiteral("tavrin_null.monitor")});
    }
};

double levelDb(const engine::SampleArray &block, double hz)
{
    return testaudio::toneLevelDb(testaudio::channel(block.toFloat(), block.channels(), 0),
                                  block.sampleRate(), hz);
}
}  // namespace

class TestPulseMix : public QObject {
    Q_OBJECT
private slots:
    void bothSidesAtTheirLevels_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("microphone");
        QTest::addColumn<int>("computer");
        QTest::addColumn<bool>("sides");
        QTest::newRow("stereo 44.1 kHz, 100 % and 50 %") << 2 << 44100 << 100 << 50 << false;
        QTest::newRow("mono 22.05 kHz, 40 % and 100 %, each side apart too") << 1 << 22050 << 40 << 100 << true;
    }
    void bothSidesAtTheirLevels()
    {
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, microphone);
        QFETCH(int, computer);
        QFETCH(bool, sides);
        Scene scene;
        QVERIFY(scene.start());

        PulseRecorder rec;
        QVERIFY(!rec.SetSideArrays(true));   // the default input has no sides
        QVERIFY(rec.SetDeviceById(kMixId));
        QCOMPARE(rec.SetSideArrays(sides), sides);
        // Each side's blocks, which must hold the same frames as the sum's.
        std::array<std::vector<float>, 2> sideSamples;
        int unevenBlocks = 0;
        connect(&rec, &PulseRecorder::OnEndArrayRecord, this, [&](QObject *, int) {
            const engine::SampleArray block = rec.GetArray();
            for (int k = 0; k < 2; ++k) {
                const engine::SampleArray side = rec.GetSideArray(k);
                if (!sides) {
                    unevenBlocks += side.isEmpty() ? 0 : 1;
                    continue;
                }
                unevenBlocks += side.frames() == block.frames() && side.channels() == block.channels() ? 0 : 1;
                const std::vector<float> f = side.toFloat();
                sideSamples[size_t(k)].insert(sideSamples[size_t(k)].end(), f.begin(), f.end());
            }
        });
        QCOMPARE(rec.GetDeviceName(), QStringLiteral("Microphone + computer sound"));
        rec.SetMixLevels(microphone, computer);
        QCOMPARE(rec.GetMicrophoneMixLevel(), microphone);
        QCOMPARE(rec.GetComputerMixLevel(), computer);
        // The two levels are the entry's two lines as well.
        QCOMPARE(rec.GetLineCount(), short(1));
        rec.SetLine(1);
        QCOMPARE(rec.GetLineName(), QStringLiteral("Computer sound"));
        QCOMPARE(rec.GetLineVolume(), (computer * 65535 + 50) / 100);

        rec.SetFormat(channels, rate);
        rec.SetArraySize(rec.CalcArraySize(200));
        Capture cap(&rec);
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(cap.frames() >= rate, 10000);
        // A pause: the second take mixes both sides again.
        rec.Stop();
        const qint64 firstTake = cap.frames();
        rec.Start();
        QCOMPARE(rec.GetErrorCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(cap.frames() >= firstTake + rate * 2, 10000);
        const engine::SampleArray snapshot = rec.GetSnapshotArray(1024);
        rec.Stop();

        QCOMPARE(snapshot.frames(), qint64(1024));
        QCOMPARE(snapshot.channels(), channels);
        QVERIFY(*std::max_element(cap.levels.begin(), cap.levels.end()) > 0);
        for (const auto &b : cap.blocks) {
            QCOMPARE(b.channels(), channels);
            QCOMPARE(b.sampleRate(), rate);
        }
        // Both tones, each at its level (the players' -12 dBFS times the mix level), in the
        // better of the last two seconds: on a busy machine a side may be held back for a
        // moment, which the mixer fills with silence (its own tests count that).
        const std::vector<float> left = testaudio::channel(cap.samples, channels, 0);
        double voice = -200, music = -200;
        for (const int back : {1, 2}) {
            const std::vector<float> second(left.end() - back * rate, left.end() - (back - 1) * rate);
            voice = std::max(voice, testaudio::toneLevelDb(second, rate, 440));
            music = std::max(music, testaudio::toneLevelDb(second, rate, 1000));
        }
        const double wantedVoice = kToneDb + 20 * std::log10(microphone / 100.0);
        const double wantedMusic = kToneDb + 20 * std::log10(computer / 100.0);
        qInfo("microphone %.2f dB (wanted %.2f), computer %.2f dB (wanted %.2f)", voice,
              wantedVoice, music, wantedMusic);
        QVERIFY2(std::abs(voice - wantedVoice) <= 1.0, qPrintable(QString::number(voice)));
        QVERIFY2(std::abs(music - wantedMusic) <= 1.0, qPrintable(QString::number(music)));
        QVERIFY2(std::abs((voice - music) - (wantedVoice - wantedMusic)) <= 1.0,
                 qPrintable(QString::number(voice - music)));

        // Apart, each side holds its own tone at its level and nothing of the other's.
        QCOMPARE(unevenBlocks, 0);
        if (!sides)
            return;
        const struct {
            int side;
            double hz, otherHz, wanted;
        } apart[] = {{0, 440, 1000, wantedVoice}, {1, 1000, 440, wantedMusic}};
        for (const auto &a : apart) {
            const std::vector<float> &all = sideSamples[size_t(a.side)];
            QCOMPARE(qint64(all.size()), qint64(cap.samples.size()));
            const std::vector<float> left = testaudio::channel(all, channels, 0);
            double own = -200, other = -200;
            for (const int back : {1, 2}) {
                const std::vector<float> second(left.end() - back * rate, left.end() - (back - 1) * rate);
                own = std::max(own, testaudio::toneLevelDb(second, rate, a.hz));
                other = std::max(other, testaudio::toneLevelDb(second, rate, a.otherHz));
            }
            qInfo("side %d: %.2f dB of its own tone (wanted %.2f), %.2f dB of the other's", a.side, own,
                  a.wanted, other);
            QVERIFY2(std::abs(own - a.wanted) <= 1.0, qPrintable(QString::number(own)));
            QVERIFY2(other < -60, qPrintable(QString::number(other)));
        }
    }

    void aSideThatStopsLeavesNoGap_data()
    {
        QTest::addColumn<QStringList>("event");
        QTest::addColumn<double>("survivor");
        QTest::addColumn<bool>("musicAtEnd");
        // The music goes on; only the microphone's side is silent.
        QTest::newRow("the microphone stops delivering")
            << QStringList{QStringLiteral("suspend-sink"), QStringLiteral("tavrin_mic"), QStringLiteral("1")}
            << 1000.0 << true;
        // The server moves the music to the output that becomes the default; the computer
        // side follows it there.
        QTest::newRow("the speakers are unplugged")
            << QStringList{QStringLiteral("unload-module"), QStringLiteral("speakers")} << 440.0 << true;
        // Another output becomes the default (headphones plugged in) while the music stays
        // on the speakers: the computer side records the new default now, where nothing plays.
        QTest::newRow("another output becomes the default")
            << QStringList{QStringLiteral("set-default-sink"), QStringLiteral("tavrin_null")} << 440.0
            << false;
    }
    void aSideThatStopsLeavesNoGap()
    {
        QFETCH(QStringList, event);
        QFETCH(double, survivor);
        QFETCH(bool, musicAtEnd);
        Scene scene;
        QVERIFY(scene.start());
        const int rate = 44100;

        PulseRecorder rec;
        QVERIFY(rec.SetDeviceById(kMixId));
        rec.SetFormat(2, rate);
        rec.SetArraySize(rec.CalcArraySize(200));
        Capture cap(&rec);
        QElapsedTimer clock;
        std::vector<std::pair<qint64, qint64>> ticks;   // (ms since Start, frames)
        connect(&rec, &PulseRecorder::OnTimer, this,
                [&](QObject *, qint64 frames, int, int) { ticks.emplace_back(clock.elapsed(), frames); });
        rec.Start();
        clock.start();
        QCOMPARE(rec.GetErrorCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(cap.frames() >= rate * 3 / 2, 10000);

        const qint64 eventMs = clock.elapsed();
        const qint64 eventFrame = ticks.back().second;
        if (event.last() == QStringLiteral("speakers"))
            event.last() = std::exchange(scene.outModule, QString());
        QCOMPARE(pactl(event), 0);
        if (!musicAtEnd) {
            QTest::qWait(200);   // the server moves the music along; put it back
            QCOMPARE(pactl({QStringLiteral("move-sink-input"), QString::number(scene.music.sinkInput()),
                            QStringLiteral("tavrin_out")}),
                     0);
        }
        QTest::qWait(3000);
        rec.Stop();

        QVERIFY2(cap.errors.isEmpty(), qPrintable(cap.errors.join(QLatin1Char('\n'))));
        // Frames kept coming at the rate of the clock across the event.
        const auto before = std::find_if(ticks.begin(), ticks.end(),
                                         [&](const auto &t) { return t.first >= eventMs - 1000; });
        QVERIFY(before != ticks.end());
        const double seconds = double(ticks.back().first - before->first) / 1000.0;
        const double pace = double(ticks.back().second - before->second) / seconds;
        qInfo("%.0f frames per second across the event", pace);
        QVERIFY2(std::abs(pace - rate) < rate * 0.05, qPrintable(QString::number(pace)));
        // The side that went on is in every block from half a second after the event.
        qint64 position = 0;
        int checked = 0;
        for (const auto &b : cap.blocks) {
            const qint64 start = position;
            position += b.frames();
            if (start < eventFrame + rate / 2 || b.frames() < 4410)
                continue;
            ++checked;
            const double level = levelDb(b, survivor);
            QVERIFY2(std::abs(level - kToneDb) < 1.5,
                     qPrintable(QStringLiteral("%1 dB at frame %2").arg(level).arg(start)));
        }
        QVERIFY2(checked >= 8, qPrintable(QString::number(checked)));
        // At the end the computer side records the default output of then.
        const double music = levelDb(cap.blocks[cap.blocks.size() - 2], 1000);
        if (musicAtEnd)
            QVERIFY2(std::abs(music - kToneDb) < 1.5, qPrintable(QString::number(music)));
        else
            QVERIFY2(music < -60, qPrintable(QString::number(music)));
    }
};

QTEST_GUILESS_MAIN(TestPulseMix)
#include "tst_pulse_mix.moc"
