// CPU time of the whole program per minute of MP3 recording and of MP3 playback, with the
// "File Info" tab in front (meters and time display drawing) and with the spectrum in front,
// side by side with the ffmpeg command line doing the same work through the same server; and
// the idle program's cost with its input open (pre-record, start on sound).
// TAVRIN_BENCH_SECONDS shortens the minute for a quick look.
#include "bench_util.h"
#include "session/recorded_files.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

int benchSeconds()
{
    const int s = qEnvironmentVariableIntValue("TAVRIN_BENCH_SECONDS");
    return s > 0 ? s : 60;
}

bool makeTone(const QString &path, int seconds, bool mp3)
{
    QStringList args{"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                     QStringLiteral("sine=frequency=1000:sample_rate=44100:duration=%1").arg(seconds), "-ac", "2"};
    if (mp3)
        args << "-b:a" << "128k";
    args << path;
    bench::Child c;
    return c.start(args) && c.finish();
}

struct Window {
    QTemporaryDir dir;
    std::unique_ptr<engine::IEngineFactory> factory = engine::createEngineFactory();
    std::unique_ptr<RecorderCore> core;
    std::unique_ptr<MainWindow> window;
    Window()
    {
        ui::Hooks hooks;
        hooks.box = [](const ui::Box &b) {
            std::fprintf(stderr, "box: %s\n", qPrintable(b.text));
            return true;
        };
        ui::setHooks(hooks);
        core = std::make_unique<RecorderCore>(*factory, AppPaths::besideProgram(dir.path()));
        window = std::make_unique<MainWindow>(*core);
        window->setTipOfTheDayOffered(false);
        window->createSecondaryWindows();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            std::fprintf(stderr, "the window did not show\n");
        QTest::qWait(500);
    }
    ~Window() { window.reset(); }
};

// CPU seconds of one recording of the given length with the given tab in front.
double recordOnce(int tab, int seconds)
{
    Window w;
    RecordingSettings s = w.window->recording().settings();
    s.savePath = w.dir.path() + "/";
    s.saveFormat = ".mp3";
    s.mp3Frequency = 44100;
    s.mp3Bitrate = 128;
    w.window->applySettings(s);
    // The loop sleeps until the recording has run long enough: no polling of our own.
    QEventLoop loop;
    QObject::connect(&w.window->recording(), &RecordingSession::tick, &loop, [&](qint64 ms, int, int) {
        if (ms >= qint64(seconds) * 1000)
            loop.quit();
    });
    w.window->record();
    w.window->showTab(tab);
    const double start = bench::selfCpu();
    if (w.window->recording().isActive())
        loop.exec();
    const double used = bench::selfCpu() - start;
    w.window->stop();
    return used;
}

// Percent of one core the idle program uses with "File Info" in front while its input is
// open: listening with pre-record on, or armed to start on sound that does not come.
double idleOnce(bool armed, int seconds)
{
    Window w;
    RecordingSettings s = w.window->recording().settings();
    s.savePath = w.dir.path() + "/";
    s.saveFormat = ".mp3";
    s.prerecordSeconds = armed ? 0 : 5;
    s.triggerOn = armed;
    s.triggerLevelDb = 0;   // the tone stays below it: armed, nothing starts
    w.window->applySettings(s);
    if (armed)
        w.window->record();
    w.window->showTab(3);
    QTest::qWait(1000);
    const double start = bench::selfCpu();
    QTest::qWait(seconds * 1000);
    const double used = bench::selfCpu() - start;
    const bool open = w.window->recording().state() == (armed ? RecordingSession::State::WaitingForSound
                                                              : RecordingSession::State::Listening);
    w.window->stop();
    return open ? used / seconds * 100 : -1;
}

double playOnce(int tab, const QString &file)
{
    Window w;
    w.window->files().setCurrentFile(file);
    QEventLoop loop;
    QObject::connect(&w.window->playback(), &PlaybackSession::stateChanged, &loop,
                     [&](PlaybackSession::State state) {
                         if (state == PlaybackSession::State::Stopped)
                             loop.quit();
                     });
    w.window->play();
    w.window->showTab(tab);
    const double start = bench::selfCpu();
    if (w.window->playback().isActive())
        loop.exec();
    return bench::selfCpu() - start;
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = benchSeconds();
    QTemporaryDir work;
    std::printf("whole program, %d s of MP3 128 kbit/s, 44.1 kHz stereo\n", seconds);

    // A tone plays into the null sink; its monitor is what both sides record.
    const QString feed = work.filePath("feed.wav");
    if (!makeTone(feed, seconds * 4 + 30, false)) {
        std::printf("cannot make the feed tone (ffmpeg)\n");
        return 1;
    }
    bench::Child player;
    player.start({"paplay", "--device=tavrin_null", feed});
    bench::Child awake;   // keeps the monitor answering at once
    awake.start({"parec", "--device=tavrin_null.monitor", "--latency-msec=20"});
    QTest::qWait(1500);

    // TAVRIN_BENCH_ONLY=play or =record runs one half, for a quick look while profiling.
    const QByteArray only = qgetenv("TAVRIN_BENCH_ONLY");
    if (only == "play") {
        awake.terminate();
        player.terminate();
    }
    const double recFileInfo = only == "play" ? 0 : recordOnce(3, seconds);
    const double recSpectrum = only == "play" ? 0 : recordOnce(0, seconds);
    const int idleSeconds = std::max(5, seconds / 2);
    const double idleListening = only == "play" ? 0 : idleOnce(false, idleSeconds);
    const double idleArmed = only == "play" ? 0 : idleOnce(true, idleSeconds);
    double recPeer = -1;
    if (only != "play") {
        bench::Child ff;
        ff.start({"ffmpeg", "-v", "error", "-y", "-f", "pulse", "-i", "tavrin_null.monitor", "-t",
                  QString::number(seconds), "-ac", "2", "-ar", "44100", "-b:a", "128k", work.filePath("peer.mp3")});
        ff.finish(&recPeer);
    }
    awake.terminate();
    player.terminate();

    bench::ratioLine("record, \"File Info\" in front", recFileInfo, recPeer, 1.3);
    std::printf("%-44s %.2f %% of one core (target <= 3 %%)\n", "record, spectrum in front: extra",
                (recSpectrum - recFileInfo) / seconds * 100);
    std::printf("%-44s %.2f %% of one core (target <= 1.5 %%)\n", "idle, keeping 5 s before Record", idleListening);
    std::printf("%-44s %.2f %% of one core (target <= 1.5 %%)\n", "idle, waiting for sound", idleArmed);

    if (only == "record")
        return 0;
    const QString mp3 = work.filePath("play.mp3");
    if (!makeTone(mp3, seconds, true)) {
        std::printf("cannot make the MP3 (ffmpeg)\n");
        return 1;
    }
    const double playFileInfo = playOnce(3, mp3);
    const double playSpectrum = playOnce(0, mp3);
    double playPeer = -1;
    {
        bench::Child ff;
        ff.start({"ffmpeg", "-v", "error", "-re", "-i", mp3, "-f", "pulse", "-device", "tavrin_null", "peer"});
        ff.finish(&playPeer);
    }
    bench::ratioLine("play, \"File Info\" in front", playFileInfo, playPeer, 1.3);
    std::printf("%-44s %.2f %% of one core (target <= 3 %%)\n", "play, spectrum in front: extra",
                (playSpectrum - playFileInfo) / seconds * 100);
    std::printf("(per minute: record %.3f s, play %.3f s of CPU with \"File Info\" in front)\n",
                recFileInfo * 60 / seconds, playFileInfo * 60 / seconds);
    return 0;
}
