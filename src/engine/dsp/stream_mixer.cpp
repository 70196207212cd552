#include "engine/dsp/stream_mixer.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>

namespace engine::dsp {

namespace {

// The control loop that keeps the following side in step: a PI controller on the offset,
// smoothed over about a second so that the arrival jitter of the blocks does not reach the
// speed. Its natural frequency is about 0.17 rad/s: a 0.1 % clock difference is caught
// within a minute and costs a few milliseconds of offset on the way.
constexpr double kSmoothSeconds = 1.0;
constexpr double kProportional = 0.3;    // per second
constexpr double kIntegral = 0.03;       // per second squared
// How far ahead each compensation reaches (s); it is renewed with every block.
constexpr int kCompensationSeconds = 10;
// The resampler only ever runs at a ratio close to 1: a short filter is plenty.
constexpr int kFilterSize = 16;
// Each side's capture times come late by whatever the scheduler added. A delay-locked loop
// per side (a second-order filter on the times, as sound servers use for their clocks)
// keeps the steady part: their position and their pace, to a fraction of a millisecond.
constexpr double kClockPosition = 0.05;     // share of a time error taken at once
constexpr double kClockPace = 0.00125;      // share taken into the pace (critically damped)
constexpr double kClockJumpUs = 30000;      // beyond this the times start again (a stall) ...
constexpr double kJumpToJitter = 6.0;       // ... unless the side's times jitter as much
// A side joins once its clock has had this many blocks to settle.
constexpr int kSettleBlocks = 10;

constexpr float kSilence[1] = {0.0f};

struct SwrDeleter {
    void operator()(SwrContext *s) const { swr_free(&s); }
};

}  // namespace

struct StreamMixer::Side {
    enum class State {
        Idle,        // nothing to add (no data yet, or its device is gone)
        Joining,     // has data, waiting to be lined up with the output
        Following,   // read through the resampler, steered to the clock
        Clock,       // drives the output
    };
    std::vector<float> fifo;   // interleaved; unread samples start at head
    size_t head = 0;
    double lastUs = 0;         // capture time of the newest frame pushed (filtered)
    double usPerFrame = 0;     // the side's pace as measured
    int settled = 0;           // blocks since its clock started
    double jitterUs = 0;       // how far its times stray from its clock, smoothed
    bool live = false;         // delivering (pushed since the start or since it stopped)
    State state = State::Idle;
    std::unique_ptr<SwrContext, SwrDeleter> swr;
    double smoothedUs = 0;
    bool smoothedValid = false;
    double integral = 0;
    double correction = 0;
    float target = 1.0f;
    float gain = 1.0f;
    qint64 fadeInLeft = 0;

