// Reads any audio file the program opens (WAV, MPEG audio, Ogg Vorbis, FLAC, Opus, AVI,
// raw G.721, Musepack, WMA) through FFmpeg, as interleaved float frames at the file's own
// rate and channel count, with an exact length and sample-accurate seeking. Internal to the
// engine: FfmpegAudioFile reads through it and TagLibInformation measures with it.
//
// Raw G.721 (".g721", ".g726"): such a stream has no header, so it is read as G.726 at
// 32 kbit/s (4 bits per sample), 8000 Hz, mono, with the little-endian bit packing
// ("right-justified": the first sample in the low nibble of each byte), the packing of the
// classic G.72x reference tools and of G.721 in WAV files. A ".g721" file that does
// carry a RIFF header is read through that header.
#pragma once

#include "engine/engine.h"

#include <QString>

#include <memory>
#include <vector>

namespace engine::file {

// Why an open failed (FfmpegAudioFile::GetErrorCode reports these).
enum OpenError {
    OpenOk = 0,
    OpenNotFound = 1,        // no such file
    OpenNotAFile = 2,        // a directory or a device
    OpenNotReadable = 3,     // no permission or a read error
    OpenEmpty = 4,           // zero bytes
    OpenNotAudio = 5,        // no known audio format, or nothing in it decodes
    OpenNoAudioStream = 6,   // a container without a decodable audio stream
};

class AudioDecoder {
public:
    AudioDecoder();
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder &) = delete;
    AudioDecoder &operator=(const AudioDecoder &) = delete;

    // Opens path at its start; false with errorCode() and errorText() set on failure.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_open; }

    int errorCode() const { return m_errorCode; }
    QString errorText() const { return m_errorText; }   // "Cannot open <path>: <reason>"
    QString errorReason() const { return m_errorReason; }   // "<reason>" alone

    int sampleRate() const { return m_sampleRate; }      // Hz
    int channels() const { return m_channels; }
    qint64 length() const { return m_length; }           // frames
    QString description() const { return m_description; }
    qint64 position() const { return m_position; }       // frame the next read starts at
    // FFmpeg's name of the container ("mp3", "wav", "asf", "ogg", "avi", "mpc8", ...) and
    // the codec (an AVCodecID).
    QString containerName() const { return m_containerName; }
    int codecId() const { return m_codecId; }

    // Moves to frame `position` (clamped to 0..length); returns the frame reached.
    qint64 seek(qint64 position);
    // The next `count` frames (fewer at the end, empty after it).
    SampleArray read(qint64 count);

private:
    struct Demux;

    bool fail(int code, const QString &reason);
    std::unique_ptr<Demux> openDemux(QString *reason, int *code = nullptr);
    bool decodeFrame(Demux &d);
    void appendFrame(Demux &d);
    bool decodeIntoBuffer();
    bool startAtBeginning();
    bool coarseSeek(qint64 position);
    bool coarseSeekByTime(qint64 target, qint64 latest);
    bool coarseSeekByBytes(qint64 target, qint64 latest);
    bool frameAtBytes(qint64 bytePos, qint64 *frame) const;
    void skipTo(qint64 target);
    qint64 bufferedFrames() const;
    void dropBuffered(qint64 frames);
    bool timestampToFrames(qint64 ts, qint64 *frames) const;
    qint64 prerollFrames() const;
    void measure();
    qint64 scanPackets(qint64 *bytes, bool *mixedBitrates, bool *complete);
    qint64 countByDecoding();
    qint64 windowsMediaLength(qint64 headerLength, qint64 fileBytes);
    void measureTail();
    void describe(qint64 streamBytes, bool vbr);

    QString m_path;
    bool m_open = false;
    bool m_forceG726 = false;
    bool m_emptyStream = false;     // a header-only MPEG file (a recording of nothing)
    int m_errorCode = OpenOk;
    QString m_errorText;
    QString m_errorReason;

    std::unique_ptr<Demux> m_demux;
    int m_sampleRate = 0;
    int m_channels = 0;
    qint64 m_length = 0;
    QString m_description;
    QString m_containerName;
    int m_codecId = 0;
    qint64 m_codecBitRate = 0;

    // Where a container's timestamps cannot be trusted after a seek, packets are found by
    // their byte position: from an index made while measuring (Musepack) or from the
    // fixed block size (ADPCM in WAV).
    struct SeekPoint {
        qint64 bytePos;
        qint64 frame;
    };
    std::vector<SeekPoint> m_seekIndex;
    qint64 m_blockStart = -1;       // byte position of the first block
    qint64 m_blockBytes = 0;
    qint64 m_blockFrames = 0;

    qint64 m_origin = 0;            // the first decoded frame's timestamp, in frames
    qint64 m_grid = 0;              // codec frame size, to place coarse timestamps
    qint64 m_position = 0;
    bool m_atEnd = false;

    std::vector<float> m_buffer;    // decoded frames not yet read, interleaved
    size_t m_bufferHead = 0;        // samples already consumed from m_buffer
};

}  // namespace engine::file
