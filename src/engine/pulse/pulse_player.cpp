#include "engine/pulse/pulse_player.h"

#include "engine/pulse/error_codes.h"
#include "engine/pulse/mixer_scale.h"

#include <QThread>

#include <algorithm>
#include <cstring>

namespace engine {

namespace {
const QString kApplicationName = QStringLiteral("Tavrin Sound Recorder");

// The samples of a block as interleaved floats in `channels` channels: mono is spread to
// every channel, more channels are folded down by taking the nearest one.
std::vector<float> toChannels(const SampleArray &a, int channels)
{
    std::vector<float> in = a.toFloat();
    const int from = a.channels();
    if (from == channels || from <= 0)
        return in;
    const qint64 frames = a.frames();
    std::vector<float> out(size_t(frames * channels));
    for (qint64 i = 0; i < frames; ++i) {
        const float *src = in.data() + i * from;
        float *dst = out.data() + i * channels;
        if (channels == 1 && from >= 2) {
            dst[0] = 0.5f * (src[0] + src[1]);
            continue;
        }
        for (int c = 0; c < channels; ++c)
            dst[c] = src[std::min(c, from - 1)];
    }
    return out;
}
}  // namespace

PulsePlayer::PulsePlayer(QObject *parent)
    : MixerForwarding<IAudioPlayer2>(parent), m_pulse(std::make_unique<pulse::PulseContext>(kApplicationName))
{
    m_own.name = kApplicationName;
    m_mixer = std::make_unique<pulse::MixerSide>(*m_pulse, pulse::DeviceKind::Sink, &m_own);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &PulsePlayer::tick);
    m_ring.reset(m_channels, 1);
}

PulsePlayer::~PulsePlayer()
{
    {
        pulse::PulseContext::Lock lock(*m_pulse);
        releaseStream();
    }
    m_mixer.reset();
    m_pulse.reset();   // stops and joins the loop thread before the QObject goes
}

void PulsePlayer::SetFormat(int valueB, int valueA)
{
    if (valueB < 1 || valueB > dsp::kMaxChannels || valueA < 1000 || valueA > 384000)
        throw EngineError(tr("Unsupported playback format: %1 channels at %2 Hz")
                              .arg(valueB)
                              .arg(valueA));
    m_channels = valueB;
    m_rate = valueA;
    m_own.channels = valueB;
}

qint64 PulsePlayer::CalcArraySize(int milliseconds)
{
    return std::max<qint64>(1, (qint64(milliseconds) * m_rate + 500) / 1000);
}

qint64 PulsePlayer::SamplesToMs(qint64 samples)
{
    return (samples * 1000 + m_rate / 2) / m_rate;
}

