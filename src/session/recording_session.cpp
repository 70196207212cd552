#include "session/recording_session.h"

#include "session/file_operations.h"
#include "session/part_journal.h"
#include "session/part_recovery.h"
#include "session/recorded_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPair>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace {

// A part whose file already holds this much was recorded before: ask before writing over it.
constexpr qint64 kRewriteQuestionFrames = 8820;
constexpr int kBlockMs = 200;
constexpr int kWatchMs = 1000;
constexpr int kDiskReportEveryWatches = 3;
// The rate of a part is measured once it holds this much.
constexpr double kMeasureAfterSeconds = 2.0;

std::runtime_error error(const QString &text)
{
    return std::runtime_error(text.toStdString());
}

// The data rate a format cannot exceed, in bytes a second (before a part runs).
double boundBytesPerSecond(const RecordingSettings &s)
{
    const QString format = s.saveFormat.toUpper();
    if (format == QLatin1String(".WAV"))
        return double(std::max(1, s.wavFrequency)) * std::max(1, s.wavChannels) * std::max(8, s.wavBitsPerSample) / 8.0;
    if (format == QLatin1String(".WMA"))
        return 320 * 1000 / 8.0;   // the richest profile's rate
    if (format == QLatin1String(".FLAC"))   // never more than the samples themselves
        return double(std::max(8000, s.flacFrequency)) * std::max(1, s.flacChannels) * std::max(16, s.flacBitsPerSample) / 8.0;
    if (format == QLatin1String(".OGG"))    // Vorbis at quality 10 stays below 500 kbit/s
        return 500 * 1000 / 8.0;
    if (format == QLatin1String(".OPUS"))   // a variable rate: half as much again as asked for
        return std::max(6, s.opusBitrate) * 1.5 * 1000 / 8.0;
    return std::max(8, s.mp3Bitrate) * 1000 / 8.0;
}

QString secondsText(qint64 seconds)
{
    return QString::number(seconds);
}

// The rate and channels of the format written, for capture that starts before its file
// exists (the writer converts whatever differs).
QPair<int, int> captureFormatOf(const RecordingSettings &s)
{
    const QString format = fileExtension(s).toUpper();
    if (format == QLatin1String(".WAV"))
        return {std::max(8000, s.wavFrequency), std::clamp(s.wavChannels, 1, 2)};
    if (format == QLatin1String(".FLAC"))
        return {std::max(8000, s.flacFrequency), std::clamp(s.flacChannels, 1, 2)};
    if (format == QLatin1String(".OGG"))
        return {44100, 2};
    if (format == QLatin1String(".OPUS"))
        return {48000, std::clamp(s.opusChannels, 1, 2)};
    if (format == QLatin1String(".MP3"))
        return {std::max(8000, s.mp3Frequency), 2};
    return {44100, 2};
}

// A level in dBFS as a sample's magnitude.
float magnitudeOf(int dbfs)
{
    return float(std::pow(10.0, dbfs / 20.0));
}

}  // namespace

qint64 RecordingSession::freeSpaceOf(const QString &path)
{
    // The nearest folder that exists: the save folder may still be to be made.
    QString existing = path;
    struct statvfs fs {};
    while (!existing.isEmpty()) {
        if (::statvfs(QFile::encodeName(existing).constData(), &fs) == 0)
            return qint64(fs.f_bavail) * qint64(fs.f_frsize);
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            break;
        existing = parent;
    }
    return -1;
}

RecordingSession::RecordingSession(engine::IEngineFactory &engine, RecordedFiles &files, QObject *parent)
    : QObject(parent),
      m_recorder(engine.createRecorder(QStringLiteral("recorder"))),
      m_writer(engine.createFile(QStringLiteral("writer"))),
      m_reader(engine.createFile(QStringLiteral("recordingReader"))),
      m_mp3Encoder(engine.createLameEncoder(QStringLiteral("mp3Encoder"))),
      m_files(files),
      m_rescueFolder(defaultRescueFolder()),
      m_freeSpace(&RecordingSession::freeSpaceOf),
      m_clock(&QDateTime::currentDateTime)
{
    connect(m_recorder.get(), &engine::IAudioRecord2::OnEndArrayRecord, this, [this] { onBlock(); });
    connect(m_recorder.get(), &engine::IAudioRecord2::OnTimer, this,
            [this](QObject *, qint64 samples, int left, int right) { onTick(samples, left, right); });
    connect(m_recorder.get(), &engine::IAudioRecord2::OnDeviceError, this,
            [this](QObject *, const QString &text) { onDeviceError(text); });
    m_watchTimer.setInterval(kWatchMs);
    connect(&m_watchTimer, &QTimer::timeout, this, &RecordingSession::watchPart);
    m_deviceTimer.setInterval(kWatchMs);
    connect(&m_deviceTimer, &QTimer::timeout, this, &RecordingSession::lookForDevice);
    connect(m_recorder.get(), &engine::IAudioRecord2::OnDevicesChanged, this, [this] {
        if (m_state == State::WaitingForDevice)
            lookForDevice();
    });
    m_drainTimer.setSingleShot(true);
    m_drainTimer.setInterval(0);
    connect(&m_drainTimer, &QTimer::timeout, this, [this] { writeDue(false); });
    m_scheduleTimer.setInterval(kWatchMs);
    connect(&m_scheduleTimer, &QTimer::timeout, this, &RecordingSession::checkSchedule);
}

