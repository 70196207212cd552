#include "session/recording_session.h"

#include "session/file_operations.h"
#include "session/part_journal.h"
#include "session/recorded_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
}

void RecordingSession::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(&QDateTime::currentDateTime);
}

RecordingSession::~RecordingSession()
{
    // The owner stops a run before it goes (see stop()); this only lets nothing dangle.
    disconnect(m_recorder.get(), nullptr, this, nullptr);
    if (m_watchFd >= 0)
        ::close(m_watchFd);
}

void RecordingSession::setSettings(const RecordingSettings &settings)
{
    m_settings = settings;
    applyOutputFormat(m_settings, *m_writer, *m_mp3Encoder);
    applyOutputFormat(m_settings, *m_reader, *m_mp3Encoder);
    if (m_state == State::Idle)
        reportDiskTimeLeft();
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
    if (m_state == State::Recording || m_state == State::WaitingForDevice)
        return;
    if (m_state == State::Paused) {
        resume();
        return;
    }
    // A new run: nothing of an earlier one carries over.
    m_runFrames = 0;
    m_runFramesAtStart = 0;
    m_partStartMs = 0;
    try {
        startPart();
    } catch (const std::exception &e) {
        emit failed(QString::fromUtf8(e.what()));
    }
}

void RecordingSession::resume()
{
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
    if (m_state == State::Idle)
        return;
    if (m_state == State::WaitingForDevice) {
        // The parts are listed already; only the wait ends.
        m_deviceTimer.stop();
        setState(State::Idle);
        emit runEnded();
        return;
    }
    endRun(true, QString());
}

// ---- parts --------------------------------------------------------------------------------

QString RecordingSession::makePartFile()
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
    if (!QDir().mkpath(folder))
        throw error(QStringLiteral("Cannot create %1").arg(folder));
    // The name is taken once, exclusively: no existing entry is ever reused or followed.
    return reserveNumberedFile(folder, QStringLiteral("Untitled"), fileExtension(m_settings));
}

void RecordingSession::openPartFile(const QString &path)
{
    m_writer->Create(path, 0);
    // The journal exists before the first block, so a crash from now on is recovered.
    m_journal = PartJournal::open(m_journalFolder, path, fileExtension(m_settings));
    if (m_watchFd >= 0)
        ::close(m_watchFd);
    m_watchFd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    m_moving = false;
    m_watchTicks = 0;
    m_watchTimer.start();
}

void RecordingSession::closePartFile()
{
    m_watchTimer.stop();
    m_journal.reset();
    if (m_watchFd >= 0) {
        ::close(m_watchFd);
        m_watchFd = -1;
    }
}

