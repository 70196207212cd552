// The mixer of two live inputs, fed by simulated sound cards: each side captures a sine on
// a clock of its own, delivers it in blocks that arrive with jitter, and the mixer's output
// is watched sample by sample (continuity) and second by second (where each side's sine
// stands in time).
#include "dsp_test_util.h"
#include "engine/dsp/stream_mixer.h"

#include <QtTest>

#include <cmath>
#include <complex>
#include <functional>
#include <numbers>

using engine::dsp::StreamMixer;

namespace {

constexpr int kRate = 8000;
constexpr int kChannels = 2;

// One simulated input: a sine captured at `speed` times the nominal rate, on one channel,
// delivered in blocks of `block` frames that arrive 3 ms, plus up to `spread`, after their
// last frame.
struct Card {
    int side = 0;
    double speed = 1.0;
    qint64 block = 160;
    double startS = 0;
    double hz = 11;
    float amplitude = 0.5f;
    double pauseFrom = -1, pauseTo = -1;   // true-time span without capture (s)
    int channel = -1;                      // the channel it fills; -1: the side's number
    double spread = 0.002;                 // how much later than 3 ms a block may arrive (s)
    double timeNoise = 0;                  // its capture times stray up to this far either way (s)

    double nextStart = 0;     // true time of the next block's first frame
    double lastArrival = 0;
    quint32 random = 1;

    void begin(quint32 seed)
    {
        nextStart = startS;
        random = seed;
    }
    double duration() const { return double(block) / (kRate * speed); }
    double uniform()
    {
        random = random * 1664525u + 1013904223u;
        return double(random >> 8) / double(1u << 24);
    }
    double jitter() { return 0.003 + spread * uniform(); }
    // The capture time a block that arrived then is said to have.
    qint64 capturedUs(double arrival) { return qint64(std::llround((arrival + timeNoise * (2 * uniform() - 1)) * 1e6)); }
    // When the next block arrives (true seconds); skips a pause first.
    double nextArrival()
    {
        if (pauseFrom >= 0 && nextStart + duration() > pauseFrom && nextStart < pauseTo)
            nextStart = pauseTo;
        return std::max(lastArrival, nextStart + duration() + jitter());
    }
    std::vector<float> take(double arrival)
    {
        std::vector<float> f(size_t(block * kChannels), 0.0f);
        for (qint64 i = 0; i < block; ++i) {
            const double t = nextStart + double(i) / (kRate * speed);
            f[size_t(i * kChannels + (channel < 0 ? side : channel))] =
                amplitude * float(std::sin(2 * std::numbers::pi * hz * t));
        }
        nextStart += duration();
        lastArrival = arrival;
        return f;
    }
};

// Follows one channel of the output: largest first and second differences after `from`,
// and per second the tone's phase, turned into its offset in time (unwrapped).
struct Watch {
    int channel = 0;
    double hz = 11;
    qint64 from = 0;

    double prev1 = 0, prev2 = 0;
    qint64 seen = 0;
    double maxStep = 0, maxBend = 0;
    std::complex<double> sum = 0;
    std::complex<double> phasor = 1;
    std::vector<double> offsets;      // seconds, one per whole second of output
    std::vector<double> amplitudes;

    void take(const float *frames, qint64 n)
    {
        const std::complex<double> turn = std::polar(1.0, 2 * std::numbers::pi * hz / kRate);
        for (qint64 i = 0; i < n; ++i, ++seen) {
            const double x = frames[i * kChannels + channel];
            if (seen >= from + 2) {
                maxStep = std::max(maxStep, std::fabs(x - prev1));
                maxBend = std::max(maxBend, std::fabs(x - 2 * prev1 + prev2));
            }
            prev2 = prev1;
            prev1 = x;
            sum += x * phasor;
            phasor *= turn;
            if ((seen + 1) % kRate == 0) {
                // x = a sin(wt + p): sum = N a / 2 (sin p + i cos p).
                const double phase = std::atan2(sum.real(), sum.imag());
                double offset = phase / (2 * std::numbers::pi * hz);
                const double period = 1.0 / hz;
                const double previous = offsets.empty() ? 0.0 : offsets.back();
                offset += period * std::round((previous - offset) / period);
                offsets.push_back(offset);
                amplitudes.push_back(2.0 * std::abs(sum) / kRate);
                sum = 0;
                phasor = 1;   // whole seconds and whole hertz: the phase starts again at 0
            }
        }
    }
};

// Runs two cards into a mixer for `seconds` of true time.
struct Bench {
    StreamMixer mixer;
    Card cards[2];
    std::vector<float> out;
    qint64 outputFrames = 0;
    std::function<void(const float *, qint64)> onOutput;
    bool stopAtPause = false;   // the paused side's device is reported gone