void RecordingSession::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(&QDateTime::currentDateTime);
}

RecordingSession::~RecordingSession()
{
    // The owner stops a run before it goes (see stop()); this only lets nothing dangle.
    disconnect(m_recorder.get(), nullptr, this, nullptr);
}

void RecordingSession::setSettings(const RecordingSettings &settings)
{
    const RecordingSettings before = m_settings;
    m_settings = settings;
    applyOutputFormat(m_settings, *m_writer, *m_mp3Encoder);
    applyOutputFormat(m_settings, *m_reader, *m_mp3Encoder);
    if (m_state == State::Idle || m_state == State::Listening) {
        // The kept seconds are taken in the format written: another format or length opens
        // the input again.
        const bool ringChanged = before.prerecordSeconds != settings.prerecordSeconds
                                 || fileExtension(before) != fileExtension(settings)
                                 || captureFormatOf(before) != captureFormatOf(settings);
        if (m_ringMode && ringChanged) {
            stopRing();
            setState(State::Idle);
        }
        updateListening();
        reportDiskTimeLeft();
    }
}

void RecordingSession::setFreeSpaceSource(FreeSpaceSource source)
{
    m_freeSpace = source ? std::move(source) : FreeSpaceSource(&RecordingSession::freeSpaceOf);
}

void RecordingSession::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

// ---- commands -----------------------------------------------------------------------------

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
        m_scheduleTimer.stop();
        m_scheduledAt = QDateTime();
        setState(State::Idle);
        updateListening();
    }
    // A new run: nothing of an earlier one carries over.
    m_runFrames = 0;
    m_runFramesAtStart = 0;
    m_partStartMs = 0;
    try {
        if (!wantsRing()) {
            startPart();
            return;
        }
        if (m_settings.triggerOn)
            checkSaveFolder();   // a run that could not write is not armed
        if (!m_ringMode)
            startRing();
        if (m_settings.triggerOn) {
            // Armed: nothing is written until a sample is louder than the level.
            m_scanned = m_ring.end();
            m_loudUntil = -1;
            setState(State::WaitingForSound);
            return;
        }
        // What was kept before Record comes first, never what a run wrote already.
        const qint64 kept = qint64(m_settings.prerecordSeconds) * m_ring.rate();
        m_cursor = std::max({m_cursor, m_ring.start(), m_ring.end() - kept});
        startRingPart();
        setState(State::Recording);
        writeDue(false);
    } catch (const std::exception &e) {
        m_runLimitSeconds = -1;
        emit failed(QString::fromUtf8(e.what()));
    }
}

void RecordingSession::resume()
{
    if (m_ringMode) {
        // Capture went on during the pause: what it heard is left out. Started on sound,
        // the run waits for the next sound again.
        m_cursor = m_ring.end();
        if (m_settings.triggerOn) {
            m_scanned = m_ring.end();
            m_loudUntil = -1;
            setState(State::WaitingForSound);
            return;
        }
        m_fadeInNext = true;
        setState(State::Recording);
        return;
    }
    m_recorder->SetRecordFlag(true);
    // The elapsed time continues from what the run already holds.
    m_runFramesAtStart = m_runFrames;
    m_captureDevice = m_recorder->GetDeviceId();
    m_recorder->Start();
    if (m_recorder->GetErrorCode() != 0) {
        // What was recorded before the pause is kept: the part is finalised and listed.
        const QString reason = m_recorder->GetErrorText();
        endRun(true, reason.isEmpty() ? QStringLiteral("Capture did not start again") : reason);
        return;
    }
    setState(State::Recording);
}

void RecordingSession::pause()
{
    if (m_state != State::Recording)
        return;
    if (m_ringMode) {
        writeDue(true);
        if (m_state == State::Recording)
            setState(State::Paused);
        return;
    }
    setState(State::Paused);
    m_partEnding = true;
    m_failure.clear();
    try {
        m_recorder->Stop();
    } catch (const std::exception &e) {
        if (m_failure.isEmpty())
            m_failure = QString::fromUtf8(e.what());
    }
    m_partEnding = false;
    if (!m_failure.isEmpty()) {
        // The last blocks could not be written: the pause becomes the end of the run.
        endRun(true, std::exchange(m_failure, QString()));
        return;
    }
    m_recorder->SetRecordFlag(false);
}

