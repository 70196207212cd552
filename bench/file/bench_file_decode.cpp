// Reading a 60-minute MP3 (128 kbit/s, 44.1 kHz stereo) as playback does: through
// FfmpegAudioFile::ReadArray in 200 ms blocks, beside the ffmpeg command line decoding it to
// 32-bit float (target ratio <= 1.10); and opening it for its exact length
// (Open + GetNumSamples) beside ffprobe asking for its duration (target <= 1.5).
#include "bench_util.h"
#include "engine/file/ffmpeg_audio_file.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <chrono>
#include <cmath>
#include <random>

using namespace engine;

namespace {

constexpr int kRate = 44100;
constexpr int kMinutes = 60;
constexpr int kDecodeRuns = 3;
constexpr int kOpenRuns = 10;

bool ffmpeg(const QStringList &args)
{
    return bench::runCpu("ffmpeg", QStringList{"-nostdin", "-v", "error", "-y"} + args) >= 0;
}

// One minute of music-like material, encoded once and joined sixty times without
// re-encoding.
bool makeLongMp3(const QTemporaryDir &dir, const QString &path, bool xing)
{
    const QString raw = dir.filePath("minute.f32");
    if (!QFile::exists(raw)) {
        std::vector<float> s(size_t(kRate) * 60 * 2);
        std::mt19937 rng(1);
        std::normal_distribution<float> noise(0.f, 0.05f);
        for (size_t i = 0; i < s.size() / 2; ++i) {
            const double t = double(i) / kRate;
            const double a = 0.2 * std::sin(2 * M_PI * (220 + 30 * std::sin(t)) * t);
            const double b = 0.15 * std::sin(2 * M_PI * 1375 * t + std::sin(3 * t));
            s[i * 2] = float(a + b) + noise(rng);
            s[i * 2 + 1] = float(a - 0.5 * b) + noise(rng);
        }
        QFile f(raw);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(reinterpret_cast<const char *>(s.data()), qint64(s.size() * sizeof(float)));
    }
    const QString minute = dir.filePath("minute.mp3");
    if (!QFile::exists(minute)
        && !ffmpeg({"-f", "f32le", "-ar", QString::number(kRate), "-ac", "2", "-i", raw, "-c:a", "libmp3lame",
                    "-b:a", "128k", "-write_xing", "0", "-id3v2_version", "0", minute}))
        return false;
    const QString list = dir.filePath("list.txt");
    {
        QFile f(list);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
            return false;
        QTextStream out(&f);
        for (int i = 0; i < kMinutes; ++i)
            out << "file '" << minute << "'\n";
    }
    return ffmpeg({"-f", "concat", "-safe", "0", "-i", list, "-c", "copy", "-write_xing", xing ? "1" : "0", path});
}

double decodeOurs(const QString &path, qint64 *frames)
{
    const double start = bench::selfCpu();
    FfmpegAudioFile file;
    file.Open(path, 0, 1);
    const qint64 block = kRate / 5;
    *frames = 0;
    for (;;) {
        const SampleArray a = file.ReadArray(block);
        if (a.isEmpty())
            break;
        *frames += a.frames();
    }
    file.Close();
    return bench::selfCpu() - start;
}

double openOurs(const QString &path, qint64 *frames)
{
    const double start = bench::selfCpu();
    for (int i = 0; i < kOpenRuns; ++i) {
        FfmpegAudioFile file;
        file.Open(path, 0, 1);
        *frames = file.GetNumSamples();
        file.Close();
    }
    return (bench::selfCpu() - start) / kOpenRuns;
}

double probeDuration(const QString &path)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "default=nw=1:nk=1", path});
    p.waitForFinished(60000);
    return p.readAllStandardOutput().trimmed().toDouble();
}

}  // namespace

int main()
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString withXing = dir.filePath("long.mp3");
    const QString withoutXing = dir.filePath("long-noxing.mp3");
    if (!makeLongMp3(dir, withXing, true) || !makeLongMp3(dir, withoutXing, false)) {
        std::printf("could not make the test files with ffmpeg\n");
        return 1;
    }
    std::printf("A %d-minute MP3 (128 kbit/s, %d Hz stereo), %.1f MB\n", kMinutes, kRate,
                QFileInfo(withXing).size() / 1e6);

    std::vector<double> ours, peer;
    qint64 frames = 0;
    for (int run = 0; run < kDecodeRuns; ++run) {
        ours.push_back(decodeOurs(withXing, &frames));
        peer.push_back(bench::runCpu("ffmpeg", {"-nostdin", "-v", "error", "-i", withXing, "-f", "f32le",
                                                "-c:a", "pcm_f32le", "-y", "/dev/null"}));
    }
    std::printf("Decoding through ReadArray in 200 ms blocks (%lld frames), least CPU time of %d runs\n",
                frames, kDecodeRuns);
    bench::ratioLine("decode 60 min MP3", bench::least(ours), bench::least(peer), 1.10);

    qint64 exact = 0;
    const double openCpu = openOurs(withXing, &exact);
    std::vector<double> probe;
    for (int i = 0; i < kOpenRuns; ++i)
        probe.push_back(bench::runCpu("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of",
                                                  "default=nw=1:nk=1", withXing}));
    std::printf("Open and measure (per open, mean of %d)\n", kOpenRuns);
    bench::ratioLine("Open + GetNumSamples vs ffprobe duration", openCpu, bench::least(probe), 1.5);
    const double probed = probeDuration(withXing);
    std::printf("  GetNumSamples %lld frames = %.4f s; ffprobe %.4f s (it counts the encoder's delay and\n"
                "  padding); decoding delivered %lld frames\n",
                exact, double(exact) / kRate, probed, frames);

    // Seeking as the position slider does: far jumps in the long file (wall time).
    {
        FfmpegAudioFile file;
        file.Open(withXing, 0, 1);
        std::printf("Seek + first 200 ms block (wall time)\n");
        for (const double minute : {59.0, 30.5, 45.25, 1.0, 58.9}) {
            const qint64 target = qint64(minute * 60 * kRate) + 123;
            const auto t0 = std::chrono::steady_clock::now();
            const qint64 reached = file.Seek(target, 3);
            file.ReadArray(kRate / 5);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            std::printf("  to %6.2f min: %7.1f ms%s\n", minute, ms, reached == target ? "" : "  (missed)");
        }
    }

    // Without a Xing header the length comes from a packet scan; ffprobe must read every
    // packet too to count them.
    qint64 scanned = 0;
    const double scanCpu = openOurs(withoutXing, &scanned);
    std::vector<double> counted;
    for (int i = 0; i < 3; ++i)
        counted.push_back(bench::runCpu("ffprobe", {"-v", "error", "-count_packets", "-show_entries",
                                                    "stream=nb_read_packets", "-of", "csv=p=0", withoutXing}));
    std::printf("Without a Xing header (information only)\n");
    std::printf("%-44s ours %8.3f s   ffprobe %8.3f s   ratio %5.2f\n", "Open + GetNumSamples vs ffprobe -count_packets",
                scanCpu, bench::least(counted), scanCpu / bench::least(counted));
    std::printf("  GetNumSamples %lld frames = %.4f s\n", scanned, double(scanned) / kRate);
    return 0;
}
