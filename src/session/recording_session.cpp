#include "session/recording_session.h"

#include "session/file_operations.h"
#include "session/format_text.h"
#include "session/part_recovery.h"
#include "session/recorded_files.h"

#include <QDir>
#include <QFileInfo>
#include <QPair>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

// A part whose file already holds this much was recorded before: ask before writing over it.
constexpr qint64 kRewriteQuestionFrames = 8820;
constexpr int kBlockMs = 200;
constexpr int kDiskReportMs = 3000;

std::runtime_error error(const QString &text)
{
    return std::runtime_error(text.toStdString());
}

// The rate and channels the format is written in, so that capture, which starts before a
// part's file exists, needs no conversion (the writer converts whatever differs).
QPair<int, int> captureFormatOf(const RecordingSettings &s)
{
    switch (saveFormatOf(s)) {
    case SaveFormat::Wav:
        return {std::max(8000, s.wavFrequency), std::clamp(s.wavChannels, 1, 2)};
    case SaveFormat::Flac:
        return {std::max(8000, s.flacFrequency), std::clamp(s.flacChannels, 1, 2)};
    case SaveFormat::Opus:
        return {48000, std::clamp(s.opusChannels, 1, 2)};
    case SaveFormat::Mp3:
        return {std::max(8000, s.mp3Frequency), 2};
    case SaveFormat::Wma:
    case SaveFormat::Vorbis:
        break;
    }
    return {44100, 2};
}

}  // namespace

RecordingSession::RecordingSession(engine::IEngineFactory &engine, RecordedFiles &files, QObject *parent)
    : QObject(parent),
      m_recorder(engine.createRecorder(QStringLiteral("recorder"))),
      m_reader(engine.createFile(QStringLiteral("recordingReader"))),
      m_mp3Encoder(engine.createLameEncoder(QStringLiteral("readerMp3Encoder"))),
      m_files(files),
      m_clock(&QDateTime::currentDateTime),
      m_writer(engine, m_ring),
      m_deviceWatch(*m_recorder, [this] { return m_clock(); })
{
    m_writer.setRescueFolder(defaultRescueFolder());
    connect(m_recorder.get(), &engine::IAudioRecord2::OnEndArrayRecord, this, [this] { onBlock(); });
    connect(m_recorder.get(), &engine::IAudioRecord2::OnTimer, this,
            [this](QObject *, qint64 samples, int left, int right) { onTick(samples, left, right); });
    connect(m_recorder.get(), &engine::IAudioRecord2::OnDeviceError, this,
            [this](QObject *, const QString &text) { onDeviceError(text); });
    connect(&m_writer, &PartWriter::partStarted, this, &RecordingSession::onPartStarted);
    connect(&m_writer, &PartWriter::partFinished, this, &RecordingSession::onPartFinished);
    connect(&m_writer, &PartWriter::partRenamed, this, [this](const QString &path) {
        m_partPath = path;
        m_files.setCurrentFile(path);
        emit partRenamed(path);
    });
    connect(&m_writer, &PartWriter::notice, this, &RecordingSession::notice);
    connect(&m_writer, &PartWriter::problem, this, &RecordingSession::failed);
    connect(&m_writer, &PartWriter::stopped, this, &RecordingSession::onWriterStopped);
    connect(&m_writer, &PartWriter::soundLost, this, &RecordingSession::onSoundLost);
    connect(&m_deviceWatch, &DeviceReturnWatch::returned, this, &RecordingSession::onDeviceReturned);
    connect(&m_deviceWatch, &DeviceReturnWatch::gaveUp, this, [this] {
        m_runLimitSeconds = -1;
        m_limits.start(1, 0, 0);
        setState(State::Idle);
        emit runEnded();
        emit failed(QStringLiteral("The recording was stopped: the input device did not come back within %1 minutes")
                        .arg(kDeviceWaitSeconds / 60));
    });
    connect(&m_scheduler, &RecordingScheduler::countdown, this, &RecordingSession::scheduleCountdown);
    connect(&m_scheduler, &RecordingScheduler::due, this, &RecordingSession::startScheduledRun);
    m_diskTimer.setInterval(kDiskReportMs);
    connect(&m_diskTimer, &QTimer::timeout, this, &RecordingSession::reportDiskTimeLeft);
}

