#include "engine/pulse/pulse_recorder.h"

#include "engine/pulse/error_codes.h"

#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace engine {

namespace {
constexpr qint64 kRingFrames = 32768;   // enough for the largest snapshot (2 x 4096)
const QString kApplicationName = QStringLiteral("Tavrin Sound Recorder");

qint64 framesFor(int milliseconds, int rate)
{
    return (qint64(milliseconds) * rate + 500) / 1000;
}
}  // namespace

PulseRecorder::PulseRecorder(QObject *parent)
    : MixerForwarding<IAudioRecord2>(parent),
      m_pulse(std::make_unique<pulse::PulseContext>(kApplicationName)),
      m_mixer(std::make_unique<pulse::MixerSide>(*m_pulse, pulse::DeviceKind::Source))
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &PulseRecorder::tick);
    m_ring.reset(m_channels, kRingFrames);
    m_blockFrames = CalcArraySize(200);
}

PulseRecorder::~PulseRecorder()
{
    {
        pulse::PulseContext::Lock lock(*m_pulse);
        releaseStream();
    }
    m_mixer.reset();
    m_pulse.reset();   // stops and joins the loop thread before the QObject goes
}

void PulseRecorder::SetFormat(int valueB, int valueA)
{
    if (valueB < 1 || valueB > dsp::kMaxChannels || valueA < 1000 || valueA > 384000)
        throw EngineError(QStringLiteral("Unsupported recording format: %1 channels at %2 Hz")
                              .arg(valueB)
                              .arg(valueA));
    m_channels = valueB;
    m_rate = valueA;
}

qint64 PulseRecorder::CalcArraySize(int milliseconds)
{
    return std::max<qint64>(1, framesFor(milliseconds, m_rate));
}

void PulseRecorder::SetArraySize(qint64 samples)
{
    pulse::PulseContext::Lock lock(*m_pulse);
    m_blockFrames = samples > 0 ? samples : CalcArraySize(200);
}

void PulseRecorder::SetRecordFlag(bool)
{
    // Accepted; capture does not depend on it.
}

qint64 PulseRecorder::SamplesToMs(qint64 samples)
{
    return (samples * 1000 + m_rate / 2) / m_rate;
}

