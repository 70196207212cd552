// PulseRecorder: captures the current input device through PulseAudio.
//
// Capture is float32 at the rate and channel count of SetFormat(channels, rate), in blocks
// of SetArraySize frames, after the notch, high-pass and low-pass filters. The stream is
// bound to its device (it never follows the server to another one): when the device or
// the server goes away, capture ends with OnDeviceError and GetErrorCode kDeviceLost.
//
// Events, all on the UI thread:
//   OnEndArrayRecord  one per filled block; GetArray inside it returns that block. Blocks
//                     wait in a queue while the UI is busy and are never dropped. Stop and a
//                     device loss deliver the last, partly filled block as a shorter block
//                     (Stop delivers every queued block before it returns), so the blocks
//                     always add up to exactly the frames captured.
//   OnTimer           every 50 ms while capturing: frames captured since Start, and the
//                     left/right peak of that tick on the 0..100 meter scale.
//   OnDeviceError     capture ended by itself; every block before it was delivered first.
#pragma once

#include "engine/dsp/levels.h"
#include "engine/dsp/recording_filters.h"
#include "engine/engine.h"
#include "engine/pulse/mixer_forwarding.h"
#include "engine/pulse/mixer_side.h"
#include "engine/pulse/pulse_context.h"

#include <QTimer>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

namespace engine {

class PulseRecorder : public MixerForwarding<IAudioRecord2> {
    Q_OBJECT
public:
    static constexpr int kTickMs = 50;           // OnTimer period
    static constexpr int kFragmentMs = 20;       // how often the server hands over data
    static constexpr int kJoinFadeMs = 3;        // fade at each Start and Stop: a pause joins without a click

    explicit PulseRecorder(QObject *parent = nullptr);
    ~PulseRecorder() override;

    void SetFormat(int valueB, int valueA) override;   // channels 1..8, rate 1000..384000 Hz
    qint64 CalcArraySize(int milliseconds) override;
    void SetArraySize(qint64 samples) override;
    void SetRecordFlag(bool on) override;
    void Start() override;
    void Stop() override;
    int GetErrorCode() override;                        // pulse::ErrorCode
    SampleArray GetArray() override;
    qint64 SamplesToMs(qint64 samples) override;
    SampleArray GetSnapshotArray(int count) override;

    bool GetNotchEnabled() override;
    void SetNotchEnabled(bool on) override;
    float GetNotchFrequency() override;
    void SetNotchFrequency(float hz) override;
    bool GetHighPassEnabled() override;
    void SetHighPassEnabled(bool on) override;
    float GetHighPassFrequency() override;
    void SetHighPassFrequency(float hz) override;
    bool GetLowPassEnabled() override;
    void SetLowPassEnabled(bool on) override;
    float GetLowPassFrequency() override;
    void SetLowPassFrequency(float hz) override;

    bool GetLineSelectAvailable() override;
    bool GetLineSelected() override;
    void SetLineSelected(bool selected) override;


    // Our own, for measurements: frames the server reported as lost since Start (filled
    // with silence so the timeline stays right) and the number of overruns it signalled.
    qint64 lostFrames() const { return m_lost.load(); }
    int overruns() const { return m_overruns.load(); }
    // The text of the last failure (empty when none).
    QString GetErrorText() override { return m_errorText; }

protected:
    pulse::MixerSide &side() override { return *m_mixer; }

private:
    void fadeIn(float *frames, qint64 n);
    void fadeOutTail();
    struct Event {
        SampleArray block;   // a block, or (when empty) the end of capture
        QString error;
    };

    static void onRead(pa_stream *s, size_t bytes, void *self);
    static void onState(pa_stream *s, void *self);
    static void onOverflow(pa_stream *s, void *self);
    void readAvailable();                              // lock held
    void consume(const float *data, qint64 frames);   // lock held; null data = silence
    void pushBlock();                                  // lock held
    void push(Event event);                            // any thread
    void releaseStream();                              // lock held
    bool deliverOne();                                 // UI thread
    void tick();

    std::unique_ptr<pulse::PulseContext> m_pulse;
    std::unique_ptr<pulse::MixerSide> m_mixer;
    dsp::RecordingFilters m_filters;

    int m_channels = 2;
    int m_rate = 44100;
    qint64 m_blockFrames = 8820;   // guarded by the loop lock while capturing

    // Loop thread (lock held) while a stream exists.
    pulse::StreamPtr m_stream;
    bool m_stopping = false;     // we end the stream: its state changes are no failure
    bool m_streamLive = false;   // reached READY once
    int m_streamChannels = 2;
    int m_streamRate = 44100;
    QByteArray m_fill;
    qint64 m_fillFrames = 0;
    qint64 m_fadeInLeft = 0;   // frames of the fade-in still to apply after Start

    // Shared between the loop thread and the UI thread.
    std::mutex m_mutex;
    std::deque<Event> m_events;
    dsp::SampleRing m_ring;
    float m_peakLeft = 0;
    float m_peakRight = 0;
    std::atomic<qint64> m_captured{0};
    std::atomic<qint64> m_lost{0};
    std::atomic<int> m_overruns{0};

    // UI thread.
    QTimer m_timer;
    bool m_capturing = false;
    int m_errorCode = 0;
    QString m_errorText;
    SampleArray m_current;
    int m_blockNumber = 0;
};

}  // namespace engine
