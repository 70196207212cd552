// What "Microphone + computer sound" costs: the recorder records the default input (a
// 440 Hz tone on a null sink of its own, standing in for a microphone) alone, then the mix
// of it and the default output's monitor (a 1 kHz tone), in turns, and compares the CPU
// time of this process (all threads: the sound server's loop threads, the mixing and
// resampling, the blocks reaching the UI thread) over the same stretch of recording.
//
// What separate side files cost: the mix recorded into FLAC through FfmpegAudioFile, as one
// file of the sum, then as three files (the sum, the microphone, the computer sound: each
// block's GetArray, GetSideArray(0) and GetSideArray(1) to a writer of its own), in turns;
// CPU time of this process per second recorded, and the ratio.
//
// Then, simulated: a side whose timing jitters (blocks arriving up to 40 ms late, or capture
// times 40 or 100 ms off either way) for 10 minutes of 44.1 kHz stereo, and what the mixer
// holds minute by minute: its memory stays flat.
//
// Last, the delay of listening to the input: clicks written by a low-latency stream of our
// own into a null sink whose monitor the recorder records, with listening on to a second
// null sink, are found again on that sink's monitor; then the same clicks written straight
// into the second sink. Each delay runs from handing the click to the server to reading it
// back, so both hold our own two streams; the difference is what the program adds.
#include "bench_util.h"
#include "engine/dsp/stream_mixer.h"
#include "engine/file/ffmpeg_audio_file.h"
#include "engine/pulse/capture_stream.h"
#include "engine/pulse/pulse_recorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
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

