#include "cli/command_line_recorder.h"

#include "cli/input_sources.h"
#include "session/file_operations.h"
#include "session/format_text.h"
#include "session/part_writer.h"
#include "session/program_identity.h"
#include "session/recorder_core.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cmath>

#include <unistd.h>

namespace {

// "00:01:23"
QString clockText(qint64 ms)
{
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

// "1.4 MB"
QString sizeText(qint64 bytes)
{
    if (bytes < 1000 * 1000)
        //: A file's size in kilobytes; "kB" is the unit as the language writes it.
        return QCoreApplication::translate("CommandLineRecorder", "%1 kB").arg(numberText(bytes / 1000));
    if (bytes < qint64(1000) * 1000 * 1000)
        //: A file's size in megabytes; "MB" is the unit as the language writes it.
        return QCoreApplication::translate("CommandLineRecorder", "%1 MB").arg(numberText(double(bytes) / 1e6, 1));
    //: A file's size in gigabytes; "GB" is the unit as the language writes it.
    return QCoreApplication::translate("CommandLineRecorder", "%1 GB").arg(numberText(double(bytes) / 1e9, 2));
}

// The meters' 0..100 over -60..0 dBFS, as a level.
QString peakText(int level)
{
    if (level <= 0)
        //: The progress line's loudest level of the last moment, in decibels below full scale.
        return QCoreApplication::translate("CommandLineRecorder", "peak -60 dBFS");
    //: The progress line's loudest level of the last moment, in decibels below full scale
    //: (%1 is -60 to 0).
    return QCoreApplication::translate("CommandLineRecorder", "peak %1 dBFS").arg(std::lround(level * 0.6 - 60));
}

}  // namespace

CommandLineRecorder::CommandLineRecorder(RecorderCore &core, RecordRequest request, std::FILE *out, std::FILE *err,
                                         bool showProgress, QObject *parent)
    : QObject(parent),
      m_core(core),
      m_request(std::move(request)),
      m_out(out),
      m_err(err),
      m_showProgress(showProgress)
{
    RecordingSession &recording = m_core.recording();
    connect(&recording, &RecordingSession::failed, this, &CommandLineRecorder::fail);
    connect(&recording, &RecordingSession::notice, this, &CommandLineRecorder::say);
    connect(&recording, &RecordingSession::partStarted, this, [this](const QString &path) {
        m_parts.append(path);
    });
    connect(&recording, &RecordingSession::partRenamed, this, [this](const QString &path) {
        if (!m_parts.isEmpty())
            m_parts.last() = path;
    });
    connect(&recording, &RecordingSession::tick, this, [this](qint64 elapsedMs, int left, int right) {
        m_elapsedMs = elapsedMs;
        m_peak = std::max({m_peak, left, right});
    });
    connect(&recording, &RecordingSession::diskTimeLeftChanged, this, [this](qint64 seconds) {
        m_diskSecondsLeft = seconds;
    });
    connect(&recording, &RecordingSession::runEnded, this, &CommandLineRecorder::end);
    // A wait for a set time that is stopped ends without a run.
    connect(&recording, &RecordingSession::stateChanged, this, [this] {
        if (m_started && !m_core.recording().isActive())
            end();
    });
    connect(&m_core, &RecorderCore::recovered, this, [this](const RecoveryReport &report) {
        for (const QString &text : report.said)
            say(text);
    });
    if (m_showProgress) {
        m_progressTimer = new QTimer(this);
        m_progressTimer->setInterval(250);
        connect(m_progressTimer, &QTimer::timeout, this, &CommandLineRecorder::showProgress);
    }
}

CommandLineRecorder::~CommandLineRecorder() = default;

void CommandLineRecorder::start()
{
    // What an interrupted recording of either the window or the command line left is
    // repaired now, beside this run.
    m_core.startRecovery();

    RecordingSettings s = m_core.settings().recording();
    const QFileInfo output(m_request.output);
    if (!m_request.output.isEmpty()) {
        if (output.isDir()) {
            s.savePath = joinPath(output.absoluteFilePath(), QString());
        } else {
            const QFileInfo folder(output.absolutePath());
            if (!folder.isDir()) {
                fail(tr("Cannot write %1: the folder %2 does not exist")
                         .arg(output.absoluteFilePath(), folder.absoluteFilePath()));
                end();
                return;
            }
            if (output.exists() || output.isSymLink()) {
                fail(tr("Cannot write %1: the file exists").arg(output.absoluteFilePath()));
                end();
                return;
            }
            s.savePath = joinPath(folder.absoluteFilePath(), QString());
            s.saveFormat = QLatin1Char('.') + output.suffix();
            s.partStem = output.completeBaseName();
        }
    }
    // Only what the command line asks for: no stored time limit, split or pre-record.
    s.timeLimitSeconds = m_request.at ? -1 : (m_request.durationSeconds > 0 ? m_request.durationSeconds : -1);
    s.splitEnabled = m_request.splitSeconds > 0;
    s.splitSeconds = m_request.splitSeconds;
    s.triggerOn = m_request.onSoundDb.has_value();
    if (s.triggerOn) {
        s.triggerLevelDb = *m_request.onSoundDb;
        if (m_request.quietSeconds)
            s.triggerSilenceSeconds = *m_request.quietSeconds;
    } else {
        s.prerecordSeconds = 0;
    }
    if (m_request.separate)
        s.separateSides = true;

    if (!m_request.source.isEmpty()) {
        const std::optional<InputSource> source = findInputSource(m_core.inputs(), m_request.source);
        if (!source) {
            //: %1 is the source asked for, %2 the command's name.
            fail(tr("Unknown source '%1'; %2 --list-sources names them").arg(m_request.source, commandName));
            end();
            return;
        }
        m_core.inputs().setDevice(source->index);
    }
    m_core.applyRecordingSettings(s);
    if (m_request.separate && !m_core.recording().recorder().SetSideArrays(true))
        //: "Microphone + computer sound" is the input of that name; %1 is the input chosen.
        warn(tr("--separate keeps the sides of \"Microphone + computer sound\" apart; %1 has none")
                 .arg(m_core.inputs().deviceName()));
    // Listening only when asked for here (the window's stored choice is the window's); it is
    // a help, not the job: a refusal is a warning and the recording goes on.
    if (!m_request.monitor && m_core.monitoring())
        m_core.setMonitoring(false);
    if (m_request.monitor) {
        const QString refusal = m_core.setMonitoring(true);
        if (!refusal.isEmpty())
            warn(refusal);
    }

    RecordingSession &recording = m_core.recording();
    if (m_request.at) {
        QDateTime at(recording.now().date(), *m_request.at);
        if (at <= recording.now())
            at = at.addDays(1);
        recording.schedule(at, m_request.durationSeconds);
    } else {
        m_core.record();
    }
    if (!recording.isActive()) {
        // It could not start; the reason was said.
        if (!m_failed)
            fail(tr("The recording could not start"));
        end();
        return;
    }
    m_started = true;
    if (m_progressTimer)
        m_progressTimer->start();
}

void CommandLineRecorder::stop()
{
    if (m_ended)
        return;
    m_core.stop();
    if (!m_core.recording().isActive())
        end();
}

void CommandLineRecorder::addMarker()
{
    if (m_ended)
        return;
    try {
        say(m_core.addMarker());
    } catch (const std::exception &e) {
        clearProgress();
        std::fprintf(m_err, "%s: %s\n", qPrintable(commandName), e.what());
        std::fflush(m_err);
    }
}

void CommandLineRecorder::takeMarkersFromTerminal()
{
    m_terminal = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_terminal, &QSocketNotifier::activated, this, [this] {
        char bytes[256];
        const ssize_t n = ::read(STDIN_FILENO, bytes, sizeof bytes);
        if (n <= 0) {
            // The end of input (Ctrl+D) neither stops nor marks: nothing more is read.
            if (n == 0 || (errno != EINTR && errno != EAGAIN))
                m_terminal->setEnabled(false);
            return;
        }
        for (ssize_t i = 0; i < n; ++i)
            if (bytes[i] == '\n')
                addMarker();
    });
}

