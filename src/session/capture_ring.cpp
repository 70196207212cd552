#include "session/capture_ring.h"

#include <algorithm>
#include <cmath>

void CaptureRing::reset(int rate, int channels, qint64 capacityFrames)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_rate = std::max(1, rate);
    m_channels = std::max(1, channels);
    m_capacity = std::max<qint64>(1, capacityFrames);
    m_samples.assign(size_t(m_capacity * m_channels), 0.0f);
    m_end = 0;
}

qint64 CaptureRing::end() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_end;
}

qint64 CaptureRing::start() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return startLocked();
}

const float *CaptureRing::frameAt(qint64 position) const
{
    return m_samples.data() + (position % m_capacity) * m_channels;
}

void CaptureRing::append(const engine::SampleArray &block)
{
    if (block.isEmpty() || m_capacity == 0)
        return;
    const std::vector<float> in = block.toFloat();
    std::lock_guard<std::mutex> lock(m_lock);
    const int inChannels = std::max(1, block.channels());
    const qint64 frames = qint64(in.size()) / inChannels;
    // Only the newest capacity frames of a long block can stay.
    const qint64 skip = std::max<qint64>(0, frames - m_capacity);
    for (qint64 f = skip; f < frames; ++f) {
        float *out = m_samples.data() + ((m_end + f) % m_capacity) * m_channels;
        for (int c = 0; c < m_channels; ++c)
            out[c] = in[size_t(f * inChannels + std::min(c, inChannels - 1))];
    }
    m_end += frames;
}

engine::SampleArray CaptureRing::slice(qint64 from, qint64 to, qint64 *lost) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (lost)
        *lost = std::max<qint64>(0, std::min(to, startLocked()) - from);
    from = std::max(from, startLocked());
    to = std::min(to, m_end);
    if (to <= from)
        return engine::SampleArray();
    std::vector<float> out(size_t((to - from) * m_channels));
    for (qint64 p = from; p < to; ++p)
        std::copy_n(frameAt(p), m_channels, out.begin() + (p - from) * m_channels);
    return engine::SampleArray::fromFloat(out, m_rate, m_channels);
}

qint64 CaptureRing::firstAbove(qint64 from, float level) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (qint64 p = std::max(from, startLocked()); p < m_end; ++p) {
        const float *frame = frameAt(p);
        for (int c = 0; c < m_channels; ++c)
            if (std::fabs(frame[c]) > level)
                return p;
    }
    return -1;
}

qint64 CaptureRing::lastReaching(qint64 from, float level) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    const qint64 first = std::max(from, startLocked());
    for (qint64 p = m_end - 1; p >= first; --p) {
        const float *frame = frameAt(p);
        for (int c = 0; c < m_channels; ++c)
            if (std::fabs(frame[c]) >= level)
                return p;
    }
    return -1;
}
