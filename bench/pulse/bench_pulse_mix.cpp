// What "Microphone + computer sound" costs: the recorder records the default input (a
// 440 Hz tone on a null sink of its own, standing in for a microphone) alone, then the mix
// of it and the default output's monitor (a 1 kHz tone), in turns, and compares the CPU
// time of this process (all threads: the sound server's loop threads, the mixing and
// resampling, the blocks reaching the UI thread) over the same stretch of recording.
//
// Then, simulated: a side whose timing jitters (blocks arriving up to 40 ms late, or capture
// times 40 or 100 ms off either way) for 10 minutes of 44.1 kHz stereo, and what the mixer
// holds minute by minute: its memory stays flat.
#include "bench_util.h"
#include "engine/dsp/stream_mixer.h"
#include "engine/pulse/pulse_recorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <random>

using engine::PulseRecorder;

namespace {

QString pactl(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("pactl"), args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Take {
    double cpu = 0;          // CPU seconds of this process while recording
    double seconds = 0;      // wall time measured
    qint64 frames = 0;       // frames delivered in that time
    double correction = 0;   // the mix: speed correction of the following side at the end
    double offsetMs = 0;     // the mix: how far apart the sides stood at the end
    qint64 lost = 0;
    QString error;
};

Take record(bool mix, int seconds)
{
    Take take;
    PulseRecorder rec;
    if (mix && !rec.SetDeviceById(QStringLiteral("mix:microphone+computer"))) {
        take.error = QStringLiteral("the mix is not listed");
        return take;
    }
    rec.SetFormat(2, 44100);
    rec.SetArraySize(rec.CalcArraySize(200));
    float peak = 0;   // the blocks are looked at, as the program's meters and files do
    bool counting = false;
    QObject::connect(&rec, &PulseRecorder::OnEndArrayRecord, [&](QObject *, int) {
        const engine::SampleArray a = rec.GetArray();
        const float *f = a.floatData();
        for (qint64 i = 0; f && i < a.frames() * a.channels(); ++i)
            peak = std::max(peak, std::fabs(f[i]));
        if (counting)
            take.frames += a.frames();
    });
    rec.Start();
    if (rec.GetErrorCode() != 0) {
        take.error = rec.GetErrorText();
        return take;
    }
    spin(1000);   // past the start: both sides running, the follower joined
    counting = true;
    QElapsedTimer clock;
    clock.start();
    const double cpu0 = bench::selfCpu();
    spin(seconds * 1000);
    take.cpu = bench::selfCpu() - cpu0;
    take.seconds = clock.nsecsElapsed() / 1e9;
    counting = false;
    take.correction = rec.mixCorrection();
    take.offsetMs = rec.mixOffsetMs();
    take.lost = rec.lostFrames();
    rec.Stop();
    if (peak < 0.05f)
        take.error = QStringLiteral("nothing was recorded (peak %1)").arg(peak);
    return take;
}

// Ten simulated minutes of the mix with the second side's timing jittering: its 10 ms blocks
// arrive up to lateMs late (in order), and their capture times stray up to noiseMs either way.
void simulateJitter(double lateMs, double noiseMs)
{
    constexpr int rate = 44100;
    constexpr int channels = 2;
    constexpr qint64 block = rate / 100;
    engine::dsp::StreamMixer mixer;
    mixer.reset(rate, channels);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> late(0, lateMs * 1000), noise(-noiseMs * 1000, noiseMs * 1000);
    const std::vector<float> sound(size_t(block * channels), 0.1f);
    std::vector<float> out;
    qint64 produced = 0;
    double captured[2] = {0, 0};        // when each side's next block ends (us)
    double arrives = 1e6 / 100 + late(random);   // when the second side's next block arrives
    qint64 held[10] = {};
    for (int minute = 0; minute < 10; ++minute) {
        const double end = (minute + 1) * 60e6;
        while (captured[0] < end) {
            // The steady side (the clock), then the second side's blocks that arrived by now.
            captured[0] += block * 1e6 / rate;
            mixer.push(0, sound.data(), block, qint64(captured[0]), out);
            while (arrives <= captured[0]) {
                captured[1] += block * 1e6 / rate;
                mixer.push(1, sound.data(), block, qint64(captured[1] + noise(random)), out);
                arrives = std::max(arrives, captured[1] + block * 1e6 / rate + late(random));
            }
            produced += qint64(out.size()) / channels;
            out.clear();
            held[minute] = std::max({held[minute], mixer.heldFrames(0), mixer.heldFrames(1)});
        }
    }
    std::printf("  a side %.0f ms late and %.0f ms off, 10 simulated minutes: most held a minute (KiB):", lateMs, noiseMs);
    for (const qint64 h : held)
        std::printf(" %lld", (long long)(h * channels * qint64(sizeof(float)) / 1024));
    std::printf("\n    %lld frames dropped and %lld padded to keep it so (%.4f %% of %lld), output %.3f of 600 s\n",
                (long long)mixer.droppedFrames(), (long long)mixer.paddedFrames(),
                100.0 * double(mixer.droppedFrames() + mixer.paddedFrames()) / double(produced), (long long)produced,
                double(produced) / rate);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;

    // The microphone: a null sink of its own whose monitor is the default input.
    const QString module = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                                  QStringLiteral("sink_name=tavrin_bench_mic")});
    pactl({QStringLiteral("set-default-source"), QStringLiteral("tavrin_bench_mic.monitor")});
    const auto tone = [](int hz, const char *sink) {
        auto c = std::make_unique<bench::Child>();
        c->start({"ffmpeg", "-nostdin", "-re", "-f", "lavfi", "-i",
                  QStringLiteral("sine=frequency=%1:sample_rate=44100").arg(hz), "-f", "pulse",
                  "-buffer_duration", "50", "-device", sink, "bench tone"});
        return c;
    };
    auto voice = tone(440, "tavrin_bench_mic");
    auto music = tone(1000, "tavrin_null");
    spin(1500);

