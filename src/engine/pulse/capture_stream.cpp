#include "engine/pulse/capture_stream.h"

#include <chrono>
#include <cstring>

namespace engine::pulse {

CaptureStream::CaptureStream(PulseContext &pulse) : m_pulse(pulse) {}

CaptureStream::~CaptureStream()
{
    close();
}

qint64 CaptureStream::nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool CaptureStream::open(const QString &streamName, const QString &device, int rate, int channels,
                         quint32 sinkInput, Handlers handlers)
{
    close();
    m_handlers = std::move(handlers);
    m_device = device;
    m_rate = rate;
    m_channels = channels;
    m_running = false;
    m_ended = false;
    if (!m_pulse.isReady())
        return false;
    const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE, quint32(rate), quint8(channels)};
    pa_channel_map map;
    pa_channel_map_init_extend(&map, unsigned(channels), PA_CHANNEL_MAP_DEFAULT);
    ProplistPtr props(pa_proplist_new());
    pa_proplist_sets(props.get(), PA_PROP_MEDIA_ROLE, "production");
    StreamPtr stream(pa_stream_new_with_proplist(m_pulse.context(), streamName.toUtf8().constData(),
                                                 &sampleFormat, &map, props.get()));
    if (!stream)
        return false;
    if (sinkInput != PA_INVALID_INDEX && pa_stream_set_monitor_stream(stream.get(), sinkInput) < 0)
        return false;
    pa_stream_set_state_callback(stream.get(), &CaptureStream::onState, this);
    pa_stream_set_read_callback(stream.get(), &CaptureStream::onRead, this);
    pa_stream_set_overflow_callback(stream.get(), &CaptureStream::onOverflow, this);
    pa_buffer_attr attr;
    std::memset(&attr, 0xff, sizeof attr);   // -1: the server's choice
    attr.fragsize = quint32(pa_usec_to_bytes(pa_usec_t(kFragmentMs) * PA_USEC_PER_MSEC, &sampleFormat));
    // Bound to this device: if it goes, the stream fails instead of moving elsewhere.
    const auto flags = pa_stream_flags_t(PA_STREAM_DONT_MOVE | PA_STREAM_ADJUST_LATENCY);
    m_stream = std::move(stream);
    if (pa_stream_connect_record(m_stream.get(), device.toUtf8().constData(), &attr, flags) < 0) {
        close();
        return false;
    }
    return true;
}

bool CaptureStream::waitReady()
{
    if (!m_stream)
        return false;
    m_pulse.waitUntil([this] {
        const pa_stream_state_t s = pa_stream_get_state(m_stream.get());
        return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
    });
    return isReady();
}

bool CaptureStream::isReady() const
{
    return m_stream && !m_ended && pa_stream_get_state(m_stream.get()) == PA_STREAM_READY;
}

QString CaptureStream::errorText() const
{
    return m_pulse.errorText();
}

void CaptureStream::close()
{
    if (!m_stream)
        return;
    m_ended = true;
    pa_stream_set_state_callback(m_stream.get(), nullptr, nullptr);
    pa_stream_set_read_callback(m_stream.get(), nullptr, nullptr);
    pa_stream_set_overflow_callback(m_stream.get(), nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream.get())))
        pa_stream_disconnect(m_stream.get());
    m_stream.reset();
}

void CaptureStream::onRead(pa_stream *, size_t, void *self)
{
    static_cast<CaptureStream *>(self)->readAvailable();
}

void CaptureStream::onOverflow(pa_stream *, void *self)
{
    auto *c = static_cast<CaptureStream *>(self);
    if (c->m_handlers.overflow)
        c->m_handlers.overflow();
}

void CaptureStream::onState(pa_stream *s, void *self)
{
    auto *c = static_cast<CaptureStream *>(self);
    c->m_pulse.signal();
    const pa_stream_state_t state = pa_stream_get_state(s);
    if (state == PA_STREAM_READY && !c->m_running) {
        c->m_running = true;
        if (c->m_handlers.ready)
            c->m_handlers.ready();
        return;
    }
    if (c->m_ended || PA_STREAM_IS_GOOD(state))
        return;
    c->m_ended = true;
    // Last: the handler may replace this stream's owner state.
    if (c->m_handlers.ended)
        c->m_handlers.ended(c->m_running);
}

void CaptureStream::readAvailable()
{
    if (!m_stream || m_ended)
        return;
    pa_stream *s = m_stream.get();
    const qint64 frameBytes = qint64(m_channels) * qint64(sizeof(float));
    // What is readable now was captured up to about now; each piece ends that much
    // earlier as more follows it.
    const qint64 now = nowUs();
    size_t readable = pa_stream_readable_size(s);
    while (readable > 0 && readable != size_t(-1)) {
        const void *data = nullptr;
        size_t bytes = 0;
        if (pa_stream_peek(s, &data, &bytes) < 0 || bytes == 0)
            break;
        readable = bytes <= readable ? readable - bytes : 0;
        const qint64 frames = qint64(bytes) / frameBytes;
        const qint64 after = qint64(readable) / frameBytes;
        const qint64 captured = now - after * 1000000 / m_rate;
        if (frames > 0 && m_handlers.data)
            m_handlers.data(static_cast<const float *>(data), frames, captured);
        if (!m_stream)
            break;   // closed meanwhile
        pa_stream_drop(s);
        if (readable == 0)
            readable = pa_stream_readable_size(s);
    }
}

}  // namespace engine::pulse
