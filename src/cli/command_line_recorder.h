// Recording without a window: one run of the recorder core as the command line asks for it.
// The core does everything it does for the window (journals and crash repair, the disk's
// runway, a lost device waited for, start on sound, a set start time); this class turns the
// request into settings, shows a progress line on a terminal, and ends with the paths written
// on stdout and an exit status.
#pragma once

#include "cli/command_line.h"

#include <QObject>
#include <QStringList>

#include <cstdio>

class QSocketNotifier;
class QTimer;
class RecorderCore;

class CommandLineRecorder : public QObject {
    Q_OBJECT

public:
    // out takes the paths written; err the messages and, when showProgress, the progress line.
    CommandLineRecorder(RecorderCore &core, RecordRequest request, std::FILE *out, std::FILE *err,
                        bool showProgress, QObject *parent = nullptr);
    ~CommandLineRecorder() override;

    // Starts the run (or its wait for the set time). finished() follows, at once when it
    // could not start.
    void start();
    // Ends the run as Stop does (Ctrl+C, SIGTERM, SIGHUP).
    void stop();
    // A marker where the recording is now (SIGUSR1, Enter on a terminal); said on a
    // terminal, a refusal always said.
    void addMarker();
    // Enter adds a marker: stdin, a terminal, is read from now on (its end changes nothing).
    void takeMarkersFromTerminal();

signals:
    // 0: everything recorded was written; 1: it could not start or ended in a failure.
    void finished(int exitStatus);

private:
    void fail(const QString &text);   // a one-line message; the status becomes 1
    void say(const QString &text);    // a notice, on a terminal only
    void warn(const QString &text);   // "warning: ..." on stderr; the recording goes on
    void end();
    void showProgress();
    void clearProgress();

    RecorderCore &m_core;
    RecordRequest m_request;
    std::FILE *m_out;
    std::FILE *m_err;
    bool m_showProgress;
    QTimer *m_progressTimer = nullptr;
    QSocketNotifier *m_terminal = nullptr;
    QStringList m_parts;        // every part made, under its latest name
    bool m_failed = false;
    bool m_started = false;
    bool m_ended = false;
    bool m_progressShown = false;
    qint64 m_elapsedMs = 0;
    int m_peak = 0;             // the loudest tick since the line was last shown, 0..100
    qint64 m_diskSecondsLeft = -1;
};