void PulsePlayer::Play()
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (m_playing)
        return;
    m_errorCode = pulse::kNoError;
    m_errorText.clear();
    const auto device = m_mixer->currentDeviceName();
    pulse::PulseContext::Lock lock(*m_pulse);
    ++m_generation;
    if (!device) {
        const bool server = m_pulse->isReady();
        m_errorCode = server ? pulse::kNoDevice : pulse::kNoServer;
        m_errorText = server ? tr("The playback device is not available")
                             : m_pulse->errorText();
        return;
    }

    const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE, quint32(m_rate), quint8(m_channels)};
    pa_channel_map map;
    pa_channel_map_init_extend(&map, unsigned(m_channels), PA_CHANNEL_MAP_DEFAULT);
    pulse::ProplistPtr props(pa_proplist_new());
    pa_proplist_sets(props.get(), PA_PROP_MEDIA_ROLE, "music");
    //: The name the desktop's sound settings show for the program's playback stream.
    const QByteArray streamName = tr("Playback").toUtf8();
    pulse::StreamPtr stream(pa_stream_new_with_proplist(m_pulse->context(), streamName.constData(),
                                                        &sampleFormat, &map, props.get()));
    if (!stream) {
        m_errorCode = pulse::kStreamFailed;
        m_errorText = m_pulse->errorText();
        return;
    }

    // Blocks loaded before Play stay queued; everything else starts afresh.
    m_streamChannels = m_channels;
    m_streamRate = m_rate;
    m_equalizer.setFormat(m_rate, m_channels);
    m_ring.reset(m_channels, std::max<qint64>(65536, qint64(m_rate) * 2));
    m_written = 0;
    m_endOfData = false;
    m_draining = false;
    m_requestPending = false;
    m_stopping = false;
    m_streamLive = false;
    m_heard = 0;
    m_tickHeard = 0;
    m_drySince.invalidate();

    pa_stream_set_state_callback(stream.get(), &PulsePlayer::onState, this);
    pa_stream_set_write_callback(stream.get(), &PulsePlayer::onWrite, this);
    pa_buffer_attr attr;
    std::memset(&attr, 0xff, sizeof attr);   // -1: the server's choice
    attr.tlength = quint32(pa_usec_to_bytes(pa_usec_t(kBufferMs) * PA_USEC_PER_MSEC, &sampleFormat));
    const pa_cvolume volume = pulse::makeVolume(map, m_own.volume, m_own.balance);
    const auto flags = pa_stream_flags_t(
        PA_STREAM_DONT_MOVE | PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
        PA_STREAM_AUTO_TIMING_UPDATE | (m_own.mute ? PA_STREAM_START_MUTED : PA_STREAM_START_UNMUTED));
    m_stream = std::move(stream);
    if (pa_stream_connect_playback(m_stream.get(), device->toUtf8().constData(), &attr, flags,
                                   &volume, nullptr) < 0) {
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
        //: %1 the output device, %2 the sound server's reason.
        m_errorText = tr("Cannot play on %1: %2").arg(*device, m_pulse->errorText());
        releaseStream();
        return;
    }
    m_own.streamIndex = pa_stream_get_index(m_stream.get());
    m_playing = true;
    m_timer.start();
    fill();
}

void PulsePlayer::Stop()
{
    Q_ASSERT(QThread::currentThread() == thread());
    m_timer.stop();
    if (m_playing)
        m_mixer->refreshOwnLine();   // keep what another mixer may have set meanwhile
    pulse::PulseContext::Lock lock(*m_pulse);
    ++m_generation;
    if (m_playing)
        heardLocked();
    releaseStream();
    m_queue.clear();
    m_endOfData = false;
    m_requestPending = false;
    m_playing = false;
    m_own.streamIndex = PA_INVALID_INDEX;
}

void PulsePlayer::releaseStream()
{
    if (m_drain) {
        pa_operation_cancel(m_drain.get());
        m_drain.reset();
    }
    m_draining = false;
    if (!m_stream)
        return;
    m_stopping = true;
    pa_stream_set_state_callback(m_stream.get(), nullptr, nullptr);
    pa_stream_set_write_callback(m_stream.get(), nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream.get())))
        pa_stream_disconnect(m_stream.get());
    m_stream.reset();
}

int PulsePlayer::GetErrorCode()
{
    return m_errorCode;
}

void PulsePlayer::LoadArray(const SampleArray &samples)
{
    Q_ASSERT(QThread::currentThread() == thread());
    m_drySince.invalidate();
    pulse::PulseContext::Lock lock(*m_pulse);
    m_requestPending = false;
    if (samples.isEmpty()) {
        m_endOfData = true;
    } else {
        Queued q;
        q.samples = toChannels(samples, m_channels);
        q.frames = qint64(q.samples.size()) / m_channels;
        m_queue.push_back(std::move(q));
        if (m_endOfData) {
            // More data after the end mark: the end was not the end after all.
            m_endOfData = false;
            if (m_drain) {
                pa_operation_cancel(m_drain.get());
                m_drain.reset();
            }
            m_draining = false;
        }
    }
    fill();
}

void PulsePlayer::onWrite(pa_stream *, size_t, void *self)
{
    static_cast<PulsePlayer *>(self)->fill();
}

