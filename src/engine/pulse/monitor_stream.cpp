#include "engine/pulse/monitor_stream.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace engine::pulse {

//: The name the desktop's sound settings show for the stream that plays the input back.
const char *const MonitorStream::kStreamName = QT_TRANSLATE_NOOP("MonitorStream", "Listening to the input");

MonitorStream::MonitorStream(PulseContext &pulse) : m_pulse(pulse) {}

MonitorStream::~MonitorStream()
{
    close();
}

bool MonitorStream::open(const QString &sink, int rate, int channels, std::function<void()> ended)
{
    close();
    m_ended = std::move(ended);
    m_rate = rate;
    m_channels = channels;
    m_failed = false;
    m_dropped = 0;
    m_underruns = 0;
    m_starting = true;
    if (!m_pulse.isReady())
        return false;
    const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE, quint32(rate), quint8(channels)};
    pa_channel_map map;
    pa_channel_map_init_extend(&map, unsigned(channels), PA_CHANNEL_MAP_DEFAULT);
    const QByteArray name = QCoreApplication::translate("MonitorStream", kStreamName).toUtf8();
    ProplistPtr props(pa_proplist_new());
    pa_proplist_sets(props.get(), PA_PROP_MEDIA_NAME, name.constData());
    pa_proplist_sets(props.get(), PA_PROP_MEDIA_ROLE, "production");
    StreamPtr stream(pa_stream_new_with_proplist(m_pulse.context(), name.constData(),
                                                 &sampleFormat, &map, props.get()));
    if (!stream)
        return false;
    pa_stream_set_state_callback(stream.get(), &MonitorStream::onState, this);
    pa_stream_set_underflow_callback(stream.get(), &MonitorStream::onUnderflow, this);
    const auto bytes = [&sampleFormat](int ms) {
        return quint32(pa_usec_to_bytes(pa_usec_t(ms) * PA_USEC_PER_MSEC, &sampleFormat));
    };
    pa_buffer_attr attr;
    std::memset(&attr, 0xff, sizeof attr);
    attr.tlength = bytes(kTargetMs);
    attr.prebuf = bytes(kCushionMs);
    attr.minreq = bytes(5);
    attr.maxlength = bytes(kMaxMs * 4);
    auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_UNMUTED);
    if (!sink.isEmpty())
        flags = pa_stream_flags_t(flags | PA_STREAM_DONT_MOVE);   // bound to that output
    m_stream = std::move(stream);
    if (pa_stream_connect_playback(m_stream.get(), sink.isEmpty() ? nullptr : sink.toUtf8().constData(),
                                   &attr, flags, nullptr, nullptr) < 0) {
        close();
        return false;
    }
    return true;
}

void MonitorStream::write(const float *data, qint64 frames)
{
    if (!m_stream || m_failed || frames <= 0 ||
        pa_stream_get_state(m_stream.get()) != PA_STREAM_READY)
        return;   // still connecting: those frames would only add delay
    pa_stream *s = m_stream.get();
    const qint64 frameBytes = qint64(m_channels) * qint64(sizeof(float));
    // The server asks for what keeps kTargetMs buffered; up to kMaxMs is let through, so
    // the jitter of the capture fragments does not lose sound.
    const size_t writable = pa_stream_writable_size(s);
    if (writable == size_t(-1))
        return;
    const qint64 room = qint64(writable) / frameBytes + qint64(m_rate) * (kMaxMs - kTargetMs) / 1000;
    const qint64 n = std::min(frames, room);
    m_dropped += frames - n;
    if (n <= 0)
        return;
    const size_t size = size_t(n * frameBytes);
    if (std::exchange(m_starting, false)) {
        m_silence.assign(size_t(qint64(m_rate) * kCushionMs / 1000 * m_channels), 0.0f);
        pa_stream_write(s, m_silence.data(), m_silence.size() * sizeof(float), nullptr, 0,
                        PA_SEEK_RELATIVE);
    }
    if (data) {
        // The older frames are dropped: the newest are what is heard now.
        pa_stream_write(s, data + (frames - n) * m_channels, size, nullptr, 0, PA_SEEK_RELATIVE);
    } else {
        m_silence.assign(size_t(n * m_channels), 0.0f);
        pa_stream_write(s, m_silence.data(), size, nullptr, 0, PA_SEEK_RELATIVE);
    }
}

void MonitorStream::close()
{
    if (!m_stream)
        return;
    m_failed = true;
    pa_stream_set_state_callback(m_stream.get(), nullptr, nullptr);
    pa_stream_set_underflow_callback(m_stream.get(), nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream.get())))
        pa_stream_disconnect(m_stream.get());
    m_stream.reset();
}

void MonitorStream::onUnderflow(pa_stream *, void *self)
{
    auto *m = static_cast<MonitorStream *>(self);
    ++m->m_underruns;
    m->m_starting = true;
}

void MonitorStream::onState(pa_stream *s, void *self)
{
    auto *m = static_cast<MonitorStream *>(self);
    m->m_pulse.signal();
    if (m->m_failed || PA_STREAM_IS_GOOD(pa_stream_get_state(s)))
        return;
    m->m_failed = true;
    if (m->m_ended)
        m->m_ended();
}

}  // namespace engine::pulse
