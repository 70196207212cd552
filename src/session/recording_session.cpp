#include "session/recording_session.h"

#include "session/file_operations.h"
#include "session/recorded_files.h"

#include <QDir>
#include <QFile>

#include <stdexcept>
#include <utility>

namespace {

// A part whose file already holds this much was recorded before: ask before writing over it.
constexpr qint64 kRewriteQuestionFrames = 8820;
constexpr int kBlockMs = 200;

std::runtime_error error(const QString &text)
{
    return std::runtime_error(text.toStdString());
}

}  // namespace

RecordingSession::RecordingSession(engine::IEngineFactory &engine, RecordedFiles &files, QObject *parent)
    : QObject(parent),
      m_recorder(engine.createRecorder(QStringLiteral("recorder"))),
      m_writer(engine.createFile(QStringLiteral("writer"))),
      m_reader(engine.createFile(QStringLiteral("recordingReader"))),
      m_mp3Encoder(engine.createLameEncoder(QStringLiteral("mp3Encoder"))),
      m_files(files)
{
    connect(m_recorder.get(), &engine::IAudioRecord2::OnEndArrayRecord, this, [this] { onBlock(); });
    connect(m_recorder.get(), &engine::IAudioRecord2::OnTimer, this,
            [this](QObject *, qint64 samples, int left, int right) { onTick(samples, left, right); });
    connect(m_recorder.get(), &engine::IAudioRecord2::OnDeviceError, this,
            [this](QObject *, const QString &text) { onDeviceError(text); });
}

RecordingSession::~RecordingSession()
{
    // The owner stops a run before it goes (see stop()); this only lets nothing dangle.
    disconnect(m_recorder.get(), nullptr, this, nullptr);
}

void RecordingSession::setSettings(const RecordingSettings &settings)
{
    m_settings = settings;
    applyOutputFormat(m_settings, *m_writer, *m_mp3Encoder);
    applyOutputFormat(m_settings, *m_reader, *m_mp3Encoder);
}

void RecordingSession::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void RecordingSession::report(const std::exception &e)
{
    emit failed(QString::fromUtf8(e.what()));
}

// ---- commands -----------------------------------------------------------------------------

void RecordingSession::record()
{
    if (m_state == State::Recording)
        return;
    if (m_state == State::Paused) {
        resume();
        return;
    }
    // A new run: nothing of an earlier one carries over.
    m_splitBaseSeconds = 0;
    m_partOffset = 0;
    try {
        startPart();
    } catch (const std::exception &e) {
        report(e);
    }
}

void RecordingSession::resume()
{
    m_recorder->SetRecordFlag(true);
    // The elapsed time continues from what this part already holds.
    m_partOffset = m_writer->GetNumSamples();
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
    if (!QDir().mkpath(folder))
        throw error(QStringLiteral("Cannot create %1").arg(folder));
    // The name is taken once, exclusively: no existing entry is ever reused or followed.
    return reserveNumberedFile(folder, QStringLiteral("Untitled"), m_settings.saveFormat);
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

        m_writer->Create(m_partPath, 0);
        m_recorder->SetFormat(m_writer->GetFormatValueB(), m_writer->GetFormatValueA());
        m_blockFrames = m_recorder->CalcArraySize(kBlockMs);
        m_recorder->SetArraySize(m_blockFrames);
        m_partOffset = 0;
        m_recorder->Start();
        if (m_recorder->GetErrorCode() != 0) {
            const QString reason = m_recorder->GetErrorText();
            throw error(reason.isEmpty() ? QStringLiteral("The recording could not start") : reason);
        }
    } catch (...) {
        abandonPart();
        throw;
    }
    m_reservedFile.clear();
    setState(State::Recording);
    m_files.setCurrentFile(m_partPath);
    emit partStarted(m_partPath, m_writer->GetFormatDescription());
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
    if (!m_reservedFile.isEmpty() && written == 0)
        QFile::remove(m_reservedFile);
    m_reservedFile.clear();
    m_splitBaseSeconds = 0;
    m_partOffset = 0;
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
    m_partEnding = false;
    *failure = std::exchange(m_failure, QString());
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
    QString listingError;
    try {
        m_files.add(m_partPath);
    } catch (const std::exception &e) {
        // The part is on the disk; the run goes on and the error is shown.
        listingError = QString::fromUtf8(e.what());
    }
    m_splitBaseSeconds += m_settings.splitSeconds;
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

void RecordingSession::endRun(bool partOpen, const QString &reason)
{
    QString failure = reason;
    if (partOpen) {
        QString closing;
        finishPart(&closing);
        if (failure.isEmpty())
            failure = closing;
    }
    m_partOffset = 0;
    m_splitBaseSeconds = 0;
    setState(State::Idle);

    QString listingError;
    try {
        m_files.add(m_partPath);
    } catch (const std::exception &e) {
        listingError = QString::fromUtf8(e.what());
    }
    emit runEnded();
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

// ---- the recorder's events ----------------------------------------------------------------

void RecordingSession::onBlock()
{
    if (m_state == State::Idle)
        return;
    const engine::SampleArray block = m_recorder->GetArray();
    try {
        m_writer->WriteArray(block);
    } catch (const std::exception &e) {
        // Keep everything written so far: finish the file as Stop does, then say why.
        fail(QString::fromUtf8(e.what()));
    }
}

void RecordingSession::onDeviceError(const QString &text)
{
    if (m_state == State::Idle)
        return;
    fail(text);
}

void RecordingSession::onTick(qint64 currentSamples, int levelLeft, int levelRight)
{
    if (m_state != State::Recording || m_partEnding)
        return;   // a tick that was already on its way when the recording paused or stopped

    const qint64 elapsedMs = m_recorder->SamplesToMs(currentSamples + m_partOffset)
                             + qint64(m_splitBaseSeconds) * 1000;
    emit tick(elapsedMs, levelLeft, levelRight);
    if (m_snapshotFrames > 0)
        emit snapshotReady(m_recorder->GetSnapshotArray(m_snapshotFrames));

    const qint64 seconds = elapsedMs / 1000;
    if (m_settings.timeLimitSeconds > 0 && seconds >= m_settings.timeLimitSeconds) {
        stop();
        return;
    }
    if (m_settings.splitEnabled && m_settings.splitSeconds > 0
        && seconds - m_splitBaseSeconds >= m_settings.splitSeconds)
        split();
}
