// One record stream of the recorder: float32 at the recorder's rate and channels, bound to
// one source (the server never moves it elsewhere; if the source goes, the stream ends).
// Bound to a sink input as well, it carries only that application's sound, taken from the
// monitor of the sink the application plays on.
//
// Lives on the loop thread: every method is lock held, the handlers run on the loop thread.
// A handler may start queries or open other streams, but must not destroy this object.
#pragma once

#include "engine/pulse/pulse_context.h"

#include <QString>

#include <functional>

namespace engine::pulse {

class CaptureStream {
public:
    static constexpr int kFragmentMs = 20;   // how often the server hands over data

    struct Handlers {
        // Frames as they come; null data: frames the server lost (silence keeps their time).
        // capturedUs: when the last of them was captured (nowUs()'s clock).
        std::function<void(const float *data, qint64 frames, qint64 capturedUs)> data;
        // The stream ended without close(); running: it had delivered (reached READY).
        std::function<void(bool running)> ended;
        std::function<void()> overflow;
        std::function<void()> ready;   // the stream runs (reached READY)
    };

    explicit CaptureStream(PulseContext &pulse);
    ~CaptureStream();
    CaptureStream(const CaptureStream &) = delete;
    CaptureStream &operator=(const CaptureStream &) = delete;

    // Starts connecting to `device` (a source's name). sinkInput: only that application's
    // sound (device must be the monitor of its sink); PA_INVALID_INDEX for all of it.
    // False when the server refused at once (errorText() tells why).
    bool open(const QString &streamName, const QString &device, int rate, int channels,
              quint32 sinkInput, Handlers handlers);
    // Waits until the stream runs or fails (not on the loop thread); true when it runs.
    bool waitReady();
    bool isReady() const;
    bool isOpen() const { return m_stream != nullptr && !m_ended; }
    // Hands over everything the server has delivered.
    void readAvailable();
    // Ends the stream; no handler runs after it.
    void close();
    const QString &device() const { return m_device; }
    QString errorText() const;

    // The clock of capturedUs: monotonic, microseconds.
    static qint64 nowUs();

private:
    static void onRead(pa_stream *s, size_t bytes, void *self);
    static void onState(pa_stream *s, void *self);
    static void onOverflow(pa_stream *s, void *self);

    PulseContext &m_pulse;
    StreamPtr m_stream;
    Handlers m_handlers;
    QString m_device;
    int m_rate = 44100;
    int m_channels = 2;
    bool m_running = false;   // reached READY
    bool m_ended = false;     // failed, or closed by us
};

}  // namespace engine::pulse
