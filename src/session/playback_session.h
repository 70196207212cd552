// The playback session: what Play, Pause and Stop do with a file, without a window.
//
// The reader reads the file in 200 ms blocks ahead of the player, which asks for the next one
// as it goes; the player's ticks give the position, the levels and the spectrum snapshot. The
// position slider chooses where a playback starts and, released during one, seeks. Opening
// another file while one plays measures it with a reader of its own, so the sound goes on.
#pragma once

#include "engine/engine.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class PlaybackSession : public QObject {
    Q_OBJECT

public:
    enum class State { Stopped, Playing, Paused };
    Q_ENUM(State)

    // What measuring a file tells.
    struct FileFacts {
        qint64 frames = 0;     // length
        int sampleRate = 0;    // Hz; 0 when the file could not be read
        QString description;   // its format, as the engine words it
        std::vector<engine::FileMarker> markers;
    };

    explicit PlaybackSession(engine::IEngineFactory &engine, QObject *parent = nullptr);
    ~PlaybackSession() override;

    // The player's start-up settings.
    void prepare();

    State state() const { return m_state; }
    bool isActive() const { return m_state != State::Stopped; }   // playing or paused
    QString playingFile() const { return m_file; }                // the file of the playback

    // Length, rate and format of a file; the reader of a running playback is left alone.
    FileFacts measure(const QString &path);
    // The file whose length the position slider stands for while nothing plays (measured
    // last, or the recording just made).
    void setShownFile(qint64 frames, int sampleRate, std::vector<engine::FileMarker> markers = {});
    // The time at perMille (0..1000) of the shown file, in milliseconds.
    qint64 previewMs(int perMille) const;
    // The markers of the shown file, and where they stand on the slider (0..1000).
    const std::vector<engine::FileMarker> &shownMarkers() const { return m_shownMarkers; }
    QList<int> shownMarkerPlaces() const;
    // Next (+1) or previous (-1) marker of the file played: a running or paused playback goes
    // on from there (the previous one is the one more than a second behind). Its place on the
    // slider (0..1000), or -1 when there is none that way or nothing plays.
    int jumpToMarker(int direction);

    // Play: path from the point perMille (0..1000) of it; a paused playback goes on where
    // its sound stopped instead. Pause, Stop: nothing when nothing plays.
    void play(const QString &path, int perMille);
    void pause();
    void stop();
    // The user takes the position slider (a paused playback ends: Play starts anew from the
    // slider's point) and lets it go at perMille (a running playback goes on from there).
    void holdPosition();
    void releasePosition(int perMille);
    bool positionHeld() const { return m_positionHeld; }

    int volume();                 // 0..100
    void setVolume(int volume);
    // Mute of the output device itself (mixer line 0), which the transport block switches.
    bool muted();
    void setMuted(bool muted);

    // A file on the disk got another name.
    void followRename(const QString &from, const QString &to);
    // Frames of each spectrum snapshot (0 = none).
    void setSnapshotFrames(int frames) { m_snapshotFrames = frames; }

    // The player itself, for the device list, mixer lines and the equalizer.
    engine::IAudioPlayer2 &player() { return *m_player; }

signals:
    void stateChanged(PlaybackSession::State state);
    // Every player tick: the position in milliseconds and per mille of the length (-1 for a
    // file of no length), and the tick's peaks (0..100).
    void tick(qint64 positionMs, int perMille, int levelLeft, int levelRight);
    void snapshotReady(const engine::SampleArray &samples);
    void failed(const QString &text);

private:
    void setState(State state);
    void feed();
    void onTick(qint64 currentSamples, int levelLeft, int levelRight);
    void onDeviceError(const QString &text);
    void start(const QString &path, int perMille);   // throws

    std::unique_ptr<engine::IAudioPlayer2> m_player;
    std::unique_ptr<engine::IAudioFile2> m_reader;     // feeds the player
    std::unique_ptr<engine::IAudioFile2> m_measurer;   // measures while a file plays
    State m_state = State::Stopped;
    QString m_file;
    qint64 m_blockFrames = 0;
    qint64 m_positionOffset = 0;   // frames added to the player's count
    qint64 m_shownFrames = 0;
    int m_shownRate = 0;
    std::vector<engine::FileMarker> m_shownMarkers;
    qint64 m_position = 0;         // frames played, as the last tick said
    bool m_positionHeld = false;
    int m_snapshotFrames = 0;
};
