// Start on sound, as arithmetic over the capture ring: where a sound begins (the first sample
// above the level), how far a sounding recording may be written (the sound, then the first
// half second of a quiet: the rest waits to see whether the quiet lasts), and when the quiet
// has lasted long enough to end the sound. Quiet is every sample 6 dB below the level.
// No timers and no state beyond positions, so it is tested on plain sample arrays.
#pragma once

#include <QtGlobal>

class CaptureRing;

class SoundTrigger {
public:
    // levelDb: dBFS; silenceSeconds: the quiet that ends a sound; prerollSeconds: what is
    // written from before the sound's first sample.
    void configure(int levelDb, int silenceSeconds, double prerollSeconds);

    // Waits for a sound from position `from` on.
    void arm(qint64 from);
    // The first loud position among the frames the ring got since the last look; -1 when
    // there is none yet. The sound starts there (see start()).
    qint64 findOnset(const CaptureRing &ring);
    // Where writing starts for a sound at onset: the preroll before it, never before what
    // the ring holds.
    qint64 writeFrom(const CaptureRing &ring, qint64 onset) const;
    // A sound began at onset: its loud stretch is followed from there.
    void start(const CaptureRing &ring, qint64 onset);
    // The ring got new frames from `from` on while the sound is followed.
    void follow(const CaptureRing &ring, qint64 from);
    // The quiet after the sound has lasted the set time.
    bool soundIsOver(const CaptureRing &ring) const;
    // How far the ring may be written now; never before `cursor`.
    qint64 due(const CaptureRing &ring, qint64 cursor) const;

private:
    float m_level = 0.0316f;
    float m_quiet = 0.0158f;
    int m_silenceSeconds = 3;
    double m_prerollSeconds = 0.5;
    qint64 m_scanned = 0;       // armed: looked at up to here
    qint64 m_loudUntil = -1;    // sounding: the last sample that counted as sound
};
