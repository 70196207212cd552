#include "session/save_format.h"

#include "session/recording_settings.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace {

QString channelsText(int channels)
{
    if (channels == 1)
        //: One channel, in the Options dialog's lists of formats.
        return QCoreApplication::translate("SaveFormat", "Mono");
    //: Two channels, in the Options dialog's lists of formats.
    return QCoreApplication::translate("SaveFormat", "Stereo");
}

}  // namespace

const std::vector<SaveFormatTraits> &saveFormats()
{
    static const std::vector<SaveFormatTraits> formats{
        {SaveFormat::Mp3, QStringLiteral(".mp3"), QStringLiteral("MP3")},
        {SaveFormat::Wav, QStringLiteral(".wav"), QStringLiteral("WAV")},
        {SaveFormat::Wma, QStringLiteral(".wma"), QStringLiteral("WMA")},
        {SaveFormat::Flac, QStringLiteral(".flac"), QStringLiteral("FLAC")},
        {SaveFormat::Vorbis, QStringLiteral(".ogg"), QStringLiteral("Ogg Vorbis")},
        {SaveFormat::Opus, QStringLiteral(".opus"), QStringLiteral("Opus")},
    };
    return formats;
}

const SaveFormatTraits &traitsOf(SaveFormat format)
{
    for (const SaveFormatTraits &t : saveFormats())
        if (t.format == format)
            return t;
    return saveFormats().front();
}

std::optional<SaveFormat> saveFormatOfExtension(const QString &extension)
{
    for (const SaveFormatTraits &t : saveFormats())
        if (extension.compare(t.extension, Qt::CaseInsensitive) == 0)
            return t.format;
    return std::nullopt;
}

SaveFormat saveFormatOf(const RecordingSettings &s)
{
    return saveFormatOfExtension(s.saveFormat).value_or(SaveFormat::Mp3);
}

QPair<int, int> captureFormatOf(const RecordingSettings &s)
{
    switch (saveFormatOf(s)) {
    case SaveFormat::Wav:
        return {std::max(8000, s.wavFrequency), std::clamp(s.wavChannels, 1, 2)};
    case SaveFormat::Flac:
        return {std::max(8000, s.flacFrequency), std::clamp(s.flacChannels, 1, 2)};
    case SaveFormat::Opus:   // always written at 48000 Hz
        return {48000, std::clamp(s.opusChannels, 1, 2)};
    case SaveFormat::Mp3:   // always written in stereo
        return {std::max(8000, s.mp3Frequency), 2};
    case SaveFormat::Wma:   // the profile's own format is the writer's to convert to
    case SaveFormat::Vorbis:
        break;
    }
    return {44100, 2};
}

double boundBytesPerSecond(const RecordingSettings &s)
{
    switch (saveFormatOf(s)) {
    case SaveFormat::Wav:
        return double(std::max(1, s.wavFrequency)) * std::max(1, s.wavChannels) * std::max(8, s.wavBitsPerSample) / 8.0;
    case SaveFormat::Wma:
        return 320 * 1000 / 8.0;   // the richest profile's rate
    case SaveFormat::Flac:   // never more than the samples themselves
        return double(std::max(8000, s.flacFrequency)) * std::max(1, s.flacChannels) * std::max(16, s.flacBitsPerSample) / 8.0;
    case SaveFormat::Vorbis:   // quality 10 stays below 500 kbit/s
        return 500 * 1000 / 8.0;
    case SaveFormat::Opus:   // a variable rate: half as much again as asked for
        return std::max(6, s.opusBitrate) * 1.5 * 1000 / 8.0;
    case SaveFormat::Mp3:
        break;
    }
    return std::max(8, s.mp3Bitrate) * 1000 / 8.0;
}

// ---- the Options dialog's lists ---------------------------------------------------------------

namespace {
constexpr Mp3Preset kMp3Presets[] = {
    {22050, 40}, {22050, 48}, {22050, 64},  {22050, 80},  {44100, 96},
    {44100, 128}, {44100, 160}, {44100, 192}, {44100, 256}, {44100, 320},
};
}  // namespace

QStringList mp3Catalogue()
{
    QStringList entries;
    for (const Mp3Preset &p : kMp3Presets)
        //: An MP3 setting: %1 the sample rate in hertz, %2 the bit rate in kilobits a second.
        //: "Hz" and "kbps" are units: write them as the language does.
        entries << QCoreApplication::translate("SaveFormat", "%1 Hz, %2 kbps").arg(p.frequency).arg(p.bitrate);
    return entries;
}

Mp3Preset mp3PresetFromIndex(int position)
{
    if (position >= 0 && position < int(std::size(kMp3Presets)))
        return kMp3Presets[position];
    return {44100, 128};
}

