// The input side of a recording: the recorder, started in the format the recording is
// written in (capture starts before a part's file exists, so the writer need not convert),
// its blocks kept in the capture ring as they come, its ticks placed on the ring's timeline,
// and the end of capture told apart from a stop: a device that goes while capture is being
// stopped is a failure of that stop, one that goes by itself is a lost input.
//
// When the mix keeps its sides apart, each ring frame holds the mix's channels, then the
// microphone's, then the computer sound's: the three stay on one timeline, so whatever cuts
// the ring (a split, a pause, a marker, the seconds before Record) cuts all three alike.
#pragma once

#include "engine/engine.h"
#include "session/recording_settings.h"

#include <QObject>
#include <QString>

class CaptureRing;

class CaptureInput : public QObject {
    Q_OBJECT

public:
    static constexpr int kBlockMs = 200;
    // A writer that stalls this long (a slow stick, a network folder) loses nothing: the ring
    // holds it.
    static constexpr int kWriterStallSeconds = 15;

    CaptureInput(engine::IAudioRecord2 &recorder, CaptureRing &ring, QObject *parent = nullptr);

    // Starts capture in the format of the settings, the ring emptied and made to hold what
    // the settings keep (the seconds before Record, the quiet after a sound) and a writer's
    // stall. Throws std::runtime_error with the reason.
    void start(const RecordingSettings &settings);
    // Starts again after a stop; the ring goes on. Throws.
    void resume();
    // Stops; the last blocks arrive before it returns. The device's failure meanwhile, if any.
    QString stop();
    // While no run is on: the input is kept open (listening) when the settings keep the
    // seconds before Record, and closed otherwise; true when it is open.
    bool listen(const RecordingSettings &settings);
    // Whether what the ring keeps is the same under both settings (the format, the seconds).
    static bool sameRing(const RecordingSettings &a, const RecordingSettings &b);

    bool isRunning() const { return m_running; }
    bool isStopping() const { return m_stopping; }
    qint64 blockFrames() const { return m_blockFrames; }
    // Sides kept beside the mix in each ring frame since the last start: 0 or 2.
    int sideCount() const { return m_sides; }
    // The id of the device capture started on: the one to wait for should it go.
    const QString &deviceId() const { return m_device; }

signals:
    // Capture started anew: the ring was emptied.
    void started();
    // The ring got a block; its frames lie from `from` on.
    void blockArrived(qint64 from);
    // A recorder tick: the ring position capture has reached, and the tick's peaks.
    void ticked(qint64 position, int levelLeft, int levelRight);
    // Capture ended by itself (the device went); every block before came first.
    void lost(const QString &text);

private:
    [[noreturn]] void failStart(const QString &fallback);
    // The block just captured, its sides beside it in each frame.
    engine::SampleArray withSides(const engine::SampleArray &mix) const;

    engine::IAudioRecord2 &m_recorder;
    CaptureRing &m_ring;
    bool m_running = false;
    bool m_stopping = false;
    QString m_stopFailure;
    qint64 m_base = 0;           // the ring position at the recorder's last Start
    qint64 m_blockFrames = 0;
    int m_sides = 0;
    QString m_device;
};
