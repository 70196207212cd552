#include "ui/desktop_notifications.h"

#include "session/program_identity.h"
#include "session/recorder_core.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <utility>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
constexpr int kFileInfoTab = 3;
constexpr uchar kNormalUrgency = 1;

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

// Servers may read the body as markup: a file name's "&" or "<" is shown as it is.
QString plainBody(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&amp;"))
        .replace(QLatin1Char('<'), QStringLiteral("&lt;"))
        .replace(QLatin1Char('>'), QStringLiteral("&gt;"));
}

// The user is at the window: it is the active one, or one of its dialogs is.
bool windowActive(const QWidget &window)
{
    const QWidget *active = QApplication::activeWindow();
    return window.isActiveWindow() || (active && window.isAncestorOf(active));
}

}  // namespace

DesktopNotifications::DesktopNotifications(MainWindow &window, RecorderCore &core, QDBusConnection bus,
                                           QObject *parent)
    : QObject(parent),
      m_window(window),
      m_core(core),
      m_bus(std::move(bus)),
      m_windowActive([this] { return windowActive(m_window); })
{
    RecordingSession &recording = m_core.recording();
    m_state = recording.state();
    connect(&recording, &RecordingSession::stateChanged, this, &DesktopNotifications::onStateChanged);
    connect(&recording, &RecordingSession::scheduleCountdown, this,
            [this] { m_scheduledAt = m_core.recording().scheduledAt(); });
    connect(&recording, &RecordingSession::partStarted, this,
            [this](const QString &path) { onPartStarted(path); });
    connect(&recording, &RecordingSession::runEndedBy, this, &DesktopNotifications::onRunEnded);
    connect(&m_core, &RecorderCore::recovered, this, &DesktopNotifications::onRecovered);
    // A file renamed since keeps its notification.
    connect(&m_core.files(), &RecordedFiles::fileRenamed, this, [this](const QString &from, const QString &to) {
        for (QString &path : m_sent)
            if (path == from)
                path = to;
    });
    // The server's signals reach every program: only our own notifications are answered.
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onNotificationClosed(uint, uint)));
}

DesktopNotifications::~DesktopNotifications() = default;

void DesktopNotifications::setWindowActiveCheck(WindowActive check)
{
    m_windowActive = check ? std::move(check) : WindowActive([this] { return windowActive(m_window); });
}

void DesktopNotifications::notify(const QString &summary, const QString &body, const QString &path)
{
    // The user sees the window already, or wants no notifications.
    if (m_windowActive() || !m_core.settings().notifies() || !m_bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), remote::service);
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(kNormalUrgency));
    //: The button of a desktop notification that brings the window up with the file shown.
    const QStringList actions{kDefaultAction, tr("Show")};
    call << programName << uint(0) << commandName << summary << plainBody(body) << actions << hints << int(-1);
    // Never waits; without a server the call fails and nothing is said.
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<uint> reply = *finished;
        if (reply.isValid())
            m_sent.insert(reply.value(), path);
    });
}

// ---- what is told -------------------------------------------------------------------------

void DesktopNotifications::onRunEnded(const QString &reason, const QString &path)
{
    QString body;
    if (path.isEmpty())
        body = reason.left(1).toUpper() + reason.mid(1);
    else
        //: A notification's text: %1 is the recording's file name, %2 why it ended ("Untitled3.mp3:
        //: the time limit was reached").
        body = tr("%1: %2").arg(fileName(path), reason);
    //: A notification's title: a recording ended by itself (its time limit, a full disk, ...).
    notify(tr("Recording ended"), body, path);
}

void DesktopNotifications::onPartStarted(const QString &path)
{
    if (!std::exchange(m_announce, false))
        return;
    QString body;
    if (m_announceScheduled)
        //: A notification's text: %1 is the file now recorded.
        body = tr("%1: the scheduled recording started").arg(fileName(path));
    else
        //: A notification's text: %1 is the file now recorded.
        body = tr("%1: sound came and the recording started").arg(fileName(path));
    //: A notification's title: a scheduled recording, or one started on sound, started by itself.
    notify(tr("Recording started"), body, path);
}

void DesktopNotifications::onRecovered(const RecoveryReport &report)
{
    if (report.recovered.isEmpty())
        return;
    QStringList names;
    for (const QString &path : report.recovered)
        names << fileName(path);
    QString body;
    if (names.size() == 1)
        //: A notification's text at start-up: %1 is a file's name.
        body = tr("%1 was interrupted; it was repaired and listed").arg(names.constFirst());
    else
        //: A notification's text at start-up: %1 is how many files (2 or more), %2 lists their
        //: names ("Untitled3.mp3, Untitled4.mp3 and Untitled5.mp3").
        body = tr("%1 interrupted recordings were repaired and listed: %2")
                   .arg(names.size())
                   .arg(QLocale().createSeparatedList(names));
    //: A notification's title at start-up.
    notify(tr("Recordings recovered"), body, report.recovered.constLast());
}

// A run the user started is not announced; one that starts by itself is, once, when its
// first file starts: at its scheduled time, or when the sound it was armed for comes.
void DesktopNotifications::onStateChanged(RecordingSession::State state)
{
    using S = RecordingSession::State;
    const S before = std::exchange(m_state, state);
    switch (state) {
    case S::Scheduled:
        m_scheduledAt = QDateTime();
        break;
    case S::Idle:
    case S::Listening:
        if (before == S::Scheduled) {
            // The schedule went due, or Record or Stop ended the wait first. A time that had
            // passed when it was set gave no countdown: the run starts at once.
            RecordingSession &recording = m_core.recording();
            const bool due = !m_scheduledAt.isValid() || recording.now() >= m_scheduledAt;
            m_runRecorded = false;
            m_startedAlone = due;
            m_announceScheduled = due;
            // A run that could not start leaves nothing to announce later.
            if (due)
                QTimer::singleShot(0, this, [this] {
                    if (!m_core.recording().isActive())
                        m_startedAlone = false;
                });
        } else if (before != S::Idle && before != S::Listening) {
            m_runRecorded = m_startedAlone = m_announce = false;   // the run ended
        }
        break;
    case S::WaitingForSound:
        if (!m_runRecorded) {
            m_startedAlone = true;
            m_announceScheduled = false;
        }
        break;
    case S::Recording:
        m_announce = m_startedAlone && !m_runRecorded;
        m_runRecorded = true;
        m_startedAlone = false;
        break;
    case S::Paused:
    case S::WaitingForDevice:
        break;
    }
}

// ---- what the user answers ----------------------------------------------------------------

void DesktopNotifications::onActionInvoked(uint id, const QString &action)
{
    const auto sent = m_sent.constFind(id);
    if (sent == m_sent.constEnd() || action != kDefaultAction)
        return;
    showFile(sent.value());
}

void DesktopNotifications::onNotificationClosed(uint id, uint)
{
    m_sent.remove(id);
}

void DesktopNotifications::showFile(const QString &path)
{
    // Up again as it was left (maximized stays maximized), in front.
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
    m_window.showTab(kFileInfoTab);
    if (path.isEmpty())
        return;
    // The newest row of that file; one not listed (still being recorded) is current already.
    RecordedFiles &files = m_window.files();
    for (int row = files.count() - 1; row >= 0; --row) {
        if (files.at(row).path == path) {
            ui::runCommand([&files, row] { files.select(row); });
            return;
        }
    }
}
