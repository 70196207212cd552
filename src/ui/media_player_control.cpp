#include "ui/media_player_control.h"

#include "session/program_identity.h"
#include "session/recorder_core.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "widgets/position_slider.h"
#include "widgets/transport_block.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSeekedIntervalMs = 1000;
// A tick further than this from where the playback should be means it jumped (the slider,
// a marker): controllers are told with Seeked.
constexpr qint64 kJumpToleranceMs = 1500;

const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

// The same for the bus: object paths by their text, maps by their entries.
bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.metaType() != b.metaType())
        return false;
    if (a.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return a.value<QDBusObjectPath>().path() == b.value<QDBusObjectPath>().path();
    if (a.metaType() == QMetaType::fromType<QVariantMap>()) {
        const QVariantMap x = a.toMap(), y = b.toMap();
        if (x.keys() != y.keys())
            return false;
        for (auto it = x.cbegin(); it != x.cend(); ++it)
            if (!sameValue(it.value(), y.value(it.key())))
                return false;
        return true;
    }
    return a == b;
}

// org.mpris.MediaPlayer2: the program itself.
class RootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_CLASSINFO("D-Bus Introspection",
                "  <interface name=\"org.mpris.MediaPlayer2\">\n"
                "    <method name=\"Raise\"/>\n"
                "    <method name=\"Quit\"/>\n"
                "    <property name=\"CanQuit\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"Fullscreen\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"CanSetFullscreen\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"CanRaise\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"HasTrackList\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"Identity\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"DesktopEntry\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"SupportedUriSchemes\" type=\"as\" access=\"read\"/>\n"
                "    <property name=\"SupportedMimeTypes\" type=\"as\" access=\"read\"/>\n"
                "  </interface>\n")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool Fullscreen READ fullscreen)
    Q_PROPERTY(bool CanSetFullscreen READ canSetFullscreen)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)

public:
    explicit RootAdaptor(MediaPlayerControl *control) : QDBusAbstractAdaptor(control), m_control(control) {}

    bool canQuit() const { return true; }
    bool fullscreen() const { return false; }
    bool canSetFullscreen() const { return false; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QString identity() const { return programName; }
    QString desktopEntry() const { return QStringLiteral("org.example.TavrinSoundRecorder"); }
    // Nothing is opened from outside (OpenUri does nothing), so none are offered.
    QStringList supportedUriSchemes() const { return {}; }
    QStringList supportedMimeTypes() const { return {}; }

public slots:
    void Raise() { m_control->raiseWindow(); }
    void Quit() { m_control->quit(); }

private:
    MediaPlayerControl *m_control;
};

// org.mpris.MediaPlayer2.Player: the playback of the opened file.
class PlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_CLASSINFO("D-Bus Introspection",
                "  <interface name=\"org.mpris.MediaPlayer2.Player\">\n"
                "    <method name=\"Next\"/>\n"
                "    <method name=\"Previous\"/>\n"
                "    <method name=\"Pause\"/>\n"
                "    <method name=\"PlayPause\"/>\n"
                "    <method name=\"Stop\"/>\n"
                "    <method name=\"Play\"/>\n"
                "    <method name=\"Seek\">\n"
                "      <arg name=\"Offset\" type=\"x\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <method name=\"SetPosition\">\n"
                "      <arg name=\"TrackId\" type=\"o\" direction=\"in\"/>\n"
                "      <arg name=\"Position\" type=\"x\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <method name=\"OpenUri\">\n"
                "      <arg name=\"Uri\" type=\"s\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <signal name=\"Seeked\">\n"
                "      <arg name=\"Position\" type=\"x\"/>\n"
                "    </signal>\n"
                "    <property name=\"PlaybackStatus\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"Rate\" type=\"d\" access=\"readwrite\"/>\n"
                "    <property name=\"Metadata\" type=\"a{sv}\" access=\"read\">\n"
                "      <annotation name=\"org.qtproject.QtDBus.QtTypeName\" value=\"QVariantMap\"/>\n"
                "    </property>\n"
                "    <property name=\"Volume\" type=\"d\" access=\"readwrite\"/>\n"
                "    <property name=\"Position\" type=\"x\" access=\"read\">\n"
                "      <annotation name=\"org.freedesktop.DBus.Property.EmitsChangedSignal\" value=\"false\"/>\n"
                "    </property>\n"
                "    <property name=\"MinimumRate\" type=\"d\" access=\"read\"/>\n"
                "    <property name=\"MaximumRate\" type=\"d\" access=\"read\"/>\n"
                "    <property name=\"CanGoNext\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"CanGoPrevious\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"CanPlay\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"CanPause\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"CanSeek\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"CanControl\" type=\"b\" access=\"read\">\n"
                "      <annotation name=\"org.freedesktop.DBus.Property.EmitsChangedSignal\" value=\"const\"/>\n"
                "    </property>\n"
                "  </interface>\n")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ no)
    Q_PROPERTY(bool CanGoPrevious READ no)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ yes)