void PulsePlayer::fill()
{
    if (!m_stream || pa_stream_get_state(m_stream.get()) != PA_STREAM_READY || m_draining)
        return;
    pa_stream *s = m_stream.get();
    const int ch = m_streamChannels;
    const size_t frameBytes = size_t(ch) * sizeof(float);
    size_t writable = pa_stream_writable_size(s);
    while (writable >= frameBytes) {
        if (m_queue.empty()) {
            if (m_endOfData) {
                startDrain();
            } else if (!m_requestPending) {
                m_requestPending = true;
                post(EventKind::Request);
            }
            return;
        }
        Queued &q = m_queue.front();
        size_t bytes = size_t(std::min<qint64>(q.frames - q.offset, qint64(writable / frameBytes))) *
                       frameBytes;
        void *buffer = nullptr;
        if (pa_stream_begin_write(s, &buffer, &bytes) < 0 || !buffer)
            return;
        const qint64 frames = qint64(bytes / frameBytes);
        float *out = static_cast<float *>(buffer);
        std::memcpy(out, q.samples.data() + q.offset * ch, size_t(frames) * frameBytes);
        m_equalizer.process(out, frames);
        m_ring.append(out, frames);
        if (pa_stream_write(s, buffer, size_t(frames) * frameBytes, nullptr, 0,
                            PA_SEEK_RELATIVE) < 0)
            return;
        m_written += frames;
        q.offset += frames;
        writable -= size_t(frames) * frameBytes;
        if (q.offset >= q.frames) {
            m_queue.pop_front();
            post(EventKind::Consumed);
        }
    }
}

void PulsePlayer::startDrain()
{
    if (m_draining)
        return;
    m_draining = true;
    // Start playing even if less than the prebuffer was ever written, then wait for the end.
    pulse::OperationPtr(pa_stream_trigger(m_stream.get(), nullptr, nullptr));
    m_drain.reset(pa_stream_drain(m_stream.get(), &PulsePlayer::onDrained, this));
}

void PulsePlayer::onDrained(pa_stream *, int success, void *self)
{
    auto *p = static_cast<PulsePlayer *>(self);
    if (success && p->m_draining)
        p->post(EventKind::Drained);
}

void PulsePlayer::onState(pa_stream *s, void *self)
{
    auto *p = static_cast<PulsePlayer *>(self);
    p->m_pulse->signal();
    const pa_stream_state_t state = pa_stream_get_state(s);
    if (state == PA_STREAM_READY)
        p->m_streamLive = true;
    if (p->m_stopping || PA_STREAM_IS_GOOD(state) || !p->m_streamLive)
        return;
    p->m_stopping = true;
    //: %1 is the sound server's reason.
    p->post(EventKind::Failed, tr("The playback device is no longer available (%1)")
                                   .arg(p->m_pulse->errorText()));
}

void PulsePlayer::post(EventKind kind, const QString &text)
{
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this, [this, kind, generation, text] { handle(kind, generation, text); },
        Qt::QueuedConnection);
}

void PulsePlayer::handle(EventKind kind, quint64 generation, const QString &text)
{
    if (!m_playing)
        return;
    {
        pulse::PulseContext::Lock lock(*m_pulse);
        if (generation != m_generation)
            return;   // from before the last Play or Stop
        if (kind == EventKind::Request && (!m_queue.empty() || m_endOfData))
            return;   // answered already
    }
    switch (kind) {
    case EventKind::Consumed:
        emit OnEndArrayPlay(this);
        break;
    case EventKind::Request:
        m_drySince.start();
        emit OnRequestOnLoadArray(this);
        break;
    case EventKind::Drained: {
        // The server took the last sample; the device still has its own latency to play.
        qint64 remainingMs = 0;
        {
            pulse::PulseContext::Lock lock(*m_pulse);
            remainingMs = (m_written - heardLocked()) * 1000 / std::max(1, m_streamRate);
        }
        if (remainingMs <= 0) {
            finish();
            break;
        }
        QTimer::singleShot(int(std::min<qint64>(remainingMs, 2000)) + 1, this, [this, generation] {
            if (m_playing && generation == m_generation)
                finish();
        });
        break;
    }
    case EventKind::Failed:
        m_timer.stop();
        {
            pulse::PulseContext::Lock lock(*m_pulse);
            ++m_generation;
            releaseStream();
            m_queue.clear();
        }
        m_playing = false;
        m_own.streamIndex = PA_INVALID_INDEX;
        m_errorCode = pulse::kDeviceLost;
        m_errorText = text;
        emit OnDeviceError(this, text);
        break;
    }
}

