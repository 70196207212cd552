#include "session/recorder_core.h"

#include "engine/engine.h"
#include "session/file_operations.h"
#include "session/format_text.h"

#include <QFileInfo>

#include <stdexcept>

RecorderCore::RecorderCore(engine::IEngineFactory &engine, const AppPaths &paths, QObject *parent)
    : QObject(parent),
      m_paths(paths),
      m_settings(paths.settingsFile, paths.defaultSavePath),
      m_files(engine),
      m_recording(engine, m_files),
      m_playback(engine),
      m_inputs(m_recording.recorder()),
      m_outputs(m_playback.player()),
      m_filters(m_recording.recorder()),
      m_equalizer(m_playback.player()),
      m_recovery(engine),
      m_profiles(engine.createFile(QStringLiteral("profileLabels")))
{
    // The journals of open parts live beside the settings.
    m_recording.setJournalFolder(QFileInfo(m_paths.settingsFile).path());
    connect(&m_recovery, &StartupRecovery::repairing, this, &RecorderCore::repairing);
    connect(&m_recovery, &StartupRecovery::finished, this, [this](const RecoveryReport &report) {
        listRecoveredParts(report, m_files);
        emit recovered(report);
    });
    connect(&m_recording, &RecordingSession::tick, this, [this](qint64 elapsedMs, int, int) {
        m_recordingElapsedMs = elapsedMs;
    });
    connect(&m_playback, &PlaybackSession::tick, this, [this](qint64 positionMs, int, int, int) {
        m_playbackPositionMs = positionMs;
    });
    connect(&m_recording, &RecordingSession::stateChanged, this, [this](RecordingSession::State state) {
        if (state == RecordingSession::State::Idle || state == RecordingSession::State::Scheduled)
            m_recordingElapsedMs = 0;
        emit statusChanged();
    });
    connect(&m_recording, &RecordingSession::partStarted, this, &RecorderCore::statusChanged);
    connect(&m_recording, &RecordingSession::partRenamed, this, &RecorderCore::statusChanged);
    connect(&m_playback, &PlaybackSession::stateChanged, this, &RecorderCore::statusChanged);
    // The stored settings are in force from start-up, the time limit and the mix levels too.
    m_recording.setSettings(m_settings.recording());
    const ProgramSettings::MixLevels levels = m_settings.mixLevels();
    m_inputs.setMixLevels(levels.microphone, levels.computer);
    // A device that went away may have ended listening (its output gone).
    for (MixerLines *lines : {&m_inputs, &m_outputs})
        connect(lines, &MixerLines::devicesChanged, this, [this] {
            if (m_monitoring && !m_recording.recorder().GetMonitor()) {
                m_monitoring = false;
                emit monitoringEnded(tr("Listening to the input ended: its output device is gone"));
            }
        });
    // Listening to the input as it was left; a refusal now is said when it is asked for.
    if (m_settings.monitoring())
        setMonitoring(true);
}

QString RecorderCore::setMonitoring(bool on)
{
    const QString refusal = m_recording.recorder().SetMonitor(on, m_playback.player().GetDeviceId());
    m_monitoring = on && refusal.isEmpty();
    return refusal;
}

void RecorderCore::devicesChosen()
{
    if (!m_monitoring)
        return;
    const QString refusal = setMonitoring(true);
    if (!refusal.isEmpty())
        emit monitoringEnded(refusal);
}

RecorderCore::~RecorderCore() = default;

void RecorderCore::applyRecordingSettings(const RecordingSettings &settings)
{
    m_recording.setSettings(settings);
}

void RecorderCore::setSeparateSides(bool on)
{
    RecordingSettings s = m_recording.settings();
    s.separateSides = on;
    m_recording.setSettings(s);
    m_settings.storeSeparateSides(on);
}

void RecorderCore::storeRecordingSettings(const RecordingSettings &settings, int mp3Position, int wavPosition)
{
    m_recording.setSettings(settings);
    m_settings.storeRecording(settings, mp3Position, wavPosition);
}

int RecorderCore::wmaProfileCount()
{
    return m_profiles->GetWmaProfileCount();
}

QString RecorderCore::wmaProfileLabel(int number)
{
    // With no file open, the description names profile `number`, counted from 1.
    m_profiles->SetWmaProfile(number);
    return m_profiles->GetFormatDescription().mid(4, 100);
}

void RecorderCore::play(int perMille)
{
    m_playback.play(m_files.fileToPlay(), perMille);
}

void RecorderCore::pause()
{
    m_playback.pause();
    m_recording.pause();
}

void RecorderCore::stop()
{
    if (m_playback.isActive())
        m_playback.stop();
    m_recording.stop();
}

PlaybackSession::FileFacts RecorderCore::openFile(const QString &path)
{
    // A running or paused playback goes on with its own file: the new file is measured by a
    // reader of its own and plays on the next Play after a stop.
    m_files.setCurrentFile(path);
    const PlaybackSession::FileFacts facts = m_playback.measure(path);
    m_files.add(path);
    return facts;
}

