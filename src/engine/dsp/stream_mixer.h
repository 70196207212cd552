// Two live inputs that run on different clocks (a microphone and the monitor of the sound
// card that plays), mixed into one stream.
//
// Both inputs carry the same format (rate, channels, interleaved float). Each push names
// when its last frame was captured (a monotonic clock in microseconds, the same for both
// sides); from these times the mixer knows which frames of the two sides belong together.
// The times may come late by whatever the scheduler added: a delay-locked loop per side
// keeps their steady part, and a side joins only once its loop has settled (about 200 ms).
//
// One side is the clock: its frames go out one for one, held back by kDelayMs so that the
// other side's frames for the same moment have arrived, and never further than the other
// side's frames reach while it still delivers. The other side follows: it is read
// through a libswresample context whose speed is nudged (swr_set_compensation) by a
// control loop on the measured offset between the two sides, so that after hours they still
// line up and neither side ever skips or repeats a sample.
//
// Neither side holds the other up. A side that stops delivering (its device is gone or
// stalls) contributes silence; when it is the clock, the other side becomes the clock and
// the output goes on without a gap. A side that comes back joins at the frame that matches
// the output's moment, faded in. Levels glide over 20 ms; the sum passes a soft limiter so
// that it never reaches full scale.
//
// Neither side's buffer grows without bound, whatever its timing does (see kMaxHoldMs).
//
// With sides kept (setKeepSides), each frame that comes out carries each side's own
// contribution beside the sum: channels of the sum, then of side 0, then of side 1, each
// side at its level and with its fades, before the limiter.
//
// Not thread-safe: one thread pushes (the sound server's loop thread in the recorder).
#pragma once

#include <QtGlobal>

#include <array>
#include <memory>
#include <vector>

namespace engine::dsp {

class StreamMixer {
public:
    static constexpr int kSides = 2;
    static constexpr int kDelayMs = 50;      // how long the clock side is held back
    static constexpr int kStallMs = 150;     // a clock this far behind the other side has stalled
    static constexpr int kFadeMs = 5;        // fade of a side that joins or runs dry
    static constexpr int kLevelGlideMs = 20;
    static constexpr double kLimiterKnee = 0.9;   // the limiter leaves |x| <= 0.9 untouched
    // Largest speed change of the following side (0.5 %); sound cards differ by far less.
    static constexpr double kMaxCorrection = 0.005;
    // Offset beyond which the following side is realigned instead of steered (ms).
    static constexpr double kRealignMs = 40.0;
    // The most a side holds waiting to be mixed (ms): a side whose timing strays further is
    // cut back to it (its oldest frames dropped), and the clock side is not held back longer
    // by the other (which then contributes silence where it has nothing); both counted.
    static constexpr int kMaxHoldMs = 500;

    StreamMixer();
    ~StreamMixer();
    StreamMixer(const StreamMixer &) = delete;
    StreamMixer &operator=(const StreamMixer &) = delete;

    // Clears everything before a take; levels are kept.
    void reset(int sampleRate, int channels);

    // Whether the frames that come out carry the sides beside the sum (3 x channels a
    // frame); off at first. Set before a take.
    void setKeepSides(bool on) { m_keepSides = on; }
    bool keepsSides() const { return m_keepSides; }

    // Level of one side, 0..1 (linear gain); changes glide.
    void setLevel(int side, float level);

    // Frames of one side; capturedUs is when its last frame was captured. Mixed frames that
    // became ready are appended to out (interleaved; with the sides kept, three groups of
    // channels a frame).
    void push(int side, const float *interleaved, qint64 frames, qint64 capturedUs,
              std::vector<float> &out);

    // The side's device is gone: it contributes silence from now on, and if it was the
    // clock the other side takes over at once. A later push brings it back.
    void stopSide(int side);

    // The end of a take: the frames held back come out, the other side's as far as it
    // has them.
    void flush(std::vector<float> &out);

    // Measurements.
    int clockSide() const { return m_clock; }
    // The speed correction applied to the following side (0.001: it is read 0.1 % faster).
    double correction() const;
    // The following side's smoothed offset from the clock side, ms (positive: ahead).
    double offsetMs() const;
    qint64 outputFrames() const { return m_output; }
    // Frames a side holds, waiting to be mixed (never much more than kMaxHoldMs).
    qint64 heldFrames(int side) const;
    // Corrections so far: frames a side held too long and lost, and frames of silence put in
    // for a side that had nothing when the output went on.
    qint64 droppedFrames() const { return m_dropped; }
    qint64 paddedFrames() const { return m_padded; }

private:
    struct Side;
    void produce(std::vector<float> &out, bool flushing);
    void makeClock(int side, std::vector<float> &out);
    void trackClock(Side &s, qint64 frames, double capturedUs);
    // Frames the side can add from its read position on; the rest stays silence.
    qint64 follow(Side &s, float *mix, qint64 frames, double contentUs);
    qint64 readDirect(Side &s, float *dst, qint64 frames);
    qint64 readResampled(Side &s, float *dst, qint64 frames);
    void steer(Side &s, double errorUs, qint64 frames);
    double readPositionUs(const Side &s) const;   // capture time of the side's next frame
    void addWithGain(Side &s, const float *src, float *mix, qint64 frames);
    void limit(float *data, qint64 samples) const;

    std::array<std::unique_ptr<Side>, kSides> m_sides;
    int m_rate = 44100;
    int m_channels = 2;
    int m_clock = -1;     // no side has delivered yet
    qint64 m_output = 0;
    qint64 m_dropped = 0;
    qint64 m_padded = 0;
    bool m_keepSides = false;
    std::vector<float> m_mix;
    std::array<std::vector<float>, kSides> m_sideOut;   // each side's share of the frames made
    std::vector<float> m_scratch;
};

}  // namespace engine::dsp