    void run(double seconds)
    {
        mixer.reset(kRate, kChannels);
        cards[0].begin(12345);
        cards[1].begin(777);
        bool stopped[2] = {false, false};
        for (;;) {
            const double a0 = cards[0].nextArrival();
            const double a1 = cards[1].nextArrival();
            const int side = a0 <= a1 ? 0 : 1;
            const double arrival = std::min(a0, a1);
            if (arrival > seconds)
                break;
            for (int s = 0; s < 2; ++s) {
                if (stopAtPause && !stopped[s] && cards[s].pauseFrom >= 0 &&
                    arrival >= cards[s].pauseFrom) {
                    stopped[s] = true;
                    mixer.stopSide(s);
                }
            }
            const std::vector<float> block = cards[side].take(arrival);
            mixer.push(side, block.data(), cards[side].block, cards[side].capturedUs(arrival), out);
            deliver();
        }
        mixer.flush(out);
        deliver();
    }
    void deliver()
    {
        const qint64 n = qint64(out.size()) / kChannels;
        if (n > 0 && onOutput)
            onOutput(out.data(), n);
        outputFrames += n;
        out.clear();
    }
};

// The sine's own limits: a step never exceeds a w, a bend (second difference) a w^2.
double stepLimit(double amplitude, double hz)
{
    return amplitude * 2 * std::numbers::pi * hz / kRate;
}
double bendLimit(double amplitude, double hz)
{
    const double w = 2 * std::numbers::pi * hz / kRate;
    return amplitude * w * w;
}

}  // namespace

class TestStreamMixer : public QObject {
    Q_OBJECT
private slots:
    void staysInStepForAnHour_data()
    {
        QTest::addColumn<double>("speed");
        QTest::newRow("second card 0.1 % fast") << 1.001;
        QTest::newRow("second card 0.1 % slow") << 0.999;
    }
    void staysInStepForAnHour()
    {
        QFETCH(double, speed);
        Bench bench;
        bench.cards[0] = Card{0, 1.0, 160, 0.0, 11};
        bench.cards[1] = Card{1, speed, 80, 0.25, 17};   // joins a quarter second later
        Watch first{0, 11, 0};
        Watch second{1, 17, 2 * kRate};                   // checked once it has joined
        bench.onOutput = [&](const float *f, qint64 n) {
            first.take(f, n);
            second.take(f, n);
        };
        const double hour = 3600;
        bench.run(hour);

        QVERIFY(bench.outputFrames >= qint64((hour - 0.1) * kRate));
        QCOMPARE(bench.mixer.clockSide(), 0);
        // Every second from the third on, both sines stand where their capture times say:
        // the first exactly, the second within 20 ms of it.
        QCOMPARE(first.offsets.size(), second.offsets.size());
        double worst = 0;
        for (size_t i = 2; i < first.offsets.size(); ++i) {
            QVERIFY2(std::fabs(first.offsets[i]) < 1e-4, qPrintable(QString::number(first.offsets[i])));
            const double apart = second.offsets[i] - first.offsets[i];
            worst = std::max(worst, std::fabs(apart));
            QVERIFY2(std::fabs(apart) <= 0.020,
                     qPrintable(QStringLiteral("%1 ms apart after %2 s").arg(apart * 1000).arg(i)));
            QVERIFY2(std::fabs(second.amplitudes[i] - 0.5) < 0.01,
                     qPrintable(QStringLiteral("amplitude %1 at %2 s").arg(second.amplitudes[i]).arg(i)));
        }
        // Neither sine ever breaks: no step or bend beyond the sine's own.
        QVERIFY2(first.maxStep <= stepLimit(0.5, 11) * 1.01, qPrintable(QString::number(first.maxStep)));
        QVERIFY2(first.maxBend <= bendLimit(0.5, 11) * 1.5 + 2e-6, qPrintable(QString::number(first.maxBend)));
        QVERIFY2(second.maxStep <= stepLimit(0.5, 17) * 1.01, qPrintable(QString::number(second.maxStep)));
        QVERIFY2(second.maxBend <= bendLimit(0.5, 17) * 1.5 + 2e-6, qPrintable(QString::number(second.maxBend)));
        qInfo("after an hour: %.3f ms apart (worst %.3f ms), speed correction %.5f %%",
              (second.offsets.back() - first.offsets.back()) * 1000, worst * 1000,
              bench.mixer.correction() * 100);
    }