RecordingSession::~RecordingSession()
{
    // The owner stops a run before it goes (see stop()); this only lets nothing dangle.
    disconnect(m_recorder.get(), nullptr, this, nullptr);
    disconnect(&m_writer, nullptr, this, nullptr);
}

void RecordingSession::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(&QDateTime::currentDateTime);
    m_scheduler.setClock([this] { return m_clock(); });
}

void RecordingSession::setFreeSpaceSource(FreeSpaceSource source)
{
    m_runway.setFreeSpaceSource(std::move(source));
    m_writer.setRunway(m_runway);
}

void RecordingSession::setSettings(const RecordingSettings &settings)
{
    const RecordingSettings before = m_settings;
    m_settings = settings;
    m_writer.setSettings(m_settings);
    applyOutputFormat(m_settings, *m_reader, *m_mp3Encoder);
    if (isActive())
        return;
    // The kept seconds are taken in the format written: another format or length opens the
    // input again.
    const bool ringChanged = before.prerecordSeconds != settings.prerecordSeconds
                             || fileExtension(before) != fileExtension(settings)
                             || captureFormatOf(before) != captureFormatOf(settings);
    if (m_capturing && ringChanged) {
        stopCapture();
        setState(State::Idle);
    }
    updateListening();
    reportDiskTimeLeft();
}

void RecordingSession::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    if (isActive())
        m_diskTimer.start();
    else
        m_diskTimer.stop();
    emit stateChanged(state);
}

// ---- capture --------------------------------------------------------------------------------

void RecordingSession::startCapture()
{
    const QPair<int, int> format = captureFormatOf(m_settings);
    // Room for the kept seconds, for the quiet that may follow a sound before it counts as its
    // end, and for a writer that stalls.
    double seconds = m_settings.prerecordSeconds + kWriterStallSeconds + 2.0;
    if (m_settings.triggerOn)
        seconds += std::max<double>(m_settings.prerecordSeconds, 0.5) + m_settings.triggerSilenceSeconds;
    m_ring.reset(format.first, format.second, qint64(seconds * format.first));
    m_recorder->SetRecordFlag(true);
    m_recorder->SetFormat(format.second, format.first);
    m_blockFrames = m_recorder->CalcArraySize(kBlockMs);
    m_recorder->SetArraySize(m_blockFrames);
    // Which device this is, by the server's name: the one to wait for should it go.
    m_captureDevice = m_recorder->GetDeviceId();
    m_captureBase = 0;
    m_recorder->Start();
    if (m_recorder->GetErrorCode() != 0) {
        const QString reason = m_recorder->GetErrorText();
        throw error(reason.isEmpty() ? QStringLiteral("The recording could not start") : reason);
    }
    m_capturing = true;
    m_cursor = 0;
}

void RecordingSession::resumeCapture()
{
    m_recorder->SetRecordFlag(true);
    m_captureDevice = m_recorder->GetDeviceId();
    m_captureBase = m_ring.end();
    m_recorder->Start();
    if (m_recorder->GetErrorCode() != 0) {
        const QString reason = m_recorder->GetErrorText();
        throw error(reason.isEmpty() ? QStringLiteral("Capture did not start again") : reason);
    }
    m_capturing = true;
}

void RecordingSession::stopCapture()
{
    // Its last blocks come while it stops; a run that is ending writes them.
    m_stoppingCapture = true;
    try {
        m_recorder->Stop();
    } catch (const std::exception &e) {
        if (m_captureFailure.isEmpty())
            m_captureFailure = QString::fromUtf8(e.what());
    }
    m_stoppingCapture = false;
    m_capturing = false;
}

void RecordingSession::updateListening()
{
    if (isActive())
        return;
    if (!keepsInputOpen()) {
        if (m_capturing)
            stopCapture();
        setState(State::Idle);
        return;
    }
    if (!m_capturing) {
        try {
            startCapture();
        } catch (const std::exception &) {
            // No input to listen to now; Record says why if it stays so.
            setState(State::Idle);
            return;
        }
    }
    setState(State::Listening);
}

