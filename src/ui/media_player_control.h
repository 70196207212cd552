// The window's player as a media player of the desktop (MPRIS 2): the sound menu, media keys
// and any other controller see the opened file, its title and length, whether it plays, and
// can play, pause, stop and seek it and turn the volume as the window's own controls do.
//
// On the session bus as org.mpris.MediaPlayer2.TavrinSoundRecorder (a second window takes
// org.mpris.MediaPlayer2.TavrinSoundRecorder.instance<pid>), object /org/mpris/MediaPlayer2,
// interfaces org.mpris.MediaPlayer2 and org.mpris.MediaPlayer2.Player. Only the playback is
// ever touched: Stop and Pause leave a recording running, and Play is refused while a
// recording captures, as the window refuses it.
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QEvent;
class QTimer;

class MainWindow;
class PositionSlider;
class RecorderCore;
class TransportBlock;

namespace mpris {
inline const QString serviceName = QStringLiteral("org.mpris.MediaPlayer2.TavrinSoundRecorder");
inline const QString objectPath = QStringLiteral("/org/mpris/MediaPlayer2");
inline const QString rootInterface = QStringLiteral("org.mpris.MediaPlayer2");
inline const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
// The track id when there is nothing to play.
inline const QString noTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
// Each file the player shows in turn gets an id of its own: this and a number.
inline const QString trackPathPrefix = QStringLiteral("/org/example/TavrinSoundRecorder/track/");
}  // namespace mpris

class MediaPlayerControl : public QObject, protected QDBusContext {
    Q_OBJECT

public:
    explicit MediaPlayerControl(MainWindow &window, QDBusConnection bus = QDBusConnection::sessionBus(),
                                QObject *parent = nullptr);
    ~MediaPlayerControl() override;

    // Puts the player on the bus: the object first, then the name (or the instance name
    // when another window holds it). False, with nothing said, when there is no bus or
    // neither name can be had.
    bool registerOnBus();
    // The name taken ("" before registerOnBus or when it failed).
    QString serviceName() const { return m_serviceName; }

    // ---- org.mpris.MediaPlayer2 -----------------------------------------------------
    void raiseWindow();
    void quit();

    // ---- org.mpris.MediaPlayer2.Player ----------------------------------------------
    void play();
    void pause();
    void playPause();
    void stop();
    void seek(qlonglong offsetUs);
    void setPosition(const QDBusObjectPath &trackId, qlonglong positionUs);
    void setRate(double rate);

    QString playbackStatus() const;
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    bool canPlay() const;
    bool canPause() const;
    bool canSeek() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The file the player stands for: the one played, else the one Play would play. None
    // while a recording captures and nothing plays (that file is still being written).
    QString trackFile() const;
    qint64 trackLengthMs() const;
    QDBusObjectPath trackId() const;
    bool recordingCaptures() const;
    // Where the slider stands in the track, in ms: where Play starts.
    qint64 sliderPositionMs() const;
    TransportBlock *knob() const;
    PositionSlider *slider() const;

    // Runs a window command; the error box it shows becomes the call's error as well.
    template <typename Command>
    void answer(Command command);
    void refuse(const QString &text);

    void scheduleCheck();
    void announceChanges();
    void onPlaybackTick(qint64 positionMs);
    void onPlaybackState();
    void seekTo(qint64 positionMs);
    void announceSeeked();

    MainWindow &m_window;
    RecorderCore &m_core;
    QDBusConnection m_bus;
    QObject *m_player = nullptr;   // the Player interface's adaptor, which sends Seeked
    QString m_serviceName;
    bool m_registered = false;

    // What the bus was last told, to say only what changed.
    QVariantMap m_shownPlayer;
    QTimer *m_checkTimer = nullptr;

    // The file shown as a track, and its number in the ids.
    mutable QString m_trackFile;
    mutable int m_trackNumber = 0;

    // The playback's position as its ticks tell it, and when the last tick came.
    int m_playbackState = 0;   // PlaybackSession::State, as last seen
    qint64 m_positionMs = 0;
    QElapsedTimer m_sinceTick;
    // Seeked goes out at most once a second; a later jump waits for the second to end.
    QElapsedTimer m_sinceSeeked;
    QTimer *m_seekedTimer = nullptr;
};