    // A side whose timing jitters by tens of milliseconds for ten minutes (its blocks arrive
    // late by up to the spread, or its capture times stray either way): neither side's buffer
    // grows beyond its bound, the output keeps pace, and the jittering side is still heard.
    void aJitteringSideStaysBounded_data()
    {
        QTest::addColumn<double>("spread");
        QTest::addColumn<double>("timeNoise");
        QTest::newRow("arriving up to 40 ms late") << 0.040 << 0.0;
        QTest::newRow("times 40 ms off") << 0.002 << 0.040;
        QTest::newRow("times 100 ms off") << 0.002 << 0.100;
    }
    void aJitteringSideStaysBounded()
    {
        QFETCH(double, spread);
        QFETCH(double, timeNoise);
        Bench bench;
        bench.cards[0] = Card{0, 1.0, 160, 0.0, 11};
        bench.cards[1] = Card{1, 1.0, 160, 0.0, 17};
        bench.cards[1].spread = spread;
        bench.cards[1].timeNoise = timeNoise;
        Watch second{1, 17, 0};
        qint64 held = 0;
        bench.onOutput = [&](const float *f, qint64 n) {
            second.take(f, n);
            held = std::max({held, bench.mixer.heldFrames(0), bench.mixer.heldFrames(1)});
        };
        const double tenMinutes = 600;
        bench.run(tenMinutes);
        const qint64 bound = qint64(kRate) * StreamMixer::kMaxHoldMs / 1000 + 2 * 160;
        qInfo("arriving up to %.0f ms late, times %.0f ms off, for 10 minutes: at most %lld frames held (bound "
              "%lld), %lld dropped and %lld padded, output %.3f s",
              spread * 1000, timeNoise * 1000, (long long)held, (long long)bound, (long long)bench.mixer.droppedFrames(),
              (long long)bench.mixer.paddedFrames(), double(bench.outputFrames) / kRate);
        QVERIFY2(held <= bound, qPrintable(QString::number(held)));
        QVERIFY(std::fabs(double(bench.outputFrames) / kRate - tenMinutes) < 0.5);
        // Heard in the last minute at its level, apart from what the corrections cost.
        double heard = 0;
        for (size_t i = second.amplitudes.size() - 60; i < second.amplitudes.size(); ++i)
            heard += second.amplitudes[i] / 60;
        QVERIFY2(heard > 0.45, qPrintable(QString::number(heard)));
    }