public:
    explicit PlayerAdaptor(MediaPlayerControl *control) : QDBusAbstractAdaptor(control), m_control(control) {}

    QString playbackStatus() const { return m_control->playbackStatus(); }
    double rate() const { return 1.0; }
    void setRate(double rate) { m_control->setRate(rate); }
    QVariantMap metadata() const { return m_control->metadata(); }
    double volume() const { return m_control->volume(); }
    void setVolume(double volume) { m_control->setVolume(volume); }
    qlonglong position() const { return m_control->position(); }
    bool canPlay() const { return m_control->canPlay(); }
    bool canPause() const { return m_control->canPause(); }
    bool canSeek() const { return m_control->canSeek(); }
    bool yes() const { return true; }
    bool no() const { return false; }

public slots:
    // One file, no list: there is nothing before or after it, and nothing is opened from
    // outside.
    void Next() {}
    void Previous() {}
    void OpenUri(const QString &) {}
    void Pause() { m_control->pause(); }
    void PlayPause() { m_control->playPause(); }
    void Stop() { m_control->stop(); }
    void Play() { m_control->play(); }
    void Seek(qlonglong Offset) { m_control->seek(Offset); }
    void SetPosition(const QDBusObjectPath &TrackId, qlonglong Position) { m_control->setPosition(TrackId, Position); }

signals:
    void Seeked(qlonglong Position);

private:
    MediaPlayerControl *m_control;
};

}  // namespace

MediaPlayerControl::MediaPlayerControl(MainWindow &window, QDBusConnection bus, QObject *parent)
    : QObject(parent), m_window(window), m_core(window.core()), m_bus(std::move(bus))
{
    new RootAdaptor(this);
    m_player = new PlayerAdaptor(this);

    // Several changes of one command are told in one signal, once the command is over.
    m_checkTimer = new QTimer(this);
    m_checkTimer->setSingleShot(true);
    m_checkTimer->setInterval(0);
    connect(m_checkTimer, &QTimer::timeout, this, &MediaPlayerControl::announceChanges);
    m_seekedTimer = new QTimer(this);
    m_seekedTimer->setSingleShot(true);
    connect(m_seekedTimer, &QTimer::timeout, this, &MediaPlayerControl::announceSeeked);

    PlaybackSession &playback = m_core.playback();
    connect(&playback, &PlaybackSession::stateChanged, this, &MediaPlayerControl::onPlaybackState);
    connect(&playback, &PlaybackSession::tick, this,
            [this](qint64 positionMs, int, int, int) { onPlaybackTick(positionMs); });
    connect(&m_core.recording(), &RecordingSession::stateChanged, this, &MediaPlayerControl::scheduleCheck);
    connect(&m_core, &RecorderCore::statusChanged, this, &MediaPlayerControl::scheduleCheck);
    RecordedFiles &files = m_core.files();
    connect(&files, &RecordedFiles::currentFileChanged, this, &MediaPlayerControl::scheduleCheck);
    connect(&files, &RecordedFiles::selectionChanged, this, &MediaPlayerControl::scheduleCheck);
    connect(&files, &RecordedFiles::rowAdded, this, &MediaPlayerControl::scheduleCheck);
    connect(&files, &RecordedFiles::rowChanged, this, &MediaPlayerControl::scheduleCheck);
    connect(&files, &RecordedFiles::rowRemoved, this, &MediaPlayerControl::scheduleCheck);
    connect(&files, &RecordedFiles::fileRenamed, this, &MediaPlayerControl::scheduleCheck);
    if (TransportBlock *block = knob())
        connect(block, &TransportBlock::volumeChanged, this, &MediaPlayerControl::scheduleCheck);
    // The knob learns the player's volume when the window first shows.
    m_window.installEventFilter(this);
}