void RecordingSession::inputChanged()
{
    if (isActive())
        return;
    // Listening to the chosen device already: the kept seconds stay.
    if (m_capturing && m_recorder->GetDeviceId() == m_captureDevice)
        return;
    if (m_capturing)
        stopCapture();
    setState(State::Idle);
    updateListening();
}

// ---- commands -------------------------------------------------------------------------------

void RecordingSession::checkSaveFolder(bool make)
{
    const QString folder = m_settings.savePath;
    if (folder.trimmed().isEmpty())
        throw error(QStringLiteral("No folder is set for recordings. Choose one in Options"));
    if (!pathSurvivesFileSystem(folder))
        throw error(QStringLiteral("Cannot record into %1: the folder's name is not valid UTF-8. "
                                   "Choose the folder again in Options")
                        .arg(folder));
    // Not even the shortest recording would fit: say so before anything is made.
    const QString refusal = m_runway.refusal(m_settings);
    if (!refusal.isEmpty())
        throw error(refusal);
    if (make && !QDir().mkpath(folder))
        throw error(QStringLiteral("Cannot create %1").arg(folder));
}

void RecordingSession::record()
{
    if (m_state == State::Recording || m_state == State::WaitingForDevice || m_state == State::WaitingForSound)
        return;
    if (m_state == State::Paused) {
        resume();
        return;
    }
    if (m_state == State::Scheduled) {
        // Record starts the run now instead.
        m_scheduler.cancel();
        setState(State::Idle);
        updateListening();
    }
    try {
        checkSaveFolder(!m_settings.triggerOn);
        if (!m_capturing)
            startCapture();
        const int split = m_settings.splitEnabled ? m_settings.splitSeconds : 0;
        m_limits.start(m_ring.rate(), m_runLimitSeconds > 0 ? m_runLimitSeconds : m_settings.timeLimitSeconds, split);
        m_soundLostTold = false;
        m_fadeIn = false;
        if (m_settings.triggerOn) {
            // Armed: nothing is written until a sample is louder than the level.
            m_trigger.configure(m_settings.triggerLevelDb, m_settings.triggerSilenceSeconds,
                                std::max(0.5, double(m_settings.prerecordSeconds)));
            m_trigger.arm(m_ring.end());
            setState(State::WaitingForSound);
            return;
        }
        // What was kept before Record comes first, never what a run wrote already.
        const qint64 kept = qint64(m_settings.prerecordSeconds) * m_ring.rate();
        m_cursor = std::max({m_cursor, m_ring.start(), m_ring.end() - kept});
        if (!openPart(true))
            return;
        commit(m_ring.end());
    } catch (const std::exception &e) {
        m_runLimitSeconds = -1;
        if (m_capturing && !keepsInputOpen())
            stopCapture();
        emit failed(QString::fromUtf8(e.what()));
    }
}

bool RecordingSession::openPart(bool askFirst)
{
    const QString folder = m_settings.savePath;
    if (!QDir().mkpath(folder))
        throw error(QStringLiteral("Cannot create %1").arg(folder));
    // The name is taken once, exclusively: no existing entry is ever reused or followed.
    ReservedFile file = reserveNumberedFile(folder, QStringLiteral("Untitled"), fileExtension(m_settings));
    const QString path = file.path();
    if (askFirst) {
        m_reader->Open(path, 0, 1);
        const bool holdsSound = m_reader->GetNumSamples() >= kRewriteQuestionFrames;
        m_reader->Close();
        if (holdsSound && !(m_questions && m_questions->confirmRewrite(path))) {
            // Not written over: the run ends with the file listed as it is.
            m_partPath = path;
            QString listing;
            listPart(path, &listing);
            if (m_capturing && !keepsInputOpen())
                stopCapture();
            m_runLimitSeconds = -1;
            emit runEnded();
            updateListening();
            return false;
        }
    }
    // The state is the run's before the window hears of the part.
    const State before = m_state;
    setState(State::Recording);
    try {
        const QString format = m_writer.open(file, m_cursor, m_blockFrames);
        m_limits.newPart();
        onPartStarted(path, format);
    } catch (...) {
        m_state = before;   // nothing was recorded: as if it never started
        emit stateChanged(before);
        throw;
    }
    return true;
}