void RecordingSession::stop()
{
    if (m_state == State::Idle || m_state == State::Listening)
        return;
    if (m_state == State::Scheduled) {
        m_scheduleTimer.stop();
        m_scheduledAt = QDateTime();
        m_runLimitSeconds = -1;
        setState(State::Idle);
        updateListening();
        return;
    }
    if (m_ringMode) {
        endRingRun(QString());
        return;
    }
    if (m_state == State::WaitingForDevice) {
        // The parts are listed already; only the wait ends.
        m_deviceTimer.stop();
        m_runLimitSeconds = -1;
        setState(State::Idle);
        emit runEnded();
        updateListening();
        return;
    }
    endRun(true, QString());
}

// ---- parts --------------------------------------------------------------------------------

ReservedFile RecordingSession::makePartFile()
{
    checkSaveFolder();
    const QString folder = m_settings.savePath;
    if (!QDir().mkpath(folder))
        throw error(QStringLiteral("Cannot create %1").arg(folder));
    // The name is taken once, exclusively: no existing entry is ever reused or followed.
    return reserveNumberedFile(folder, QStringLiteral("Untitled"), fileExtension(m_settings));
}

void RecordingSession::checkSaveFolder()
{
    const QString folder = m_settings.savePath;
    if (folder.trimmed().isEmpty())
        throw error(QStringLiteral("No folder is set for recordings. Choose one in Options"));
    if (!pathSurvivesFileSystem(folder))
        throw error(QStringLiteral("Cannot record into %1: the folder's name is not valid UTF-8. "
                                   "Choose the folder again in Options")
                        .arg(folder));
    // Not even the shortest recording would fit: say so before anything is made.
    const double rate = boundBytesPerSecond(m_settings);
    const qint64 free = m_freeSpace(folder);
    if (free >= 0 && double(free - kReserveBytes) < rate * (kMinimumStartSeconds + kReserveSeconds))
        throw error(QStringLiteral("There is not enough room on the disk of %1 to record: less than %2 seconds "
                                   "would fit. Free some space or choose another folder in Options")
                        .arg(folder, secondsText(kMinimumStartSeconds)));
}

void RecordingSession::openPartFile(ReservedFile &file)
{
    const QString path = file.path();
    // The file made for the part is the one written, whatever its name meanwhile leads to.
    const int watchFd = ::fcntl(file.fd(), F_DUPFD_CLOEXEC, 0);
    try {
        m_writer->CreateReserved(file.take(), path, 0);
    } catch (...) {
        if (watchFd >= 0)
            ::close(watchFd);
        throw;
    }
    // The journal exists before the first block, so a crash from now on is recovered.
    m_journal = PartJournal::open(m_journalFolder, path, watchFd, fileExtension(m_settings));
    m_watch = std::make_unique<PartWatch>(*m_writer, m_journal.get(), path, watchFd, m_rescueFolder);
    m_watchTicks = 0;
    m_watchTimer.start();
}

void RecordingSession::closePartFile(bool keepJournal)
{
    m_watchTimer.stop();
    m_watch.reset();
    if (m_journal && keepJournal)
        m_journal->keep();
    m_journal.reset();
}

bool RecordingSession::closePart(QString *failure)
{
    failure->clear();
    m_lastPartLost = false;
    if (m_watch)
        showWatch(m_watch->beforeClose());
    bool closed = true;
    try {
        m_lastFrames = m_writer->GetNumSamples();
        m_lastRate = m_writer->GetFormatValueA();
        m_writer->Close();
    } catch (const std::exception &e) {
        *failure = QString::fromUtf8(e.what());
        closed = false;
    }
    bool named = true;
    if (m_watch) {
        named = m_watch->settleAfterClose();
        if (m_watch->path() != m_partPath)
            m_partPath = m_watch->path();
    }
    // A part that could not be closed normally, or that only the journal's second name
    // holds, keeps its journal: the next start repairs it, or gives it a name.
    const bool heldByJournal = m_journal && !m_journal->secondNamePath().isEmpty()
                               && QFileInfo::exists(m_journal->secondNamePath());
    if (!named) {
        m_lastPartLost = true;
        *failure = heldByJournal ? QStringLiteral("%1 has no name left; it is kept and will be recovered at the next start")
                                       .arg(m_partPath)
                                 : QStringLiteral("%1 has no name left: what was recorded into it is lost").arg(m_partPath);
    }
    closePartFile(!closed || (!named && heldByJournal));
    return closed && named;
}

void RecordingSession::showWatch(const PartWatch::Report &report)
{
    if (report.renamed && m_watch) {
        m_partPath = m_watch->path();
        m_files.setCurrentFile(m_partPath);
        emit partRenamed(m_partPath);
    }
    if (!report.notice.isEmpty())
        emit notice(report.notice);
    if (!report.failure.isEmpty())
        emit failed(report.failure);
}

void RecordingSession::startCapture()
{
    m_runFramesAtStart = m_runFrames;
    startCaptureAt(m_writer->GetFormatValueB(), m_writer->GetFormatValueA());
}