    std::vector<double> single, mixed;
    Take last;
    bool ok = true;
    for (int r = 0; r < rounds && ok; ++r) {
        const Take a = record(false, seconds);
        const Take b = record(true, seconds);
        for (const Take *t : {&a, &b})
            if (!t->error.isEmpty()) {
                std::fprintf(stderr, "recording failed: %s\n", qPrintable(t->error));
                ok = false;
            }
        single.push_back(a.cpu / a.seconds);
        mixed.push_back(b.cpu / b.seconds);
        std::printf("  round %d: one input %.4f s CPU per s (%lld frames in %.2f s), mix %.4f s CPU "
                    "per s (%lld frames in %.2f s)\n",
                    r + 1, a.cpu / a.seconds, (long long)a.frames, a.seconds, b.cpu / b.seconds,
                    (long long)b.frames, b.seconds);
        last = b;
    }

    voice->terminate();
    music->terminate();
    pactl({QStringLiteral("set-default-source"), QStringLiteral("tavrin_null.monitor")});
    if (!module.isEmpty())
        pactl({QStringLiteral("unload-module"), module});
    if (!ok)
        return 1;

    std::printf("the mix with a side whose timing jitters (simulated, 44100 Hz stereo, bound %d ms):\n",
                engine::dsp::StreamMixer::kMaxHoldMs);
    simulateJitter(40, 0);
    simulateJitter(0, 40);
    simulateJitter(0, 100);

    const double one = bench::least(single);
    const double two = bench::least(mixed);
    const double ratio = one > 0 ? two / one : 0;
    std::printf("recording %d s x %d rounds at 44100 Hz stereo, 200 ms blocks\n", seconds, rounds);
    std::printf("  one input (the default source):           %.4f s CPU per s recorded (least)\n", one);
    std::printf("  microphone + computer sound (the mix):     %.4f s CPU per s recorded (least)\n", two);
    std::printf("  ratio mix / one input: %.2f (target <= 2.00) %s\n", ratio, ratio <= 2.0 ? "ok" : "MISSED");
    std::printf("  mix at the end of the last round: following side's speed %+.5f %%, sides %.3f ms "
                "apart, %.4f %% of the frames expected, %lld frames filled\n",
                last.correction * 100, last.offsetMs,
                100.0 * double(last.frames) / (last.seconds * 44100), (long long)last.lost);
    return 0;
}
