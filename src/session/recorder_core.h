// The recorder without its windows. Built in main() before any window, and living longer
// than them, it owns the run's file list, the recording and playback sessions, the settings
// (setup.ini, typed), crash recovery at start-up, and the transport status: which session
// owns the meters, the time, the spectrum and the slider, what the state panel says, and
// which files are busy. The window only shows it and calls it; the command-line recorder and
// the remote control are further clients of it.
#pragma once

#include "session/app_paths.h"
#include "session/device_controls.h"
#include "session/part_recovery.h"
#include "session/playback_session.h"
#include "session/program_settings.h"
#include "session/recorded_files.h"
#include "session/recording_session.h"

#include <QObject>
#include <QString>

namespace engine {
class IAudioFile2;
class IEngineFactory;
}

class RecorderCore : public QObject {
    Q_OBJECT

public:
    // What the transport block shows.
    enum class Look { Stopped, Recording, Paused, Playing };
    struct TransportStatus {
        QString text;   // panel 0: "Recording...", "Playing...", "Pause", "Stop", ...
        Look look = Look::Stopped;
    };

    // Builds every part and puts the stored settings in force (the time limit and the mix
    // levels included), as start-up does.
    RecorderCore(engine::IEngineFactory &engine, const AppPaths &paths, QObject *parent = nullptr);
    ~RecorderCore() override;

    const AppPaths &paths() const { return m_paths; }
    ProgramSettings &settings() { return m_settings; }
    RecordedFiles &files() { return m_files; }
    RecordingSession &recording() { return m_recording; }
    PlaybackSession &playback() { return m_playback; }
    // What the windows adjust on the devices.
    MixerLines &inputs() { return m_inputs; }
    MixerLines &outputs() { return m_outputs; }
    RecordingFilters &filters() { return m_filters; }
    PlaybackEqualizer &equalizer() { return m_equalizer; }

    // The recording settings in force from now on (a folder chosen in Options is so at once).
    void applyRecordingSettings(const RecordingSettings &settings);
    // Options' OK: in force and stored, with the MP3 and WAV lists' positions. Throws
    // SettingsError when setup.ini refuses the write (the settings are in force anyway).
    void storeRecordingSettings(const RecordingSettings &settings, int mp3Position, int wavPosition);
    // The WMA profiles as the Options dialog lists them: how many, and number's label
    // (counted from 1: "128 kbps, 44100 Hz, Stereo").
    int wmaProfileCount();
    QString wmaProfileLabel(int number);

    // The commands of the transport.
    void record() { m_recording.record(); }
    // Plays the file to play from a position of the slider, 0..1000.
    void play(int perMille);
    void pause();
    void stop();
    // A marker where capture is now (see RecordingSession::addMarker): the status text;
    // throws the refusal.
    QString addMarker(const QString &name = QString()) { return m_recording.addMarker(name); }
    // File / Open: the file becomes the current one, is measured and listed; its facts.
    PlaybackSession::FileFacts openFile(const QString &path);

    // Repairs what interrupted recordings left, on a thread of its own; recovered() follows,
    // with the files listed already.
    void startRecovery();

    TransportStatus transportStatus() const;
    // What runs, in one word for other programs: "Stopped", "Recording", "Paused",
    // "Playing", "Listening", "WaitingForSound", "WaitingForDevice" or "Scheduled".
    QString stateName() const;
    // The recording's elapsed time while a run exists, else the playback's position, in ms.
    qint64 elapsedMs() const;
    // The file being recorded, else the one played, else the current one; "" for none.
    QString currentFile() const;
    // A run that captures owns the meters, the time, the spectrum and the slider: recording,
    // paused, armed or waiting for its device. Listening or a scheduled start leave them to a
    // playback.
    bool recordingOwnsDisplay() const;
    // A spectrum of `frames` frames shows (0: none does): the session that owns the display
    // takes snapshots for it.
    void setSpectrumFrames(int frames);

    // Each side of "Microphone + computer sound" in a file of its own beside the mix, from the
    // next recording on; stored at once. Throws SettingsError when setup.ini refuses it (in
    // force all the same).
    void setSeparateSides(bool on);
    bool separateSides() const { return m_recording.settings().separateSides; }

    // "Listen to the input": what capture hears is played on the output device too. In force
    // at once and kept for the next start (at shutDown); "" or why it was refused (it is
    // off then).
    QString setMonitoring(bool on);
    bool monitoring() const { return m_monitoring; }
    // The input or the output device was chosen: listening follows it, or ends when the new
    // input would play back into the output (monitoringEnded follows).
    void devicesChosen();

    // Tags may be written into a listed file: it is not the one being played or recorded.
    bool tagsMayBeWritten(const QString &path) const;
    // Deletes row's file from the disk: refused while it is being recorded (throws); a
    // playback of it stops first.
    void deleteFile(int row);
    // Renames row's file (see RecordedFiles::rename): refused while it is being recorded
    // (throws); the refusal to tell, or "" when it was renamed.
    QString renameFile(int row, const QString &typedName);

    // The program ends: a playback and a run stop as Stop stops them, and the mix levels are
    // kept for the next start. Throws SettingsError when they cannot be kept.
    void shutDown();

signals:
    // A file's repair begins at start-up.
    void repairing(const QString &fileName);
    void recovered(const RecoveryReport &report);
    // stateName() or currentFile() changed.
    void statusChanged();
    // Listening to the input ended by itself: why.
    void monitoringEnded(const QString &why);

private:
    AppPaths m_paths;
    ProgramSettings m_settings;
    RecordedFiles m_files;
    RecordingSession m_recording;
    PlaybackSession m_playback;
    MixerLines m_inputs;
    MixerLines m_outputs;
    RecordingFilters m_filters;
    PlaybackEqualizer m_equalizer;
    StartupRecovery m_recovery;
    std::unique_ptr<engine::IAudioFile2> m_profiles;   // labels the WMA profiles
    bool m_monitoring = false;
    qint64 m_recordingElapsedMs = 0;
    qint64 m_playbackPositionMs = 0;
};
