// Listening to the input: a low-latency playback stream that plays what the recorder
// captures, fragment by fragment, on one output device.
//
// The recorder writes each capture fragment (about 20 ms) as it arrives. The server keeps
// little buffered (kTargetMs), so the sound comes out a fragment or so after it was
// captured. Fragments come in bursts as the scheduler pleases: playback starts (and after
// running dry, starts again) with kCushionMs of silence ahead of the first fragment, which
// rides out the jitter. The capture device and the output run on different clocks:
// whatever would push the buffer beyond kMaxMs is dropped. The output's own volume applies; nothing else
// changes the level.
//
// Lives on the loop thread: every method is lock held, the handler runs on the loop thread
// and must not destroy this object.
#pragma once

#include "engine/pulse/pulse_context.h"

#include <QString>

#include <functional>
#include <vector>

namespace engine::pulse {

class MonitorStream {
public:
    static constexpr int kTargetMs = 30;   // what the server aims to keep buffered
    static constexpr int kCushionMs = 10;  // silence ahead of the sound at each (re)start
    static constexpr int kMaxMs = 45;      // more than this buffered: the excess is dropped
    static const char *const kStreamName;  // as the desktop's mixer lists it, translated there

    explicit MonitorStream(PulseContext &pulse);
    ~MonitorStream();
    MonitorStream(const MonitorStream &) = delete;
    MonitorStream &operator=(const MonitorStream &) = delete;

    // Starts connecting to the sink of that name (empty: the server's default sink).
    // ended: the stream failed (the sink went away, the server refused it). False when the
    // server refused at once.
    bool open(const QString &sink, int rate, int channels, std::function<void()> ended);
    bool isOpen() const { return m_stream != nullptr && !m_failed; }
    // Frames as captured (interleaved float, the rate and channels of open); null: silence.
    void write(const float *data, qint64 frames);
    // Ends the stream; the handler does not run after it.
    void close();
    // Frames dropped so far because the output fell behind the capture.
    qint64 droppedFrames() const { return m_dropped; }
    // How often the output ran dry (a fragment came too late).
    int underruns() const { return m_underruns; }

private:
    static void onState(pa_stream *s, void *self);
    static void onUnderflow(pa_stream *s, void *self);

    PulseContext &m_pulse;
    StreamPtr m_stream;
    std::function<void()> m_ended;
    int m_rate = 44100;
    int m_channels = 2;
    bool m_failed = false;
    qint64 m_dropped = 0;
    int m_underruns = 0;
    bool m_starting = true;   // the next write starts playback: the cushion goes first
    std::vector<float> m_silence;
};

}  // namespace engine::pulse
