#include "engine/dsp/biquad.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace engine::dsp {

BiquadCoefficients interpolate(const BiquadCoefficients &a, const BiquadCoefficients &b,
                               double t)
{
    BiquadCoefficients c;
    c.a1 = a.a1 + (b.a1 - a.a1) * t;
    c.a2 = a.a2 + (b.a2 - a.a2) * t;
    c.a3 = a.a3 + (b.a3 - a.a3) * t;
    c.m0 = a.m0 + (b.m0 - a.m0) * t;
    c.m1 = a.m1 + (b.m1 - a.m1) * t;
    c.m2 = a.m2 + (b.m2 - a.m2) * t;
    return c;
}

double clampFrequency(double hz, double sampleRate)
{
    // 0.45 fs rather than Nyquist itself: tan() grows without bound near fs/2.
    const double top = 0.45 * sampleRate;
    if (!(hz == hz))   // NaN
        return std::min(1000.0, top);
    return std::clamp(hz, 1.0, std::max(1.0, top));
}

BiquadCoefficients designBiquad(FilterShape shape, double sampleRate, double hz, double q,
                                double gainDb)
{
    const double f = clampFrequency(hz, sampleRate);
    const double g = std::tan(std::numbers::pi * f / sampleRate);
    double k = 1.0 / q;
    BiquadCoefficients c;
    switch (shape) {
    case FilterShape::LowPass:
        c.m0 = 0, c.m1 = 0, c.m2 = 1;
        break;
    case FilterShape::HighPass:
        c.m0 = 1, c.m1 = -k, c.m2 = -1;
        break;
    case FilterShape::Notch:
        c.m0 = 1, c.m1 = -k, c.m2 = 0;
        break;
    case FilterShape::Peaking: {
        const double a = std::pow(10.0, gainDb / 40.0);
        k = 1.0 / (q * a);
        c.m0 = 1, c.m1 = k * (a * a - 1), c.m2 = 0;
        break;
    }
    }
    c.a1 = 1.0 / (1.0 + g * (g + k));
    c.a2 = g * c.a1;
    c.a3 = g * c.a2;
    return c;
}

double responseDb(const BiquadCoefficients &c, double sampleRate, double hz)
{
    // Recover g and k from the integrator gains: a2/a1 = g, 1/a1 = 1 + g(g + k).
    const double g = c.a2 / c.a1;
    const double k = (1.0 / c.a1 - 1.0) / g - g;
    const std::complex<double> s(0, std::tan(std::numbers::pi * hz / sampleRate) / g);
    const std::complex<double> d = s * s + k * s + 1.0;
    const std::complex<double> h = c.m0 + c.m1 * s / d + c.m2 / d;
    return 20 * std::log10(std::abs(h) + 1e-300);
}

void Biquad::reset()
{
    m_ic1.fill(0);
    m_ic2.fill(0);
}

void Biquad::processInterleaved(float *data, qint64 frames, int channels)
{
    for (qint64 i = 0; i < frames; ++i) {
        float *frame = data + i * channels;
        for (int ch = 0; ch < channels; ++ch)
            frame[ch] = float(process(ch, frame[ch]));
    }
}

void Biquad::processInterleavedRamp(float *data, qint64 frames, int channels,
                                    const BiquadCoefficients &target)
{
    if (frames <= 0) {
        m_c = target;
        return;
    }
    const BiquadCoefficients from = m_c;
    const double step = 1.0 / double(frames);
    for (qint64 i = 0; i < frames; ++i) {
        m_c = interpolate(from, target, double(i + 1) * step);
        float *frame = data + i * channels;
        for (int ch = 0; ch < channels; ++ch)
            frame[ch] = float(process(ch, frame[ch]));
    }
    m_c = target;
}

void Biquad::flushDenormals()
{
    for (size_t i = 0; i < m_ic1.size(); ++i) {
        if (std::fabs(m_ic1[i]) < 1e-25)
            m_ic1[i] = 0;
        if (std::fabs(m_ic2[i]) < 1e-25)
            m_ic2[i] = 0;
    }
}

}  // namespace engine::dsp
