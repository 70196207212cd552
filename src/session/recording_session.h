// The recording session: what Record, Pause and Stop do, without a window.
//
// A recording run lasts from Record to its end (Stop, the time limit, a failure). It writes
// one part ("Untitled" + n in the save folder) or, with the automatic split, several; every
// finished part is listed in the run's file list. Captured blocks are written as they
// arrive; the recorder's ticks drive the elapsed time, the levels and the spectrum snapshot.
// A failure (a part that cannot start, a write the disk refuses, a lost device) ends the run
// cleanly: what was recorded is finalised and listed, a part that never recorded anything
// leaves no file behind, and failed() says why, once.
#pragma once

#include "engine/engine.h"
#include "session/recording_settings.h"

#include <QObject>
#include <QString>

#include <memory>

class RecordedFiles;

// What needs a person: the window answers, a test answers without a dialog.
class RecordingQuestions {
public:
    virtual ~RecordingQuestions() = default;
    // The new part's file already holds sound: may it be written over?
    virtual bool confirmRewrite(const QString &path) = 0;
};

class RecordingSession : public QObject {
    Q_OBJECT

public:
    enum class State { Idle, Recording, Paused };
    Q_ENUM(State)

    RecordingSession(engine::IEngineFactory &engine, RecordedFiles &files, QObject *parent = nullptr);
    ~RecordingSession() override;

    // The settings of the next part; the output format goes to the writer at once.
    void setSettings(const RecordingSettings &settings);
    const RecordingSettings &settings() const { return m_settings; }
    void setQuestions(RecordingQuestions *questions) { m_questions = questions; }
    // Frames of each spectrum snapshot (0 = none).
    void setSnapshotFrames(int frames) { m_snapshotFrames = frames; }

    State state() const { return m_state; }
    bool isActive() const { return m_state != State::Idle; }   // recording or paused
    QString partPath() const { return m_partPath; }            // the running (or last) part
    qint64 lastPartFrames() const { return m_lastFrames; }    // frames of the last finished part
    int lastPartRate() const { return m_lastRate; }            // its sample rate, Hz (0 = unknown)

    // Record: a new run, or the paused one goes on. Pause, Stop: nothing when idle.
    void record();
    void pause();
    void stop();

    // The recorder itself, for the device list, mixer lines and filters.
    engine::IAudioRecord2 &recorder() { return *m_recorder; }

signals:
    void stateChanged(RecordingSession::State state);
    // A part was made and its capture runs: its file and the format written.
    void partStarted(const QString &path, const QString &formatDescription);
    // The run ended; everything it recorded is listed.
    void runEnded();
    // Every recorder tick: the run's elapsed time and the tick's peaks (0..100).
    void tick(qint64 elapsedMs, int levelLeft, int levelRight);
    void snapshotReady(const engine::SampleArray &samples);
    // Something went wrong; the text says what, in the user's words.
    void failed(const QString &text);

private:
    void setState(State state);
    void startPart();                       // throws; leaves nothing behind on failure
    void abandonPart();
    QString makePartFile();                 // the reserved "Untitled" file
    void resume();
    void split();
    void endRun(bool partOpen, const QString &reason);
    void fail(const QString &reason);
    void finishPart(QString *failure);      // capture stopped, last blocks written, file closed
    void onBlock();
    void onTick(qint64 currentSamples, int levelLeft, int levelRight);
    void onDeviceError(const QString &text);
    void report(const std::exception &error);

    std::unique_ptr<engine::IAudioRecord2> m_recorder;
    std::unique_ptr<engine::IAudioFile2> m_writer;
    std::unique_ptr<engine::IAudioFile2> m_reader;    // measures a new part's file
    std::unique_ptr<engine::IAudioFile2LameEnc> m_mp3Encoder;
    RecordedFiles &m_files;
    RecordingQuestions *m_questions = nullptr;
    RecordingSettings m_settings;
    int m_snapshotFrames = 0;

    State m_state = State::Idle;
    QString m_partPath;
    QString m_reservedFile;     // made by the part that is starting; removed if it fails
    qint64 m_blockFrames = 0;
    qint64 m_partOffset = 0;    // frames in the part before its last pause
    int m_splitBaseSeconds = 0; // length of the run's finished parts
    qint64 m_lastFrames = 0;
    int m_lastRate = 0;
    bool m_partEnding = false;  // capture is being stopped and the last blocks written
    QString m_failure;          // the first failure met while m_partEnding
};
