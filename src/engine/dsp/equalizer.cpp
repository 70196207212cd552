#include "engine/dsp/equalizer.h"

#include <algorithm>
#include <cmath>

namespace engine::dsp {

namespace {
// Gains move every kChunk frames with a 10 ms time constant.
constexpr qint64 kChunk = 32;
constexpr double kGlideSeconds = 0.010;
constexpr double kSnapDb = 0.01;
}  // namespace

double Equalizer::centreFrequency(int band)
{
    return 1000.0 * std::exp2(0.8 * (band - 6));
}

Equalizer::Equalizer()
{
    for (auto &t : m_target)
        t.store(0.0f);
    setFormat(44100, 2);
}

void Equalizer::setFormat(int sampleRate, int channels)
{
    m_sampleRate = std::max(1, sampleRate);
    m_channels = std::clamp(channels, 1, kMaxChannels);
    m_glide = 1.0 - std::exp(-double(kChunk) / (kGlideSeconds * m_sampleRate));
    for (int b = 0; b < kBands; ++b) {
        Band &band = m_bands[size_t(b)];
        band.section.reset();
        band.currentDb = 0;
        band.running = false;
        // A band the format cannot carry stays out rather than piling up below Nyquist.
        band.usable = centreFrequency(b) <= 0.45 * m_sampleRate;
    }
    m_starting = true;
}

void Equalizer::setBands(const std::array<float, kBands> &gainsDb)
{
    for (int b = 0; b < kBands; ++b) {
        float g = gainsDb[size_t(b)];
        if (!(g == g))
            g = 0;
        m_target[size_t(b)].store(std::clamp(g, kMinGainDb, kMaxGainDb));
    }
}

std::array<float, Equalizer::kBands> Equalizer::bands() const
{
    std::array<float, kBands> out{};
    for (int b = 0; b < kBands; ++b)
        out[size_t(b)] = m_target[size_t(b)].load();
    return out;
}

void Equalizer::process(float *data, qint64 frames)
{
    const bool on = m_enabled.load();
    if (m_starting) {
        // Bands set before the sound starts (Play, and the Play of a seek or resume) act
        // in full from the first sample; only changes made while playing glide.
        for (int b = 0; b < kBands; ++b) {
            Band &band = m_bands[size_t(b)];
            const double target = on ? double(m_target[size_t(b)].load()) : 0.0;
            if (!band.usable || target == 0.0)
                continue;
            band.section.reset();
            band.section.setCoefficients(
                designBiquad(FilterShape::Peaking, m_sampleRate, centreFrequency(b), kQ, target));
            band.currentDb = target;
            band.running = true;
        }
        m_starting = false;
    }
    for (qint64 done = 0; done < frames; done += kChunk) {
        const qint64 n = std::min(kChunk, frames - done);
        float *chunk = data + done * m_channels;
        for (int b = 0; b < kBands; ++b) {
            Band &band = m_bands[size_t(b)];
            if (!band.usable)
                continue;
            const double target = on ? double(m_target[size_t(b)].load()) : 0.0;
            if (band.currentDb == target) {
                // A bell at exactly 0 dB passes the input unchanged: skip it.
                if (target == 0.0) {
                    band.running = false;
                    continue;
                }
                band.section.processInterleaved(chunk, n, m_channels);
                continue;
            }
            if (!band.running) {
                // Coming out of 0 dB: fresh state, and the ramp starts from a flat bell.
                band.section.reset();
                band.section.setCoefficients(designBiquad(FilterShape::Peaking, m_sampleRate,
                                                          centreFrequency(b), kQ, 0.0));
                band.running = true;
            }
            band.currentDb += (target - band.currentDb) * m_glide;
            if (std::fabs(target - band.currentDb) < kSnapDb)
                band.currentDb = target;
            band.section.processInterleavedRamp(
                chunk, n, m_channels,
                designBiquad(FilterShape::Peaking, m_sampleRate, centreFrequency(b), kQ,
                             band.currentDb));
        }
    }
    for (Band &band : m_bands)
        band.section.flushDenormals();
}

}  // namespace engine::dsp
