// Second-order filter sections for the equalizer and the recording filters.
#pragma once

#include <QtGlobal>

#include <array>

namespace engine::dsp {

// Most channels a filter keeps state for (the engine's formats have 1..8).
inline constexpr int kMaxChannels = 8;
// Most interleaved channels a filter runs over: a recording's mix and its two sides.
inline constexpr int kMaxFilterChannels = 3 * kMaxChannels;

enum class FilterShape {
    LowPass,    // 12 dB/octave above the corner, Q shapes the knee
    HighPass,   // 12 dB/octave below the corner
    Notch,      // zero at the centre, Q = centre / bandwidth
    Peaking,    // bell: gainDb at the centre, Q = centre / bandwidth
};

// Coefficients of one section in the trapezoidal state-variable form. The transfer
// function is the bilinear-transformed analogue prototype (the classic "cookbook" biquad);
// this form is used because its coefficients may change from one sample to the next
// without the bursts a direct-form biquad gives, which is what lets the filters glide.
struct BiquadCoefficients {
    double a1 = 1, a2 = 0, a3 = 0;   // integrator gains (from g = tan(pi f / fs) and k)
    double m0 = 1, m1 = 0, m2 = 0;   // output = m0 * input + m1 * band + m2 * low
};

// Coefficients a fraction t (0..1) of the way from a to b.
BiquadCoefficients interpolate(const BiquadCoefficients &a, const BiquadCoefficients &b,
                               double t);

// Keeps a corner or centre frequency where the sample rate can carry it: 1 Hz .. 0.45 fs.
double clampFrequency(double hz, double sampleRate);

// Designs one section; hz is clamped with clampFrequency, q must be > 0.
BiquadCoefficients designBiquad(FilterShape shape, double sampleRate, double hz, double q,
                                double gainDb = 0);

// The section's gain in dB at a frequency (analytic, for checks and displays).
double responseDb(const BiquadCoefficients &c, double sampleRate, double hz);

// One section with state for up to kMaxFilterChannels interleaved channels.
class Biquad {
public:
    void setCoefficients(const BiquadCoefficients &c) { m_c = c; }
    const BiquadCoefficients &coefficients() const { return m_c; }
    void reset();

    double process(int channel, double x)
    {
        double &ic1 = m_ic1[size_t(channel)];
        double &ic2 = m_ic2[size_t(channel)];
        const double v3 = x - ic2;
        const double v1 = m_c.a1 * ic1 + m_c.a2 * v3;
        const double v2 = ic2 + m_c.a2 * ic1 + m_c.a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        return m_c.m0 * x + m_c.m1 * v1 + m_c.m2 * v2;
    }

    // Filters interleaved samples in place.
    void processInterleaved(float *data, qint64 frames, int channels);
    // The same while moving the coefficients linearly to `target` over these frames (the
    // section ends with `target`), so a new design never arrives as a step.
    void processInterleavedRamp(float *data, qint64 frames, int channels,
                                const BiquadCoefficients &target);
    // Sets states too small to matter to zero, so long silence never turns denormal.
    void flushDenormals();

private:
    BiquadCoefficients m_c;
    std::array<double, kMaxFilterChannels> m_ic1{};
    std::array<double, kMaxFilterChannels> m_ic2{};
};

}  // namespace engine::dsp
