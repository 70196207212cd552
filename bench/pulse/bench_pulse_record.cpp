// One minute recorded from the null sink's monitor (a 1 kHz tone playing into the sink)
// into MP3 at 128 kbit/s by the engine (recorder + file component, as the program does it)
// and, side by side, by the ffmpeg command line.
#include "bench_util.h"
#include "engine/file/ffmpeg_audio_file.h"
#include "engine/pulse/pulse_recorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <memory>

using engine::PulseRecorder;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const int rate = 44100;
    QTemporaryDir dir;

    // The tone, from a child of its own (its CPU time counts for nobody).
    bench::Child tone;
    if (!tone.start({"ffmpeg", "-nostdin", "-re", "-f", "lavfi", "-i",
                     "sine=frequency=1000:sample_rate=44100",
                     "-t", QString::number(seconds + 10), "-f", "pulse", "-buffer_duration", "50",
                     "-device", "tavrin_null",
                     "bench tone"})) {
        std::fprintf(stderr, "cannot start ffmpeg for the tone\n");
        return 1;
    }

    engine::FfmpegAudioFile out;
    out.SetActive(true);
    out.SetMp3Format(rate, 128, 2);
    const QString enginePath = dir.filePath("engine.mp3");
    PulseRecorder rec;
    rec.SetFormat(2, rate);
    rec.SetArraySize(rec.CalcArraySize(200));
    qint64 frames = 0;
    int blocks = 0;
    QElapsedTimer clock;
    qint64 firstBlockNs = -1, lastBlockNs = -1, framesAtFirst = 0;
    QObject::connect(&rec, &PulseRecorder::OnEndArrayRecord, [&](QObject *, int) {
        const engine::SampleArray a = rec.GetArray();
        out.WriteArray(a);
        frames += a.frames();
        ++blocks;
        const qint64 now = clock.nsecsElapsed();
        if (firstBlockNs < 0) {
            firstBlockNs = now;
            framesAtFirst = frames;
        }
        lastBlockNs = now;
    });

    // Let the tone reach the sink, then start both recorders together.
    QTimer::singleShot(1500, [&] {
        auto peer = std::make_shared<bench::Child>();
        const QString peerPath = dir.filePath("ffmpeg.mp3");
        const double cpu0 = bench::selfCpu();
        clock.start();
        out.Create(enginePath, 0);
        rec.SetFormat(out.GetFormatValueB(), out.GetFormatValueA());
        rec.Start();
        if (rec.GetErrorCode() != 0) {
            std::fprintf(stderr, "recorder did not start: %s\n", qPrintable(rec.GetErrorText()));
            app.exit(1);
            return;
        }
        peer->start({"ffmpeg", "-nostdin", "-y", "-f", "pulse", "-i", "tavrin_null.monitor",
                    "-t", QString::number(seconds), "-b:a", "128k", peerPath});
        QTimer::singleShot(seconds * 1000, [&, cpu0, peer] {
            rec.Stop();
            const double elapsed = clock.nsecsElapsed() / 1e9;
            const qint64 written = out.GetNumSamples();
            out.Close();
            const double engineCpu = bench::selfCpu() - cpu0;
            double peerCpu = 0;
            const bool peerOk = peer->finish(&peerCpu);
            const double span = (lastBlockNs - firstBlockNs) / 1e9;
            const double measuredRate = span > 0 ? double(frames - framesAtFirst) / span : 0;
            // From the first frame (its block ended 200 ms after it) to Stop.
            const double captureSpan = elapsed - (firstBlockNs / 1e9 - 0.2);
            const qint64 expected = qint64(std::llround(captureSpan * rate));
            std::printf("recording %d s at %d Hz stereo, 200 ms blocks\n", seconds, rate);
            std::printf("  engine (PulseRecorder -> FfmpegAudioFile MP3 128k): %.3f s CPU, "
                        "%lld frames written\n", engineCpu, (long long)written);
            std::printf("  ffmpeg -f pulse ... -b:a 128k out.mp3:  %.3f s CPU%s\n", peerCpu,
                        peerOk ? "" : " (ffmpeg failed)");
            std::printf("  ratio engine / ffmpeg: %.3f (target <= 1.10)\n",
                        peerCpu > 0 ? engineCpu / peerCpu : 0.0);
            std::printf("  start latency (Start to first 200 ms block): %.1f ms\n",
                        firstBlockNs / 1e6);
            std::printf("  frames captured %lld in %d blocks; first frame to Stop %.3f s x rate "
                        "= %lld (%.3f %% apart)\n",
                        (long long)frames, blocks, captureSpan, (long long)expected,
                        100.0 * double(frames - expected) / double(expected));
            std::printf("  capture rate from block arrivals: %.2f Hz (%.4f %% off %d)\n",
                        measuredRate, 100.0 * (measuredRate - rate) / rate, rate);
            std::printf("  frames lost (server holes): %lld, overruns: %d\n",
                        (long long)rec.lostFrames(), rec.overruns());
            app.quit();
        });
    });
    const int rc = app.exec();
    tone.terminate();
    return rc;
}
