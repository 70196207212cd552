#include "session/recording_session.h"

#include "session/file_operations.h"
#include "session/save_format.h"
#include "session/part_recovery.h"
#include "session/recorded_files.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

// A part whose file already holds this much was recorded before: ask before writing over it.
constexpr qint64 kRewriteQuestionFrames = 8820;
constexpr int kDiskReportMs = 3000;

std::runtime_error error(const QString &text)
{
    return std::runtime_error(text.toStdString());
}

}  // namespace

RecordingSession::RecordingSession(engine::IEngineFactory &engine, RecordedFiles &files, QObject *parent)
    : QObject(parent),
      m_recorder(engine.createRecorder(QStringLiteral("recorder"))),
      m_reader(engine.createFile(QStringLiteral("recordingReader"))),
      m_mp3Encoder(engine.createLameEncoder(QStringLiteral("readerMp3Encoder"))),
      m_files(files),
      m_clock(&QDateTime::currentDateTime),
      m_input(*m_recorder, m_ring),
      m_writer(engine, m_ring),
      m_deviceWatch(*m_recorder, [this] { return m_clock(); })
{
    m_writer.setRescueFolder(defaultRescueFolder());
    connect(&m_input, &CaptureInput::started, this, [this] { m_cursor = 0; });
    connect(&m_input, &CaptureInput::blockArrived, this, &RecordingSession::onBlock);
    connect(&m_input, &CaptureInput::ticked, this, &RecordingSession::onTick);
    connect(&m_input, &CaptureInput::lost, this, &RecordingSession::onCaptureLost);
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
    connect(&m_deviceWatch, &DeviceReturnWatch::returned, this, &RecordingSession::onDeviceReturned);
    connect(&m_deviceWatch, &DeviceReturnWatch::gaveUp, this, [this] {
        endWait();
        //: Why a recording ended, as a clause after the file's name; %1 is a number of minutes.
        emit runEndedBy(tr("the input device did not come back within %1 minutes").arg(kDeviceWaitSeconds / 60),
                        m_runFile);
        emit failed(tr("The recording was stopped: the input device did not come back within %1 minutes")
                        .arg(kDeviceWaitSeconds / 60));
    });
    connect(&m_scheduler, &RecordingScheduler::countdown, this, &RecordingSession::scheduleCountdown);
    connect(&m_scheduler, &RecordingScheduler::due, this, &RecordingSession::startScheduledRun);
    m_diskTimer.setInterval(kDiskReportMs);
    connect(&m_diskTimer, &QTimer::timeout, this, &RecordingSession::reportDiskTimeLeft);
}

// The owner stops a run before it goes (see stop()); a part still open is finished by the
// writer as it goes.
RecordingSession::~RecordingSession() = default;

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
    if (m_input.isRunning() && !CaptureInput::sameRing(before, settings))
        m_input.stop();
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

// ---- listening ------------------------------------------------------------------------------

void RecordingSession::updateListening()
{
    if (!isActive())
        setState(m_input.listen(m_settings) ? State::Listening : State::Idle);
}

void RecordingSession::inputChanged()
{
    if (isActive())
        return;
    // Listening to the chosen device already: the kept seconds stay.
    if (m_input.isRunning() && m_recorder->GetDeviceId() != m_input.deviceId())
        m_input.stop();
    updateListening();
}

// ---- commands -------------------------------------------------------------------------------

void RecordingSession::checkSaveFolder(bool make)
{
    // Not even the shortest recording would fit: say so before anything is made.
    QString problem = saveFolderProblem(m_settings);
    if (problem.isEmpty())
        problem = m_runway.refusal(m_settings, filesPerPart());
    if (!problem.isEmpty())
        throw error(problem);
    if (make && !QDir().mkpath(m_settings.savePath))
        throw error(tr("Cannot create %1").arg(m_settings.savePath));
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
    m_partsOpened = 0;
    m_partMarkers = 0;
    m_runFile.clear();
    try {
        checkSaveFolder(!m_settings.triggerOn);
        if (!m_input.isRunning())
            m_input.start(m_settings);
        const int split = m_settings.splitEnabled ? m_settings.splitSeconds : 0;
        m_limits.start(m_ring.rate(), m_runLimitSeconds > 0 ? m_runLimitSeconds : m_settings.timeLimitSeconds, split);
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
        if (m_input.isRunning() && !keepsInputOpen())
            m_input.stop();
        emit failed(QString::fromUtf8(e.what()));
    }
}