MediaPlayerControl::~MediaPlayerControl()
{
    if (!m_registered)
        return;
    m_bus.unregisterService(m_serviceName);
    m_bus.unregisterObject(mpris::objectPath);
}

bool MediaPlayerControl::registerOnBus()
{
    if (m_registered)
        return true;
    if (!m_bus.isConnected() || !m_bus.interface())
        return false;
    // The object is there before the name, so whoever sees the name finds it.
    if (!m_bus.registerObject(mpris::objectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    // The first window has the plain name; another one adds its process id.
    const QStringList names{mpris::serviceName,
                            mpris::serviceName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())};
    for (const QString &name : names) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = m_bus.interface()->registerService(
            name, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
        if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
            m_serviceName = name;
            break;
        }
    }
    if (m_serviceName.isEmpty()) {
        m_bus.unregisterObject(mpris::objectPath);
        return false;
    }
    m_registered = true;
    announceChanges();   // what the bus knows from now on; nothing is sent yet
    return true;
}

bool MediaPlayerControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::Show)
        scheduleCheck();
    return QObject::eventFilter(watched, event);
}

// ---- what the player shows ---------------------------------------------------------------

bool MediaPlayerControl::recordingCaptures() const
{
    return m_core.recordingOwnsDisplay();
}

QString MediaPlayerControl::trackFile() const
{
    const PlaybackSession &playback = m_core.playback();
    if (playback.isActive())
        return playback.playingFile();
    if (recordingCaptures())
        return QString();
    return m_core.files().fileToPlay();
}

qint64 MediaPlayerControl::trackLengthMs() const
{
    const QString path = trackFile();
    if (path.isEmpty())
        return 0;
    // Every opened file and every recording is listed with its length.
    const RecordedFiles &files = m_core.files();
    for (int row = 0; row < files.count(); ++row)
        if (files.at(row).path == path && files.at(row).durationMs > 0)
            return files.at(row).durationMs;
    // Else the slider's file, which is the one played or opened last.
    return std::max<qint64>(0, m_core.playback().previewMs(PositionSlider::Maximum));
}

QDBusObjectPath MediaPlayerControl::trackId() const
{
    const QString path = trackFile();
    if (path.isEmpty())
        return QDBusObjectPath(mpris::noTrack);
    if (path != m_trackFile) {
        m_trackFile = path;
        ++m_trackNumber;
    }
    return QDBusObjectPath(mpris::trackPathPrefix + QString::number(m_trackNumber));
}

TransportBlock *MediaPlayerControl::knob() const
{
    return m_window.findChild<TransportBlock *>(QStringLiteral("transportBlock"));
}

PositionSlider *MediaPlayerControl::slider() const
{
    return m_window.findChild<PositionSlider *>(QStringLiteral("positionSlider"));
}

QString MediaPlayerControl::playbackStatus() const
{
    switch (m_core.playback().state()) {
    case PlaybackSession::State::Playing:
        return QStringLiteral("Playing");
    case PlaybackSession::State::Paused:
        return QStringLiteral("Paused");
    case PlaybackSession::State::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap MediaPlayerControl::metadata() const
{
    QVariantMap data;
    const QDBusObjectPath id = trackId();
    data.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(id));
    if (id.path() == mpris::noTrack)
        return data;
    const QString path = trackFile();
    data.insert(QStringLiteral("xesam:title"), QFileInfo(path).fileName());
    data.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(path).toString());
    const qint64 lengthMs = trackLengthMs();
    if (lengthMs > 0)
        data.insert(QStringLiteral("mpris:length"), qlonglong(lengthMs) * 1000);
    return data;
}