void PulseRecorder::Start()
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (m_capturing)
        return;
    m_errorCode = pulse::kNoError;
    m_errorText.clear();
    const auto device = m_mixer->currentDeviceName();
    if (!device) {
        pulse::PulseContext::Lock lock(*m_pulse);
        const bool server = m_pulse->isReady();
        m_errorCode = server ? pulse::kNoDevice : pulse::kNoServer;
        m_errorText = server ? QStringLiteral("The recording device is not available")
                             : m_pulse->errorText();
        return;
    }

    pulse::PulseContext::Lock lock(*m_pulse);
    const pa_sample_spec sampleSpec{PA_SAMPLE_FLOAT32NE, quint32(m_rate), quint8(m_channels)};
    pa_channel_map map;
    pa_channel_map_init_extend(&map, unsigned(m_channels), PA_CHANNEL_MAP_DEFAULT);
    pulse::ProplistPtr props(pa_proplist_new());
    pa_proplist_sets(props.get(), PA_PROP_MEDIA_ROLE, "production");
    pulse::StreamPtr stream(
        pa_stream_new_with_proplist(m_pulse->context(), "Recording", &sampleSpec, &map, props.get()));
    if (!stream) {
        m_errorCode = pulse::kStreamFailed;
        m_errorText = m_pulse->errorText();
        return;
    }

    // Everything the read callback touches is ready before the stream can call it.
    m_streamChannels = m_channels;
    m_streamRate = m_rate;
    m_filters.setFormat(m_rate, m_channels);
    m_fill = QByteArray(qsizetype(m_blockFrames * m_channels * qint64(sizeof(float))),
                        Qt::Uninitialized);
    m_fillFrames = 0;
    m_fadeInLeft = qint64(m_rate) * kJoinFadeMs / 1000;
    m_stopping = false;
    m_streamLive = false;
    m_captured = 0;
    m_lost = 0;
    m_overruns = 0;
    {
        std::lock_guard guard(m_mutex);
        m_ring.reset(m_channels, kRingFrames);
        m_peakLeft = m_peakRight = 0;
    }

    pa_stream_set_state_callback(stream.get(), &PulseRecorder::onState, this);
    pa_stream_set_read_callback(stream.get(), &PulseRecorder::onRead, this);
    pa_stream_set_overflow_callback(stream.get(), &PulseRecorder::onOverflow, this);
    pa_buffer_attr attr;
    std::memset(&attr, 0xff, sizeof attr);   // -1: the server's choice
    attr.fragsize = quint32(pa_usec_to_bytes(pa_usec_t(kFragmentMs) * PA_USEC_PER_MSEC, &sampleSpec));
    // Bound to this device: if it goes, the stream fails instead of moving elsewhere.
    const auto flags =
        pa_stream_flags_t(PA_STREAM_DONT_MOVE | PA_STREAM_ADJUST_LATENCY);
    m_stream = std::move(stream);
    if (pa_stream_connect_record(m_stream.get(), device->toUtf8().constData(), &attr, flags) <
        0) {
        m_errorCode = pulse::kStreamFailed;
        m_errorText = m_pulse->errorText();
        releaseStream();
        return;
    }
    m_pulse->waitUntil([this] {
        const pa_stream_state_t s = pa_stream_get_state(m_stream.get());
        return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
    });
    if (pa_stream_get_state(m_stream.get()) != PA_STREAM_READY) {
        m_errorCode = pulse::kStreamFailed;
        m_errorText = QStringLiteral("Cannot record from %1: %2").arg(*device, m_pulse->errorText());
        releaseStream();
        return;
    }
    m_capturing = true;
    m_timer.start();
}

void PulseRecorder::Stop()
{
    Q_ASSERT(QThread::currentThread() == thread());
    m_timer.stop();
    if (m_capturing) {
        m_capturing = false;
        pulse::PulseContext::Lock lock(*m_pulse);
        if (m_stream && pa_stream_get_state(m_stream.get()) == PA_STREAM_READY)
            readAvailable();   // what the server already handed over belongs to this take
        releaseStream();
        if (m_fillFrames > 0) {
            fadeOutTail();
            pushBlock();
        }
    }
    // Blocks captured before Stop reach the caller before Stop returns.
    while (deliverOne()) {
    }
}

void PulseRecorder::releaseStream()
{
    if (!m_stream)
        return;
    m_stopping = true;
    pa_stream_set_state_callback(m_stream.get(), nullptr, nullptr);
    pa_stream_set_read_callback(m_stream.get(), nullptr, nullptr);
    pa_stream_set_overflow_callback(m_stream.get(), nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream.get())))
        pa_stream_disconnect(m_stream.get());
    m_stream.reset();
}

int PulseRecorder::GetErrorCode()
{
    return m_errorCode;
}

SampleArray PulseRecorder::GetArray()
{
    return m_current;
}

SampleArray PulseRecorder::GetSnapshotArray(int count)
{
    if (count <= 0)
        return SampleArray();
    std::lock_guard guard(m_mutex);
    const std::vector<float> frames = m_ring.frames(m_ring.end(), count);
    return SampleArray::fromFloat(frames, m_streamRate, m_ring.channels());
}

void PulseRecorder::onRead(pa_stream *, size_t, void *self)
{
    static_cast<PulseRecorder *>(self)->readAvailable();
}

void PulseRecorder::onOverflow(pa_stream *, void *self)
{
    ++static_cast<PulseRecorder *>(self)->m_overruns;
}