QString RecordingSession::addMarker(const QString &name)
{
    if (m_state != State::Recording && m_state != State::Paused && m_state != State::WaitingForSound)
        throw error(tr("Not recording"));
    if (m_partMarkers >= kMaxMarkers)
        //: %1 is a file name, %2 the most markers a file can hold.
        throw error(tr("%1 holds %2 markers, as many as a file can: no more can be added")
                        .arg(QFileInfo(m_partPath).fileName())
                        .arg(kMaxMarkers));
    // Where capture is now: what the part holds, and what was captured but not yet handed
    // over, which a running recording writes next.
    const qint64 waiting = m_state == State::Recording ? std::max<qint64>(0, m_ring.end() - m_cursor) : 0;
    const qint64 partFrames = (m_writer.isOpen() ? m_limits.partFrames() : 0) + waiting;
    const int number = ++m_partMarkers;
    QString cleaned = name;
    cleaned.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    cleaned.remove(QLatin1Char('='));
    cleaned = cleaned.trimmed();
    if (cleaned.isEmpty())
        //: The name a marker gets when none is typed; %1 counts the markers of the file.
        cleaned = tr("Marker %1").arg(number);
    m_writer.addMarker(m_ring.end(), cleaned);
    const qint64 seconds = partFrames / std::max(1, m_ring.rate());
    //: Said when a marker was added: %1 is its name, then the hours, minutes and seconds
    //: into the file ("Marker 3 at 00:12:04").
    return tr("%1 at %2:%3:%4")
        .arg(cleaned)
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool RecordingSession::openPart(bool askFirst)
{
    const QString folder = m_settings.savePath;
    if (!QDir().mkpath(folder))
        throw error(tr("Cannot create %1").arg(folder));
    // The name is taken once, exclusively: no existing entry is ever reused or followed.
    std::vector<ReservedFile> sides;
    ReservedFile file = reservePartFile(folder, m_settings.partStem, fileExtension(m_settings), m_partsOpened == 0,
                                        m_input.sideCount() > 0 ? PartWriter::sideSuffixes() : QStringList(), &sides);
    ++m_partsOpened;
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
            if (m_input.isRunning() && !keepsInputOpen())
                m_input.stop();
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
        const QString format = m_writer.open(file, std::move(sides), m_cursor, m_input.blockFrames());
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
            m_input.resume();
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
    m_pauseStoppedCapture = true;
    const QString failure = m_input.stop();
    if (!failure.isEmpty()) {
        // The last blocks could not be had: the pause becomes the end of the run.
        endRun(failure);
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
        endWait();
        updateListening();
        return;
    default:
        endRun(QString(), EndCause::Stop);
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
            endRun(QString(), EndCause::Limit);   // the time limit counts what the run wrote
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

void RecordingSession::endRun(const QString &reason, EndCause cause)
{
    if (m_ending) {
        // Met while the last frames are written: the run that ends says it once.
        if (m_endFailure.isEmpty())
            m_endFailure = reason;
        return;
    }
    m_ending = true;
    m_endFailure = reason;
    const bool ownLength = m_runLimitSeconds > 0;
    // With pre-record on, the input stays open: the next Record keeps what comes now.
    // Otherwise capture stops, and its last blocks are written.
    if (m_input.isRunning() && !keepsInputOpen()) {
        const QString failure = m_input.stop();
        if (m_endFailure.isEmpty())
            m_endFailure = failure;
    }
    if (m_state == State::Recording && m_endFailure.isEmpty())
        commit(dueEnd());
    const PartWriter::Finished part = m_writer.finish();
    const bool listed = !part.path.isEmpty();
    QString listingError;
    takeFinished(part, &listingError);
    // A part with no name left says so, whatever else ended the run.
    const QString said = part.lost || m_endFailure.isEmpty() ? part.failure : m_endFailure;
    m_ending = false;
    m_endFailure.clear();
    m_runLimitSeconds = -1;
    m_pauseStoppedCapture = false;
    m_limits.start(1, 0, 0);
    setState(m_input.isRunning() ? State::Listening : State::Idle);
    // A run that recorded nothing and met no trouble (armed, then stopped) leaves nothing to
    // show.
    if (listed || !said.isEmpty())
        emit runEnded();
    if (cause != EndCause::Stop) {
        QString why = said;
        if (why.isEmpty() && cause == EndCause::Limit) {
            if (ownLength)
                //: Why a recording ended, as a clause after the file's name.
                why = tr("the scheduled recording's length was reached");
            else
                //: Why a recording ended, as a clause after the file's name.
                why = tr("the time limit was reached");
        }
        if (!why.isEmpty())
            emit runEndedBy(why, m_runFile);
    }
    reportDiskTimeLeft();
    if (!said.isEmpty())
        //: %1 says why, as a clause of its own ("the disk of /home/me/Recording is full. ...").
        emit failed(tr("The recording was stopped: %1").arg(said));
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

void RecordingSession::takeFinished(const PartWriter::Finished &part, QString *listingError)
{
    if (part.path.isEmpty())
        return;
    m_partPath = part.path;
    m_runFile = part.path;
    m_lastFrames = part.frames;
    m_lastRate = part.rate;
    listPart(part.path, listingError);
    for (const QString &side : part.sidePaths)
        if (QFileInfo::exists(side))
            listPart(side, listingError);
}

void RecordingSession::endWait()
{
    // The parts are listed already; only the wait ends.
    m_deviceWatch.stop();
    m_runLimitSeconds = -1;
    m_limits.start(1, 0, 0);
    setState(State::Idle);
    emit runEnded();
}

void RecordingSession::waitForDevice(const QString &why)
{
    // The part is finished and listed as at a Stop; the run itself waits for its device.
    const QString device = m_input.deviceId();
    const PartWriter::Finished part = m_writer.finish();
    QString listingError;
    takeFinished(part, &listingError);
    if (!part.failure.isEmpty() || device.isEmpty()) {
        endRun(part.failure.isEmpty() ? why : part.failure);
        return;
    }
    m_deviceWatch.start(device);
    setState(State::WaitingForDevice);
    if (part.path.isEmpty())
        //: %1 says why the input device was lost, %2 is a number of minutes.
        emit notice(tr("The recording stopped: %1. The recording goes on in a new file when the device comes back "
                       "(waiting up to %2 minutes; Stop ends the wait).")
                        .arg(why)
                        .arg(kDeviceWaitSeconds / 60));
    else
        //: %1 says why the input device was lost, %2 is the file recorded so far, %3 a number
        //: of minutes.
        emit notice(tr("The recording stopped: %1. %2 is kept and listed. The recording goes on in a new file when "
                       "the device comes back (waiting up to %3 minutes; Stop ends the wait).")
                        .arg(why, QFileInfo(part.path).fileName())
                        .arg(kDeviceWaitSeconds / 60));
    if (!listingError.isEmpty())
        emit failed(listingError);
}

// ---- what the recorder and the writer say ------------------------------------------------------

void RecordingSession::onBlock(qint64 from)
{
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
            m_trigger.follow(m_ring, from);
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

void RecordingSession::onTick(qint64 position, int levelLeft, int levelRight)
{
    if (m_state == State::Paused)
        return;
    // The meters and the spectrum live while the input is open; the time is what the run
    // wrote, and what it will write of what capture has already heard.
    qint64 frames = m_limits.runFrames();
    if (m_state == State::Recording && !m_settings.triggerOn && !m_ending)
        frames += std::max<qint64>(0, position - m_cursor);
    emit tick(m_recorder->SamplesToMs(frames), levelLeft, levelRight);
    if (m_snapshotFrames > 0)
        emit snapshotReady(m_recorder->GetSnapshotArray(m_snapshotFrames));
}

void RecordingSession::onCaptureLost(const QString &text)
{
    if (m_ending) {
        // Met while the run ends: the end says it, once.
        if (m_endFailure.isEmpty())
            m_endFailure = text;
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
        m_input.start(m_settings);
        if (m_settings.triggerOn) {
            m_trigger.arm(m_ring.end());
            setState(State::WaitingForSound);
        } else {
            m_cursor = m_ring.end();
            openPart(false);
        }
    } catch (const std::exception &) {
        if (m_input.isRunning())
            m_input.stop();
        // Back in the list but not yet able to record: try again at the next look.
        setState(State::WaitingForDevice);
        m_deviceWatch.start(m_input.deviceId());
        return;
    }
    //: %1 is the time of day, %2 the new file's name.
    emit notice(tr("The input device came back: the recording went on at %1 in %2.")
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
    m_partMarkers = 0;
    // A split, a full file, a sound's own file: listed, and the run goes on.
    const QString partPath = m_partPath;
    QString listingError;
    takeFinished(part, &listingError);
    m_partPath = partPath;   // the running part, not the one listed
    if (part.lost || !listingError.isEmpty())
        emit failed(part.lost ? part.failure : listingError);
}

void RecordingSession::onWriterStopped(const QString &reason)
{
    if (m_state == State::Idle || m_state == State::Listening)
        return;
    endRun(reason);
}

// ---- the disk ---------------------------------------------------------------------------------

qint64 RecordingSession::secondsLeftOnDisk()
{
    const double measured = m_writer.isOpen() ? m_writer.measuredBytesPerSecond() : 0.0;
    const double rate = measured > 0 ? measured : filesPerPart() * boundBytesPerSecond(m_settings);
    return m_runway.secondsLeft(m_writer.isOpen() && !m_partPath.isEmpty() ? m_partPath : m_settings.savePath, rate);
}

int RecordingSession::filesPerPart()
{
    if (m_input.isRunning())
        return 1 + m_input.sideCount();
    // Before capture: whether the input chosen now has sides to keep.
    const bool sides = m_settings.separateSides && m_recorder->SetSideArrays(true);
    m_recorder->SetSideArrays(false);
    return sides ? 3 : 1;
}

void RecordingSession::reportDiskTimeLeft()
{
    emit diskTimeLeftChanged(secondsLeftOnDisk());
}
