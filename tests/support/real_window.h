// The main window on the real engine and the private sound server, in a program folder of
// its own, with every box and chooser answered by the test.
#pragma once

#include "session/recorded_files.h"
#include "support/window_harness.h"
#include "test_audio.h"

#include <QAction>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace e2e {

// pactl against the private server; returns its output.
inline QString pactl(const QStringList &args, int *code = nullptr)
{
    return testaudio::run(QStringLiteral("pactl"), args, code).trimmed();
}

// An input device that hears a steady tone in real time: a null sink of its own with a
// player feeding it the tone, whose monitor is the default input while this object lives.
struct SineSource {
    QString module;
    QProcess player;
    QProcess reader;   // keeps the monitor awake, so that a new capture answers at once
    QTemporaryDir dir;
    explicit SineSource(int hz = 1000)
        : SineSource(QStringLiteral("sine=frequency=%1:sample_rate=44100:duration=120").arg(hz))
    {
    }
    // Any FFmpeg source instead of the tone ("aevalsrc=0:s=44100:d=120" is silence).
    explicit SineSource(const QString &source)
    {
        const QString tone = dir.filePath("tone.wav");
        testaudio::run("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", source, "-ac", "2", tone});
        load();
    }
    // Plays a sound made by an FFmpeg source into the device, over what it hears already.
    void play(QProcess &player, const QString &source)
    {
        const QString sound = dir.filePath("sound.wav");
        testaudio::run("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", source, "-ac", "2", sound});
        player.start("paplay", {"--device=tavrin_rec", sound});
        player.waitForStarted();
    }
    // The device (again, after unload: the same server name) with the tone playing into it.
    void load()
    {
        module = testaudio::loadNullSink("tavrin_rec", {}, {"rate=44100", "channels=2"});
        player.start("paplay", {"--device=tavrin_rec", dir.filePath("tone.wav")});
        player.waitForStarted();
        pactl({"set-default-source", "tavrin_rec.monitor"});
        reader.setStandardOutputFile(QProcess::nullDevice());
        reader.start("parec", {"--device=tavrin_rec.monitor", "--latency-msec=20"});
        reader.waitForStarted();
        // Let the tone reach the sink so that its monitor delivers at once.
        QTest::qWait(1500);
    }
    void unload()
    {
        reader.kill();
        reader.waitForFinished();
        player.kill();
        player.waitForFinished();
        if (!module.isEmpty())
            pactl({"unload-module", module});
        module.clear();
    }
    ~SineSource()
    {
        unload();
        pactl({"set-default-source", "tavrin_null.monitor"});
    }
};

struct RealWindow : WindowHarness {
    std::unique_ptr<engine::IEngineFactory> factory = engine::createEngineFactory();

    // The window on the real engine, shown, recording into rec/ of its folder.
    void start()
    {
        build(*factory, false, true);
        changeSettings([this](RecordingSettings &s) { s.savePath = path("rec/"); });
    }

    // The time display's total, in milliseconds.
    qint64 displayedMs() const;
    // Waits until the time display shows at least the given seconds (as a user would).
    bool waitDisplayed(double seconds, int timeoutMs = 10000);

    ~RealWindow()
    {
        // As the program ends: a recording or playback still running ends as Stop ends it.
        if (window)
            window->close();
        tearDown();
    }
};

// The whole of a file, decoded by the engine, and its rate and channels.
struct Decoded {
    std::vector<float> samples;
    int rate = 0;
    int channels = 0;
    double seconds() const { return channels && rate ? double(samples.size()) / channels / rate : 0; }
    std::vector<float> left() const { return testaudio::channel(samples, channels, 0); }
};

Decoded decode(const QString &path);

}  // namespace e2e