void RecorderCore::startRecovery()
{
    m_recovery.start(QFileInfo(m_paths.settingsFile).path());
}

RecorderCore::TransportStatus RecorderCore::transportStatus() const
{
    // A running recording comes first.
    using R = RecordingSession::State;
    const R recording = m_recording.state();
    const PlaybackSession::State playback = m_playback.state();
    if (recording == R::Recording)
        //: The status bar's state words: a recording runs.
        return {tr("Recording..."), Look::Recording};
    if (recording == R::WaitingForSound)
        //: The status bar's state words: a recording waits for sound to start writing.
        return {tr("Waiting for sound..."), Look::Recording};
    if (recording == R::WaitingForDevice)
        //: The status bar's state words: a recording waits for its lost input device.
        return {tr("Waiting for device..."), Look::Paused};
    if (playback == PlaybackSession::State::Playing)
        //: The status bar's state words: a file is played.
        return {tr("Playing..."), Look::Playing};
    if (recording == R::Paused || playback == PlaybackSession::State::Paused)
        //: The status bar's state word while a recording or playback is paused.
        return {tr("Pause", "state"), Look::Paused};
    if (recording == R::Scheduled)
        return {countdownText(m_recording.now().secsTo(m_recording.scheduledAt())), Look::Stopped};
    if (recording == R::Listening)
        // The meters move, the seconds are kept.
        //: The status bar's state word while the input is open before a recording (pre-record).
        return {tr("Listening", "state"), Look::Stopped};
    //: The status bar's state word while nothing records or plays.
    return {tr("Stop", "state"), Look::Stopped};
}

QString RecorderCore::stateName() const
{
    // Words for other programs (the remote control's State): never translated.
    using R = RecordingSession::State;
    switch (m_recording.state()) {
    case R::Recording:
        return QStringLiteral("Recording");
    case R::Paused:
        return QStringLiteral("Paused");
    case R::WaitingForSound:
        return QStringLiteral("WaitingForSound");
    case R::WaitingForDevice:
        return QStringLiteral("WaitingForDevice");
    case R::Scheduled:
        return QStringLiteral("Scheduled");
    case R::Idle:
    case R::Listening:
        break;
    }
    if (m_playback.state() == PlaybackSession::State::Playing)
        return QStringLiteral("Playing");
    if (m_playback.state() == PlaybackSession::State::Paused)
        return QStringLiteral("Paused");
    return m_recording.state() == R::Listening ? QStringLiteral("Listening") : QStringLiteral("Stopped");
}

qint64 RecorderCore::elapsedMs() const
{
    if (m_recording.isActive())
        return m_recordingElapsedMs;
    return m_playback.isActive() ? m_playbackPositionMs : 0;
}

QString RecorderCore::currentFile() const
{
    if (m_recording.isActive() && !m_recording.partPath().isEmpty())
        return m_recording.partPath();
    if (m_playback.isActive())
        return m_playback.playingFile();
    return m_files.currentFile();
}

bool RecorderCore::recordingOwnsDisplay() const
{
    switch (m_recording.state()) {
    case RecordingSession::State::Idle:
    case RecordingSession::State::Listening:
    case RecordingSession::State::Scheduled:
        return false;
    default:
        return true;
    }
}

void RecorderCore::setSpectrumFrames(int frames)
{
    // The recording's while it runs, else the playback's.
    m_recording.setSnapshotFrames(recordingOwnsDisplay() || !m_playback.isActive() ? frames : 0);
    m_playback.setSnapshotFrames(recordingOwnsDisplay() ? 0 : frames);
}

bool RecorderCore::tagsMayBeWritten(const QString &path) const
{
    return !((m_playback.isActive() || m_recording.isActive()) && path == m_playback.playingFile());
}

void RecorderCore::deleteFile(int row)
{
    if (row < 0 || row >= m_files.count())
        return;
    const QString path = m_files.at(row).path;
    if (m_recording.isActive() && sameFile(path, m_recording.partPath()))
        throw std::runtime_error(
            tr("Cannot delete %1: it is being recorded. Stop the recording first.").arg(path).toStdString());
    // The file the player reads goes away with its sound: stop that playback first.
    if (m_playback.isActive() && sameFile(path, m_playback.playingFile()))
        m_playback.stop();
    m_files.deleteFromDisk(row);
}

QString RecorderCore::renameFile(int row, const QString &typedName)
{
    // The recording goes on writing under its own name and lists it when it ends.
    if (!typedName.isEmpty() && row >= 0 && row < m_files.count() && m_recording.isActive()
        && sameFile(m_files.at(row).path, m_recording.partPath()))
        throw std::runtime_error(
            tr("Cannot rename %1: it is being recorded").arg(m_files.at(row).path).toStdString());
    return m_files.rename(row, typedName);
}

void RecorderCore::shutDown()
{
    if (m_playback.isActive())
        m_playback.stop();
    if (m_recording.isActive())
        m_recording.stop();
    m_settings.storeMixLevels({m_inputs.microphoneLevel(), m_inputs.computerLevel()});
    m_settings.storeMonitoring(m_monitoring);
}