double MediaPlayerControl::volume() const
{
    // As the knob shows it; before the window has a knob, the player's own.
    const int level = knob() ? knob()->volume() : m_core.playback().volume();
    return std::clamp(level, 0, 100) / 100.0;
}

qlonglong MediaPlayerControl::position() const
{
    const PlaybackSession &playback = m_core.playback();
    if (playback.isActive())
        return qlonglong(m_positionMs) * 1000;
    // Stopped: where Play would start, the slider's point.
    return qlonglong(sliderPositionMs()) * 1000;
}

qint64 MediaPlayerControl::sliderPositionMs() const
{
    const PositionSlider *s = slider();
    if (!s || trackFile().isEmpty())
        return 0;
    return std::llround(double(s->value()) * double(trackLengthMs()) / PositionSlider::Maximum);
}

bool MediaPlayerControl::canPlay() const
{
    // A paused playback goes on even under a recording; a new one needs a file that is not
    // being written.
    return m_core.playback().isActive() || !trackFile().isEmpty();
}

bool MediaPlayerControl::canPause() const
{
    // Of the track, not of the moment: whatever can play can pause.
    return canPlay();
}

bool MediaPlayerControl::canSeek() const
{
    // The window's slider seeks; it rests while a recording exists.
    const PositionSlider *s = slider();
    return s && s->isEnabled() && !m_core.recording().isActive() && trackLengthMs() > 0;
}

// ---- commands ------------------------------------------------------------------------------

template <typename Command>
void MediaPlayerControl::answer(Command command)
{
    const QStringList refusals = ui::runCommandFromOutside(command);
    if (!refusals.isEmpty() && calledFromDBus())
        sendErrorReply(remote::refusedError, refusals.join(QLatin1Char('\n')));
    scheduleCheck();
}

void MediaPlayerControl::refuse(const QString &text)
{
    if (calledFromDBus())
        sendErrorReply(remote::refusedError, text);
}