void RecordingSession::resume()
{
    if (m_pauseStoppedCapture) {
        try {
            resumeCapture();
        } catch (const std::exception &e) {
            // What was recorded before the pause is kept: the part is finalised and listed.
            endRun(QString::fromUtf8(e.what()));
            return;
        }
        m_pauseStoppedCapture = false;
        setState(State::Recording);
        return;
    }
    // Capture went on during the pause: what it heard is left out. Started on sound, the run
    // waits for the next sound again.
    m_cursor = m_ring.end();
    if (m_settings.triggerOn) {
        m_trigger.arm(m_ring.end());
        setState(State::WaitingForSound);
        return;
    }
    m_fadeIn = true;
    setState(State::Recording);
}

void RecordingSession::pause()
{
    if (m_state != State::Recording)
        return;
    commit(dueEnd());
    if (m_state != State::Recording)
        return;   // the time limit ended the run
    setState(State::Paused);
    if (keepsInputOpen() || m_settings.triggerOn)
        return;   // the input stays open; what it hears meanwhile is left out
    // Nothing needs the input during the pause: capture stops, and its last blocks go to the
    // part.
    m_captureFailure.clear();
    m_pauseStoppedCapture = true;
    stopCapture();
    if (!m_captureFailure.isEmpty()) {
        // The last blocks could not be had: the pause becomes the end of the run.
        endRun(std::exchange(m_captureFailure, QString()));
        return;
    }
    m_recorder->SetRecordFlag(false);
}

void RecordingSession::stop()
{
    switch (m_state) {
    case State::Idle:
    case State::Listening:
        return;
    case State::Scheduled:
        m_scheduler.cancel();
        m_runLimitSeconds = -1;
        setState(State::Idle);
        updateListening();
        return;
    case State::WaitingForDevice:
        // The parts are listed already; only the wait ends.
        m_deviceWatch.stop();
        m_runLimitSeconds = -1;
        m_limits.start(1, 0, 0);
        setState(State::Idle);
        emit runEnded();
        updateListening();
        return;
    default:
        endRun(QString());
    }
}

void RecordingSession::schedule(const QDateTime &at, int lengthSeconds)
{
    if (isActive())
        return;
    setState(State::Scheduled);
    m_scheduler.schedule(at, lengthSeconds);
}

void RecordingSession::startScheduledRun(int lengthSeconds)
{
    if (m_state != State::Scheduled)
        return;
    setState(State::Idle);
    updateListening();
    // Its length is this run's alone, never stored.
    m_runLimitSeconds = lengthSeconds > 0 ? lengthSeconds : -1;
    record();
    if (!isActive())
        m_runLimitSeconds = -1;
}

// ---- the run ----------------------------------------------------------------------------------

qint64 RecordingSession::dueEnd() const
{
    return m_settings.triggerOn ? m_trigger.due(m_ring, m_cursor) : m_ring.end();
}

void RecordingSession::commit(qint64 to)
{
    while (m_writer.isOpen() && m_cursor < to) {
        qint64 before = 0;
        const RunLimits::Boundary boundary = m_limits.next(&before);
        const qint64 step = std::min(to - m_cursor, before);
        if (step > 0) {
            m_writer.write(m_cursor, m_cursor + step, std::exchange(m_fadeIn, false));
            m_cursor += step;
            m_limits.add(step);
        }
        if (step < before || boundary == RunLimits::Boundary::None)
            continue;
        if (boundary == RunLimits::Boundary::End) {
            endRun(QString());   // the time limit counts what the run wrote
            return;
        }
        m_writer.split(m_cursor);
        m_limits.newPart();
    }
}

void RecordingSession::restForQuiet()
{
    // The sound is over: the file rests (or, one file a sound, is finished and listed)
    // while the session waits for the next one.
    commit(dueEnd());
    if (m_state != State::Recording)
        return;
    if (m_settings.triggerNewFile)
        m_writer.close();
    m_trigger.arm(m_ring.end());
    setState(State::WaitingForSound);
}