void RecordingSession::startCapture()
{
    m_recorder->SetFormat(m_writer->GetFormatValueB(), m_writer->GetFormatValueA());
    m_blockFrames = m_recorder->CalcArraySize(kBlockMs);
    m_recorder->SetArraySize(m_blockFrames);
    m_runFramesAtStart = m_runFrames;
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
        m_reservedFile = makePartFile();
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

        openPartFile(m_partPath);
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
    closePartFile();
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
    step([this] {
        m_lastFrames = m_writer->GetNumSamples();
        m_lastRate = m_writer->GetFormatValueA();
    });
    step([this] { m_writer->Close(); });
    closePartFile();
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
    try {
        m_lastFrames = m_writer->GetNumSamples();
        m_lastRate = m_writer->GetFormatValueA();
        m_writer->Close();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    closePartFile();
    QString listingError;
    listPart(&listingError);
    try {
        if (!failure.isEmpty())
            throw error(failure);
        m_partPath = makePartFile();
        openPartFile(m_partPath);
        m_writer->WriteArray(block);
        m_runFrames += block.frames();
    } catch (const std::exception &e) {
        m_partEnding = true;
        try {
            m_recorder->Stop();
        } catch (...) {
        }
        m_partEnding = false;
        try {
            m_writer->Close();
        } catch (...) {
        }
        closePartFile();
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
        if (failure.isEmpty())
            failure = closing;
    }
    m_runFrames = 0;
    m_runFramesAtStart = 0;
    m_partStartMs = 0;
    setState(State::Idle);

    QString listingError;
    listPart(&listingError);
    emit runEnded();
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
    if (m_watchFd < 0 || m_state == State::Idle)
        return bound;
    struct stat st {};
    const qint64 frames = m_writer->GetNumSamples();
    const int rate = m_writer->GetFormatValueA();
    if (rate <= 0 || frames < qint64(kMeasureAfterSeconds * rate) || ::fstat(m_watchFd, &st) != 0)
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
    if (m_watchFd < 0)
        return;
    if (++m_watchTicks % kDiskReportEveryWatches == 0)
        reportDiskTimeLeft();

    if (m_moving) {
        try {
            if (m_writer->IsMovingFile())
                return;
            m_moving = false;
            // The part is whole in its new place: watch that file from now on.
            ::close(m_watchFd);
            m_watchFd = ::open(QFile::encodeName(m_partPath).constData(), O_RDONLY | O_CLOEXEC);
            if (m_journal)
                m_journal->setPartPath(m_partPath);
            emit notice(QStringLiteral("The recording is whole again in %1.").arg(m_partPath));
        } catch (const std::exception &e) {
            m_moving = false;
            emit failed(QStringLiteral("The recording could not be moved into the folder made again (%1); "
                                       "it goes on where it was.")
                            .arg(QString::fromUtf8(e.what())));
        }
        return;
    }

    // The part's file lost its last link while the disk it lives on is still there: its
    // folder was removed under the recording. Everything is still in the open file.
    struct stat file {};
    if (::fstat(m_watchFd, &file) != 0 || file.st_nlink > 0)
        return;
    const QString folder = QFileInfo(m_partPath).path();
    struct stat parent {};
    if (::stat(QFile::encodeName(QFileInfo(folder).path()).constData(), &parent) != 0 || parent.st_dev != file.st_dev)
        return;   // an unmounted disk is not a removed folder
    try {
        if (!QDir().mkpath(folder))
            throw error(QStringLiteral("Cannot create %1").arg(folder));
        m_writer->MoveOpenFile(m_partPath);
        m_moving = true;
        emit notice(QStringLiteral("The folder %1 was removed while recording. It was made again, and "
                                   "everything recorded so far is being written into it; the recording goes on.")
                        .arg(folder));
    } catch (const std::exception &e) {
        emit failed(QStringLiteral("The folder %1 was removed while recording and could not be made again (%2). "
                                   "Stop the recording before the program ends, or it is lost.")
                        .arg(folder, QString::fromUtf8(e.what())));
    }
}

// ---- the recorder's events ----------------------------------------------------------------

void RecordingSession::onBlock()
{
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
    if (m_state == State::Idle || m_state == State::WaitingForDevice)
        return;
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
    m_lostDevice = device;
    m_lostSince = m_clock();
    setState(State::WaitingForDevice);
    m_deviceTimer.start();
    emit notice(QStringLiteral("The recording stopped: %1. %2 is kept and listed. The recording goes on in a "
                               "new file when the device comes back (waiting up to %3 minutes; Stop ends the wait).")
                    .arg(why, QFileInfo(m_partPath).fileName())
                    .arg(kDeviceWaitSeconds / 60));
    if (!listingError.isEmpty())
        emit failed(listingError);
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
        startPart();
    } catch (const std::exception &) {
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
    if (m_state != State::Recording || m_partEnding)
        return;   // a tick that was already on its way when the recording paused or stopped

    const qint64 elapsedMs = runElapsedMs(currentSamples);
    emit tick(elapsedMs, levelLeft, levelRight);
    if (m_snapshotFrames > 0)
        emit snapshotReady(m_recorder->GetSnapshotArray(m_snapshotFrames));

    if (m_settings.timeLimitSeconds > 0 && elapsedMs / 1000 >= m_settings.timeLimitSeconds) {
        stop();
        return;
    }
    if (m_settings.splitEnabled && m_settings.splitSeconds > 0
        && (elapsedMs - m_partStartMs) / 1000 >= m_settings.splitSeconds)
        split();
}
