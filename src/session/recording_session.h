// The recording session: what Record, Pause and Stop do, without a window.
//
// A recording run lasts from Record to its end (Stop, the time limit, a failure). Everything
// captured goes through one pipeline: the recorder's blocks are kept in the capture ring on
// the UI thread, and the part writer's thread takes them out of it into the run's parts
// ("Untitled" + n in the save folder): one, or several with the automatic split, when a file
// reaches the largest size its format or file system allows, and when a lost input device
// comes back. Every finished part is listed in the run's file list. Around the ring:
//   - pre-record: with the setting on, the input stays open while idle (Listening) and the
//     newest seconds are kept; Record writes them first;
//   - start on sound: Record arms (WaitingForSound); writing starts before the first loud
//     sample and rests after a set quiet (SoundTrigger);
//   - the time limit and the split, counted in frames written (RunLimits);
//   - a lost input device is waited for (DeviceReturnWatch), a run may be scheduled
//     (RecordingScheduler), and the disk's room is watched (DiskRunway).
//
// Nothing recorded is lost: while a part is open a journal names it, so a run cut short by a
// crash is repaired at the next start; the run ends cleanly before the disk is full; a save
// folder removed under the recording is made again and the part given its name back. A
// failure ends the run cleanly: what was recorded is finalised and listed, a part that never
// recorded anything leaves no file behind, and failed() says why, once.
#pragma once

#include "engine/engine.h"
#include "session/capture_input.h"
#include "session/capture_ring.h"
#include "session/device_return_watch.h"
#include "session/disk_runway.h"
#include "session/part_writer.h"
#include "session/recording_scheduler.h"
#include "session/recording_settings.h"
#include "session/run_limits.h"
#include "session/sound_trigger.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
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

    using FreeSpaceSource = DiskRunway::FreeSpaceSource;
    static qint64 freeSpaceOf(const QString &path) { return DiskRunway::freeSpaceOf(path); }
    static constexpr int kMinimumStartSeconds = DiskRunway::kMinimumStartSeconds;
    static constexpr int kReserveSeconds = DiskRunway::kReserveSeconds;
    static constexpr qint64 kReserveBytes = DiskRunway::kReserveBytes;
    static constexpr int kDeviceWaitSeconds = DeviceReturnWatch::kWaitSeconds;

    RecordingSession(engine::IEngineFactory &engine, RecordedFiles &files, QObject *parent = nullptr);
    ~RecordingSession() override;

    // The settings of the next part; the output format goes to the writer at once.
    void setSettings(const RecordingSettings &settings);
    const RecordingSettings &settings() const { return m_settings; }
    void setQuestions(RecordingQuestions *questions) { m_questions = questions; }
    // Frames of each spectrum snapshot (0 = none).
    void setSnapshotFrames(int frames) { m_snapshotFrames = frames; }
    // Where the journals of open parts are kept (the settings folder); none = no journal.
    void setJournalFolder(const QString &folder) { m_writer.setJournalFolder(folder); }
    // Where a part whose save folder cannot be made again is given a name.
    void setRescueFolder(const QString &folder) { m_writer.setRescueFolder(folder); }
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
    QDateTime scheduledAt() const { return m_scheduler.at(); }
    // The input device was chosen (again): while idle, the kept seconds (pre-record) are taken
    // from it now, and listening starts again on a device that came back.
    void inputChanged();
    // A marker where capture is now, in the part being recorded (also while paused or waiting
    // for sound), named `name` cleaned of line breaks and "=", or "Marker n" (n counting in
    // the part): what the status bar says ("Marker 3 at 00:12:04"). Throws
    // std::runtime_error with the refusal: "Not recording", or a file's 999 markers reached.
    QString addMarker(const QString &name = QString());
    static constexpr int kMaxMarkers = 999;
    // Waits until the writer has written everything handed to it, and acts on what it said.
    void flush() { m_writer.flush(); }

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
    // Follows runEnded() when the run ended by itself rather than by Stop: its time limit or
    // a scheduled run's own length was reached, or trouble ended it (a full disk, a lost
    // device that did not come back, a failure). reason says why as a clause ("the time
    // limit was reached"); path is the last file the run listed ("" for none).
    void runEndedBy(const QString &reason, const QString &path);
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
    bool keepsInputOpen() const { return m_settings.prerecordSeconds > 0; }
    void updateListening();                  // idle: listen when pre-record is on

    void checkSaveFolder(bool make);         // throws when no part could be made there now
    // Opens a part that starts at m_cursor; false when the user kept a file from being
    // written over (the run then ended). Throws.
    bool openPart(bool askFirst);
    // Hands the ring up to `to` to the part, split and ended where the run's limits say.
    void commit(qint64 to);
    qint64 dueEnd() const;                   // how far the ring may be written now
    void resume();
    void restForQuiet();
    // The one way a run ends: capture stopped (unless listening), the part finished and
    // listed, the state after, one message. What ended it: the user's Stop, the run's time
    // limit, or trouble (reason says which).
    enum class EndCause { Stop, Limit, Trouble };
    void endRun(const QString &reason, EndCause cause = EndCause::Trouble);
    bool listPart(const QString &path, QString *error);
    // A finished part becomes the last one, and is listed.
    void takeFinished(const PartWriter::Finished &part, QString *listingError);
    void waitForDevice(const QString &why);
    void endWait();                          // a run that waits for its device ends
    void startScheduledRun(int lengthSeconds);

    void onBlock(qint64 from);
    void onTick(qint64 position, int levelLeft, int levelRight);
    void onCaptureLost(const QString &text);
    void onDeviceReturned();
    void onPartStarted(const QString &path, const QString &formatDescription);
    void onPartFinished(const PartWriter::Finished &part);
    void onWriterStopped(const QString &reason);
    // The files a part writes at once: the mix alone, or with each side's beside it.
    int filesPerPart();
    void reportDiskTimeLeft();

    std::unique_ptr<engine::IAudioRecord2> m_recorder;
    std::unique_ptr<engine::IAudioFile2> m_reader;    // looks into a new part's file
    std::unique_ptr<engine::IAudioFile2LameEnc> m_mp3Encoder;
    RecordedFiles &m_files;
    RecordingQuestions *m_questions = nullptr;
    RecordingSettings m_settings;
    int m_snapshotFrames = 0;
    Clock m_clock;
    DiskRunway m_runway;
    CaptureRing m_ring;
    CaptureInput m_input;
    PartWriter m_writer;
    SoundTrigger m_trigger;
    RunLimits m_limits;
    DeviceReturnWatch m_deviceWatch;
    RecordingScheduler m_scheduler;
    QTimer m_diskTimer;

    State m_state = State::Idle;
    QString m_partPath;
    qint64 m_lastFrames = 0;
    int m_lastRate = 0;
    bool m_pauseStoppedCapture = false;   // capture stops during this pause
    // The run.
    qint64 m_cursor = 0;              // the ring position handed to the writer up to
    bool m_fadeIn = false;            // the next frames join after a pause
    bool m_ending = false;            // the run is ending: its last frames are being written
    QString m_endFailure;             // the first failure met while it ends
    int m_partsOpened = 0;            // in this run: the first takes a named part's own name
    int m_partMarkers = 0;            // markers added to the part being recorded
    int m_runLimitSeconds = -1;       // a scheduled run's own limit (-1: the usual one)
    QString m_runFile;                // the last file this run listed
};