void RecordingSession::startCaptureAt(int channels, int rate)
{
    m_recorder->SetFormat(channels, rate);
    m_blockFrames = m_recorder->CalcArraySize(kBlockMs);
    m_recorder->SetArraySize(m_blockFrames);
    // Which device this is, by the server's name: the one to wait for should it go.
    m_captureDevice = m_recorder->GetDeviceId();
    m_recorder->Start();
    if (m_recorder->GetErrorCode() != 0) {
        const QString reason = m_recorder->GetErrorText();
        throw error(reason.isEmpty() ? QStringLiteral("The recording could not start") : reason);
    }
}

void RecordingSession::startPart()
{
    m_recorder->SetRecordFlag(true);
    m_reservedFile.clear();
    try {
        ReservedFile file = makePartFile();
        m_reservedFile = file.path();
        m_partPath = m_reservedFile;

        m_reader->Open(m_partPath, 0, 1);
        const bool holdsSound = m_reader->GetNumSamples() >= kRewriteQuestionFrames;
        m_reader->Close();
        if (holdsSound && !(m_questions && m_questions->confirmRewrite(m_partPath))) {
            // Not written over: the run ends with the file listed as it is.
            m_reservedFile.clear();
            endRun(false, QString());
            return;
        }

        openPartFile(file);
        startCapture();
    } catch (...) {
        abandonPart();
        throw;
    }
    m_reservedFile.clear();
    m_partStartMs = runElapsedMs(0);
    setState(State::Recording);
    m_files.setCurrentFile(m_partPath);
    emit partStarted(m_partPath, m_writer->GetFormatDescription());
    reportDiskTimeLeft();
}

void RecordingSession::abandonPart()
{
    // The part never recorded anything: the file this attempt made goes.
    try {
        m_recorder->Stop();
    } catch (...) {
    }
    qint64 written = 0;
    try {
        written = m_writer->GetNumSamples();
        m_writer->Close();
    } catch (...) {
    }
    closePartFile(false);
    if (!m_reservedFile.isEmpty() && written == 0)
        QFile::remove(m_reservedFile);
    m_reservedFile.clear();
    setState(State::Idle);
}

void RecordingSession::finishPart(QString *failure)
{
    // Failures raised while the last blocks are written are collected, not acted on: one
    // stop, one listing, one message.
    m_partEnding = true;
    m_failure.clear();
    const auto step = [this](auto &&fn) {
        try {
            fn();
        } catch (const std::exception &e) {
            if (m_failure.isEmpty())
                m_failure = QString::fromUtf8(e.what());
        }
    };
    step([this] { m_recorder->Stop(); });
    QString closing;
    if (!closePart(&closing) && (m_failure.isEmpty() || m_lastPartLost))
        m_failure = closing;
    m_partEnding = false;
    *failure = std::exchange(m_failure, QString());
}