// The middle of the figures; of an even count, halfway between the middle two.
double middle(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Take {
    double cpu = 0;          // CPU seconds of this process while recording
    double seconds = 0;      // wall time measured
    qint64 frames = 0;       // frames delivered in that time
    double correction = 0;   // the mix: speed correction of the following side at the end
    double offsetMs = 0;     // the mix: how far apart the sides stood at the end
    qint64 lost = 0;
    qint64 written = 0;      // frames in each file (all of them hold the same)
    QString error;
};

// What the blocks are written to: nothing, a FLAC file of the sum, or that and a FLAC file
// of each side.
enum class Files { None, Sum, SumAndSides };

Take record(bool mix, int seconds, Files files = Files::None, const QString &folder = {})
{
    Take take;
    PulseRecorder rec;
    if (mix && !rec.SetDeviceById(QStringLiteral("mix:microphone+computer"))) {
        take.error = QStringLiteral("the mix is not listed");
        return take;
    }
    if (files == Files::SumAndSides && !rec.SetSideArrays(true)) {
        take.error = QStringLiteral("the mix has no sides");
        return take;
    }
    rec.SetFormat(2, 44100);
    rec.SetArraySize(rec.CalcArraySize(200));
    std::vector<std::unique_ptr<engine::FfmpegAudioFile>> out;
    const int count = files == Files::None ? 0 : files == Files::Sum ? 1 : 3;
    try {
        for (const char *name : {"sum", "microphone", "computer"}) {
            if (int(out.size()) == count)
                break;
            auto f = std::make_unique<engine::FfmpegAudioFile>();
            f->SetActive(true);
            f->SetFlacFormat(44100, 2, 16, 5);
            f->Create(QStringLiteral("%1/%2.flac").arg(folder, QLatin1String(name)), 0);
            out.push_back(std::move(f));
        }
    } catch (const engine::EngineError &e) {
        take.error = e.text();
        return take;
    }
    float peak = 0;   // the blocks are looked at, as the program's meters and files do
    bool counting = false;
    int uneven = 0;   // side blocks that did not hold the frames of the sum's
    QObject::connect(&rec, &PulseRecorder::OnEndArrayRecord, [&](QObject *, int) {
        const engine::SampleArray a = rec.GetArray();
        const float *f = a.floatData();
        for (qint64 i = 0; f && i < a.frames() * a.channels(); ++i)
            peak = std::max(peak, std::fabs(f[i]));
        if (counting)
            take.frames += a.frames();
        try {
            for (size_t k = 0; k < out.size(); ++k) {
                const engine::SampleArray block = k == 0 ? a : rec.GetSideArray(int(k) - 1);
                uneven += block.frames() == a.frames() ? 0 : 1;
                out[k]->WriteArray(block);
            }
        } catch (const engine::EngineError &e) {
            take.error = e.text();
        }
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
    for (const auto &f : out) {
        if (f == out.front())
            take.written = f->GetNumSamples();
        else if (f->GetNumSamples() != take.written)
            uneven += 1;
        try {
            f->Close();
        } catch (const engine::EngineError &e) {
            take.error = e.text();
        }
    }
    if (!take.error.isEmpty())
        return take;
    if (peak < 0.05f)
        take.error = QStringLiteral("nothing was recorded (peak %1)").arg(peak);
    else if (uneven > 0)
        take.error = QStringLiteral("%1 side blocks or files did not match the sum").arg(uneven);
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

namespace pulse = engine::pulse;

constexpr int kClickRate = 44100;
constexpr int kClickMs = 3;        // 2 kHz at 0.8 for 3 ms
constexpr int kClickEveryMs = 400;

// Writes clicks into a sink through a low-latency playback stream of its own: silence,
// and every kClickEveryMs a click at the start of what the server asks for, stamped with
// the moment it was handed over. Lives on the loop thread, like the engine's streams:
// every method is lock held.
class ClickPlayer {
public:
    explicit ClickPlayer(pulse::PulseContext &pulse) : m_pulse(pulse) {}
    ~ClickPlayer() { close(); }

    bool open(const QString &sink, int clicks)
    {
        m_left = clicks;
        m_next = kClickRate;   // a second of silence first: the sinks run briskly by then
        const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, quint32(kClickRate), 2};
        pa_channel_map map;
        pa_channel_map_init_stereo(&map);
        m_stream.reset(pa_stream_new(m_pulse.context(), "Bench clicks", &format, &map));
        if (!m_stream)
            return false;
        pa_stream_set_write_callback(m_stream.get(), &ClickPlayer::onWrite, this);
        const auto bytes = [&format](int ms) {
            return quint32(pa_usec_to_bytes(pa_usec_t(ms) * PA_USEC_PER_MSEC, &format));
        };
        pa_buffer_attr attr;
        std::memset(&attr, 0xff, sizeof attr);
        attr.tlength = bytes(20);
        attr.minreq = bytes(5);
        return pa_stream_connect_playback(m_stream.get(), sink.toUtf8().constData(), &attr,
                                          pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE),
                                          nullptr, nullptr) >= 0;
    }
    void close()
    {
        if (!m_stream)
            return;
        pa_stream_set_write_callback(m_stream.get(), nullptr, nullptr);
        if (PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream.get())))
            pa_stream_disconnect(m_stream.get());
        m_stream.reset();
    }
    bool done() const { return m_left == 0 && m_inClick < 0; }
    const std::vector<qint64> &stamps() const { return m_stamps; }   // us, CaptureStream::nowUs

private:
    static void onWrite(pa_stream *s, size_t bytes, void *self)
    {
        auto *p = static_cast<ClickPlayer *>(self);
        const qint64 frames = qint64(bytes) / qint64(2 * sizeof(float));
        p->m_buffer.assign(size_t(frames * 2), 0.0f);
        constexpr qint64 length = kClickRate * kClickMs / 1000;
        qint64 i = 0;
        if (p->m_inClick < 0 && p->m_left > 0 && p->m_written >= p->m_next) {
            p->m_stamps.push_back(pulse::CaptureStream::nowUs());
            p->m_next += kClickRate * kClickEveryMs / 1000;
            --p->m_left;
            p->m_inClick = 0;
        }
        for (; p->m_inClick >= 0 && i < frames; ++i) {
            const float v = 0.8f * float(std::sin(2 * std::numbers::pi * 2000 * double(p->m_inClick) / kClickRate));
            p->m_buffer[size_t(2 * i)] = p->m_buffer[size_t(2 * i + 1)] = v;
            if (++p->m_inClick == length)
                p->m_inClick = -1;
        }
        pa_stream_write(s, p->m_buffer.data(), size_t(frames) * 2 * sizeof(float), nullptr, 0, PA_SEEK_RELATIVE);
        p->m_written += frames;
    }

    pulse::PulseContext &m_pulse;
    pulse::StreamPtr m_stream;
    std::vector<float> m_buffer;
    std::vector<qint64> m_stamps;
    qint64 m_written = 0;   // frames handed to the server
    qint64 m_next = 0;      // where the next click starts
    qint64 m_inClick = -1;  // frames of the click written so far; -1 between clicks
    int m_left = 0;
};