void PulseRecorder::onState(pa_stream *s, void *self)
{
    auto *r = static_cast<PulseRecorder *>(self);
    r->m_pulse->signal();
    const pa_stream_state_t state = pa_stream_get_state(s);
    if (state == PA_STREAM_READY)
        r->m_streamLive = true;
    if (r->m_stopping || PA_STREAM_IS_GOOD(state) || !r->m_streamLive)
        return;   // running, stopped by us, or failed while connecting (Start reports that)
    // The device or the server went away: hand over what was captured, then the end.
    if (r->m_fillFrames > 0)
        r->pushBlock();
    r->m_stopping = true;
    r->push({SampleArray(),
             QStringLiteral("The recording device is no longer available (%1)")
                 .arg(r->m_pulse->errorText())});
}

void PulseRecorder::readAvailable()
{
    if (!m_stream)
        return;
    pa_stream *s = m_stream.get();
    const qint64 frameBytes = qint64(m_streamChannels) * qint64(sizeof(float));
    while (pa_stream_readable_size(s) > 0) {
        const void *data = nullptr;
        size_t bytes = 0;
        if (pa_stream_peek(s, &data, &bytes) < 0 || bytes == 0)
            break;
        const qint64 frames = qint64(bytes) / frameBytes;
        if (!data)
            m_lost += frames;   // a hole: keep the timeline with silence
        consume(static_cast<const float *>(data), frames);
        pa_stream_drop(s);
    }
}

void PulseRecorder::consume(const float *data, qint64 frames)
{
    const int ch = m_streamChannels;
    while (frames > 0) {
        const qint64 block = std::max<qint64>(1, m_blockFrames);
        const qint64 needBytes = block * ch * qint64(sizeof(float));
        if (m_fill.size() < needBytes)
            m_fill.resize(qsizetype(needBytes));
        const qint64 n = std::min(frames, block - m_fillFrames);
        float *dst = reinterpret_cast<float *>(m_fill.data()) + m_fillFrames * ch;
        if (data)
            std::memcpy(dst, data, size_t(n * ch) * sizeof(float));
        else
            std::memset(dst, 0, size_t(n * ch) * sizeof(float));
        m_filters.process(dst, n);
        if (m_fadeInLeft > 0)
            fadeIn(dst, n);
        {
            std::lock_guard guard(m_mutex);
            m_ring.append(dst, n);
            dsp::accumulatePeaks(dst, n, ch, m_peakLeft, m_peakRight);
        }
        m_fillFrames += n;
        m_captured += n;
        if (m_fillFrames >= block)
            pushBlock();
        frames -= n;
        if (data)
            data += n * ch;
    }
}

// The sound on either side of a pause never lines up; a few milliseconds of fade at each
// end of a take keep the join from clicking.
void PulseRecorder::fadeIn(float *frames, qint64 n)
{
    const qint64 total = std::max<qint64>(1, qint64(m_streamRate) * kJoinFadeMs / 1000);
    const int ch = m_streamChannels;
    for (qint64 i = 0; i < n && m_fadeInLeft > 0; ++i, --m_fadeInLeft) {
        const double x = double(total - m_fadeInLeft) / double(total);
        const float g = float(0.5 - 0.5 * std::cos(M_PI * x));
        for (int c = 0; c < ch; ++c)
            frames[i * ch + c] *= g;
    }
}

void PulseRecorder::fadeOutTail()
{
    const qint64 total = std::min<qint64>(m_fillFrames,
                                          std::max<qint64>(1, qint64(m_streamRate) * kJoinFadeMs / 1000));
    const int ch = m_streamChannels;
    float *frames = reinterpret_cast<float *>(m_fill.data()) + (m_fillFrames - total) * ch;
    for (qint64 i = 0; i < total; ++i) {
        const double x = double(i + 1) / double(total);
        const float g = float(0.5 + 0.5 * std::cos(M_PI * x));
        for (int c = 0; c < ch; ++c)
            frames[i * ch + c] *= g;
    }
}

