// The formats the file component writes, and the WMA profiles it offers.
#pragma once

#include <QString>

#include <vector>

namespace engine::file {

enum class OutputType { Wav, Mp3, Wma, Flac, Vorbis, Opus };

struct OutputFormat {
    OutputType type = OutputType::Mp3;
    int sampleRate = 44100;   // Hz
    int channels = 2;         // 1 or 2
    int bitsPerSample = 16;   // WAV: 8 (unsigned) or 16; FLAC: 16 or 24
    int kbps = 128;           // MP3, WMA and Opus: bit rate, kbit/s
    int compressionLevel = 5; // FLAC: 0 (fastest) .. 8 (smallest)
    int quality = 5;          // Ogg Vorbis: -1 .. 10

    // One line in the shape the status bar shortens: "MPEG 1.0 layer-3: 128 kbps,
    // 44100 Hz, Stereo", "PCM: 44100 Hz, 16 bit, Stereo", "Windows Media Audio V2: ...",
    // "FLAC: 44100 Hz, 16 bit, Stereo", "Ogg Vorbis: quality 5, 44100 Hz, Stereo",
    // "Opus: 96 kbps, 48000 Hz, Stereo".
    QString description() const;
};

// WAV as written: any positive rate, 1 or 2 channels, 8 or 16 bits (anything above 8 is
// written as 16).
OutputFormat wavFormat(int frequency, int channels, int bitsPerSample);
// MP3 as LAME can write it: the nearest MPEG sample rate and, for that rate's MPEG
// version, the nearest valid bit rate; 1 or 2 channels.
OutputFormat mp3Format(int frequency, int kbps, int channels);

// FLAC: 8000..96000 Hz (a rate above 65535 Hz is rounded to whole tens, as FLAC frame
// headers need), 1 or 2 channels, 16 or 24 bits (anything above 16 is 24), compression
// level 0..8.
OutputFormat flacFormat(int frequency, int channels, int bitsPerSample, int compressionLevel);
// Ogg Vorbis at quality -1..10, 44100 Hz stereo.
OutputFormat vorbisFormat(int quality);
// Opus in Ogg: 6..256 kbit/s, 1 or 2 channels, always 48000 Hz.
OutputFormat opusFormat(int kbps, int channels);

// WMA profiles: the combinations of sample rate, channels and bit rate that FFmpeg's
// Windows Media Audio V2 encoder accepts (each candidate is probed once per process),
// ordered by sample rate, then channels, then bit rate. List position 38 is 44100 Hz,
// stereo, 128 kbit/s.
struct WmaProfile {
    int sampleRate;
    int channels;
    int kbps;
};
const std::vector<WmaProfile> &wmaProfiles();
OutputFormat wmaFormat(const WmaProfile &profile);
// "128 kbps, 44100 Hz, Stereo"
QString wmaProfileLabel(const WmaProfile &profile);

}  // namespace engine::file
