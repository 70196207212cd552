// The player's twelve-band equalizer: one peaking section per band and channel.
#pragma once

#include "engine/dsp/biquad.h"

#include <array>
#include <atomic>

namespace engine::dsp {

class Equalizer {
public:
    static constexpr int kBands = 12;
    // Band k (0..11) is centred on 1000 Hz * 2^(0.8 (k - 6)): 35.9, 62.5, 108.8, 189.5,
    // 329.9, 574.3, 1000, 1741, 3031, 5278, 9190 and 16000 Hz, 0.8 octave apart.
    static double centreFrequency(int band);
    // Each bell is 0.8 octave wide (Q 1.78), so neighbours meet about 3 dB below the peak.
    static constexpr double kQ = 1.78;
    static constexpr float kMinGainDb = -15.0f;
    static constexpr float kMaxGainDb = 15.0f;

    Equalizer();

    // Audio thread or before processing starts; clears the filter state. The gains in
    // force when the next process() begins apply in full from its first sample.
    void setFormat(int sampleRate, int channels);

    // Any thread; while processing runs, take effect within a few milliseconds, gliding
    // (no clicks).
    void setEnabled(bool on) { m_enabled.store(on); }
    void setBands(const std::array<float, kBands> &gainsDb);   // clamped to -15..+15 dB
    bool enabled() const { return m_enabled.load(); }
    std::array<float, kBands> bands() const;

    // Audio thread: equalizes interleaved samples in place.
    void process(float *data, qint64 frames);

private:
    struct Band {
        Biquad section;
        double currentDb = 0;   // gliding towards the target
        bool running = false;   // false: exactly 0 dB, the band is skipped
        bool usable = true;     // false: the centre lies above what the rate can carry
    };
    std::array<std::atomic<float>, kBands> m_target;
    std::atomic<bool> m_enabled{false};
    std::array<Band, kBands> m_bands;
    int m_sampleRate = 44100;
    int m_channels = 2;
    double m_glide = 0;   // per-chunk smoothing factor
    bool m_starting = true;   // set by setFormat: the next process() starts the sound
};

}  // namespace engine::dsp
