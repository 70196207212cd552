// The file components: FfmpegAudioFile reads every file type the program opens and writes
// its recordings; LameEncoderSettings holds the MP3 encoder settings handed to it.
//
// Reading (Open, GetNumSamples, GetFormatValueA/B, GetFormatDescription, Seek, ReadArray):
//   - types: WAV (PCM 8/16/24/32-bit integer and float, ADPCM), MPEG audio layers 1-3
//     (CBR and VBR), Ogg Vorbis, FLAC, Opus, the first audio stream of an AVI file, raw G.721
//     (".g721": G.726 at 32 kbit/s, 8000 Hz, mono, little-endian bit packing, i.e. the
//     first sample in the low nibble of each byte), Musepack (".mpc", ".mp+"), WMA;
//   - ReadArray returns Float32 blocks at the file's own rate and channel count;
//   - lengths are exact: the frames ReadArray delivers from start to end;
//   - Seek is sample-accurate (the frames read after Seek(p) are those a read from the
//     start delivers from frame p on);
//   - GetErrorCode after Open: 0 = open, 1 = no such file, 2 = a directory or device,
//     3 = not readable, 4 = empty, 5 = not a known audio format or nothing decodes,
//     6 = no decodable audio stream. A failed Open throws nothing.
//
// Writing (Create, WriteArray, Close): the type follows the extension of the path given
// to Create (".wav", ".mp3", ".wma", ".flac", ".ogg", ".opus", any letter case) with the
// parameters last set for that type; any other extension is written as MP3, the default
// format. So the Options dialog may push every format and be cancelled: the next recording
// still follows its file's extension, whatever the order of the calls.
//   - WAV: SetWavFormat(rate, channels, bits): PCM, 1 or 2 channels, 8-bit (unsigned) or
//     16-bit; the header is brought up to date at least once a second while writing.
//   - MP3: LAME at the sample rate and bit rate of SetMp3Format, or of the encoder object
//     given to SetMp3Encoder once its SetFrequency/SetBitrate were called (those take
//     precedence); a Xing/LAME header carries the exact length.
//   - WMA: Windows Media Audio V2 in ASF, in the profile chosen by SetWmaProfile.
//   - FLAC: FFmpeg's own encoder in a native FLAC file, SetFlacFormat(rate, channels, bits,
//     level); every frame is handed to the system as it is made, and Close writes the
//     total length into the STREAMINFO block.
//   - Ogg Vorbis: libvorbis at the quality of SetVorbisQuality, 44100 Hz stereo.
//   - Opus: libopus in Ogg at 48000 Hz, SetOpusFormat(kbps, channels). The Ogg pages hold
//     at most about 250 ms and are handed to the system after every block.
//   - WriteArray takes blocks in any sample format, rate and channel count and converts
//     them to the file's format. Every failure of Create, WriteArray or Close throws
//     EngineError ("Cannot create /x/y.mp3: Permission denied"); what was written before
//     stays readable. Create replaces a file of that name.
//   - A block that does not fit (WAV's 4 GB, the file system's largest file) throws
//     FileLimitError; the file ends before that block and Close completes it normally.
//     After any other failure (a full disk, a write error) Close still leaves a file that
//     ends on a whole frame or packet, with a header that says so.
//   - Everything written reaches the disk within about a second, so a recording killed
//     with the program, or with the machine, plays up to about a second before the end;
//     RepairFile then gives it a header with its true length.
//
// WMA profiles: GetWmaProfileCount() profiles (the combinations the encoder accepts),
// ordered by sample rate, then channels, then bit rate; list position 38 is 44100 Hz
// stereo at 128 kbit/s. SetWmaProfile(v) makes list position v (counted from 0) the
// profile of the next WMA Create. With no file open, GetFormatDescription describes
// profile number v counted from 1, that is list position v - 1, as "WMA " followed by its
// label ("WMA 128 kbps, 44100 Hz, Stereo"); so labelling entry k with characters 5..104
// of the description after SetWmaProfile(k + 1) names exactly the profile that
// SetWmaProfile(k) applies. Values out of range are clamped into it.
//
// Open and Create first close whatever the component had open (quietly); SetActive(false)
// closes it too. Calls are synchronous, on the UI thread.
#pragma once

