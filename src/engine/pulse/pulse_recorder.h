// PulseRecorder: captures the current device of its list through PulseAudio.
//
// The list (see RecordingDevices) holds the input devices, one entry per application that
// plays now, and "Microphone + computer sound". Capture is float32 at the rate and channel
// count of SetFormat(channels, rate) (the server converts whatever the devices run at), in
// blocks of SetArraySize frames, after the notch, high-pass and low-pass filters.
//
//   An input device: one stream bound to it; when the device or the server goes away,
//     capture ends with OnDeviceError and GetErrorCode kDeviceLost.
//   An application: one stream on the monitor of the sink the application plays on, bound
//     to that application's stream, so only its sound is in it. The server ends such a
//     stream when the application moves to another sink; the recorder then finds it again
//     and follows it at once, on the loop thread, and fills the few milliseconds that took
//     with silence so the blocks keep their time. When the application closes its stream,
//     capture ends with OnDeviceError ("<application> stopped playing").
//   The mix: the server's default source (the microphone) and the default sink's monitor
//     (the computer sound), mixed by a dsp::StreamMixer at the levels of SetMixLevels. The
//     two run on different clocks; the mixer follows the drift. A side whose device stops
//     or vanishes contributes silence and the recording goes on; when the default sink or
//     source changes (headphones plugged in), that side follows it. Capture ends only when
//     neither side can be recorded any more.
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
//   OnDevicesChanged  the device list changed.
//
// Sides (SetSideArrays): the mix can hand out each side beside the sum. The mixer then
// makes frames of three groups of channels, which go through the filters and the block
// queue together, so the three blocks always hold the same frames; the meters and the
// spectrum see the sum alone.
//
// Listening to the input (SetMonitor): while capture runs, each capture fragment, after the
// filters, is also written to a pulse::MonitorStream on the chosen output, so it is heard
// a fragment or two later. With the mix only the microphone side is played (through its
// own copy of the filters): the computer sound is already playing. The monitor stream is
// made when capture starts (or when listening is turned on during capture) and closed when
// capture stops; its failure only ends listening. An input that is the chosen output's own
// monitor, or an application's sound, is refused: it would play back into itself.
#pragma once

#include "engine/dsp/levels.h"
#include "engine/dsp/recording_filters.h"
#include "engine/dsp/stream_mixer.h"
#include "engine/engine.h"
#include "engine/pulse/capture_stream.h"
#include "engine/pulse/mixer_forwarding.h"
#include "engine/pulse/monitor_stream.h"
#include "engine/pulse/pulse_context.h"
#include "engine/pulse/recording_devices.h"

#include <QTimer>

#include <array>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

namespace engine {

class PulseRecorder : public MixerForwarding<IAudioRecord2, pulse::RecordingDevices> {
    Q_OBJECT
public:
    static constexpr int kTickMs = 50;           // OnTimer period
    static constexpr int kFragmentMs = pulse::CaptureStream::kFragmentMs;   // how often the server hands over data
    static constexpr int kJoinFadeMs = 3;        // fade at each Start and Stop: a pause joins without a click
    static constexpr int kFollowAttempts = 5;    // tries to find a moved application or a mix side again

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
    bool SetSideArrays(bool on) override;
    SampleArray GetSideArray(int side) override;
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

    QString GetDeviceId() override;
    bool SetDeviceById(const QString &id) override;
    void SetMixLevels(int microphonePercent, int computerPercent) override;   // 0..100 each
    int GetMicrophoneMixLevel() override;
    int GetComputerMixLevel() override;
    QString SetMonitor(bool on, const QString &outputDeviceId) override;
    bool GetMonitor() override;

    // Our own, for measurements: frames filled with silence since Start so the timeline
    // stays right (server holes, and the time an application's move took), the number of
    // overruns the server signalled, and how often a moved application was followed.
    qint64 lostFrames() const { return m_lost.load(); }
    int overruns() const { return m_overruns.load(); }
    int reconnects() const { return m_reconnects.load(); }
    // How long following the last move took: from the server ending the stream to the new
    // one running (ms).
    double followMs() const { return m_followMs.load(); }
    // The mix: the speed correction of the side that follows the other's clock (0.001 =
    // read 0.1 % faster) and how far apart the two sides stand (ms, smoothed).
    double mixCorrection() const { return m_mixCorrection.load(); }
    double mixOffsetMs() const { return m_mixOffsetMs.load(); }
    // Listening to the input, since it began: frames the output could not take in time
    // (dropped so that the delay stays short), and how often the output ran dry.
    qint64 monitorDroppedFrames();
    int monitorUnderruns();
    // The text of the last failure (empty when none).
    QString GetErrorText() override { return m_errorText; }

protected:
    pulse::RecordingDevices &side() override { return *m_devices; }

private:
    enum class Mode { Device, Application, Mix };
    enum Side { kMicrophone = 0, kComputer = 1 };
    struct Event {
        SampleArray block;   // a block, or (when empty) the end of capture
        QString error;
        std::array<SampleArray, 2> sides;   // the mix's sides, when kept
    };

