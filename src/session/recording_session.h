// The recording session: what Record, Pause and Stop do, without a window.
//
// A recording run lasts from Record to its end (Stop, the time limit, a failure). It writes
// one part ("Untitled" + n in the save folder) or several: with the automatic split, when a
// file reaches the largest size its format or file system allows, and when a lost input
// device comes back. Every finished part is listed in the run's file list. Captured blocks
// are written as they arrive; the recorder's ticks drive the elapsed time, the levels and
// the spectrum snapshot.
//
// Nothing recorded is lost: while a part is open a journal in the settings folder names it
// (and keeps a second name of its file), so a run cut short by a crash is repaired at the
// next start; the run ends cleanly before the disk is full; a save folder removed under the
// recording, or any folder above it, is made again and the recording given its name back. A failure (a part that cannot start, a write the disk refuses, a
// lost device) ends the run cleanly: what was recorded is finalised and listed, a part that
// never recorded anything leaves no file behind, and failed() says why, once.
#pragma once

#include "engine/engine.h"
#include "session/capture_ring.h"
#include "session/part_watch.h"
#include "session/recording_settings.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class PartJournal;
class RecordedFiles;
class ReservedFile;

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
    enum class State {
        Idle,
        Listening,          // idle, with the input open: the newest seconds are kept (pre-record)
        Recording,
        Paused,
        WaitingForDevice,   // the input went away mid-run; the run goes on when it comes back
        WaitingForSound,    // armed: writing starts when sound comes (start on sound)
        Scheduled,          // the run starts at a set time
    };
    Q_ENUM(State)

    // Bytes an ordinary user may still write where path is (or would be); -1 when unknown.
    using FreeSpaceSource = std::function<qint64(const QString &path)>;
    static qint64 freeSpaceOf(const QString &path);   // the file system's own answer

    // A run refuses to start with room for less than this, and ends before the disk holds
    // less than the reserve (enough to finish the file).
    static constexpr int kMinimumStartSeconds = 10;
    static constexpr int kReserveSeconds = 2;
    static constexpr qint64 kReserveBytes = 256 * 1024;
    // How long a lost input device is waited for.
    static constexpr int kDeviceWaitSeconds = 600;

    RecordingSession(engine::IEngineFactory &engine, RecordedFiles &files, QObject *parent = nullptr);
    ~RecordingSession() override;

    // The settings of the next part; the output format goes to the writer at once.
    void setSettings(const RecordingSettings &settings);
    const RecordingSettings &settings() const { return m_settings; }
    void setQuestions(RecordingQuestions *questions) { m_questions = questions; }
    // Frames of each spectrum snapshot (0 = none).
    void setSnapshotFrames(int frames) { m_snapshotFrames = frames; }
    // Where the journals of open parts are kept (the settings folder); none = no journal.
    void setJournalFolder(const QString &folder) { m_journalFolder = folder; }
    // Where a part whose save folder cannot be made again is given a name.
    void setRescueFolder(const QString &folder) { m_rescueFolder = folder; }
    void setFreeSpaceSource(FreeSpaceSource source);
    // The wall clock (tests give their own).
    using Clock = std::function<QDateTime()>;
    void setClock(Clock clock);
    QDateTime now() const { return m_clock(); }

    State state() const { return m_state; }
    // A run exists: recording, paused, waiting for its device or for sound, or scheduled.
    bool isActive() const { return m_state != State::Idle && m_state != State::Listening; }
    QString partPath() const { return m_partPath; }            // the running (or last) part
    qint64 lastPartFrames() const { return m_lastFrames; }    // frames of the last finished part
    int lastPartRate() const { return m_lastRate; }            // its sample rate, Hz (0 = unknown)
    // Seconds of recording that still fit on the save folder's disk at the format's rate (an
    // upper bound of it before a part runs, the rate measured while one does); -1 = unknown.
    qint64 secondsLeftOnDisk();

    // Record: a new run, or the paused one goes on. Pause, Stop: nothing when idle; Stop
    // also ends the wait for a lost device.
    void record();
    void pause();
    void stop();
    // A run that starts by itself at the given wall-clock time (Record and Stop cancel it);
    // lengthSeconds > 0 limits that run, whatever the usual time limit.
    void schedule(const QDateTime &at, int lengthSeconds);
    QDateTime scheduledAt() const { return m_scheduledAt; }
    // The input device was chosen (again): while idle, the kept seconds (pre-record) are taken
    // from it now, and listening starts again on a device that came back.
    void inputChanged();

    // The recorder itself, for the device list, mixer lines and filters.
    engine::IAudioRecord2 &recorder() { return *m_recorder; }

signals:
    void stateChanged(RecordingSession::State state);
    // A part was made and its capture runs: its file and the format written.
    void partStarted(const QString &path, const QString &formatDescription);
    // The running part has another name now (its folder was removed and it was put back
    // under a free name, or into the rescue folder).
    void partRenamed(const QString &path);
    // The run ended; everything it recorded is listed.
    void runEnded();
    // Every recorder tick: the run's elapsed time and the tick's peaks (0..100).
    void tick(qint64 elapsedMs, int levelLeft, int levelRight);
    void snapshotReady(const engine::SampleArray &samples);
    // The room left on the disk, in seconds of recording (-1 = unknown): when the settings
    // change and every few seconds while a run goes on.
    void diskTimeLeftChanged(qint64 seconds);
    // Something went wrong; the text says what, in the user's words.
    void failed(const QString &text);
    // Something the user should know that is no failure ("Recording resumed at ...").
    void notice(const QString &text);
    // Once a second while a run is scheduled: the time left before it starts.
    void scheduleCountdown(qint64 secondsLeft);