    qint64 frames(int channels) const { return qint64(fifo.size() - head) / channels; }
    void clear()
    {
        fifo.clear();
        head = 0;
        swr.reset();
        smoothedValid = false;
        fadeInLeft = 0;
    }
    void consume(qint64 n, int channels)
    {
        head += size_t(n * channels);
        if (head == fifo.size()) {
            fifo.clear();
            head = 0;
        } else if (head > 65536 && head * 2 > fifo.size()) {
            fifo.erase(fifo.begin(), fifo.begin() + std::ptrdiff_t(head));
            head = 0;
        }
    }
};

StreamMixer::StreamMixer()
{
    for (auto &s : m_sides)
        s = std::make_unique<Side>();
}

StreamMixer::~StreamMixer() = default;

void StreamMixer::reset(int sampleRate, int channels)
{
    m_rate = std::max(1, sampleRate);
    m_channels = std::max(1, channels);
    m_clock = -1;
    m_output = 0;
    m_dropped = 0;
    m_padded = 0;
    for (auto &s : m_sides) {
        s->clear();
        s->settled = 0;
        s->live = false;
        s->state = Side::State::Idle;
        s->integral = 0;
        s->correction = 0;
        s->gain = s->target;
    }
}

void StreamMixer::setLevel(int side, float level)
{
    if (side >= 0 && side < kSides)
        m_sides[size_t(side)]->target = std::clamp(level, 0.0f, 1.0f);
}

double StreamMixer::correction() const
{
    return m_clock < 0 ? 0.0 : m_sides[size_t(1 - m_clock)]->correction;
}

qint64 StreamMixer::heldFrames(int side) const
{
    return side >= 0 && side < kSides ? m_sides[size_t(side)]->frames(m_channels) : 0;
}

double StreamMixer::offsetMs() const
{
    if (m_clock < 0)
        return 0.0;
    const Side &s = *m_sides[size_t(1 - m_clock)];
    return s.smoothedValid ? s.smoothedUs / 1000.0 : 0.0;
}

double StreamMixer::readPositionUs(const Side &s) const
{
    double us = s.lastUs - double(s.frames(m_channels)) * 1e6 / m_rate;
    if (s.swr)
        us -= double(swr_get_delay(s.swr.get(), 1000000));
    return us;
}

void StreamMixer::push(int side, const float *interleaved, qint64 frames, qint64 capturedUs,
                       std::vector<float> &out)
{
    if (side < 0 || side >= kSides || frames <= 0)
        return;
    Side &s = *m_sides[size_t(side)];
    const size_t n = size_t(frames * m_channels);
    if (interleaved)
        s.fifo.insert(s.fifo.end(), interleaved, interleaved + n);
    else
        s.fifo.insert(s.fifo.end(), n, 0.0f);   // a hole: silence keeps its time
    trackClock(s, frames, double(capturedUs));
    s.live = true;
    if (s.state == Side::State::Idle)
        s.state = side == m_clock ? Side::State::Clock : Side::State::Joining;

    if (m_clock < 0) {
        makeClock(side, out);
    } else if (side != m_clock) {
        const Side &clock = *m_sides[size_t(m_clock)];
        if (!clock.live || clock.lastUs < s.lastUs - kStallMs * 1000.0)
            makeClock(side, out);   // the clock has stopped delivering
    }
    if (side == m_clock) {
        produce(out, false);
    } else {
        // A side that strays this far from the clock is cut back rather than kept: it lines
        // up again from its newest frames.
        const qint64 limit = qint64(m_rate) * kMaxHoldMs / 1000;
        const qint64 excess = s.frames(m_channels) - limit;
        if (excess > 0) {
            s.consume(excess, m_channels);
            m_dropped += excess;
            if (s.state == Side::State::Following) {
                s.state = Side::State::Joining;
                s.swr.reset();
            }
        }
    }
}

void StreamMixer::trackClock(Side &s, qint64 frames, double capturedUs)
{
    const double nominal = 1e6 / m_rate;
    const double predicted = s.lastUs + double(frames) * s.usPerFrame;
    const double error = capturedUs - predicted;
    // A jump well beyond how far the times usually stray is a stall; a side whose times stray
    // by more than the jump (a busy machine, a server that hands over in bursts) is followed
    // all the same, or it would never settle and join.
    if (s.settled == 0 || std::fabs(error) > std::max(kClockJumpUs, kJumpToJitter * s.jitterUs)) {
        s.lastUs = capturedUs;
        s.usPerFrame = nominal;
        s.settled = 1;
        return;
    }
    s.jitterUs += (std::fabs(error) - s.jitterUs) * 0.05;
    // The first blocks are averaged alike, so the position settles within those few.
    s.lastUs = predicted + std::max(kClockPosition, 1.0 / (s.settled + 1)) * error;
    s.usPerFrame = std::clamp(s.usPerFrame + kClockPace * error / double(frames), nominal * 0.99,
                              nominal * 1.01);
    ++s.settled;
}

void StreamMixer::stopSide(int side)
{
    if (side < 0 || side >= kSides)
        return;
    Side &s = *m_sides[size_t(side)];
    s.live = false;
    s.settled = 0;   // its times start again when it comes back
    if (side == m_clock)
        return;   // what it holds back goes out when the other side takes over (push())
    s.clear();
    s.state = Side::State::Idle;
}

void StreamMixer::flush(std::vector<float> &out)
{
    produce(out, true);
}

// The clock moves to `side`. What the old clock still held back goes out first; the new
// clock then carries on from the moment the output reached, so the output has no gap.
void StreamMixer::makeClock(int side, std::vector<float> &out)
{
    Side &n = *m_sides[size_t(side)];
    if (m_clock >= 0 && m_clock != side) {
        Side &old = *m_sides[size_t(m_clock)];
        if (old.frames(m_channels) > 0)
            produce(out, true);
        const bool hadOutput = m_output > 0;
        const double reachedUs = readPositionUs(old);
        old.clear();
        old.state = old.live ? Side::State::Joining : Side::State::Idle;
        if (n.state == Side::State::Following) {
            n.correction = 0;   // from now on it runs at its own speed
            if (n.swr)
                swr_set_compensation(n.swr.get(), 0, 0);
        } else if (hadOutput) {
            // Line its first frame up with the moment the output reached.
            const qint64 have = n.frames(m_channels);
            const double headUs = n.lastUs - double(have) * 1e6 / m_rate;
            const qint64 lead = std::llround((headUs - reachedUs) * m_rate / 1e6);
            if (lead < 0) {
                n.consume(std::min(have, -lead), m_channels);
            } else if (lead > 0) {
                const qint64 fill =
                    std::min<qint64>(lead, qint64(m_rate) * (kStallMs + 1000) / 1000);
                n.fifo.insert(n.fifo.begin() + std::ptrdiff_t(n.head),
                              size_t(fill * m_channels), 0.0f);
            }
            n.swr.reset();
        }
    }
    n.state = Side::State::Clock;
    n.smoothedValid = false;
    m_clock = side;
}

void StreamMixer::produce(std::vector<float> &out, bool flushing)
{
    if (m_clock < 0)
        return;
    Side &c = *m_sides[size_t(m_clock)];
    const qint64 hold = flushing ? 0 : qint64(m_rate) * kDelayMs / 1000;
    qint64 n = c.frames(m_channels) - hold;
    Side &o = *m_sides[size_t(1 - m_clock)];
    if (!flushing && o.state == Side::State::Following && o.live &&
        o.lastUs >= c.lastUs - kStallMs * 1000.0 && c.frames(m_channels) < qint64(m_rate) * kMaxHoldMs / 1000) {
        // The other side still delivers, only later (its blocks come in another phase, or
        // the loop read the clock's first): go no further than its frames reach.
        const qint64 reach = o.frames(m_channels) +
                             (o.swr ? swr_get_delay(o.swr.get(), m_rate) : 0) - kFilterSize;
        n = std::min(n, reach);
    }
    if (n <= 0)
        return;
    const double startUs = readPositionUs(c);
    const size_t samples = size_t(n * m_channels);
    for (auto &side : m_sideOut)
        side.assign(samples, 0.0f);
    if (m_scratch.size() < samples)
        m_scratch.resize(samples);
    n = c.swr ? readResampled(c, m_scratch.data(), n) : readDirect(c, m_scratch.data(), n);
    if (n <= 0)
        return;
    float *clockOut = m_sideOut[size_t(m_clock)].data();
    float *otherOut = m_sideOut[size_t(1 - m_clock)].data();
    addWithGain(c, m_scratch.data(), clockOut, n);
    const double clockNextUs = readPositionUs(c);

    if (o.state == Side::State::Joining || o.state == Side::State::Following) {
        follow(o, otherOut, n, startUs);
        if (o.state == Side::State::Following)
            steer(o, readPositionUs(o) - clockNextUs, n);
    }
    const qint64 count = n * m_channels;
    m_mix.resize(size_t(count));
    for (qint64 i = 0; i < count; ++i)
        m_mix[size_t(i)] = m_sideOut[0][size_t(i)] + m_sideOut[1][size_t(i)];
    limit(m_mix.data(), count);
    if (!m_keepSides) {
        out.insert(out.end(), m_mix.begin(), m_mix.begin() + std::ptrdiff_t(count));
    } else {
        const size_t first = out.size();
        out.resize(first + size_t(3 * count));
        float *dst = out.data() + first;
        const size_t frameBytes = size_t(m_channels) * sizeof(float);
        for (qint64 f = 0; f < n; ++f) {
            const size_t at = size_t(f * m_channels);
            std::memcpy(dst, m_mix.data() + at, frameBytes);
            std::memcpy(dst + m_channels, m_sideOut[0].data() + at, frameBytes);
            std::memcpy(dst + 2 * m_channels, m_sideOut[1].data() + at, frameBytes);
            dst += 3 * m_channels;
        }
    }
    m_output += n;
}

qint64 StreamMixer::follow(Side &s, float *mix, qint64 frames, double contentUs)
{
    qint64 offset = 0;
    if (s.state == Side::State::Joining) {
        const qint64 have = s.frames(m_channels);
        if (have == 0 || s.settled < kSettleBlocks)
            return 0;   // its times are not steady yet: join a little later, in step
        const double headUs = s.lastUs - double(have) * 1e6 / m_rate;
        qint64 lead = std::llround((headUs - contentUs) * m_rate / 1e6);
        if (lead < 0) {
            // Its oldest frames belong to moments the output has passed.
            s.consume(std::min(have, -lead), m_channels);
            if (s.frames(m_channels) == 0)
                return 0;
            lead = 0;
        }
        if (lead >= frames)
            return 0;   // its first frame belongs to a later block
        SwrContext *swr = nullptr;
        AVChannelLayout layout;
        av_channel_layout_default(&layout, m_channels);
        if (swr_alloc_set_opts2(&swr, &layout, AV_SAMPLE_FMT_FLT, m_rate, &layout,
                                AV_SAMPLE_FMT_FLT, m_rate, 0, nullptr) < 0 ||
            !swr) {
            av_channel_layout_uninit(&layout);
            return 0;
        }
        av_channel_layout_uninit(&layout);
        s.swr.reset(swr);
        // Resample from the first block on (equal rates would otherwise bypass it, and
        // turning it on later would jump), with all 1024 phases so that any speed is exact.
        av_opt_set_int(swr, "flags", SWR_FLAG_RESAMPLE, 0);
        av_opt_set_int(swr, "filter_size", kFilterSize, 0);
        av_opt_set_int(swr, "linear_interp", 1, 0);
        av_opt_set_int(swr, "exact_rational", 0, 0);
        if (swr_init(swr) < 0) {
            s.swr.reset();
            return 0;
        }
        s.state = Side::State::Following;
        s.smoothedValid = false;
        s.fadeInLeft = std::max<qint64>(1, qint64(m_rate) * kFadeMs / 1000);
        offset = lead;
    }

    const qint64 want = frames - offset;
    const int distance = m_rate * kCompensationSeconds;
    swr_set_compensation(s.swr.get(), int(std::llround(-s.correction * distance)), distance);
    const qint64 got = readResampled(s, m_scratch.data(), want);
    if (got < want) {
        m_padded += want - got;
        // Ran dry (its device stalled): fade out what came, silence after it, and line it
        // up again when its frames come back.
        const qint64 fade = std::min<qint64>(got, qint64(m_rate) * kFadeMs / 1000);
        for (qint64 i = 0; i < fade; ++i) {
            const float g = float(fade - i) / float(fade + 1);
            float *f = m_scratch.data() + (got - fade + i) * m_channels;
            for (int ch = 0; ch < m_channels; ++ch)
                f[ch] *= g;
        }
        s.state = Side::State::Joining;
        s.swr.reset();
    }
    addWithGain(s, m_scratch.data(), mix + offset * m_channels, got);
    return got;
}

qint64 StreamMixer::readDirect(Side &s, float *dst, qint64 frames)
{
    const qint64 n = std::min(frames, s.frames(m_channels));
    std::memcpy(dst, s.fifo.data() + s.head, size_t(n * m_channels) * sizeof(float));
    s.consume(n, m_channels);
    return n;
}

qint64 StreamMixer::readResampled(Side &s, float *dst, qint64 frames)
{
    qint64 got = 0;
    while (got < frames) {
        // Only what this block needs goes in; the resampler keeps its few frames of
        // look-ahead, the rest waits in the side's buffer.
        const qint64 k = std::min(s.frames(m_channels), frames - got);
        const float *src = k > 0 ? s.fifo.data() + s.head : kSilence;
        const uint8_t *in[1] = {reinterpret_cast<const uint8_t *>(src)};
        uint8_t *outp[1] = {reinterpret_cast<uint8_t *>(dst + got * m_channels)};
        const int r = swr_convert(s.swr.get(), outp, int(frames - got), in, int(k));
        if (r < 0)
            break;
        s.consume(k, m_channels);
        got += r;
        if (r == 0 && k == 0)
            break;
    }
    return got;
}

void StreamMixer::steer(Side &s, double errorUs, qint64 frames)
{
    const double dt = double(frames) / m_rate;
    if (!s.smoothedValid) {
        s.smoothedUs = errorUs;
        s.smoothedValid = true;
    } else {
        s.smoothedUs += (errorUs - s.smoothedUs) * std::min(1.0, dt / kSmoothSeconds);
    }
    if (std::fabs(s.smoothedUs) > kRealignMs * 1000) {
        // Far off (a burst after a stall): line it up again rather than race after it.
        s.state = Side::State::Joining;
        s.swr.reset();
        return;
    }
    // Ahead (positive) means it must be read more slowly.
    const double e = s.smoothedUs / 1e6;
    const double integral = s.integral + e * dt;
    const double wanted = -(kProportional * e + kIntegral * integral);
    if (std::fabs(wanted) < kMaxCorrection)
        s.integral = integral;   // no wind-up while the speed is at its limit
    s.correction = std::clamp(-(kProportional * e + kIntegral * s.integral), -kMaxCorrection,
                              kMaxCorrection);
}

void StreamMixer::addWithGain(Side &s, const float *src, float *mix, qint64 frames)
{
    if (s.gain == s.target && s.fadeInLeft == 0) {
        // Steady: one gain for the whole block.
        const float g = s.gain;
        const qint64 n = frames * m_channels;
        for (qint64 i = 0; i < n; ++i)
            mix[i] += g * src[i];
        return;
    }
    const float step = 1.0f / std::max(1.0f, float(m_rate) * kLevelGlideMs / 1000.0f);
    const qint64 fadeTotal = std::max<qint64>(1, qint64(m_rate) * kFadeMs / 1000);
    for (qint64 i = 0; i < frames; ++i) {
        if (s.gain < s.target)
            s.gain = std::min(s.target, s.gain + step);
        else if (s.gain > s.target)
            s.gain = std::max(s.target, s.gain - step);
        float g = s.gain;
        if (s.fadeInLeft > 0) {
            const double x = double(fadeTotal - s.fadeInLeft) / double(fadeTotal);
            g *= float(0.5 - 0.5 * std::cos(M_PI * x));
            --s.fadeInLeft;
        }
        const float *in = src + i * m_channels;
        float *o = mix + i * m_channels;
        for (int ch = 0; ch < m_channels; ++ch)
            o[ch] += g * in[ch];
    }
}

// A smooth knee above kLimiterKnee: the curve leaves the straight line with the same slope
// and approaches full scale without ever reaching it.
void StreamMixer::limit(float *data, qint64 samples) const
{
    constexpr double knee = kLimiterKnee;
    constexpr double room = 1.0 - knee;
    for (qint64 i = 0; i < samples; ++i) {
        const float x = data[i];
        const float a = std::fabs(x);
        if (a <= float(knee))
            continue;
        const double y = knee + room * std::tanh((double(a) - knee) / room);
        data[i] = std::copysign(float(std::min(y, 0.99999)), x);
    }
}

}  // namespace engine::dsp
