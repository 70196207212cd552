// Meter levels and a history of recent frames for meters and the spectrum view.
#pragma once

#include <QtGlobal>

#include <vector>

namespace engine::dsp {

// The meters' scale: 0..100 over -60..0 dBFS of the peak (0 = -60 dBFS or quieter).
int levelFromPeak(float peak);

// Largest magnitude of the left (channel 0) and right (channel 1; channel 0 for mono)
// samples, folded into left and right.
void accumulatePeaks(const float *interleaved, qint64 frames, int channels, float &left,
                     float &right);

// The newest frames of a stream, addressed by their absolute frame position since the ring
// was reset. Not thread-safe: the owner guards it.
class SampleRing {
public:
    void reset(int channels, qint64 capacityFrames);
    int channels() const { return m_channels; }
    qint64 capacity() const { return m_capacity; }
    // Position after the newest frame held (= frames appended since reset).
    qint64 end() const { return m_end; }

    void append(const float *interleaved, qint64 frames);
    // `count` frames ending at `endPosition` (exclusive); frames not held any more (or never)
    // are zeros, so the result always has count frames.
    std::vector<float> frames(qint64 endPosition, qint64 count) const;
    // Peaks of the frames in [from, to) that are still held.
    void peaks(qint64 from, qint64 to, float &left, float &right) const;

private:
    std::vector<float> m_data;
    int m_channels = 1;
    qint64 m_capacity = 0;
    qint64 m_end = 0;
};

}  // namespace engine::dsp
