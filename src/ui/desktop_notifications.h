// Desktop notifications (org.freedesktop.Notifications on the session bus) for what happens
// while the window is out of sight: a recording that ended by itself (its time limit, a full
// disk, a lost device that did not come back, a failure; never the user's own Stop), a run
// that started by itself (at its scheduled time, or on sound), and recordings recovered at
// start-up. Nothing is sent while the main window is the active one, nor with the setting
// "options"/"notify" off. The call never waits: without a notification server on the bus the
// call fails, and nothing happens and nothing is said. A notification's "Show" (its default
// action) brings the window up on the File Info tab with the notification's file selected.
#pragma once

#include "session/recording_session.h"

#include <QDBusConnection>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class MainWindow;
class RecorderCore;
struct RecoveryReport;

class DesktopNotifications : public QObject {
    Q_OBJECT

public:
    DesktopNotifications(MainWindow &window, RecorderCore &core,
                         QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    ~DesktopNotifications() override;

    // Whether the user is at the window now: nothing is sent then. By default, the main
    // window (or a dialog of it) is the active window; tests give their own.
    using WindowActive = std::function<bool()>;
    void setWindowActiveCheck(WindowActive check);

    // Sends one notification about path ("" for none); its default action shows that file.
    void notify(const QString &summary, const QString &body, const QString &path);

private slots:
    // The server's signals, from any notification: only ours are answered.
    void onActionInvoked(uint id, const QString &action);
    void onNotificationClosed(uint id, uint reason);

private:
    void onStateChanged(RecordingSession::State state);
    void onPartStarted(const QString &path);
    void onRunEnded(const QString &reason, const QString &path);
    void onRecovered(const RecoveryReport &report);
    void showFile(const QString &path);

    MainWindow &m_window;
    RecorderCore &m_core;
    QDBusConnection m_bus;
    WindowActive m_windowActive;
    QHash<uint, QString> m_sent;   // the notifications on screen, with their files

    // Telling a run that started by itself from one the user started.
    RecordingSession::State m_state = RecordingSession::State::Idle;
    QDateTime m_scheduledAt;      // as the countdown last told it
    bool m_runRecorded = false;   // the run has recorded already
    bool m_startedAlone = false;  // its recording starts by itself (schedule, sound)
    bool m_announce = false;      // the part starting now announces the run
    bool m_announceScheduled = false;   // it started at its scheduled time (else on sound)
};
