// The recorder's notch, high-pass and low-pass filters, applied in that order.
#pragma once

#include "engine/dsp/biquad.h"

#include <array>
#include <atomic>

namespace engine::dsp {

class RecordingFilters {
public:
    enum Filter { Notch = 0, HighPass = 1, LowPass = 2 };
    // Notch: one section, Q 5 (a 10 Hz wide hole at 50 Hz) for mains hum.
    static constexpr double kNotchQ = 5.0;
    // High-pass and low-pass: 4th-order Butterworth (two sections), 24 dB/octave.
    static constexpr double kButterworthQ[2] = {0.54119610, 1.30656296};
    // Defaults: notch 50 Hz, high-pass 400 Hz, low-pass 4000 Hz, all off.
    static constexpr float kDefaultHz[3] = {50.0f, 400.0f, 4000.0f};

    RecordingFilters();

    // Before processing starts; clears the filter state. Filters that are on when the
    // next process() begins act at full strength from its first sample.
    void setFormat(int sampleRate, int channels);

    // Any thread; once processing runs, switching fades over 20 ms and a new frequency
    // glides over about 10 ms, so changes during a recording never click. Frequencies are kept as given and clamped
    // below Nyquist only where they are used.
    void setEnabled(Filter f, bool on) { m_stages[f].enabled.store(on); }
    void setFrequency(Filter f, float hz) { m_stages[f].hz.store(hz); }
    bool enabled(Filter f) const { return m_stages[f].enabled.load(); }
    float frequency(Filter f) const { return m_stages[f].hz.load(); }

    // Audio thread: filters interleaved samples in place.
    void process(float *data, qint64 frames);

private:
    struct Stage {
        std::atomic<bool> enabled{false};
        std::atomic<float> hz{0};
        FilterShape shape = FilterShape::Notch;
        int sections = 1;
        std::array<Biquad, 2> section;
        double mix = 0;          // 0 = dry, 1 = filtered
        double currentHz = 0;    // gliding towards the clamped target
        bool running = false;
    };
    std::array<BiquadCoefficients, 2> design(const Stage &s) const;
    // Clears the stage's state and sets it to the wanted frequency with this mix.
    void startStage(Stage &s, double mix);
    void processStage(Stage &s, float *data, qint64 frames, double targetMix);

    std::array<Stage, 3> m_stages;
    int m_sampleRate = 44100;
    int m_channels = 2;
    double m_glide = 0;     // per-chunk smoothing factor of the log frequency
    double m_mixStep = 0;   // per-frame change of the dry/filtered mix
    bool m_starting = true; // set by setFormat: the next process() starts the sound
};

}  // namespace engine::dsp