void RecordingSession::endRun(const QString &reason)
{
    if (m_ending) {
        // Met while the last frames are written: the run that ends says it once.
        if (m_endFailure.isEmpty())
            m_endFailure = reason;
        return;
    }
    m_ending = true;
    m_endFailure = reason;
    m_captureFailure.clear();
    // With pre-record on, the input stays open: the next Record keeps what comes now.
    // Otherwise capture stops, and its last blocks are written.
    if (m_capturing && !keepsInputOpen())
        stopCapture();
    if (m_endFailure.isEmpty())
        m_endFailure = m_captureFailure;
    if (m_state == State::Recording && m_endFailure.isEmpty())
        commit(dueEnd());
    const PartWriter::Finished part = m_writer.finish();
    const bool listed = !part.path.isEmpty();
    QString listingError;
    if (listed) {
        m_partPath = part.path;
        m_lastFrames = part.frames;
        m_lastRate = part.rate;
        listPart(part.path, &listingError);
    }
    // A part with no name left says so, whatever else ended the run.
    const QString said = part.lost || m_endFailure.isEmpty() ? part.failure : m_endFailure;
    m_ending = false;
    m_endFailure.clear();
    m_runLimitSeconds = -1;
    m_pauseStoppedCapture = false;
    m_limits.start(1, 0, 0);
    setState(m_capturing ? State::Listening : State::Idle);
    // A run that recorded nothing and met no trouble (armed, then stopped) leaves nothing to
    // show.
    if (listed || !said.isEmpty())
        emit runEnded();
    reportDiskTimeLeft();
    if (!said.isEmpty())
        emit failed(QStringLiteral("The recording was stopped: %1").arg(said));
    else if (!listingError.isEmpty())
        emit failed(listingError);
}