private:
    void setState(State state);
    void startPart();                       // throws; leaves nothing behind on failure
    void openPartFile(ReservedFile &file);  // the writer, the journal and the watch on it
    void abandonPart();
    ReservedFile makePartFile();            // the reserved "Untitled" file
    void checkSaveFolder();                 // throws when no part could be made there now
    void resume();
    void split();
    void rollOver(const engine::SampleArray &block);   // the file is full: the next part
    void endRun(bool partOpen, const QString &reason);
    void fail(const QString &reason);
    void finishPart(QString *failure);      // capture stopped, last blocks written, file closed
    // The writer closes the part, which keeps (or is given) a name; false with *failure
    // when it could not be closed, or when it has no name left.
    bool closePart(QString *failure);
    void closePartFile(bool keepJournal);   // the journal and the watch go with the file
    void showWatch(const PartWatch::Report &report);
    bool listPart(QString *error);
    void startCapture();                    // throws; in the writer's format
    void startCaptureAt(int channels, int rate);   // throws
    void onBlock();
    void onTick(qint64 currentSamples, int levelLeft, int levelRight);
    void onDeviceError(const QString &text);
    void watchPart();                       // once a second while a part is open
    void waitForDevice(const QString &why);
    // The run waits for the device it captured from; keptFile: the part just listed, if any.
    void startDeviceWait(const QString &device, const QString &why, const QString &keptFile);
    void lookForDevice();                   // once a second while waiting for the device
    double bytesPerSecond();                // of the format written
    qint64 freeSpaceForPart();
    void reportDiskTimeLeft();
    qint64 runElapsedMs(qint64 capturedSinceStart) const;
    int runTimeLimit() const;

    // Capture through the ring: pre-record and start on sound. The recorder runs on while
    // idle (listening), armed or paused; what is written is taken from the ring.
    bool wantsRing() const;
    void startRing();                        // throws
    void stopRing();
    void updateListening();                  // idle: listen when pre-record is on
    void onRingBlock(const engine::SampleArray &block);
    void startRingPart();                    // throws; a part written from m_cursor on
    qint64 dueEnd() const;                   // how far the ring may be written now
    void writeDue(bool all);
    bool writeRingSlice(qint64 to);          // false when the run ended
    void finishRingPart(QString *failure);
    bool nextRingPart();                     // false when the run ended instead
    void endRingRun(const QString &reason);
    void pauseForQuiet();
    void checkSchedule();

    std::unique_ptr<engine::IAudioRecord2> m_recorder;
    std::unique_ptr<engine::IAudioFile2> m_writer;
    std::unique_ptr<engine::IAudioFile2> m_reader;    // measures a new part's file
    std::unique_ptr<engine::IAudioFile2LameEnc> m_mp3Encoder;
    RecordedFiles &m_files;
    RecordingQuestions *m_questions = nullptr;
    RecordingSettings m_settings;
    int m_snapshotFrames = 0;
    QString m_journalFolder;
    QString m_rescueFolder;
    FreeSpaceSource m_freeSpace;
    Clock m_clock;

    State m_state = State::Idle;
    QString m_partPath;
    QString m_reservedFile;       // made by the part that is starting; removed if it fails
    std::unique_ptr<PartJournal> m_journal;
    std::unique_ptr<PartWatch> m_watch;   // keeps the part named; its file's size
    bool m_lastPartLost = false;  // the part just closed has no name left: its failure says so
    QTimer m_watchTimer;
    qint64 m_blockFrames = 0;
    qint64 m_runFrames = 0;       // frames written in the run, all parts
    qint64 m_runFramesAtStart = 0;   // ... before the recorder's last Start
    qint64 m_partStartMs = 0;     // the run's elapsed time when the part began
    qint64 m_lastFrames = 0;
    int m_lastRate = 0;
    bool m_partEnding = false;    // capture is being stopped and the last blocks written
    QString m_failure;            // the first failure met while m_partEnding
    int m_watchTicks = 0;
    QString m_captureDevice;      // the id of the device capture started on
    // The lost device and since when it is waited for.
    QString m_lostDevice;
    QDateTime m_lostSince;
    QTimer m_deviceTimer;

    // Capture through the ring.
    bool m_ringMode = false;
    CaptureRing m_ring;
    qint64 m_cursor = 0;          // the ring position written up to
    qint64 m_scanned = 0;         // start on sound: the ring position looked at up to
    qint64 m_loudUntil = -1;      // start on sound: the last sample that counted as sound
    bool m_ringPartOpen = false;  // the writer holds a part of this run
    bool m_ringEnding = false;    // the run is ending: its last slices are being written
    bool m_fadeInNext = false;    // the next slice joins after a pause
    QTimer m_drainTimer;          // writes a backlog (the kept seconds) slice by slice
    // Scheduled start.
    QDateTime m_scheduledAt;
    int m_scheduledLength = 0;
    int m_runLimitSeconds = -1;   // a scheduled run's own limit (-1: the usual one)
    QTimer m_scheduleTimer;
};
