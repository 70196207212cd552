#include "engine/dsp/levels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace engine::dsp {

int levelFromPeak(float peak)
{
    if (!(peak > 0))
        return 0;
    const double db = 20.0 * std::log10(double(peak));
    return std::clamp(int(std::lround((db + 60.0) * 100.0 / 60.0)), 0, 100);
}

void accumulatePeaks(const float *interleaved, qint64 frames, int channels, float &left,
                     float &right)
{
    if (channels <= 0)
        return;
    float l = left, r = right;
    if (channels == 1) {
        for (qint64 i = 0; i < frames; ++i)
            l = std::max(l, std::fabs(interleaved[i]));
        r = std::max(r, l);
    } else {
        for (qint64 i = 0; i < frames; ++i) {
            const float *f = interleaved + i * channels;
            l = std::max(l, std::fabs(f[0]));
            r = std::max(r, std::fabs(f[1]));
        }
    }
    left = l;
    right = r;
}

void SampleRing::reset(int channels, qint64 capacityFrames)
{
    m_channels = std::max(1, channels);
    m_capacity = std::max<qint64>(1, capacityFrames);
    m_data.assign(size_t(m_capacity * m_channels), 0.0f);
    m_end = 0;
}

void SampleRing::append(const float *interleaved, qint64 frames)
{
    if (frames <= 0 || m_data.empty())
        return;
    if (frames > m_capacity) {
        interleaved += (frames - m_capacity) * m_channels;
        m_end += frames - m_capacity;
        frames = m_capacity;
    }
    qint64 pos = m_end % m_capacity;
    qint64 left = frames;
    while (left > 0) {
        const qint64 n = std::min(left, m_capacity - pos);
        std::memcpy(m_data.data() + pos * m_channels, interleaved,
                    size_t(n * m_channels) * sizeof(float));
        interleaved += n * m_channels;
        left -= n;
        pos = 0;
    }
    m_end += frames;
}

std::vector<float> SampleRing::frames(qint64 endPosition, qint64 count) const
{
    std::vector<float> out(size_t(std::max<qint64>(count, 0) * m_channels), 0.0f);
    if (count <= 0 || m_data.empty())
        return out;
    endPosition = std::min(endPosition, m_end);
    const qint64 oldest = std::max<qint64>(0, m_end - m_capacity);
    const qint64 from = std::max(endPosition - count, oldest);
    for (qint64 p = from; p < endPosition; ++p) {
        const qint64 slot = p % m_capacity;
        const qint64 dst = count - (endPosition - p);
        std::memcpy(out.data() + dst * m_channels, m_data.data() + slot * m_channels,
                    size_t(m_channels) * sizeof(float));
    }
    return out;
}

void SampleRing::peaks(qint64 from, qint64 to, float &left, float &right) const
{
    if (m_data.empty())
        return;
    from = std::max({from, qint64(0), m_end - m_capacity});
    to = std::min(to, m_end);
    while (from < to) {
        const qint64 slot = from % m_capacity;
        const qint64 n = std::min(to - from, m_capacity - slot);
        accumulatePeaks(m_data.data() + slot * m_channels, n, m_channels, left, right);
        from += n;
    }
}

}  // namespace engine::dsp
