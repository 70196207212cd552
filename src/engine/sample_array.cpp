#include "engine/engine.h"

#include <cstring>

namespace engine {

SampleArray::SampleArray(SampleFormat format, int sampleRate, int channels, QByteArray data)
    : m_format(format), m_sampleRate(sampleRate), m_channels(channels), m_data(std::move(data))
{
}

SampleArray SampleArray::fromFloat(const float *interleaved, qint64 frames, int sampleRate,
                                   int channels)
{
    if (frames <= 0 || channels <= 0)
        return SampleArray(SampleFormat::Float32, sampleRate, channels, {});
    QByteArray bytes(reinterpret_cast<const char *>(interleaved),
                     qsizetype(frames * channels * qint64(sizeof(float))));
    return SampleArray(SampleFormat::Float32, sampleRate, channels, std::move(bytes));
}

SampleArray SampleArray::fromFloat(const std::vector<float> &interleaved, int sampleRate,
                                   int channels)
{
    const qint64 frames = channels > 0 ? qint64(interleaved.size()) / channels : 0;
    return fromFloat(interleaved.data(), frames, sampleRate, channels);
}

SampleArray SampleArray::fromInt16(const qint16 *interleaved, qint64 frames, int sampleRate,
                                   int channels)
{
    if (frames <= 0 || channels <= 0)
        return SampleArray(SampleFormat::Int16, sampleRate, channels, {});
    QByteArray bytes(reinterpret_cast<const char *>(interleaved),
                     qsizetype(frames * channels * qint64(sizeof(qint16))));
    return SampleArray(SampleFormat::Int16, sampleRate, channels, std::move(bytes));
}

qint64 SampleArray::frames() const
{
    if (m_channels <= 0)
        return 0;
    return qint64(m_data.size()) / (qint64(m_channels) * bytesPerSample());
}

const float *SampleArray::floatData() const
{
    return m_format == SampleFormat::Float32 ? reinterpret_cast<const float *>(m_data.constData())
                                             : nullptr;
}

const qint16 *SampleArray::int16Data() const
{
    return m_format == SampleFormat::Int16 ? reinterpret_cast<const qint16 *>(m_data.constData())
                                           : nullptr;
}

std::vector<float> SampleArray::toFloat() const
{
    const qint64 n = frames() * m_channels;
    std::vector<float> out(size_t(std::max<qint64>(n, 0)));
    if (n <= 0)
        return out;
    if (m_format == SampleFormat::Float32) {
        std::memcpy(out.data(), m_data.constData(), size_t(n) * sizeof(float));
    } else {
        const qint16 *in = int16Data();
        for (qint64 i = 0; i < n; ++i)
            out[size_t(i)] = float(in[i]) / 32768.0f;
    }
    return out;
}

SampleArray SampleArray::toFloatArray() const
{
    if (m_format == SampleFormat::Float32)
        return *this;
    const std::vector<float> f = toFloat();
    return fromFloat(f.data(), frames(), m_sampleRate, m_channels);
}

}  // namespace engine