namespace {
constexpr int kWavRates[4] = {8000, 11025, 22050, 44100};
struct WavShape {
    int bits;
    int channels;
};
constexpr WavShape kWavShapes[4] = {{8, 1}, {16, 1}, {8, 2}, {16, 2}};
}  // namespace

QStringList wavCatalogue()
{
    QStringList out;
    for (int rate : kWavRates)
        for (const WavShape &shape : kWavShapes)
            //: A WAV or FLAC setting: %1 the sample rate in hertz, %2 the bits a sample, %3
            //: "Mono" or "Stereo". "Hz" and "bit" are units: write them as the language does.
            out << QCoreApplication::translate("SaveFormat", "%1 Hz - %2 bit,%3")
                       .arg(rate)
                       .arg(shape.bits)
                       .arg(channelsText(shape.channels));
    return out;
}

WavPreset wavPresetFromIndex(int position, const WavPreset &current)
{
    WavPreset out = current;
    // C++ division truncates toward zero, so -1 gives quotient 0 and remainder -1.
    const int rate = position / 4;
    const int shape = position % 4;
    if (rate >= 0 && rate <= 3)
        out.frequency = kWavRates[rate];
    if (shape >= 0 && shape <= 3) {
        out.channels = kWavShapes[shape].channels;
        out.bitsPerSample = kWavShapes[shape].bits;
    }
    return out;
}

namespace {
constexpr int kFlacRates[9] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000};
constexpr WavShape kFlacShapes[4] = {{16, 1}, {24, 1}, {16, 2}, {24, 2}};
// What Vorbis writes about at each quality for 44.1 kHz stereo, kbit/s (quality -1..10).
constexpr int kVorbisKbps[12] = {45, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 500};
constexpr OpusPreset kOpusPresets[] = {
    {6, 1},  {12, 1}, {16, 1}, {24, 1}, {32, 1}, {48, 1},  {64, 1},  {16, 2},  {24, 2},
    {32, 2}, {48, 2}, {64, 2}, {96, 2}, {128, 2}, {160, 2}, {192, 2}, {256, 2},
};
}  // namespace

QStringList flacCatalogue()
{
    QStringList out;
    for (int rate : kFlacRates)
        for (const WavShape &shape : kFlacShapes)
            out << QCoreApplication::translate("SaveFormat", "%1 Hz - %2 bit,%3")
                       .arg(rate)
                       .arg(shape.bits)
                       .arg(channelsText(shape.channels));
    return out;
}

int flacPosition(int frequency, int bitsPerSample, int channels)
{
    for (int r = 0; r < int(std::size(kFlacRates)); ++r)
        for (int k = 0; k < int(std::size(kFlacShapes)); ++k)
            if (kFlacRates[r] == frequency && kFlacShapes[k].bits == bitsPerSample && kFlacShapes[k].channels == channels)
                return r * int(std::size(kFlacShapes)) + k;
    return -1;
}

WavPreset flacPresetFromIndex(int position)
{
    const int shapes = int(std::size(kFlacShapes));
    if (position < 0 || position >= int(std::size(kFlacRates)) * shapes)
        return {44100, 2, 16};
    const WavShape &shape = kFlacShapes[position % shapes];
    return {kFlacRates[position / shapes], shape.channels, shape.bits};
}

QStringList vorbisCatalogue()
{
    QStringList out;
    for (int q = -1; q <= 10; ++q)
        //: An Ogg Vorbis setting: %1 the quality (-1 to 10), %2 the bit rate it gives, in kilobits
        //: a second. "kbps" is a unit: write it as the language does.
        out << QCoreApplication::translate("SaveFormat", "Quality %1 (about %2 kbps)").arg(q).arg(kVorbisKbps[q + 1]);
    return out;
}

QStringList opusCatalogue()
{
    QStringList out;
    for (const OpusPreset &p : kOpusPresets)
        //: An Opus setting, always at 48000 hertz: %1 the bit rate in kilobits a second, %2
        //: "Mono" or "Stereo". "Hz" and "kbps" are units: write them as the language does.
        out << QCoreApplication::translate("SaveFormat", "48000 Hz, %1 kbps, %2")
                   .arg(p.kbps)
                   .arg(channelsText(p.channels));
    return out;
}

int opusPosition(int kbps, int channels)
{
    // The nearest rate with those channels.
    int best = -1;
    for (int i = 0; i < int(std::size(kOpusPresets)); ++i) {
        if (kOpusPresets[i].channels != (channels == 1 ? 1 : 2))
            continue;
        if (best < 0 || std::abs(kOpusPresets[i].kbps - kbps) < std::abs(kOpusPresets[best].kbps - kbps))
            best = i;
    }
    return best;
}

OpusPreset opusPresetFromIndex(int position)
{
    if (position >= 0 && position < int(std::size(kOpusPresets)))
        return kOpusPresets[position];
    return {96, 2};
}