void CommandLineRecorder::fail(const QString &text)
{
    m_failed = true;
    clearProgress();
    QString line = text.simplified();
    std::fprintf(m_err, "%s: %s\n", qPrintable(commandName), qPrintable(line));
    std::fflush(m_err);
}

void CommandLineRecorder::say(const QString &text)
{
    if (!m_showProgress)
        return;
    clearProgress();
    std::fprintf(m_err, "%s\n", qPrintable(text.simplified()));
    std::fflush(m_err);
}

void CommandLineRecorder::warn(const QString &text)
{
    //: A warning on the terminal: %1 is the command's name, %2 what is wrong.
    const QString line = tr("%1: warning: %2").arg(commandName, text.simplified());
    std::fprintf(m_err, "%s\n", qPrintable(line));
    std::fflush(m_err);
}

void CommandLineRecorder::end()
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_progressTimer)
        m_progressTimer->stop();
    clearProgress();
    // A part that never recorded anything left no file.
    for (const QString &path : std::as_const(m_parts)) {
        if (!QFileInfo::exists(path))
            continue;
        std::fprintf(m_out, "%s\n", qPrintable(path));
        for (const QString &suffix : PartWriter::sideSuffixes())
            if (QFileInfo::exists(companionPath(path, suffix)))
                std::fprintf(m_out, "%s\n", qPrintable(companionPath(path, suffix)));
    }
    std::fflush(m_out);
    // Told once the caller is back in its event loop: start() may still be on the stack.
    const int status = m_failed ? 1 : 0;
    QTimer::singleShot(0, this, [this, status] { emit finished(status); });
}

void CommandLineRecorder::showProgress()
{
    RecordingSession &recording = m_core.recording();
    QString line;
    switch (recording.state()) {
    case RecordingSession::State::Scheduled:
        //: The progress line while a recording waits for its set time: %1 is "Recording in
        //: 01:02:03", %2 the time it starts (hours and minutes).
        line = tr("%1 (at %2)")
                   .arg(countdownText(recording.now().secsTo(recording.scheduledAt())),
                        recording.scheduledAt().toString(QStringLiteral("HH:mm")));
        break;
    case RecordingSession::State::WaitingForSound:
        //: The progress line; %1 is the time recorded so far.
        line = tr("%1  Waiting for sound...").arg(clockText(m_elapsedMs));
        break;
    case RecordingSession::State::WaitingForDevice:
        //: The progress line; %1 is the time recorded so far.
        line = tr("%1  Waiting for device...").arg(clockText(m_elapsedMs));
        break;
    default: {
        const qint64 bytes = QFileInfo(recording.partPath()).size();
        line = QStringLiteral("%1  %2  %3").arg(clockText(m_elapsedMs), peakText(m_peak), sizeText(bytes));
        const QString disk = diskTimeText(m_diskSecondsLeft);
        if (!disk.isEmpty())
            line += QStringLiteral("  ") + disk;
        break;
    }
    }
    m_peak = 0;
    // Rewritten in place: back to the line's start, the rest of the old line cleared.
    std::fprintf(m_err, "\r%s\033[K", qPrintable(line));
    std::fflush(m_err);
    m_progressShown = true;
}

void CommandLineRecorder::clearProgress()
{
    if (!m_progressShown)
        return;
    std::fprintf(m_err, "\r\033[K");
    m_progressShown = false;
}