// Where clicks begin on a monitor, on the clock of CaptureStream::nowUs: the first loud
// sample after 8 ms of quiet, each frame dated back from when its fragment arrived.
class ClickFinder {
public:
    explicit ClickFinder(pulse::PulseContext &pulse) : m_stream(pulse) {}
    ~ClickFinder() { m_stream.close(); }

    bool open(const QString &source)
    {
        pulse::CaptureStream::Handlers handlers;
        handlers.data = [this](const float *data, qint64 frames, qint64 capturedUs) {
            for (qint64 i = 0; i < frames; ++i, ++m_frame) {
                if (!data || std::fabs(data[2 * i]) < 0.2f)
                    continue;
                if (m_frame - m_lastLoud > kClickRate * 8 / 1000)
                    m_onsets.push_back(capturedUs - (frames - 1 - i) * 1000000 / kClickRate);
                m_lastLoud = m_frame;
            }
        };
        return m_stream.open(QStringLiteral("Bench click finder"), source, kClickRate, 2, PA_INVALID_INDEX,
                             std::move(handlers)) &&
               m_stream.waitReady();
    }
    void close() { m_stream.close(); }
    const std::vector<qint64> &onsets() const { return m_onsets; }

private:
    pulse::CaptureStream m_stream;
    std::vector<qint64> m_onsets;
    qint64 m_frame = 0;
    qint64 m_lastLoud = -kClickRate;
};

struct Delays {
    std::vector<double> ms;   // one per click found, sorted
    int clicks = 0;           // clicks written
    qint64 monitorDropped = 0;
    int monitorUnderruns = 0;
    QString error;
    double median() const { return ms.empty() ? 0 : ms[ms.size() / 2]; }
    double worst() const { return ms.empty() ? 0 : ms.back(); }
};

