// The newest captured sound, kept in memory on a timeline of frame positions counted from
// the start of capture: what a recording that starts now (or started by a sound) writes
// first, where sound and quiet are in it, and what the writer has still to write. The UI
// thread appends and looks for sound; the writer's thread takes slices: every call holds a
// short lock.
#pragma once

#include "engine/engine.h"

#include <mutex>
#include <vector>

class CaptureRing {
public:
    // Empties the ring for capture at rate and channels, holding at most capacity frames.
    void reset(int rate, int channels, qint64 capacityFrames);

    int rate() const { return m_rate; }
    int channels() const { return m_channels; }
    qint64 capacity() const { return m_capacity; }
    // Frames appended since the reset: the position after the newest frame.
    qint64 end() const;
    // The position of the oldest frame still held.
    qint64 start() const;

    // Appends a captured block (in the ring's rate and channels; other formats are taken
    // frame by frame as they are).
    void append(const engine::SampleArray &block);

    // The held frames from..to (clipped to what is held) as a block; *lost (when given) gets
    // how many frames from `from` on were overwritten before they were taken.
    engine::SampleArray slice(qint64 from, qint64 to, qint64 *lost = nullptr) const;

    // The first position in from..end() whose sample (any channel) has a magnitude above
    // level; -1 when there is none.
    qint64 firstAbove(qint64 from, float level) const;
    // The last position in from..end() whose sample reaches level; -1 when there is none.
    qint64 lastReaching(qint64 from, float level) const;

private:
    const float *frameAt(qint64 position) const;
    qint64 startLocked() const { return std::max<qint64>(0, m_end - m_capacity); }

    mutable std::mutex m_lock;
    std::vector<float> m_samples;
    int m_rate = 0;
    int m_channels = 0;
    qint64 m_capacity = 0;
    qint64 m_end = 0;
};
