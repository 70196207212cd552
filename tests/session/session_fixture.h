// The sessions on the recording fake engine, in a folder of their own, without a window:
// what they report (ticks, failures, parts) is collected for the test to read.
#pragma once

#include "fakes/fake_engine.h"
#include "session/playback_session.h"
#include "session/recorded_files.h"
#include "session/recording_session.h"

#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <functional>

struct SessionFixture : RecordingQuestions {
    QTemporaryDir dir;
    fake::FakeEngine engine;
    RecordedFiles files{engine};
    RecordingSession recording{engine, files};
    PlaybackSession playback{engine};
    QStringList failures;         // every failed() text, in order
    QStringList partsStarted;     // partStarted paths
    QStringList formats;          // partStarted format descriptions
    int runsEnded = 0;
    qint64 elapsedMs = -1;        // the last recording tick's
    int levelLeft = -1, levelRight = -1;
    qint64 positionMs = -1;       // the last playback tick's
    int perMille = -2;
    std::deque<bool> answers;     // answers to "Rewrite File?" (default: Yes)
    int questions = 0;

    SessionFixture()
    {
        recording.setQuestions(this);
        QObject::connect(&recording, &RecordingSession::failed, [this](const QString &t) { failures << t; });
        QObject::connect(&playback, &PlaybackSession::failed, [this](const QString &t) { failures << t; });
        QObject::connect(&recording, &RecordingSession::partStarted, [this](const QString &p, const QString &f) {
            partsStarted << p;
            formats << f;
        });
        QObject::connect(&recording, &RecordingSession::runEnded, [this] { ++runsEnded; });
        QObject::connect(&recording, &RecordingSession::tick, [this](qint64 ms, int l, int r) {
            elapsedMs = ms;
            levelLeft = l;
            levelRight = r;
        });
        QObject::connect(&playback, &PlaybackSession::tick, [this](qint64 ms, int pm, int, int) {
            positionMs = ms;
            perMille = pm;
        });
        settings([this](RecordingSettings &s) {
            s.savePath = path("rec/");
            s.saveFormat = ".mp3";
            s.mp3Frequency = 44100;
            s.mp3Bitrate = 128;
            s.wavFrequency = 44100;
            s.wavChannels = 2;
            s.wavBitsPerSample = 16;
        });
    }

    bool confirmRewrite(const QString &) override
    {
        ++questions;
        if (answers.empty())
            return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    template <typename F>
    void settings(F change)
    {
        RecordingSettings s = recording.settings();
        change(s);
        recording.setSettings(s);
    }

    // The listed files as "name mm:ss".
    QStringList rows() const
    {
        QStringList out;
        for (int i = 0; i < files.count(); ++i)
            out << files.at(i).name() + QLatin1Char(' ') + QStringLiteral("%1:%2")
                                                           .arg(files.at(i).durationMs / 60000, 2, 10, QLatin1Char('0'))
                                                           .arg(files.at(i).durationMs / 1000 % 60, 2, 10, QLatin1Char('0'));
        return out;
    }
    int elapsedSeconds() const { return int(elapsedMs / 1000); }

    fake::FakeRecorder *recorder() const { return engine.recorder(); }
    fake::FakePlayer *player() const { return engine.player(); }
    // The writer works on a thread of its own: waits until it has done what it was given
    // and the session has heard what it said.
    void settle() { recording.flush(); }
};

// Drives the fake recorder as capture would: one 200 ms block and one tick at a time, each
// written before the next comes (settle: the session's writer is waited for).
struct RecordingClock {
    fake::FakeEngine &engine;
    std::function<void()> settle;
    qint64 partFrames = 0;   // frames captured since the recorder's last Start
    int starts = 0;

    explicit RecordingClock(fake::FakeEngine &e, std::function<void()> settled = {})
        : engine(e), settle(std::move(settled))
    {
    }
    explicit RecordingClock(SessionFixture &f) : RecordingClock(f.engine, [&f] { f.settle(); }) {}

    // Runs for the given seconds of capture, or until the recorder stops by itself.
    void run(double seconds)
    {
        const int steps = int(seconds * 5 + 0.5);
        for (int i = 0; i < steps; ++i) {
            const int s = engine.log.count("recorder.Start()");
            if (s != starts) {
                starts = s;
                partFrames = 0;
            }
            if (!engine.recorder()->isRunning())
                return;
            partFrames += engine.recorder()->blockSize();
            engine.recorder()->emitBlock();
            if (settle)
                settle();
            engine.recorder()->emitTimer(partFrames, 40, 60);
        }
    }
};
