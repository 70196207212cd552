// Finishing a one-hour recording with 100 markers: SetMarkers on one-hour files of every
// type the program writes (made through the engine, so with the room its writers leave),
// wall time including the trip to disk (target: under a second), beside the ffmpeg command
// line copying the file with the same chapters from an ffmetadata file. Also the
// worst case, a file without room, which is written anew and renamed over the old one.
#include "bench_util.h"
#include "engine/file/ffmpeg_audio_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <chrono>
#include <cmath>

using namespace engine;

namespace {

constexpr int kMinutes = 60;
constexpr int kMarkers = 100;

double wallSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// An hour of quiet hum written as a recording writes it, in 10 s blocks.
int makeHour(const QString &path)
{
    FfmpegAudioFile writer;
    writer.SetActive(true);
    writer.Create(path, 0);
    const int rate = writer.GetFormatValueA();
    const int block = rate * 10;
    std::vector<float> s(size_t(block) * 2);
    for (int i = 0; i < block; ++i)
        s[size_t(i) * 2] = s[size_t(i) * 2 + 1] = float(0.01 * std::sin(2 * M_PI * 50.0 * i / rate));
    for (int n = 0; n < kMinutes * 6; ++n)
        writer.WriteArray(SampleArray::fromFloat(s.data(), block, rate, 2));
    writer.Close();
    return rate;
}

std::vector<FileMarker> markersFor(int rate)
{
    std::vector<FileMarker> m;
    for (int i = 0; i < kMarkers; ++i)
        m.push_back({qint64(i) * kMinutes * 60 * rate / kMarkers + 123, QStringLiteral("Marker %1 – speaker").arg(i + 1)});
    return m;
}

void writeMetadata(const QString &path, const std::vector<FileMarker> &markers, int rate)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Text);
    QTextStream out(&f);
    out << ";FFMETADATA1\n";
    for (size_t i = 0; i < markers.size(); ++i) {
        const qint64 end = i + 1 < markers.size() ? markers[i + 1].frame : qint64(kMinutes) * 60 * rate;
        out << "[CHAPTER]\nTIMEBASE=1/" << rate << "\nSTART=" << markers[i].frame << "\nEND=" << end
            << "\ntitle=" << markers[i].name << "\n";
    }
}

}  // namespace

int main()
{
    QTemporaryDir dir(QDir::tempPath() + "/bench-markers-XXXXXX");
    std::printf("%d markers written into %d-minute files made through the engine (wall time, fsync included)\n",
                kMarkers, kMinutes);
    auto file = createEngineFactory()->createFile(QString());
    for (const char *ext : {"wav", "mp3", "wma", "flac", "ogg", "opus"}) {
        const QString path = dir.filePath(QStringLiteral("hour.%1").arg(ext));
        const auto made = std::chrono::steady_clock::now();
        const int rate = makeHour(path);
        const double makeSeconds = wallSince(made);
        const std::vector<FileMarker> markers = markersFor(rate);

        auto t0 = std::chrono::steady_clock::now();
        file->SetMarkers(path, markers);
        const double inPlace = wallSince(t0);
        t0 = std::chrono::steady_clock::now();
        const bool back = file->GetMarkers(path).size() == markers.size();
        const double read = wallSince(t0);

        // The peer: ffmpeg copying the file with the chapters of an ffmetadata file.
        const QString meta = dir.filePath("chapters.txt");
        writeMetadata(meta, markers, rate);
        const QString copy = dir.filePath(QStringLiteral("copy.%1").arg(ext));
        t0 = std::chrono::steady_clock::now();
        const bool peerOk = bench::runCpu("ffmpeg", {"-nostdin", "-v", "error", "-y", "-i", path, "-i", meta,
                                                     "-map", "0", "-map_chapters", "1", "-c", "copy", copy}) >= 0;
        const double peer = peerOk ? wallSince(t0) : -1;

        // Worst case: a copy without room (ffmpeg's), given the markers anew.
        double rewrite = -1;
        if (peerOk && std::strcmp(ext, "wav") != 0) {
            file->SetMarkers(copy, {});
            std::vector<FileMarker> many = markers;
            for (FileMarker &m : many)
                m.name += QString(160, QLatin1Char('x'));   // more than any room
            t0 = std::chrono::steady_clock::now();
            file->SetMarkers(copy, many);
            rewrite = wallSince(t0);
        }
        std::printf("%-5s %6.1f MB (made in %5.1f s): SetMarkers %7.4f s, GetMarkers %7.4f s%s; "
                    "rewrite without room %7.4f s\n",
                    ext, QFileInfo(path).size() / 1e6, makeSeconds, inPlace, read, back ? "" : " (MISSING)", rewrite);
        bench::ratioLine(qPrintable(QStringLiteral("%1: SetMarkers vs ffmpeg -map_chapters copy").arg(ext)),
                         inPlace, peer, 1.0);
        std::printf("%-44s %s\n", "", inPlace < 1.0 ? "under 1 s: ok" : "over 1 s: MISSED");
        QFile::remove(path);
        QFile::remove(copy);
    }
    return 0;
}