#include "engine/engine.h"
#include "engine/file/output_format.h"

#include <QString>

#include <memory>

namespace engine {

namespace file {
class AudioDecoder;
class AudioWriter;
}  // namespace file

class LameEncoderSettings : public IAudioFile2LameEnc {
public:
    LameEncoderSettings();
    ~LameEncoderSettings() override;

    void SetFrequency(int hz) override;       // Hz
    void SetBitrate(int kbps) override;       // kbit/s

    // The values set so far (0 = not set).
    struct Settings {
        int frequency = 0;
        int bitrate = 0;
    };
    std::shared_ptr<const Settings> settings() const { return m_settings; }

private:
    std::shared_ptr<Settings> m_settings;
};

class FfmpegAudioFile : public IAudioFile2 {
public:
    FfmpegAudioFile();
    ~FfmpegAudioFile() override;

    void SetActive(bool active) override;
    void SetWavFormat(int frequency, int channels, int bitsPerSample) override;
    void SetMp3Format(int frequency, int bitrate, int channels) override;
    void SetMp3Encoder(IAudioFile2LameEnc *encoder) override;
    void SetWmaProfile(int profile) override;
    int GetWmaProfileCount() override;
    void Create(const QString &path, int mode) override;
    void CreateReserved(int fd, const QString &path, int mode) override;
    void WriteArray(const SampleArray &samples) override;
    void Open(const QString &path, int mode, int flags) override;
    int GetErrorCode() override;
    qint64 GetNumSamples() override;      // frames: the open file's length, or written so far
    int GetFormatValueA() override;       // sample rate of the open file, Hz (0 = none)
    int GetFormatValueB() override;       // channels of the open file (0 = none)
    QString GetFormatDescription() override;
    qint64 Seek(qint64 position, int mode) override;
    SampleArray ReadArray(qint64 count) override;
    void Close() override;

    // Why the last Open failed ("Cannot open /x/y.mp3: No such file or directory");
    // empty after a good one.
    QString GetErrorText() override { return m_errorText; }

    // WAV, MP3, WMA, FLAC and Ogg (Vorbis, Opus) files; see file_repair.h. A file this
    // process is writing is not touched.
    void RepairFile(const QString &path) override;
    void RepairOpenFile(int fd, const QString &path, const QString &extension) override;
    // The file being written; see engine.h. A name is added with linkat() where the file
    // still has one on that file system, else the file is copied (OpenFileMove).
    void MoveOpenFile(const QString &newPath) override;
    bool IsMovingFile() override;

    // Markers as chapters inside a closed file; see file_markers.h. The file's sample rate
    // is its own (GetFormatValueA after Open tells it).
    std::vector<FileMarker> GetMarkers(const QString &path) override;
    void SetMarkers(const QString &path, const std::vector<FileMarker> &markers) override;

    // Clamped as file::flacFormat, vorbisFormat and opusFormat say.
    void SetFlacFormat(int frequency, int channels, int bitsPerSample, int compressionLevel) override;
    void SetVorbisQuality(int quality) override;
    void SetOpusFormat(int kbps, int channels) override;

private:
    void closeQuietly();
    file::OutputFormat formatFor(const QString &path) const;

    std::unique_ptr<file::AudioDecoder> m_reader;
    std::unique_ptr<file::AudioWriter> m_writer;
    bool m_active = false;
    int m_errorCode = 0;
    QString m_errorText;

    int m_wavFrequency = 44100;
    int m_wavChannels = 2;
    int m_wavBits = 16;
    int m_mp3Frequency = 44100;
    int m_mp3Bitrate = 128;
    int m_mp3Channels = 2;
    int m_wmaProfile = 38;                 // the value last given to SetWmaProfile
    file::OutputFormat m_flac = file::flacFormat(44100, 2, 16, 5);
    file::OutputFormat m_vorbis = file::vorbisFormat(5);
    file::OutputFormat m_opus = file::opusFormat(96, 2);
    std::weak_ptr<const LameEncoderSettings::Settings> m_encoder;
};

}  // namespace engine
