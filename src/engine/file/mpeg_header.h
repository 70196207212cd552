// MPEG audio (layer 1, 2, 3) frame headers and the Xing/Info, LAME and VBRI headers that
// encoders put into the first frame. Used to measure MP3 files without reading them
// through, and to describe them.
#pragma once

#include <QString>
#include <QtGlobal>

namespace engine::file {

struct MpegFrameHeader {
    int version = 0;          // 10 = MPEG 1.0, 20 = MPEG 2.0, 25 = MPEG 2.5
    int layer = 0;            // 1..3
    int bitrateKbps = 0;      // 0 = free format
    int sampleRate = 0;       // Hz
    int channels = 0;         // 1 or 2
    int frameBytes = 0;       // whole frame, header included
    int samplesPerFrame = 0;  // 384, 576 or 1152
    bool crc = false;

    // "1.0", "2.0" or "2.5".
    QString versionText() const;
};

// Parses the four header bytes at p. False for anything that is not a usable header
// (free-format frames included).
bool parseMpegFrameHeader(const uchar *p, MpegFrameHeader *header);

// What the start of an MPEG audio file tells about the whole stream.
struct MpegStreamInfo {
    bool valid = false;            // a frame header was found where the audio starts
    qint64 firstFrameOffset = 0;   // bytes before the first frame (ID3v2 tags)
    qint64 streamBytes = 0;        // from the first frame to the end, trailing tags excluded
    MpegFrameHeader header;        // of the first frame
    int audioBitrateKbps = 0;      // of the first audio frame (a header frame's own rate
                                   // is whatever made room for its tag)

    bool hasInfoFrame = false;     // the first frame is a Xing/Info or VBRI header frame
    bool vbr = false;              // "Xing" (or VBRI) rather than "Info"
    quint32 frames = 0;            // audio frames after the header frame, 0 = not given
    quint32 bytes = 0;             // stream bytes including the header frame, 0 = not given
    bool trimmed = false;          // a LAME-style tag gives encoder delay and padding
    int encoderDelay = 0;          // samples
    int encoderPadding = 0;        // samples

    // The header frame's counts still match the file (it was not cut short or extended
    // with audio after the header was written).
    bool countsTrustworthy() const;
    // Frames the decoder delivers when the counts are trustworthy: FFmpeg removes the
    // encoder delay (plus its own decoder delay of 529) at the start and the padding at
    // the end, exactly as a LAME-aware player does.
    qint64 decodedFrames() const;
};

// Reads the ID3v2 tags, the first frame and the trailing tags of the file at path.
MpegStreamInfo readMpegStreamInfo(const QString &path);

}  // namespace engine::file
