// A one-minute MP3 played through the engine (file component reading, player playing, as
// the program does it) and, side by side, by the ffmpeg command line, both into the private
// server's null sink.
#include "bench_util.h"
#include "engine/file/ffmpeg_audio_file.h"
#include "engine/pulse/pulse_player.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

using engine::PulsePlayer;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const int rate = 44100;
    QTemporaryDir dir;
    const QString mp3 = dir.filePath("minute.mp3");
    {
        bench::Child make;
        if (!make.start({"ffmpeg", "-nostdin", "-y", "-f", "lavfi", "-i",
                         "sine=frequency=440:sample_rate=44100", "-ac", "2", "-t",
                         QString::number(seconds), "-b:a", "128k", mp3}) ||
            !make.finish()) {
            std::fprintf(stderr, "cannot make the MP3\n");
            return 1;
        }
    }
    // Read and decoded while it plays, in 200 ms blocks, as the program does.
    engine::FfmpegAudioFile in;
    in.SetActive(true);
    PulsePlayer player;
    qint64 block = 0, totalFrames = 0;
    bool playing = false;
    auto feed = [&] {
        if (playing)
            player.LoadArray(in.ReadArray(block));
    };
    QObject::connect(&player, &PulsePlayer::OnEndArrayPlay, feed);
    QObject::connect(&player, &PulsePlayer::OnRequestOnLoadArray, feed);
    int underruns = 0;
    QObject::connect(&player, &PulsePlayer::OnRequestOnLoadArray, [&] { ++underruns; });

    QElapsedTimer clock;
    double cpu0 = 0;
    auto peer = std::make_shared<bench::Child>();
    QObject::connect(&player, &PulsePlayer::OnEndPlay, [&](QObject *) {
        const double elapsed = clock.nsecsElapsed() / 1e9;
        const double engineCpu = bench::selfCpu() - cpu0;
        double peerCpu = 0;
        const bool peerOk = peer->finish(&peerCpu);
        playing = false;
        in.Close();
        std::printf("playing a %d s MP3 (128 kbit/s, 44.1 kHz stereo) into the null sink\n",
                    seconds);
        std::printf("  engine (FfmpegAudioFile reading -> PulsePlayer): %.3f s CPU\n", engineCpu);
        std::printf("  ffmpeg -re -i x.mp3 -f pulse default:  %.3f s CPU%s\n", peerCpu,
                    peerOk ? "" : " (ffmpeg failed)");
        std::printf("  ratio engine / ffmpeg: %.3f (target <= 1.10)\n",
                    peerCpu > 0 ? engineCpu / peerCpu : 0.0);
        std::printf("  Play to OnEndPlay %.3f s for %.3f s of sound; frames heard %lld of %lld\n",
                    elapsed, double(totalFrames) / rate, (long long)player.GetCurrentSamples(),
                    (long long)totalFrames);
        std::printf("  requests while the queue was dry: %d (target 0)\n",
                    underruns);
        app.quit();
    });

    // An idle null sink renders in 2 s strides and stalls a new stream for a while; a
    // low-latency reader on its monitor (a child, not counted) keeps it running briskly.
    bench::Child keeper;
    keeper.start({"pacat", "--record", "--raw", "--latency-msec=20", "--device=tavrin_null.monitor",
                  "/dev/null"});

    QTimer::singleShot(2500, [&] {
        cpu0 = bench::selfCpu();
        clock.start();
        peer->start({"ffmpeg", "-nostdin", "-re", "-i", mp3, "-f", "pulse", "default"});
        in.Open(mp3, 0, 1);
        if (in.GetErrorCode() != 0) {
            std::fprintf(stderr, "cannot open the MP3: %s\n", qPrintable(in.GetErrorText()));
            app.exit(1);
            return;
        }
        totalFrames = in.GetNumSamples();
        player.SetFormat(in.GetFormatValueB(), in.GetFormatValueA());
        block = player.CalcArraySize(200);
        in.Seek(0, 3);
        player.Play();
        if (player.GetErrorCode() != 0) {
            std::fprintf(stderr, "player did not start: %s\n", qPrintable(player.GetErrorText()));
            app.exit(1);
            return;
        }
        playing = true;
        feed();
        feed();
    });
    QTimer::singleShot((seconds + 40) * 1000, [&] {
        std::fprintf(stderr, "no OnEndPlay\n");
        app.exit(1);
    });
    return app.exec();
}
