#include "engine/dsp/recording_filters.h"

#include <algorithm>
#include <cmath>

namespace engine::dsp {

namespace {
constexpr qint64 kChunk = 32;
constexpr double kGlideSeconds = 0.010;
constexpr double kFadeSeconds = 0.020;
}  // namespace

RecordingFilters::RecordingFilters()
{
    const FilterShape shapes[3] = {FilterShape::Notch, FilterShape::HighPass,
                                   FilterShape::LowPass};
    for (int i = 0; i < 3; ++i) {
        m_stages[size_t(i)].shape = shapes[i];
        m_stages[size_t(i)].sections = i == Notch ? 1 : 2;
        m_stages[size_t(i)].hz.store(kDefaultHz[i]);
    }
    setFormat(44100, 2);
}

void RecordingFilters::setFormat(int sampleRate, int channels)
{
    m_sampleRate = std::max(1, sampleRate);
    m_channels = std::clamp(channels, 1, kMaxFilterChannels);
    m_glide = 1.0 - std::exp(-double(kChunk) / (kGlideSeconds * m_sampleRate));
    m_mixStep = 1.0 / (kFadeSeconds * m_sampleRate);
    for (Stage &s : m_stages) {
        for (Biquad &b : s.section)
            b.reset();
        s.mix = 0;
        s.running = false;
    }
    m_starting = true;
}

std::array<BiquadCoefficients, 2> RecordingFilters::design(const Stage &s) const
{
    std::array<BiquadCoefficients, 2> c;
    if (s.shape == FilterShape::Notch) {
        c[0] = designBiquad(FilterShape::Notch, m_sampleRate, s.currentHz, kNotchQ);
        return c;
    }
    for (int i = 0; i < 2; ++i)
        c[size_t(i)] = designBiquad(s.shape, m_sampleRate, s.currentHz, kButterworthQ[i]);
    return c;
}

void RecordingFilters::startStage(Stage &s, double mix)
{
    for (Biquad &b : s.section)
        b.reset();
    s.currentHz = clampFrequency(double(s.hz.load()), m_sampleRate);
    s.mix = mix;
    s.running = true;
    const std::array<BiquadCoefficients, 2> c = design(s);
    for (int i = 0; i < s.sections; ++i)
        s.section[size_t(i)].setCoefficients(c[size_t(i)]);
}

void RecordingFilters::process(float *data, qint64 frames)
{
    if (m_starting) {
        // A filter that is already on when the sound starts works at full strength from
        // the first sample: a fade-in here would let the unfiltered sound through at every
        // start, resume and new part. Only changes made while running fade or glide.
        for (Stage &s : m_stages) {
            if (s.enabled.load())
                startStage(s, 1.0);
        }
        m_starting = false;
    }
    for (Stage &s : m_stages) {
        const double targetMix = s.enabled.load() ? 1.0 : 0.0;
        if (!s.running && targetMix == 0.0)
            continue;
        for (qint64 done = 0; done < frames; done += kChunk) {
            const qint64 n = std::min(kChunk, frames - done);
            processStage(s, data + done * m_channels, n, targetMix);
            if (!s.running)
                break;
        }
        for (Biquad &b : s.section)
            b.flushDenormals();
    }
}

void RecordingFilters::processStage(Stage &s, float *data, qint64 frames, double targetMix)
{
    const double targetHz = clampFrequency(double(s.hz.load()), m_sampleRate);
    std::array<BiquadCoefficients, 2> next;
    bool ramp = false;
    if (!s.running) {
        // Switched on while running: start from silence state at the wanted frequency
        // and fade in.
        startStage(s, 0.0);
    } else if (s.currentHz != targetHz) {
        // Glide in log frequency, so a jump of octaves sweeps smoothly.
        const double cur = std::log(s.currentHz), tgt = std::log(targetHz);
        double step = cur + (tgt - cur) * m_glide;
        if (std::fabs(tgt - step) < 1e-4)
            step = tgt;
        s.currentHz = step == tgt ? targetHz : std::exp(step);
        next = design(s);
        ramp = true;
    }

    const int ch = m_channels;
    std::array<BiquadCoefficients, 2> from;
    for (int i = 0; i < s.sections; ++i)
        from[size_t(i)] = s.section[size_t(i)].coefficients();
    for (qint64 i = 0; i < frames; ++i) {
        if (ramp) {
            // Coefficients move to the new design sample by sample across the chunk.
            const double t = double(i + 1) / double(frames);
            for (int k = 0; k < s.sections; ++k)
                s.section[size_t(k)].setCoefficients(
                    interpolate(from[size_t(k)], next[size_t(k)], t));
        }
        if (s.mix < targetMix)
            s.mix = std::min(targetMix, s.mix + m_mixStep);
        else if (s.mix > targetMix)
            s.mix = std::max(targetMix, s.mix - m_mixStep);
        float *frame = data + i * ch;
        for (int c = 0; c < ch; ++c) {
            const double dry = frame[c];
            double wet = s.section[0].process(c, dry);
            if (s.sections > 1)
                wet = s.section[1].process(c, wet);
            frame[c] = float(dry + s.mix * (wet - dry));
        }
    }
    if (s.mix == 0.0 && targetMix == 0.0)
        s.running = false;
}

}  // namespace engine::dsp
