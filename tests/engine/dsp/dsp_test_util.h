// Shared measurements for the DSP tests.
#pragma once

#include "common/test_audio.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dsptest {

// Largest second difference of one channel: a sine of frequency f and amplitude a never
// exceeds a (2 pi f / fs)^2, a click exceeds it by far.
inline double maxSecondDifference(const std::vector<float> &mono)
{
    double m = 0;
    for (size_t i = 2; i < mono.size(); ++i)
        m = std::max(m, std::fabs(double(mono[i]) - 2.0 * mono[i - 1] + mono[i - 2]));
    return m;
}

// Level of a tone in the last `seconds` of a mono signal, in dB.
inline double tailLevelDb(const std::vector<float> &mono, int rate, double hz, double seconds)
{
    const size_t n = std::min(mono.size(), size_t(seconds * rate));
    const std::vector<float> tail(mono.end() - std::ptrdiff_t(n), mono.end());
    return testaudio::toneLevelDb(tail, rate, hz);
}

}  // namespace dsptest
