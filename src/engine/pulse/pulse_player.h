// PulsePlayer: plays queued blocks on the current output device through PulseAudio.
//
// Blocks loaded with LoadArray (any sample format; other channel counts are mapped to the
// player's, the sample rate is taken to be the player's) queue behind each other; the
// twelve-band equalizer works on them as they are handed to the server, which keeps about
// 100 ms buffered. The stream is bound to its device: if the device or the server goes,
// playback ends with OnDeviceError and GetErrorCode kDeviceLost, and no OnEndPlay.
//
// Events, all on the UI thread:
//   OnEndArrayPlay        one per block handed over completely to the server: time to load
//                         the next one (with two 200 ms blocks ahead it never runs dry).
//   OnRequestOnLoadArray  the queue ran dry before the data ended: load a block, please
//                         (once per dry spell).
//   OnTimer               every 50 ms while playing: frames heard since Play (the server's
//                         clock, not what was written) and the peaks heard in that tick.
//   OnEndPlay             once, after the last sample has been heard, when the data has
//                         ended: an empty LoadArray, or a dry queue whose request was left
//                         unanswered for 2 s. Never after Stop.
//   OnDeviceError         playback ended by itself.
#pragma once

#include "engine/dsp/equalizer.h"
#include "engine/dsp/levels.h"
#include "engine/engine.h"
#include "engine/pulse/mixer_forwarding.h"
#include "engine/pulse/mixer_side.h"
#include "engine/pulse/pulse_context.h"

#include <QElapsedTimer>
#include <QTimer>

#include <deque>
#include <memory>

namespace engine {

class PulsePlayer : public MixerForwarding<IAudioPlayer2> {
    Q_OBJECT
public:
    static constexpr int kTickMs = 50;        // OnTimer period
    static constexpr int kBufferMs = 100;     // what the server keeps buffered
    static constexpr int kDryEndMs = 2000;    // an unanswered request this long ends the data

    explicit PulsePlayer(QObject *parent = nullptr);
    ~PulsePlayer() override;

    void SetFormat(int valueB, int valueA) override;   // channels 1..8, rate 1000..384000 Hz
    qint64 CalcArraySize(int milliseconds) override;
    void Play() override;
    void Stop() override;
    int GetErrorCode() override;                        // pulse::ErrorCode
    void LoadArray(const SampleArray &samples) override;
    qint64 GetCurrentSamples() override;
    qint64 SamplesToMs(qint64 samples) override;
    SampleArray GetSnapshotArray(int count) override;
    void SetEqualizerEnabled(bool on) override;
    void SetEqualizerBands(const BandArray &bands) override;
    int GetVolume() override;                          // 0..100 = line 1's volume
    void SetVolume(int volume) override;
    void SetPlayOption(int option) override;
    void SetPlayFlag(bool on) override;
    bool GetLineMuteAvailable() override;
    bool GetLineMute() override;
    void SetLineMute(bool mute) override;
    QString GetDeviceId() override;   // the current sink's server name

    // The text of the last failure (empty when none).
    QString GetErrorText() override { return m_errorText; }

protected:
    pulse::MixerSide &side() override { return *m_mixer; }

private:
    enum class EventKind { Consumed, Request, Drained, Failed };
    struct Queued {
        std::vector<float> samples;   // interleaved, the player's channels
        qint64 frames = 0;
        qint64 offset = 0;            // frames already handed to the server
    };

    static void onWrite(pa_stream *s, size_t bytes, void *self);
    static void onState(pa_stream *s, void *self);
    static void onDrained(pa_stream *s, int success, void *self);
    void fill();                                       // lock held
    void startDrain();                                 // lock held
    void post(EventKind kind, const QString &text = {});   // lock held
    void handle(EventKind kind, quint64 generation, const QString &text);   // UI thread
    void releaseStream();                              // lock held
    qint64 heardLocked();                              // lock held, UI thread
    void finish();
    void tick();

    std::unique_ptr<pulse::PulseContext> m_pulse;
    pulse::OwnStreamLine m_own;
    std::unique_ptr<pulse::MixerSide> m_mixer;
    dsp::Equalizer m_equalizer;

    int m_channels = 2;
    int m_rate = 44100;

    // Guarded by the loop lock.
    pulse::StreamPtr m_stream;
    pulse::OperationPtr m_drain;
    bool m_stopping = false;
    bool m_streamLive = false;
    int m_streamChannels = 2;
    int m_streamRate = 44100;
    std::deque<Queued> m_queue;
    bool m_endOfData = false;
    bool m_draining = false;
    bool m_requestPending = false;
    qint64 m_written = 0;         // frames handed to the server since Play
    dsp::SampleRing m_ring;       // what was written, by frame position
    quint64 m_generation = 0;     // bumped by Play and Stop: older events are stale

    // UI thread.
    QTimer m_timer;
    bool m_playing = false;
    int m_errorCode = 0;
    QString m_errorText;
    qint64 m_heard = 0;           // frames heard, never going back
    qint64 m_tickHeard = 0;       // where the last tick's levels ended
    QElapsedTimer m_drySince;     // a request is waiting for an answer
};

}  // namespace engine
