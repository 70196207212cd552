// The main window on the real engine and the private sound server, in a program folder of
// its own, with every box and chooser answered by the test.
#pragma once

#include "session/recorded_files.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"
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
        module = pactl({"load-module", "module-null-sink", "sink_name=tavrin_rec", "rate=44100", "channels=2"});
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

struct RealWindow {
    QTemporaryDir dir;
    std::unique_ptr<engine::IEngineFactory> factory = engine::createEngineFactory();
    std::unique_ptr<RecorderCore> core;   // outlives the window, as in main()
    std::unique_ptr<MainWindow> window;
    QList<ui::Box> boxes;
    QStringList openFileAnswers;

    QString path(const QString &name) const { return dir.filePath(name); }

    void start()
    {
        ui::Hooks hooks;
        hooks.box = [this](const ui::Box &b) {
            boxes.append(b);
            return true;
        };
        hooks.openFile = [this](const QString &, const QStringList &) {
            return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
        };
        hooks.chooseFolder = [](const QString &) { return QString(); };
        hooks.openUrl = [](const QUrl &) {};
        hooks.beep = [] {};
        ui::setHooks(hooks);
        core = std::make_unique<RecorderCore>(*factory, AppPaths::besideProgram(dir.path()));
        window = std::make_unique<MainWindow>(*core);
        window->setTipOfTheDayOffered(false);   // no Tip of the Day over the test
        window->createSecondaryWindows();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        changeSettings([this](RecordingSettings &s) { s.savePath = path("rec/"); });
    }

    // Changes the recording settings in force, as the Options dialog's OK would.
    void changeSettings(const std::function<void(RecordingSettings &)> &change) const
    {
        RecordingSettings s = window->recording().settings();
        change(s);
        window->applySettings(s);
    }
    // Chooses the recording format as the Options dialog's OK would.
    void useFormat(const QString &extension)
    {
        changeSettings([&](RecordingSettings &s) { s.saveFormat = extension; });
    }

    RecordingSession &recording() const { return window->recording(); }
    PlaybackSession &playback() const { return window->playback(); }
    RecordedFiles &files() const { return window->files(); }
    // A control of the window (or of one of its dialogs) by its object name.
    template <typename T>
    T *find(const QString &name) const { return window->findChild<T *>(name); }
    QAction *action(const QString &name) const { return find<QAction>(name); }

    // The time display's total, in milliseconds.
    qint64 displayedMs() const;
    // Waits until the time display shows at least the given seconds (as a user would).
    bool waitDisplayed(double seconds, int timeoutMs = 10000);

    QStringList errors() const
    {
        QStringList out;
        for (const ui::Box &b : boxes)
            if (b.kind == ui::BoxKind::Error)
                out << b.text;
        return out;
    }

    ~RealWindow()
    {
        if (window)
            window->close();
        window.reset();
        core.reset();
        ui::setHooks({});
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