void PulsePlayer::finish()
{
    m_timer.stop();
    m_mixer->refreshOwnLine();
    {
        pulse::PulseContext::Lock lock(*m_pulse);
        ++m_generation;
        m_heard = m_written;   // the server has played everything
        releaseStream();
        m_queue.clear();
        m_endOfData = false;
        m_playing = false;
        m_own.streamIndex = PA_INVALID_INDEX;
    }
    emit OnEndPlay(this);
}

qint64 PulsePlayer::heardLocked()
{
    if (!m_stream || !m_streamLive)
        return m_heard;
    pa_usec_t t = 0;
    if (pa_stream_get_time(m_stream.get(), &t) < 0)
        return m_heard;
    const qint64 frames = qint64((t * pa_usec_t(m_streamRate) + PA_USEC_PER_SEC / 2) / PA_USEC_PER_SEC);
    m_heard = std::clamp(frames, m_heard, std::max(m_heard, m_written));
    return m_heard;
}

qint64 PulsePlayer::GetCurrentSamples()
{
    pulse::PulseContext::Lock lock(*m_pulse);
    return heardLocked();
}

SampleArray PulsePlayer::GetSnapshotArray(int count)
{
    if (count <= 0)
        return SampleArray();
    pulse::PulseContext::Lock lock(*m_pulse);
    const qint64 heard = heardLocked();
    const std::vector<float> frames = m_ring.frames(heard, count);
    return SampleArray::fromFloat(frames, m_streamRate, m_ring.channels());
}

void PulsePlayer::tick()
{
    if (!m_playing)
        return;
    if (m_drySince.isValid() && m_drySince.elapsed() >= kDryEndMs) {
        // The caller stopped answering: take the data as ended.
        m_drySince.invalidate();
        pulse::PulseContext::Lock lock(*m_pulse);
        if (m_queue.empty() && !m_endOfData) {
            m_endOfData = true;
            fill();
            if (!m_draining)
                startDrain();
        }
    }
    qint64 heard;
    float left = 0, right = 0;
    {
        pulse::PulseContext::Lock lock(*m_pulse);
        heard = heardLocked();
        m_ring.peaks(m_tickHeard, heard, left, right);
    }
    m_tickHeard = heard;
    emit OnTimer(this, heard, dsp::levelFromPeak(left), dsp::levelFromPeak(right));
}

void PulsePlayer::SetEqualizerEnabled(bool on) { m_equalizer.setEnabled(on); }
void PulsePlayer::SetEqualizerBands(const BandArray &bands) { m_equalizer.setBands(bands); }
int PulsePlayer::GetVolume() { return pulse::knobFromLineVolume(m_mixer->ownVolume()); }
void PulsePlayer::SetVolume(int volume) { m_mixer->setOwnVolume(pulse::lineVolumeFromKnob(volume)); }
void PulsePlayer::SetPlayOption(int) {}   // accepted; playback does not depend on it
void PulsePlayer::SetPlayFlag(bool) {}     // accepted; playback does not depend on it
bool PulsePlayer::GetLineMuteAvailable() { return m_mixer->muteAvailable(); }
bool PulsePlayer::GetLineMute() { return m_mixer->mute(); }
void PulsePlayer::SetLineMute(bool mute) { m_mixer->setMute(mute); }

QString PulsePlayer::GetDeviceId()
{
    return m_mixer->deviceServerName();
}

}  // namespace engine