void PulseRecorder::pushBlock()
{
    QByteArray bytes = std::move(m_fill);
    bytes.resize(qsizetype(m_fillFrames * m_streamChannels * qint64(sizeof(float))));
    push({SampleArray(SampleFormat::Float32, m_streamRate, m_streamChannels, std::move(bytes)),
          {}});
    m_fill = QByteArray(qsizetype(std::max<qint64>(1, m_blockFrames) * m_streamChannels *
                                  qint64(sizeof(float))),
                        Qt::Uninitialized);
    m_fillFrames = 0;
}

void PulseRecorder::push(Event event)
{
    {
        std::lock_guard guard(m_mutex);
        m_events.push_back(std::move(event));
    }
    // One delivery per event; a delivery that finds the queue empty (Stop got there first)
    // does nothing.
    QMetaObject::invokeMethod(this, [this] { deliverOne(); }, Qt::QueuedConnection);
}

bool PulseRecorder::deliverOne()
{
    Event event;
    {
        std::lock_guard guard(m_mutex);
        if (m_events.empty())
            return false;
        event = std::move(m_events.front());
        m_events.pop_front();
    }
    if (!event.block.isEmpty()) {
        m_current = event.block;
        emit OnEndArrayRecord(this, ++m_blockNumber);
        return true;
    }
    // The end of a capture that failed.
    m_timer.stop();
    m_capturing = false;
    {
        pulse::PulseContext::Lock lock(*m_pulse);
        releaseStream();
    }
    m_errorCode = pulse::kDeviceLost;
    m_errorText = event.error;
    emit OnDeviceError(this, event.error);
    return true;
}

void PulseRecorder::tick()
{
    if (!m_capturing)
        return;
    float left, right;
    {
        std::lock_guard guard(m_mutex);
        left = m_peakLeft;
        right = m_peakRight;
        m_peakLeft = m_peakRight = 0;
    }
    emit OnTimer(this, m_captured.load(), dsp::levelFromPeak(left), dsp::levelFromPeak(right));
}

bool PulseRecorder::GetNotchEnabled() { return m_filters.enabled(dsp::RecordingFilters::Notch); }
void PulseRecorder::SetNotchEnabled(bool on) { m_filters.setEnabled(dsp::RecordingFilters::Notch, on); }
float PulseRecorder::GetNotchFrequency() { return m_filters.frequency(dsp::RecordingFilters::Notch); }
void PulseRecorder::SetNotchFrequency(float hz) { m_filters.setFrequency(dsp::RecordingFilters::Notch, hz); }
bool PulseRecorder::GetHighPassEnabled() { return m_filters.enabled(dsp::RecordingFilters::HighPass); }
void PulseRecorder::SetHighPassEnabled(bool on) { m_filters.setEnabled(dsp::RecordingFilters::HighPass, on); }
float PulseRecorder::GetHighPassFrequency() { return m_filters.frequency(dsp::RecordingFilters::HighPass); }
void PulseRecorder::SetHighPassFrequency(float hz) { m_filters.setFrequency(dsp::RecordingFilters::HighPass, hz); }
bool PulseRecorder::GetLowPassEnabled() { return m_filters.enabled(dsp::RecordingFilters::LowPass); }
void PulseRecorder::SetLowPassEnabled(bool on) { m_filters.setEnabled(dsp::RecordingFilters::LowPass, on); }
float PulseRecorder::GetLowPassFrequency() { return m_filters.frequency(dsp::RecordingFilters::LowPass); }
void PulseRecorder::SetLowPassFrequency(float hz) { m_filters.setFrequency(dsp::RecordingFilters::LowPass, hz); }

bool PulseRecorder::GetLineSelectAvailable() { return m_mixer->selectAvailable(); }
bool PulseRecorder::GetLineSelected() { return m_mixer->selected(); }
void PulseRecorder::SetLineSelected(bool selected) { m_mixer->setSelected(selected); }

}  // namespace engine
