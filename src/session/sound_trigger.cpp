#include "session/sound_trigger.h"

#include "session/capture_ring.h"

#include <algorithm>
#include <cmath>

void SoundTrigger::configure(int levelDb, int silenceSeconds, double prerollSeconds)
{
    m_level = float(std::pow(10.0, levelDb / 20.0));
    m_quiet = m_level / 2;
    m_silenceSeconds = std::max(1, silenceSeconds);
    m_prerollSeconds = std::max(0.0, prerollSeconds);
}

void SoundTrigger::arm(qint64 from)
{
    m_scanned = from;
    m_loudUntil = -1;
}

qint64 SoundTrigger::findOnset(const CaptureRing &ring)
{
    const qint64 onset = ring.firstAbove(std::max(m_scanned, ring.start()), m_level);
    m_scanned = ring.end();
    return onset;
}

qint64 SoundTrigger::writeFrom(const CaptureRing &ring, qint64 onset) const
{
    return std::max(ring.start(), onset - qint64(m_prerollSeconds * ring.rate()));
}

void SoundTrigger::start(const CaptureRing &ring, qint64 onset)
{
    m_loudUntil = std::max(onset, ring.lastReaching(onset, m_quiet));
}

void SoundTrigger::follow(const CaptureRing &ring, qint64 from)
{
    const qint64 loud = ring.lastReaching(from, m_quiet);
    if (loud >= 0)
        m_loudUntil = std::max(m_loudUntil, loud);
}

bool SoundTrigger::soundIsOver(const CaptureRing &ring) const
{
    return m_loudUntil >= 0 && ring.end() - (m_loudUntil + 1) >= qint64(m_silenceSeconds) * ring.rate();
}

qint64 SoundTrigger::due(const CaptureRing &ring, qint64 cursor) const
{
    if (m_loudUntil < 0)
        return cursor;
    return std::max(cursor, std::min(ring.end(), m_loudUntil + 1 + ring.rate() / 2));
}