    void aSideThatStopsLeavesNoGap_data()
    {
        QTest::addColumn<int>("pausedSide");
        QTest::addColumn<bool>("reportedGone");
        QTest::newRow("clock side stalls") << 0 << false;
        QTest::newRow("clock side's device gone") << 0 << true;
        QTest::newRow("following side stalls") << 1 << false;
        QTest::newRow("following side's device gone") << 1 << true;
    }
    void aSideThatStopsLeavesNoGap()
    {
        QFETCH(int, pausedSide);
        QFETCH(bool, reportedGone);
        Bench bench;
        bench.cards[0] = Card{0, 1.0, 160, 0.0, 11};
        bench.cards[1] = Card{1, 1.001, 80, 0.0, 17};
        bench.cards[pausedSide].pauseFrom = 3.0;
        bench.cards[pausedSide].pauseTo = 5.0;
        bench.stopAtPause = reportedGone;
        const int survivor = 1 - pausedSide;
        Watch kept{survivor, survivor == 0 ? 11.0 : 17.0, kRate};
        Watch paused{pausedSide, pausedSide == 0 ? 11.0 : 17.0, 0};
        bench.onOutput = [&](const float *f, qint64 n) {
            kept.take(f, n);
            paused.take(f, n);
        };
        const double seconds = 8;
        bench.run(seconds);

        // The output covers the whole time (at the pace of whichever side was the clock),
        // and the side that went on delivering never broke.
        QVERIFY2(std::abs(bench.outputFrames - qint64(seconds * kRate)) < kRate / 10,
                 qPrintable(QString::number(bench.outputFrames)));
        const double hz = survivor == 0 ? 11.0 : 17.0;
        QVERIFY2(kept.maxStep <= stepLimit(0.5, hz) * 1.01, qPrintable(QString::number(kept.maxStep)));
        QVERIFY2(kept.maxBend <= bendLimit(0.5, hz) * 1.5 + 2e-6, qPrintable(QString::number(kept.maxBend)));
        // The paused side was silent while away and came back in step.
        QVERIFY(paused.amplitudes.size() >= 7);
        QVERIFY2(paused.amplitudes[3] < 0.01, qPrintable(QString::number(paused.amplitudes[3])));
        QVERIFY2(std::fabs(paused.amplitudes[6] - 0.5) < 0.01,
                 qPrintable(QString::number(paused.amplitudes[6])));
        QVERIFY2(std::fabs(paused.offsets[6] - kept.offsets[6]) <= 0.020,
                 qPrintable(QString::number(paused.offsets[6] - kept.offsets[6])));
    }

    void levelsAndSoftLimit_data()
    {
        QTest::addColumn<float>("levelFirst");
        QTest::addColumn<float>("levelSecond");
        QTest::addColumn<float>("amplitude");
        QTest::newRow("100 % and 50 %") << 1.0f << 0.5f << 0.3f;
        QTest::newRow("25 % and 100 %") << 0.25f << 1.0f << 0.3f;
        QTest::newRow("two loud sides") << 1.0f << 1.0f << 0.9f;
    }
    void levelsAndSoftLimit()
    {
        QFETCH(float, levelFirst);
        QFETCH(float, levelSecond);
        QFETCH(float, amplitude);
        Bench bench;
        // Both sides on the same channel, so that they add up.
        bench.cards[0] = Card{0, 1.0, 160, 0.0, 300, amplitude};
        bench.cards[1] = Card{1, 1.0, 80, 0.0, 700, amplitude};
        bench.cards[1].channel = 0;
        bench.mixer.setLevel(0, levelFirst);
        bench.mixer.setLevel(1, levelSecond);
        std::vector<float> mono;
        float peak = 0;
        bench.onOutput = [&](const float *f, qint64 n) {
            for (qint64 i = 0; i < n; ++i) {
                mono.push_back(f[i * kChannels]);
                peak = std::max(peak, std::fabs(f[i * kChannels]));
            }
        };
        bench.run(4);
        const std::vector<float> tail(mono.end() - 2 * kRate, mono.end());
        QVERIFY2(peak < 1.0f, qPrintable(QString::number(peak)));
        const double sum = double(amplitude) * (levelFirst + levelSecond);
        if (sum <= StreamMixer::kLimiterKnee) {
            // Unlimited: each tone at its level, to a tenth of a dB.
            const double first = testaudio::toneLevelDb(tail, kRate, 300);
            const double second = testaudio::toneLevelDb(tail, kRate, 700);
            const double wanted = 20 * std::log10(levelFirst / levelSecond);
            QVERIFY2(std::fabs(first - second - wanted) < 0.1,
                     qPrintable(QStringLiteral("%1 dB against %2 dB").arg(first - second).arg(wanted)));
        } else {
            // Limited: the peaks come close to full scale without reaching it.
            QVERIFY2(peak > 0.95f, qPrintable(QString::number(peak)));
        }
    }
};

QTEST_APPLESS_MAIN(TestStreamMixer)
#include "tst_stream_mixer.moc"