bool RecordingSession::listPart(QString *error)
{
    try {
        m_files.add(m_partPath);
        return true;
    } catch (const std::exception &e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
}

void RecordingSession::split()
{
    QString failure;
    finishPart(&failure);
    if (!failure.isEmpty()) {
        // The last blocks could not be written: the run ends with this part.
        endRun(false, failure);
        return;
    }
    // A part that cannot be listed is still on the disk: the run goes on and it is said.
    QString listingError;
    listPart(&listingError);
    try {
        startPart();
    } catch (const std::exception &e) {
        // The next part did not start: the run ends with the parts already listed.
        emit runEnded();
        emit failed(QStringLiteral("The recording was stopped: %1").arg(QString::fromUtf8(e.what())));
        return;
    }
    if (!listingError.isEmpty())
        emit failed(listingError);
}

void RecordingSession::rollOver(const engine::SampleArray &block)
{
    // The file holds all it can: it is finished and listed, and the same block begins the
    // next part. Capture runs on, so the run's time runs on too.
    QString failure;
    closePart(&failure);
    QString listingError;
    listPart(&listingError);
    try {
        if (!failure.isEmpty())
            throw error(failure);
        ReservedFile file = makePartFile();
        m_partPath = file.path();
        openPartFile(file);
        m_writer->WriteArray(block);
        m_runFrames += block.frames();
    } catch (const std::exception &e) {
        m_partEnding = true;
        try {
            m_recorder->Stop();
        } catch (...) {
        }
        m_partEnding = false;
        QString ignored;
        closePart(&ignored);
        setState(State::Idle);
        emit runEnded();
        emit failed(QStringLiteral("The recording was stopped: %1").arg(QString::fromUtf8(e.what())));
        return;
    }
    m_partStartMs = runElapsedMs(m_runFrames - m_runFramesAtStart);
    m_files.setCurrentFile(m_partPath);
    emit partStarted(m_partPath, m_writer->GetFormatDescription());
    if (!listingError.isEmpty())
        emit failed(listingError);
}

void RecordingSession::endRun(bool partOpen, const QString &reason)
{
    QString failure = reason;
    if (partOpen) {
        QString closing;
        finishPart(&closing);
        // A part with no name left says so, whatever else ended the run.
        if (failure.isEmpty() || m_lastPartLost)
            failure = closing;
    }
    m_runFrames = 0;
    m_runFramesAtStart = 0;
    m_partStartMs = 0;
    m_runLimitSeconds = -1;
    setState(State::Idle);

    QString listingError;
    listPart(&listingError);
    emit runEnded();
    updateListening();
    reportDiskTimeLeft();
    if (!reason.isEmpty() || (!failure.isEmpty() && partOpen))
        emit failed(QStringLiteral("The recording was stopped: %1").arg(failure));
    else if (!listingError.isEmpty())
        emit failed(listingError);
}

void RecordingSession::fail(const QString &reason)
{
    // Raised while the last blocks are written (Stop, Pause, a split): whoever stops
    // capture ends the run once and reports this.
    if (m_partEnding) {
        if (m_failure.isEmpty())
            m_failure = reason;
        return;
    }
    endRun(true, reason);
}

// ---- the disk --------------------------------------------------------------------------------

double RecordingSession::bytesPerSecond()
{
    // Once the part holds enough, its own rate; before that, the most the format can use.
    const double bound = boundBytesPerSecond(m_settings);
    if (!m_watch || m_watch->fd() < 0 || m_state == State::Idle)
        return bound;
    struct stat st {};
    const qint64 frames = m_writer->GetNumSamples();
    const int rate = m_writer->GetFormatValueA();
    if (rate <= 0 || frames < qint64(kMeasureAfterSeconds * rate) || ::fstat(m_watch->fd(), &st) != 0)
        return bound;
    return std::max(1.0, double(st.st_size) * rate / double(frames));
}

qint64 RecordingSession::freeSpaceForPart()
{
    return m_freeSpace(m_state == State::Idle || m_partPath.isEmpty() ? m_settings.savePath : m_partPath);
}

qint64 RecordingSession::secondsLeftOnDisk()
{
    const qint64 free = freeSpaceForPart();
    if (free < 0)
        return -1;
    const double rate = bytesPerSecond();
    return qint64(std::max(0.0, double(free - kReserveBytes) / rate - kReserveSeconds));
}

void RecordingSession::reportDiskTimeLeft()
{
    emit diskTimeLeftChanged(secondsLeftOnDisk());
}

void RecordingSession::watchPart()
{
    if (!m_watch)
        return;
    if (++m_watchTicks % kDiskReportEveryWatches == 0)
        reportDiskTimeLeft();
    showWatch(m_watch->check());
}

// ---- the recorder's events ----------------------------------------------------------------

void RecordingSession::onBlock()
{
    if (m_ringMode) {
        onRingBlock(m_recorder->GetArray());
        return;
    }
    if (m_state != State::Recording && m_state != State::Paused)
        return;
    const engine::SampleArray block = m_recorder->GetArray();
    // The run ends cleanly while the disk still holds enough to finish the file.
    if (!m_partEnding) {
        const qint64 free = freeSpaceForPart();
        if (free >= 0 && double(free) < kReserveBytes + bytesPerSecond() * kReserveSeconds) {
            fail(QStringLiteral("the disk of %1 is full. The file holds everything recorded until now")
                     .arg(QFileInfo(m_partPath).path()));
            return;
        }
    }
    try {
        m_writer->WriteArray(block);
        m_runFrames += block.frames();
    } catch (const engine::FileLimitError &) {
        if (m_partEnding)
            fail(QStringLiteral("the file %1 is as large as it can be").arg(m_partPath));
        else
            rollOver(block);
    } catch (const std::exception &e) {
        // Keep everything written so far: finish the file as Stop does, then say why.
        fail(QString::fromUtf8(e.what()));
    }
}

void RecordingSession::onDeviceError(const QString &text)
{
    if (m_ringMode && (m_state == State::Idle || m_state == State::Listening)) {
        // The input went away while only listening: listen again when it is chosen again.
        m_ringMode = false;
        setState(State::Idle);
        return;
    }
    if (m_state == State::Idle || m_state == State::WaitingForDevice || m_state == State::Scheduled)
        return;
    if (m_ringMode) {
        const QString device = m_captureDevice;
        if (m_state == State::Recording)
            writeDue(true);
        m_ringMode = false;
        if (!m_settings.resumeAfterDeviceLoss) {
            endRingRun(text);
            return;
        }
        const bool partOpen = m_ringPartOpen;
        QString failure;
        finishRingPart(&failure);
        startDeviceWait(device, text, partOpen ? QFileInfo(m_partPath).fileName() : QString());
        return;
    }
    if (m_partEnding || !m_settings.resumeAfterDeviceLoss) {
        fail(text);
        return;
    }
    waitForDevice(text);
}

void RecordingSession::waitForDevice(const QString &why)
{
    // The part is finished and listed as at a Stop; the run itself waits for its device.
    const QString device = m_captureDevice;
    QString failure;
    finishPart(&failure);
    if (!failure.isEmpty() || device.isEmpty()) {
        endRun(false, failure.isEmpty() ? why : failure);
        return;
    }
    QString listingError;
    listPart(&listingError);
    startDeviceWait(device, why, QFileInfo(m_partPath).fileName());
    if (!listingError.isEmpty())
        emit failed(listingError);
}

void RecordingSession::startDeviceWait(const QString &device, const QString &why, const QString &keptFile)
{
    m_lostDevice = device;
    m_lostSince = m_clock();
    setState(State::WaitingForDevice);
    m_deviceTimer.start();
    const QString kept = keptFile.isEmpty() ? QString() : QStringLiteral(" %1 is kept and listed.").arg(keptFile);
    emit notice(QStringLiteral("The recording stopped: %1.%2 The recording goes on in a new file when the device "
                               "comes back (waiting up to %3 minutes; Stop ends the wait).")
                    .arg(why, kept)
                    .arg(kDeviceWaitSeconds / 60));
}

void RecordingSession::lookForDevice()
{
    if (m_state != State::WaitingForDevice)
        return;
    if (m_lostSince.secsTo(m_clock()) > kDeviceWaitSeconds) {
        m_deviceTimer.stop();
        setState(State::Idle);
        emit runEnded();
        emit failed(QStringLiteral("The recording was stopped: the input device did not come back within %1 minutes")
                        .arg(kDeviceWaitSeconds / 60));
        return;
    }
    if (!m_recorder->SetDeviceById(m_lostDevice) || !m_recorder->GetDeviceAvailable())
        return;
    m_deviceTimer.stop();
    try {
        if (wantsRing()) {
            startRing();
            if (m_settings.triggerOn) {
                m_scanned = m_ring.end();
                m_loudUntil = -1;
                setState(State::WaitingForSound);
            } else {
                startRingPart();
                setState(State::Recording);
            }
        } else {
            startPart();
        }
    } catch (const std::exception &) {
        if (m_ringMode)
            stopRing();
        // Back in the list but not yet able to record: try again at the next look.
        setState(State::WaitingForDevice);
        m_deviceTimer.start();
        return;
    }
    emit notice(QStringLiteral("The input device came back: the recording went on at %1 in %2.")
                    .arg(m_clock().time().toString(QStringLiteral("HH:mm:ss")), QFileInfo(m_partPath).fileName()));
}

qint64 RecordingSession::runElapsedMs(qint64 capturedSinceStart) const
{
    return m_recorder->SamplesToMs(m_runFramesAtStart + capturedSinceStart);
}

void RecordingSession::onTick(qint64 currentSamples, int levelLeft, int levelRight)
{
    if (m_ringMode) {
        // The meters and the spectrum live while the input is open; the time is what the
        // run wrote.
        if (m_state == State::Paused)
            return;
        emit tick(m_recorder->SamplesToMs(m_runFrames), levelLeft, levelRight);
        if (m_snapshotFrames > 0)
            emit snapshotReady(m_recorder->GetSnapshotArray(m_snapshotFrames));
        return;
    }
    if (m_state != State::Recording || m_partEnding)
        return;   // a tick that was already on its way when the recording paused or stopped

    const qint64 elapsedMs = runElapsedMs(currentSamples);
    emit tick(elapsedMs, levelLeft, levelRight);
    if (m_snapshotFrames > 0)
        emit snapshotReady(m_recorder->GetSnapshotArray(m_snapshotFrames));

    if (runTimeLimit() > 0 && elapsedMs / 1000 >= runTimeLimit()) {
        stop();
        return;
    }
    if (m_settings.splitEnabled && m_settings.splitSeconds > 0
        && (elapsedMs - m_partStartMs) / 1000 >= m_settings.splitSeconds)
        split();
}

int RecordingSession::runTimeLimit() const
{
    return m_runLimitSeconds > 0 ? m_runLimitSeconds : m_settings.timeLimitSeconds;
}

// ---- capture through the ring -------------------------------------------------------------

bool RecordingSession::wantsRing() const
{
    return m_settings.prerecordSeconds > 0 || m_settings.triggerOn;
}

void RecordingSession::startRing()
{
    const QPair<int, int> format = captureFormatOf(m_settings);
    // Room for the kept seconds and, with start on sound, for the quiet that may follow a
    // sound before it counts as its end.
    double seconds = m_settings.prerecordSeconds + 2.0;
    if (m_settings.triggerOn)
        seconds = std::max<double>(m_settings.prerecordSeconds, 0.5) + m_settings.triggerSilenceSeconds + 2.0;
    m_ring.reset(format.first, format.second, qint64(seconds * format.first));
    m_recorder->SetRecordFlag(true);
    startCaptureAt(format.second, format.first);
    m_ringMode = true;
    m_cursor = 0;
    m_scanned = 0;
    m_loudUntil = -1;
}

void RecordingSession::stopRing()
{
    m_drainTimer.stop();
    m_ringMode = false;
    try {
        m_recorder->Stop();
    } catch (...) {
    }
}

void RecordingSession::updateListening()
{
    if (m_state != State::Idle && m_state != State::Listening)
        return;
    if (m_settings.prerecordSeconds <= 0) {
        if (m_ringMode)
            stopRing();
        setState(State::Idle);
        return;
    }
    if (m_ringMode) {
        setState(State::Listening);
        return;
    }
    try {
        startRing();
        setState(State::Listening);
    } catch (const std::exception &) {
        // No input to listen to now; Record says why if it stays so.
        setState(State::Idle);
    }
}

void RecordingSession::inputChanged()
{
    if (m_state != State::Idle && m_state != State::Listening)
        return;
    // Listening to the chosen device already: the kept seconds stay.
    if (m_ringMode && m_recorder->GetDeviceId() == m_captureDevice)
        return;
    if (m_ringMode)
        stopRing();
    setState(State::Idle);
    updateListening();
}

void RecordingSession::onRingBlock(const engine::SampleArray &block)
{
    const qint64 before = m_ring.end();
    m_ring.append(block);
    const float level = magnitudeOf(m_settings.triggerLevelDb);
    // Quiet is every sample 6 dB below the level.
    const float quiet = level / 2;
    if (m_state == State::WaitingForSound) {
        const qint64 onset = m_ring.firstAbove(std::max(m_scanned, m_ring.start()), level);
        m_scanned = m_ring.end();
        if (onset < 0)
            return;
        // Writing starts with what came before the sound, never with what was written.
        const qint64 preroll = qint64(std::max(0.5, double(m_settings.prerecordSeconds)) * m_ring.rate());
        m_cursor = std::max({m_cursor, m_ring.start(), onset - preroll});
        m_loudUntil = std::max(onset, m_ring.lastReaching(onset, quiet));
        try {
            if (!m_ringPartOpen)
                startRingPart();
        } catch (const std::exception &e) {
            endRingRun(QString::fromUtf8(e.what()));
            return;
        }
        setState(State::Recording);
        writeDue(false);
        return;
    }
    if (m_state != State::Recording)
        return;
    if (m_settings.triggerOn) {
        const qint64 loud = m_ring.lastReaching(before, quiet);
        if (loud >= 0)
            m_loudUntil = loud;
        if (m_ring.end() - (m_loudUntil + 1) >= qint64(m_settings.triggerSilenceSeconds) * m_ring.rate()) {
            writeDue(true);
            if (m_state == State::Recording)
                pauseForQuiet();
            return;
        }
    }
    writeDue(false);
}

qint64 RecordingSession::dueEnd() const
{
    if (!m_settings.triggerOn)
        return m_ring.end();
    // The first half second of a quiet stays in the file; the rest waits to see whether the
    // quiet lasts.
    if (m_loudUntil < 0)
        return m_cursor;
    return std::min(m_ring.end(), m_loudUntil + 1 + m_ring.rate() / 2);
}

void RecordingSession::writeDue(bool all)
{
    if (m_state != State::Recording || !m_ringPartOpen || m_partEnding)
        return;
    // A backlog (the kept seconds) goes to the file a few slices at a time, so the window
    // stays responsive; what is left is written at the next turn of the event loop.
    const qint64 due = dueEnd();
    for (int slices = 0; m_cursor < due; ++slices) {
        if (!all && slices == 2) {
            m_drainTimer.start();
            return;
        }
        const qint64 to = std::min(due, m_cursor + std::max<qint64>(1, m_blockFrames));
        if (!writeRingSlice(to))
            return;
        if (m_state != State::Recording)
            return;
    }
}

bool RecordingSession::writeRingSlice(qint64 to)
{
    engine::SampleArray block = m_ring.slice(m_cursor, to);
    if (m_fadeInNext && !block.isEmpty()) {
        // The sound on either side of a pause does not line up: fade the join in.
        m_fadeInNext = false;
        std::vector<float> samples = block.toFloat();
        const int ch = block.channels();
        const qint64 fade = std::min<qint64>(block.frames(), m_ring.rate() * 3 / 1000);
        for (qint64 f = 0; f < fade; ++f)
            for (int c = 0; c < ch; ++c)
                samples[size_t(f * ch + c)] *= float(f) / float(fade);
        block = engine::SampleArray::fromFloat(samples, block.sampleRate(), ch);
    }
    const qint64 free = freeSpaceForPart();
    if (free >= 0 && double(free) < kReserveBytes + bytesPerSecond() * kReserveSeconds) {
        endRingRun(QStringLiteral("the disk of %1 is full. The file holds everything recorded until now")
                       .arg(QFileInfo(m_partPath).path()));
        return false;
    }
    try {
        try {
            m_writer->WriteArray(block);
        } catch (const engine::FileLimitError &) {
            // The file holds all it can: the slice begins the next part.
            if (!nextRingPart())
                return false;
            m_writer->WriteArray(block);
        }
    } catch (const std::exception &e) {
        endRingRun(QString::fromUtf8(e.what()));
        return false;
    }
    m_cursor = to;
    m_runFrames += block.frames();

    // The time limit and the split count what the run wrote, the kept seconds included.
    const qint64 runMs = m_recorder->SamplesToMs(m_runFrames);
    if (runTimeLimit() > 0 && runMs / 1000 >= runTimeLimit()) {
        endRingRun(QString());
        return false;
    }
    if (m_settings.splitEnabled && m_settings.splitSeconds > 0 && (runMs - m_partStartMs) / 1000 >= m_settings.splitSeconds)
        return nextRingPart();
    return true;
}

bool RecordingSession::nextRingPart()
{
    QString failure;
    finishRingPart(&failure);
    try {
        if (!failure.isEmpty())
            throw error(failure);
        startRingPart();
    } catch (const std::exception &e) {
        endRingRun(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void RecordingSession::startRingPart()
{
    m_reservedFile.clear();
    try {
        ReservedFile file = makePartFile();
        m_reservedFile = file.path();
        m_partPath = m_reservedFile;
        openPartFile(file);
    } catch (...) {
        try {
            m_writer->Close();
        } catch (...) {
        }
        closePartFile(false);
        if (!m_reservedFile.isEmpty())
            QFile::remove(m_reservedFile);
        m_reservedFile.clear();
        throw;
    }
    m_reservedFile.clear();
    m_ringPartOpen = true;
    m_partStartMs = m_recorder->SamplesToMs(m_runFrames);
    m_files.setCurrentFile(m_partPath);
    emit partStarted(m_partPath, m_writer->GetFormatDescription());
    reportDiskTimeLeft();
}

void RecordingSession::finishRingPart(QString *failure)
{
    failure->clear();
    if (!m_ringPartOpen)
        return;
    m_ringPartOpen = false;
    closePart(failure);
    QString listingError;
    if (!listPart(&listingError) && failure->isEmpty())
        emit failed(listingError);
}

void RecordingSession::pauseForQuiet()
{
    // The sound is over: the file rests (or, one file a sound, is finished and listed)
    // while the session waits for the next one.
    if (m_settings.triggerNewFile) {
        QString failure;
        finishRingPart(&failure);
        if (!failure.isEmpty()) {
            endRingRun(failure);
            return;
        }
    }
    m_scanned = m_ring.end();
    m_loudUntil = -1;
    setState(State::WaitingForSound);
}

void RecordingSession::endRingRun(const QString &reason)
{
    if (m_ringEnding) {
        // Met while the last slices are written: the run that ends says it once.
        if (m_failure.isEmpty())
            m_failure = reason;
        return;
    }
    m_ringEnding = true;
    m_failure = reason;
    m_lastPartLost = false;
    if (m_state == State::Recording && reason.isEmpty())
        writeDue(true);
    m_drainTimer.stop();
    QString failure;
    const bool listed = m_ringPartOpen;
    finishRingPart(&failure);
    const QString said = !m_failure.isEmpty() && !m_lastPartLost ? std::exchange(m_failure, QString()) : failure;
    m_failure.clear();
    m_ringEnding = false;
    m_runFrames = 0;
    m_partStartMs = 0;
    m_runLimitSeconds = -1;
    // With pre-record on, the input stays open: the next Record keeps what comes now.
    if (m_settings.prerecordSeconds > 0 && m_ringMode) {
        setState(State::Listening);
    } else {
        if (m_ringMode)
            stopRing();
        setState(State::Idle);
    }
    if (listed || !said.isEmpty())
        emit runEnded();
    reportDiskTimeLeft();
    if (!said.isEmpty())
        emit failed(QStringLiteral("The recording was stopped: %1").arg(said));
}

// ---- scheduled start ----------------------------------------------------------------------

void RecordingSession::schedule(const QDateTime &at, int lengthSeconds)
{
    if (isActive())
        return;
    m_scheduledAt = at;
    m_scheduledLength = std::max(0, lengthSeconds);
    setState(State::Scheduled);
    // The wall clock is looked at every second: one long timer would stall across a suspend.
    m_scheduleTimer.start();
    checkSchedule();
}

void RecordingSession::checkSchedule()
{
    if (m_state != State::Scheduled) {
        m_scheduleTimer.stop();
        return;
    }
    const qint64 left = m_clock().secsTo(m_scheduledAt);
    if (left > 0) {
        emit scheduleCountdown(left);
        return;
    }
    m_scheduleTimer.stop();
    m_scheduledAt = QDateTime();
    setState(State::Idle);
    updateListening();
    // Its length is this run's alone, never stored.
    m_runLimitSeconds = m_scheduledLength > 0 ? m_scheduledLength : -1;
    record();
    if (!isActive())
        m_runLimitSeconds = -1;
}
