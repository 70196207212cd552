#include "engine/file/output_format.h"

#include "engine/file/ffmpeg_util.h"

#include <QCoreApplication>

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace engine::file {

// The descriptions keep the codec's name and the colon after it at the start: the status
// bar shortens "MPEG 1.0 layer-3:" to "MP3" and the colon to a space.
QString OutputFormat::description() const
{
    //: A sample rate in a file format; %1 is the rate in Hz.
    const QString rate = QCoreApplication::translate("OutputFormat", "%1 Hz").arg(sampleRate);
    const QString ch = channelsText(channels);
    switch (type) {
    case OutputType::Wav:
        //: %1 the sample rate ("44100 Hz"), %2 bits per sample, %3 the channels ("Stereo").
        return QCoreApplication::translate("OutputFormat", "PCM: %1, %2 bit, %3")
            .arg(rate)
            .arg(bitsPerSample)
            .arg(ch);
    case OutputType::Mp3: {
        const QString version = sampleRate >= 32000   ? QStringLiteral("1.0")
                                : sampleRate >= 16000 ? QStringLiteral("2.0")
                                                      : QStringLiteral("2.5");
        //: Keep "MPEG %1 layer-3:" as it is (the status bar shortens it to "MP3"). %1 the
        //: MPEG version, %2 the bit rate, %3 the sample rate ("44100 Hz"), %4 the channels.
        return QCoreApplication::translate("OutputFormat", "MPEG %1 layer-3: %2 kbps, %3, %4")
            .arg(version)
            .arg(kbps)
            .arg(rate, ch);
    }
    case OutputType::Wma:
        //: %1 the bit rate, %2 the sample rate ("44100 Hz"), %3 the channels ("Stereo").
        return QCoreApplication::translate("OutputFormat", "Windows Media Audio V2: %1 kbps, %2, %3")
            .arg(kbps)
            .arg(rate, ch);
    case OutputType::Flac:
        //: %1 the sample rate ("44100 Hz"), %2 bits per sample, %3 the channels ("Stereo").
        return QCoreApplication::translate("OutputFormat", "FLAC: %1, %2 bit, %3")
            .arg(rate)
            .arg(bitsPerSample)
            .arg(ch);
    case OutputType::Vorbis:
        //: %1 the Vorbis quality (-1 to 10), %2 the sample rate ("44100 Hz"), %3 the channels.
        return QCoreApplication::translate("OutputFormat", "Ogg Vorbis: quality %1, %2, %3")
            .arg(quality)
            .arg(rate, ch);
    case OutputType::Opus:
        //: %1 the bit rate, %2 the sample rate ("48000 Hz"), %3 the channels ("Stereo").
        return QCoreApplication::translate("OutputFormat", "Opus: %1 kbps, %2, %3")
            .arg(kbps)
            .arg(rate, ch);
    }
    return {};
}

OutputFormat wavFormat(int frequency, int channels, int bitsPerSample)
{
    OutputFormat f;
    f.type = OutputType::Wav;
    f.sampleRate = std::clamp(frequency, 1000, 384000);
    f.channels = channels <= 1 ? 1 : 2;
    f.bitsPerSample = bitsPerSample <= 8 ? 8 : 16;
    f.kbps = 0;
    return f;
}

OutputFormat mp3Format(int frequency, int kbps, int channels)
{
    static const int rates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
    static const int mpeg1[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static const int mpeg2[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    OutputFormat f;
    f.type = OutputType::Mp3;
    f.sampleRate = *std::min_element(std::begin(rates), std::end(rates), [&](int a, int b) {
        return std::abs(a - frequency) < std::abs(b - frequency);
    });
    const bool isMpeg1 = f.sampleRate >= 32000;
    const int *begin = isMpeg1 ? std::begin(mpeg1) : std::begin(mpeg2);
    const int *end = isMpeg1 ? std::end(mpeg1) : std::end(mpeg2);
    f.kbps = *std::min_element(begin, end, [&](int a, int b) {
        return std::abs(a - kbps) < std::abs(b - kbps);
    });
    f.channels = channels <= 1 ? 1 : 2;
    f.bitsPerSample = 0;
    return f;
}

OutputFormat flacFormat(int frequency, int channels, int bitsPerSample, int compressionLevel)
{
    OutputFormat f;
    f.type = OutputType::Flac;
    f.sampleRate = std::clamp(frequency, 8000, 96000);
    // A frame header names a rate above 65535 Hz only in tens of Hz.
    if (f.sampleRate > 65535)
        f.sampleRate = (f.sampleRate + 5) / 10 * 10;
    f.channels = channels <= 1 ? 1 : 2;
    f.bitsPerSample = bitsPerSample <= 16 ? 16 : 24;
    f.compressionLevel = std::clamp(compressionLevel, 0, 8);
    f.kbps = 0;
    return f;
}

OutputFormat vorbisFormat(int quality)
{
    OutputFormat f;
    f.type = OutputType::Vorbis;
    f.sampleRate = 44100;
    f.channels = 2;
    f.quality = std::clamp(quality, -1, 10);
    f.bitsPerSample = 0;
    f.kbps = 0;
    return f;
}

OutputFormat opusFormat(int kbps, int channels)
{
    OutputFormat f;
    f.type = OutputType::Opus;
    f.sampleRate = 48000;
    f.channels = channels <= 1 ? 1 : 2;
    f.kbps = std::clamp(kbps, 6, 256);
    f.bitsPerSample = 0;
    return f;
}

namespace {

// The bit rates offered per sample rate and channel count: from the encoder's floor of
// 24 kbit/s up to what the rate can use, so that every entry is a sensible choice.
struct Candidates {
    int sampleRate;
    int channels;
    std::vector<int> kbps;
};

const Candidates kCandidates[] = {
    {8000, 1, {24}},
    {8000, 2, {24, 32}},
    {11025, 1, {24, 32}},
    {11025, 2, {24, 32, 40}},
    {16000, 1, {24, 32, 40}},
    {16000, 2, {24, 32, 40, 48}},
    {22050, 1, {24, 32, 40, 48}},
    {22050, 2, {32, 40, 48, 64}},
    {32000, 1, {32, 40, 48}},
    {32000, 2, {40, 48, 64, 80}},
    {44100, 1, {40, 48, 64, 80}},
    {44100, 2, {48, 64, 80, 96, 128, 160, 192, 256, 320}},
    {48000, 1, {48, 64, 80, 96}},
    {48000, 2, {64, 80, 96, 128, 160, 192, 256, 320}},
};

// Opens the encoder with these values and encodes a few frames of a tone with noise.
bool encoderAccepts(const AVCodec *codec, int sampleRate, int channels, int kbps)
{
    CodecContextPtr c(avcodec_alloc_context3(codec));
    if (!c)
        return false;
    c->sample_rate = sampleRate;
    av_channel_layout_default(&c->ch_layout, channels);
    c->bit_rate = qint64(kbps) * 1000;
    c->sample_fmt = AV_SAMPLE_FMT_FLTP;
    if (avcodec_open2(c.get(), codec, nullptr) < 0 || c->frame_size <= 0)
        return false;
    FramePtr frame(av_frame_alloc());
    PacketPtr packet(av_packet_alloc());
    frame->nb_samples = c->frame_size;
    frame->format = c->sample_fmt;
    frame->sample_rate = sampleRate;
    av_channel_layout_copy(&frame->ch_layout, &c->ch_layout);
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return false;
    unsigned noiseState = 12345;
    bool gotPacket = false;
    for (int k = 0; k < 4; ++k) {
        if (av_frame_make_writable(frame.get()) < 0)
            return false;
        for (int ch = 0; ch < channels; ++ch) {
            auto *d = reinterpret_cast<float *>(frame->data[ch]);
            for (int i = 0; i < frame->nb_samples; ++i) {
                noiseState = noiseState * 1103515245u + 12345u;
                const double t = double(k * frame->nb_samples + i) / sampleRate;
                d[i] = float(0.4 * std::sin(2 * M_PI * 1000 * t)
                             + 0.2 * (double((noiseState >> 16) & 0x7FFF) / 16384.0 - 1.0));
            }
        }
        frame->pts = qint64(k) * frame->nb_samples;
        if (avcodec_send_frame(c.get(), frame.get()) < 0)
            return false;
        for (;;) {
            const int r = avcodec_receive_packet(c.get(), packet.get());
            if (r == AVERROR(EAGAIN))
                break;
            if (r < 0)
                return false;
            gotPacket = gotPacket || packet->size > 0;
            av_packet_unref(packet.get());
        }
    }
    return gotPacket;
}

}  // namespace

const std::vector<WmaProfile> &wmaProfiles()
{
    static const std::vector<WmaProfile> profiles = [] {
        quietFfmpegLog();
        std::vector<WmaProfile> list;
        const AVCodec *codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
        if (!codec)
            return list;
        for (const Candidates &c : kCandidates)
            for (int kbps : c.kbps)
                if (encoderAccepts(codec, c.sampleRate, c.channels, kbps))
                    list.push_back({c.sampleRate, c.channels, kbps});
        std::stable_sort(list.begin(), list.end(), [](const WmaProfile &a, const WmaProfile &b) {
            if (a.sampleRate != b.sampleRate)
                return a.sampleRate < b.sampleRate;
            if (a.channels != b.channels)
                return a.channels < b.channels;
            return a.kbps < b.kbps;
        });
        return list;
    }();
    return profiles;
}

OutputFormat wmaFormat(const WmaProfile &profile)
{
    OutputFormat f;
    f.type = OutputType::Wma;
    f.sampleRate = profile.sampleRate;
    f.channels = profile.channels;
    f.kbps = profile.kbps;
    f.bitsPerSample = 0;
    return f;
}

QString wmaProfileLabel(const WmaProfile &profile)
{
    //: A WMA profile in the list of profiles: %1 the bit rate, %2 the sample rate, %3 the
    //: channels ("Stereo").
    return QCoreApplication::translate("OutputFormat", "%1 kbps, %2 Hz, %3")
        .arg(profile.kbps)
        .arg(profile.sampleRate)
        .arg(channelsText(profile.channels));
}

}  // namespace engine::file