    void fail(int code, const QString &text);                       // UI thread, Start
    void prepare(Mode mode);                                        // lock held
    bool openStream(int slot, const QString &name, const QString &device, quint32 sinkInput,
                    bool fromLoop);                                 // lock held
    void onData(int slot, const float *data, qint64 frames, qint64 capturedUs);   // loop thread
    void onEnded(int slot, bool running, bool fromLoop);            // loop thread
    // Capture ended, or the server is gone (capture is ended now, said once): nothing to follow.
    bool captureOver();                                             // loop thread
    void followApplication();                                       // loop thread
    void followDefaults();                                          // loop thread
    void onServerEvent(pa_subscription_event_type_t type);          // loop thread
    void endCapture(const QString &text);                           // loop thread or lock held
    void startMix();                                                // lock held, UI thread
    void fadeIn(float *frames, qint64 n);
    void fadeOutTail();
    void consume(const float *data, qint64 frames);   // lock held; null data = silence
    void pushBlock();                                  // lock held
    void push(Event event);                            // any thread
    void releaseStreams();                             // lock held
    bool deliverOne();                                 // UI thread
    // Why listening to the current input on that output is not possible ("" when it is).
    QString monitorRefusal(const QString &outputId);   // UI thread, not lock held
    void openMonitor();                                // lock held, UI thread
    void closeMonitor();                               // lock held
    void listenToMicrophone(const float *data, qint64 frames);   // loop thread, the mix
    void tick();

    std::unique_ptr<pulse::PulseContext> m_pulse;
    pulse::MixLevels m_levels;
    std::unique_ptr<pulse::RecordingDevices> m_devices;
    dsp::RecordingFilters m_filters;
    int m_serverHandler = 0;

    int m_channels = 2;
    int m_rate = 44100;
    qint64 m_blockFrames = 8820;   // guarded by the loop lock while capturing

    // Loop thread (lock held) while capturing.
    Mode m_mode = Mode::Device;
    // [0]: the device, the application, or the mix's microphone; [1]: the mix's computer sound.
    std::array<std::unique_ptr<pulse::CaptureStream>, 2> m_streams;
    bool m_ended = true;          // no capture, or it ended by itself: nothing more is taken
    int m_streamChannels = 2;
    // Channels of a block as filled: the stream's, or three times as many when the mix keeps
    // its sides (the sum, the microphone, the computer sound, frame by frame).
    int m_blockChannels = 2;
    std::vector<float> m_sumScratch;
    int m_streamRate = 44100;
    QByteArray m_fill;
    qint64 m_fillFrames = 0;
    qint64 m_fadeInLeft = 0;      // frames of the fade-in still to apply after Start
    // An application being recorded.
    quint32 m_appStream = PA_INVALID_INDEX;
    QString m_appName;
    qint64 m_appLastUs = 0;       // capture time of the last frame taken
    qint64 m_appEndedUs = 0;      // when the server ended its stream
    bool m_appMoved = false;      // the next frames come after a move: fill the time between
    int m_appAttempts = 0;
    // The mix.
    dsp::StreamMixer m_mixer;
    std::vector<float> m_mixed;
    std::array<int, 2> m_sideAttempts{0, 0};
    bool m_following = false;     // a look-up of the defaults is on its way
    bool m_followAgain = false;   // and the defaults changed meanwhile

    // Shared between the loop thread and the UI thread.
    std::mutex m_mutex;
    std::deque<Event> m_events;
    dsp::SampleRing m_ring;
    float m_peakLeft = 0;
    float m_peakRight = 0;
    std::atomic<qint64> m_captured{0};
    std::atomic<qint64> m_lost{0};
    std::atomic<int> m_overruns{0};
    std::atomic<int> m_reconnects{0};
    std::atomic<double> m_followMs{0};
    std::atomic<double> m_mixCorrection{0};
    std::atomic<double> m_mixOffsetMs{0};
    std::atomic<bool> m_devicesChangePending{false};
    // Listening to the input: on (the UI thread turns it on and off, the loop thread off
    // when the output fails); the stream and the rest are guarded by the loop lock.
    std::atomic<bool> m_monitorOn{false};
    QString m_monitorOutput;            // the output's id as given (empty: the default)
    QString m_monitorOutputSource;      // the monitor of the output being played to
    std::unique_ptr<pulse::MonitorStream> m_monitor;
    dsp::RecordingFilters m_monitorFilters;   // the mix's microphone side alone
    std::vector<float> m_monitorScratch;

    // UI thread.
    QTimer m_timer;
    bool m_capturing = false;
    int m_errorCode = 0;
    QString m_errorText;
    SampleArray m_current;
    std::array<SampleArray, 2> m_currentSides;
    bool m_sidesWanted = false;
    int m_blockNumber = 0;
};

}  // namespace engine