// Clicks written into `sink` and found on `out`'s monitor. With a recorder, it records
// `sink`'s monitor and listens to it on `out` meanwhile.
Delays clickDelays(const QString &sink, const QString &out, bool throughRecorder, int clicks)
{
    Delays d;
    PulseRecorder rec;
    if (throughRecorder) {
        rec.SetFormat(2, kClickRate);
        rec.SetArraySize(rec.CalcArraySize(200));
        if (!rec.SetDeviceById(sink + QStringLiteral(".monitor"))) {
            d.error = QStringLiteral("%1.monitor is not listed").arg(sink);
            return d;
        }
        d.error = rec.SetMonitor(true, out);
        if (!d.error.isEmpty())
            return d;
        rec.Start();
        if (rec.GetErrorCode() != 0) {
            d.error = rec.GetErrorText();
            return d;
        }
    }
    pulse::PulseContext pulse(QStringLiteral("Tavrin bench"));
    if (!pulse.ensureConnected()) {
        d.error = QStringLiteral("no sound server");
        return d;
    }
    ClickFinder finder(pulse);
    ClickPlayer player(pulse);
    {
        pulse::PulseContext::Lock lock(pulse);
        if (!finder.open(out + QStringLiteral(".monitor")) || !player.open(sink, clicks))
            d.error = QStringLiteral("cannot play or record the clicks: %1").arg(pulse.errorText());
    }
    QElapsedTimer clock;
    clock.start();
    for (bool done = false; !done && d.error.isEmpty() && clock.elapsed() < 30000;) {
        spin(100);
        pulse::PulseContext::Lock lock(pulse);
        done = player.done();
    }
    spin(500);   // the last click's way out
    std::vector<qint64> stamps, onsets;
    {
        pulse::PulseContext::Lock lock(pulse);
        player.close();
        finder.close();
        stamps = player.stamps();
        onsets = finder.onsets();
    }
    if (throughRecorder) {
        d.monitorDropped = rec.monitorDroppedFrames();
        d.monitorUnderruns = rec.monitorUnderruns();
        rec.Stop();
    }
    // Each click's delay: the first onset from (a little before) its stamp on, well short of
    // the next click.
    d.clicks = int(stamps.size());
    for (const qint64 s : stamps) {
        const auto at = std::lower_bound(onsets.begin(), onsets.end(), s - 5000);
        if (at != onsets.end() && *at - s < kClickEveryMs * 1000 * 3 / 4)
            d.ms.push_back(double(*at - s) / 1000.0);
    }
    std::sort(d.ms.begin(), d.ms.end());
    if (d.error.isEmpty() && d.ms.size() < size_t(std::max(1, clicks * 3 / 4)))
        d.error = QStringLiteral("only %1 of %2 clicks found (%3 onsets)")
                      .arg(d.ms.size())
                      .arg(d.clicks)
                      .arg(onsets.size());
    return d;
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

    // The mix into FLAC: one file of the sum, then that and one file of each side.
    constexpr int fileSeconds = 8;
    constexpr int fileRounds = 2;
    QTemporaryDir folder;
    std::vector<double> oneFile, threeFiles;
    for (int r = 0; r < fileRounds && ok; ++r) {
        const Take a = record(true, fileSeconds, Files::Sum, folder.path());
        const Take b = record(true, fileSeconds, Files::SumAndSides, folder.path());
        for (const Take *t : {&a, &b})
            if (!t->error.isEmpty()) {
                std::fprintf(stderr, "recording into FLAC failed: %s\n", qPrintable(t->error));
                ok = false;
            }
        oneFile.push_back(a.cpu / a.seconds);
        threeFiles.push_back(b.cpu / b.seconds);
        std::printf("  FLAC round %d: the sum %.4f s CPU per s (%lld frames written), the sum and "
                    "each side %.4f s CPU per s (%lld frames in each of 3 files)\n",
                    r + 1, a.cpu / a.seconds, (long long)a.written, b.cpu / b.seconds, (long long)b.written);
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

    // Listening to the input: the clicks through the recorder, then straight into the output.
    constexpr int clicks = 20;
    const QString mic = QStringLiteral("tavrin_mic"), out = QStringLiteral("tavrin_out");
    QStringList sinks;
    for (const QString &name : {mic, out})
        sinks << pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                        QStringLiteral("sink_name=%1").arg(name)});
    const Delays listened = clickDelays(mic, out, true, clicks);
    const Delays direct = clickDelays(out, out, false, clicks);
    for (const QString &m : sinks)
        if (!m.isEmpty())
            pactl({QStringLiteral("unload-module"), m});
    for (const Delays *d : {&listened, &direct})
        if (!d->error.isEmpty()) {
            std::fprintf(stderr, "measuring the clicks failed: %s\n", qPrintable(d->error));
            ok = false;
        }

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

    const double sum = middle(oneFile);
    const double sides = middle(threeFiles);
    std::printf("the mix recorded into FLAC (44100 Hz stereo, 16 bit, level 5), %d s x %d rounds each\n",
                fileSeconds, fileRounds);
    std::printf("  one file (the sum):                           %.4f s CPU per s recorded (median)\n", sum);
    std::printf("  three files (the sum, microphone, computer):  %.4f s CPU per s recorded (median)\n", sides);
    std::printf("  ratio three files / one file: %.2f\n", sum > 0 ? sides / sum : 0.0);

    std::printf("listening to the input: %d clicks every %d ms, from handing each to the server to "
                "reading it back from %s.monitor\n", clicks, kClickEveryMs, qPrintable(out));
    const QString through = QStringLiteral("%1 -> recorder -> %2:").arg(mic, out);
    const QString straight = QStringLiteral("straight into %1:").arg(out);
    std::printf("  %-44s median %6.1f ms, worst %6.1f ms (%d of %d clicks; %lld frames dropped, "
                "%d underruns)\n",
                qPrintable(through), listened.median(), listened.worst(), int(listened.ms.size()),
                listened.clicks, (long long)listened.monitorDropped, listened.monitorUnderruns);
    std::printf("  %-44s median %6.1f ms, worst %6.1f ms (%d of %d clicks)\n", qPrintable(straight),
                direct.median(), direct.worst(), int(direct.ms.size()), direct.clicks);
    std::printf("  %-44s median %6.1f ms, worst %6.1f ms\n", "what the program adds:",
                listened.median() - direct.median(), listened.worst() - direct.worst());
    return ok ? 0 : 1;
}
