// Where a recording run ends by itself and where it splits, counted in the frames it wrote
// (the kept seconds before Record included): the time limit over all parts, and a new part
// every split interval. The run's elapsed time is what it wrote.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <limits>

class RunLimits {
public:
    enum class Boundary { None, Split, End };

    // A new run at rate Hz; limitSeconds <= 0: none; splitSeconds <= 0: no split.
    void start(int rate, int limitSeconds, int splitSeconds)
    {
        m_rate = rate > 0 ? rate : 1;
        m_limit = limitSeconds > 0 ? qint64(limitSeconds) * m_rate : kNone;
        m_split = splitSeconds > 0 ? qint64(splitSeconds) * m_rate : kNone;
        m_run = 0;
        m_partStart = 0;
    }
    // The nearest boundary ahead and how many frames lie before it.
    Boundary next(qint64 *framesBefore) const
    {
        const qint64 toEnd = m_limit == kNone ? kNone : m_limit - m_run;
        const qint64 toSplit = m_split == kNone ? kNone : m_partStart + m_split - m_run;
        *framesBefore = std::max<qint64>(0, std::min(toEnd, toSplit));
        if (toEnd == kNone && toSplit == kNone)
            return Boundary::None;
        return toEnd <= toSplit ? Boundary::End : Boundary::Split;
    }
    void add(qint64 frames) { m_run += frames; }
    void newPart() { m_partStart = m_run; }

    qint64 runFrames() const { return m_run; }
    qint64 partFrames() const { return m_run - m_partStart; }
    int rate() const { return m_rate; }

private:
    static constexpr qint64 kNone = std::numeric_limits<qint64>::max();
    int m_rate = 44100;
    qint64 m_limit = kNone;
    qint64 m_split = kNone;
    qint64 m_run = 0;
    qint64 m_partStart = 0;
};