void MediaPlayerControl::raiseWindow()
{
    if (m_window.isMinimized())
        m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

void MediaPlayerControl::quit()
{
    // Answered first; then the window closes as its close button closes it.
    QMetaObject::invokeMethod(&m_window, [window = &m_window] { window->close(); }, Qt::QueuedConnection);
}

void MediaPlayerControl::play()
{
    const PlaybackSession &playback = m_core.playback();
    if (playback.state() == PlaybackSession::State::Playing)
        return;
    if (!canPlay()) {
        if (recordingCaptures())
            refuse(tr("A file cannot be played while a recording runs."));
        return;
    }
    answer([this] { m_window.play(); });
}

void MediaPlayerControl::pause()
{
    // The playback's pause only: a recording goes on.
    PlaybackSession &playback = m_core.playback();
    if (playback.state() != PlaybackSession::State::Playing)
        return;
    answer([&playback] { playback.pause(); });
}

void MediaPlayerControl::playPause()
{
    if (m_core.playback().state() == PlaybackSession::State::Playing)
        pause();
    else
        play();
}

void MediaPlayerControl::stop()
{
    // What the window's Stop does to a playback, and nothing to a recording.
    PlaybackSession &playback = m_core.playback();
    if (!playback.isActive())
        return;
    answer([&playback] { playback.stop(); });
}

void MediaPlayerControl::seek(qlonglong offsetUs)
{
    if (!canSeek())
        return;
    const qint64 length = trackLengthMs();
    const qint64 target = std::max<qint64>(0, position() / 1000 + offsetUs / 1000);
    if (target >= length) {
        // Past the end: the file has played, as at its own end.
        stop();
        return;
    }
    seekTo(target);
}

void MediaPlayerControl::setPosition(const QDBusObjectPath &id, qlonglong positionUs)
{
    // An id of a file shown before is a stale request.
    if (!canSeek() || id.path() != trackId().path())
        return;
    if (positionUs < 0 || positionUs / 1000 > trackLengthMs())
        return;
    seekTo(positionUs / 1000);
}

void MediaPlayerControl::seekTo(qint64 positionMs)
{
    PositionSlider *s = slider();
    const qint64 length = trackLengthMs();
    if (!s || length <= 0)
        return;
    // As the user's drag of the slider moves it: a playback goes on from there, a paused one
    // ends and Play starts from there, and without a playback Play will start there.
    const int perMille = int(std::clamp<qint64>(
        std::llround(double(positionMs) * PositionSlider::Maximum / double(length)), PositionSlider::Minimum,
        PositionSlider::Maximum));
    s->moveTo(perMille);
    m_positionMs = std::llround(double(perMille) * double(length) / PositionSlider::Maximum);
    if (m_core.playback().state() == PlaybackSession::State::Playing)
        m_sinceTick.restart();
    else
        m_sinceTick.invalidate();
    announceSeeked();
    scheduleCheck();
}

void MediaPlayerControl::setRate(double rate)
{
    // One rate only; a rate of nothing is a pause.
    if (rate <= 0.0)
        pause();
}

void MediaPlayerControl::setVolume(double volume)
{
    if (std::isnan(volume))
        return;
    const int level = int(std::lround(std::clamp(volume, 0.0, 1.0) * 100));
    // As a turn of the knob: the knob shows it and the player takes it.
    if (TransportBlock *block = knob())
        block->setVolume(level);
    ui::runCommand([this, level] { m_core.playback().setVolume(level); });
    scheduleCheck();
}

// ---- telling the bus -------------------------------------------------------------------------

void MediaPlayerControl::scheduleCheck()
{
    if (m_registered)
        m_checkTimer->start();
}

void MediaPlayerControl::announceChanges()
{
    if (!m_registered)
        return;
    const QVariantMap now{
        {QStringLiteral("PlaybackStatus"), playbackStatus()},
        {QStringLiteral("Metadata"), metadata()},
        {QStringLiteral("Volume"), volume()},
        {QStringLiteral("CanPlay"), canPlay()},
        {QStringLiteral("CanPause"), canPause()},
        {QStringLiteral("CanSeek"), canSeek()},
    };
    const bool first = m_shownPlayer.isEmpty();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (!sameValue(it.value(), m_shownPlayer.value(it.key())))
            changed.insert(it.key(), it.value());
    m_shownPlayer = now;
    if (first || changed.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(mpris::objectPath, propertiesInterface, QStringLiteral("PropertiesChanged"));
    signal << mpris::playerInterface << changed << QStringList();
    m_bus.send(signal);
}

void MediaPlayerControl::onPlaybackState()
{
    // A playback that starts starts at the slider's point; one that stops is nowhere.
    const PlaybackSession::State state = m_core.playback().state();
    if (state == PlaybackSession::State::Stopped)
        m_positionMs = 0;
    else if (PlaybackSession::State(m_playbackState) == PlaybackSession::State::Stopped)
        m_positionMs = sliderPositionMs();
    m_playbackState = int(state);
    m_sinceTick.invalidate();
    scheduleCheck();
}

void MediaPlayerControl::onPlaybackTick(qint64 positionMs)
{
    const bool jumped = m_sinceTick.isValid()
                        && std::abs(positionMs - (m_positionMs + m_sinceTick.elapsed())) > kJumpToleranceMs;
    m_positionMs = positionMs;
    m_sinceTick.restart();
    if (jumped)
        announceSeeked();
}

void MediaPlayerControl::announceSeeked()
{
    if (!m_registered)
        return;
    if (m_sinceSeeked.isValid() && m_sinceSeeked.elapsed() < kSeekedIntervalMs) {
        // The position where it is when the second is over.
        if (!m_seekedTimer->isActive())
            m_seekedTimer->start(int(kSeekedIntervalMs - m_sinceSeeked.elapsed()));
        return;
    }
    m_sinceSeeked.restart();
    emit static_cast<PlayerAdaptor *>(m_player)->Seeked(position());
}

#include "media_player_control.moc"