bool RecordingSession::listPart(const QString &path, QString *error)
{
    try {
        m_files.add(path);
        return true;
    } catch (const std::exception &e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
}

void RecordingSession::waitForDevice(const QString &why)
{
    // The part is finished and listed as at a Stop; the run itself waits for its device.
    const QString device = m_captureDevice;
    const PartWriter::Finished part = m_writer.finish();
    QString listingError;
    QString kept;
    if (!part.path.isEmpty()) {
        m_lastFrames = part.frames;
        m_lastRate = part.rate;
        listPart(part.path, &listingError);
        kept = QStringLiteral(" %1 is kept and listed.").arg(QFileInfo(part.path).fileName());
    }
    if (!part.failure.isEmpty() || device.isEmpty()) {
        endRun(part.failure.isEmpty() ? why : part.failure);
        return;
    }
    m_deviceWatch.start(device);
    setState(State::WaitingForDevice);
    emit notice(QStringLiteral("The recording stopped: %1.%2 The recording goes on in a new file when the device "
                               "comes back (waiting up to %3 minutes; Stop ends the wait).")
                    .arg(why, kept)
                    .arg(kDeviceWaitSeconds / 60));
    if (!listingError.isEmpty())
        emit failed(listingError);
}

// ---- what the recorder and the writer say ------------------------------------------------------

void RecordingSession::onBlock()
{
    const qint64 before = m_ring.end();
    m_ring.append(m_recorder->GetArray());
    switch (m_state) {
    case State::WaitingForSound: {
        if (m_ending)
            return;
        const qint64 onset = m_trigger.findOnset(m_ring);
        if (onset < 0)
            return;
        // Writing starts with what came before the sound, never with what was written.
        m_cursor = std::max(m_cursor, m_trigger.writeFrom(m_ring, onset));
        m_trigger.start(m_ring, onset);
        if (!m_writer.isOpen()) {
            try {
                openPart(false);
            } catch (const std::exception &e) {
                endRun(QString::fromUtf8(e.what()));
                return;
            }
        }
        setState(State::Recording);
        commit(dueEnd());
        return;
    }
    case State::Recording:
        if (m_settings.triggerOn && !m_ending) {
            m_trigger.follow(m_ring, before);
            if (m_trigger.soundIsOver(m_ring)) {
                restForQuiet();
                return;
            }
        }
        commit(dueEnd());
        return;
    case State::Paused:
        // Blocks captured before a pause stopped capture still belong to the part.
        if (m_pauseStoppedCapture && !m_settings.triggerOn)
            commit(m_ring.end());
        return;
    default:
        return;
    }
}

void RecordingSession::onTick(qint64 currentSamples, int levelLeft, int levelRight)
{
    // A tick already on its way when capture stopped or paused shows nothing.
    if (!m_capturing || m_state == State::Paused || m_stoppingCapture)
        return;
    // The meters and the spectrum live while the input is open; the time is what the run
    // wrote, and what it will write of what capture has already heard.
    qint64 frames = m_limits.runFrames();
    if (m_state == State::Recording && !m_settings.triggerOn && !m_ending)
        frames += std::max<qint64>(0, m_captureBase + currentSamples - m_cursor);
    emit tick(m_recorder->SamplesToMs(frames), levelLeft, levelRight);
    if (m_snapshotFrames > 0)
        emit snapshotReady(m_recorder->GetSnapshotArray(m_snapshotFrames));
}

void RecordingSession::onDeviceError(const QString &text)
{
    m_capturing = false;
    if (m_stoppingCapture || m_ending) {
        // Raised while capture is being stopped: whoever stops it ends the run and says this.
        if (m_captureFailure.isEmpty())
            m_captureFailure = text;
        return;
    }
    if (!isActive()) {
        // The input went away while only listening: listen again when it is chosen again.
        setState(State::Idle);
        return;
    }
    if (m_state == State::WaitingForDevice || m_state == State::Scheduled)
        return;
    // Every block captured before the loss has come: it goes to the part.
    if (m_state == State::Recording)
        commit(dueEnd());
    if (!m_settings.resumeAfterDeviceLoss) {
        endRun(text);
        return;
    }
    waitForDevice(text);
}

void RecordingSession::onDeviceReturned()
{
    try {
        startCapture();
        if (m_settings.triggerOn) {
            m_trigger.arm(m_ring.end());
            setState(State::WaitingForSound);
        } else {
            m_cursor = m_ring.end();
            openPart(false);
        }
    } catch (const std::exception &) {
        if (m_capturing)
            stopCapture();
        // Back in the list but not yet able to record: try again at the next look.
        setState(State::WaitingForDevice);
        m_deviceWatch.start(m_captureDevice);
        return;
    }
    emit notice(QStringLiteral("The input device came back: the recording went on at %1 in %2.")
                    .arg(m_clock().time().toString(QStringLiteral("HH:mm:ss")), QFileInfo(m_partPath).fileName()));
}

void RecordingSession::onPartStarted(const QString &path, const QString &formatDescription)
{
    m_partPath = path;
    m_files.setCurrentFile(path);
    emit partStarted(path, formatDescription);
    reportDiskTimeLeft();
}

void RecordingSession::onPartFinished(const PartWriter::Finished &part)
{
    // A split, a full file, a sound's own file: listed, and the run goes on.
    m_lastFrames = part.frames;
    m_lastRate = part.rate;
    QString listingError;
    if (!listPart(part.path, &listingError) && !part.lost)
        emit failed(listingError);
    if (part.lost)
        emit failed(part.failure);
}

void RecordingSession::onWriterStopped(const QString &reason)
{
    if (m_state == State::Idle || m_state == State::Listening)
        return;
    endRun(reason);
}

void RecordingSession::onSoundLost(qint64 frames)
{
    // Said once a run; the recording goes on.
    if (std::exchange(m_soundLostTold, true))
        return;
    emit failed(QStringLiteral("The disk did not keep up with the recording: %1 of sound could not be written to %2. "
                               "The recording goes on.")
                    .arg(durationText(std::max<qint64>(1, frames / std::max(1, m_ring.rate()))), QFileInfo(m_partPath).fileName()));
}

// ---- the disk ---------------------------------------------------------------------------------

qint64 RecordingSession::secondsLeftOnDisk()
{
    const double measured = m_writer.isOpen() ? m_writer.measuredBytesPerSecond() : 0.0;
    const double rate = measured > 0 ? measured : DiskRunway::boundBytesPerSecond(m_settings);
    return m_runway.secondsLeft(m_writer.isOpen() && !m_partPath.isEmpty() ? m_partPath : m_settings.savePath, rate);
}

void RecordingSession::reportDiskTimeLeft()
{
    emit diskTimeLeftChanged(secondsLeftOnDisk());
}
