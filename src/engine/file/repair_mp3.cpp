// The repair of an MP3 file: the audio ends after its last whole frame, and its Xing or Info
// frame counts what is there.
#include "engine/file/repair_io.h"

#include "engine/file/mpeg_header.h"

extern "C" {
#include <libavutil/crc.h>
}

#include <QtEndian>

#include <cstring>

namespace engine::file::repair {

namespace {

constexpr int kMaxMpegFrameBytes = 2881;

qint64 id3v2Bytes(const QByteArray &h)
{
    if (h.size() < 10 || !h.startsWith("ID3"))
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(h.constData());
    if ((p[6] | p[7] | p[8] | p[9]) & 0x80)
        return 0;
    qint64 size = 10 + ((qint64(p[6]) << 21) | (qint64(p[7]) << 14) | (qint64(p[8]) << 7) | p[9]);
    if (p[5] & 0x10)
        size += 10;
    return size;
}

// The first frame from offset on that is followed by another one; failing that, the first
// that ends the audio (all but the start of a frame header), or else the first one cut
// short. -1 when there is none.
qint64 firstMpegFrame(SequentialReader &reader, qint64 offset, qint64 end, MpegFrameHeader *header)
{
    qint64 last = -1, cutShort = -1;
    MpegFrameHeader lastHeader, cutShortHeader;
    for (qint64 pos = offset; pos + 4 <= std::min(end, offset + 8192); ++pos) {
        const char *p = reader.at(pos, 4);
        MpegFrameHeader h, next;
        if (!p || !parseMpegFrameHeader(reinterpret_cast<const uchar *>(p), &h))
            continue;
        const qint64 nextPos = pos + h.frameBytes;
        const char *q = nextPos + 4 <= end ? reader.at(nextPos, 4) : nullptr;
        if (q && parseMpegFrameHeader(reinterpret_cast<const uchar *>(q), &next) && next.sampleRate == h.sampleRate
            && next.layer == h.layer) {
            *header = h;
            return pos;
        }
        int rest = 0;
        const char *r = nextPos <= end ? reader.upTo(nextPos, 3, &rest) : nullptr;
        const bool endsAudio = nextPos <= end
                               && (rest == 0 || (nextPos + 4 > end && uchar(r[0]) == 0xFF
                                                 && (rest < 2 || (uchar(r[1]) & 0xE0) == 0xE0)));
        if (endsAudio && last < 0) {
            last = pos;
            lastHeader = h;
        } else if (nextPos > end && cutShort < 0) {
            cutShort = pos;
            cutShortHeader = h;
        }
    }
    *header = last >= 0 ? lastHeader : cutShortHeader;
    return last >= 0 ? last : cutShort;
}

}  // namespace

bool isMpeg(const QByteArray &head)
{
    MpegFrameHeader h;
    return head.startsWith("ID3")
           || (head.size() >= 4 && parseMpegFrameHeader(reinterpret_cast<const uchar *>(head.constData()), &h));
}

void repairMp3(RepairTarget &file)
{
    // Past the ID3v2 tags (they may be stacked) to the first frame.
    qint64 offset = 0;
    for (int i = 0; i < 4; ++i) {
        const qint64 tag = id3v2Bytes(file.read(offset, 10));
        if (tag == 0)
            break;
        offset += tag;
    }
    const qint64 audioEnd = file.size();
    SequentialReader reader(file);
    MpegFrameHeader firstHeader;
    qint64 first = firstMpegFrame(reader, offset, audioEnd, &firstHeader);
    if (first < 0)
        file.fail(QCoreApplication::translate("FileRepair", "it holds no MPEG audio frames"));

    // The header frame written at the start, if any.
    const int vbri = 4 + 32;
    int xing = 0;
    QByteArray original;
    bool infoFrame = false;
    bool vbriFrame = false;

    // Walk the whole frames; the audio data's CRC (for the LAME tag) covers those after
    // the header frame. The repaired file must find the same first frame again: when the
    // end it is cut to makes another one first (sync bytes in what lies before or in a
    // frame, whose frame reaches that end), the frames are walked from that one.
    std::vector<qint64> offsets;
    const AVCRC *crcTable = av_crc_get_table(AV_CRC_16_ANSI_LE);
    quint16 audioCrc = 0;
    qint64 cut = first;
    for (qint64 end = audioEnd;;) {
        original = file.read(first, firstHeader.frameBytes);
        xing = 4 + (firstHeader.version == 10 ? (firstHeader.channels == 1 ? 17 : 32)
                                              : (firstHeader.channels == 1 ? 9 : 17));
        infoFrame = firstHeader.layer == 3 && original.size() >= xing + 8
                    && (original.mid(xing, 4) == "Xing" || original.mid(xing, 4) == "Info");
        vbriFrame = firstHeader.layer == 3 && !infoFrame && original.size() >= vbri + 4
                    && original.mid(vbri, 4) == "VBRI";
        offsets.clear();
        audioCrc = 0;
        qint64 pos = first;
        while (pos + 4 <= end) {
            const char *p = reader.at(pos, 4);
            MpegFrameHeader h;
            if (!p || !parseMpegFrameHeader(reinterpret_cast<const uchar *>(p), &h)
                || h.sampleRate != firstHeader.sampleRate || h.layer != firstHeader.layer || pos + h.frameBytes > end)
                break;
            if (!offsets.empty() || !infoFrame) {
                const char *data = reader.at(pos, h.frameBytes);
                if (!data)
                    break;
                audioCrc = quint16(av_crc(crcTable, audioCrc, reinterpret_cast<const uint8_t *>(data), size_t(h.frameBytes)));
            }
            offsets.push_back(pos);
            pos += h.frameBytes;
        }
        cut = pos;
        MpegFrameHeader again;
        const qint64 firstAgain = cut < end && !offsets.empty() ? firstMpegFrame(reader, offset, cut, &again) : first;
        if (firstAgain == first || firstAgain < 0)
            break;
        first = firstAgain;
        firstHeader = again;
        end = cut;
    }
    if (offsets.empty())
        file.fail(QCoreApplication::translate("FileRepair", "it holds no whole MPEG audio frame"));
    // What follows the last whole frame may only be a frame cut short (a recording that
    // was killed or ran out of disk); anything else is damage we do not guess at.
    if (audioEnd - cut >= kMaxMpegFrameBytes)
        file.fail(QCoreApplication::translate("FileRepair", "its audio data is damaged at byte %1").arg(cut));
    QByteArray frame = original;

    if (infoFrame) {
        const quint32 frames = quint32(offsets.size() - 1);
        const quint32 bytes = quint32(cut - first);
        char *f = frame.data();
        // Where the fields the flags announce lie: each one inside the frame, or the tag
        // is not one we can trust.
        const quint32 flags = qFromBigEndian<quint32>(f + xing + 4);
        int p = xing + 8;
        const int framesAt = (flags & 1) ? std::exchange(p, p + 4) : -1;
        const int bytesAt = (flags & 2) ? std::exchange(p, p + 4) : -1;
        const int tocAt = (flags & 4) ? std::exchange(p, p + 100) : -1;
        if (flags & 8)
            p += 4;   // quality
        if (p > frame.size())
            file.fail(QCoreApplication::translate("FileRepair", "its header frame is damaged"));
        const bool countsChange = (framesAt >= 0 && qFromBigEndian<quint32>(f + framesAt) != frames)
                                  || (bytesAt >= 0 && qFromBigEndian<quint32>(f + bytesAt) != bytes);
        // A complete file: its seek table and tag are the encoder's own.
        if (!countsChange && (flags & 3) && cut == file.size())
            return;
        if (framesAt >= 0)
            qToBigEndian<quint32>(frames, f + framesAt);
        if (bytesAt >= 0)
            qToBigEndian<quint32>(bytes, f + bytesAt);
        if (tocAt >= 0) {
            // Where each percent of the playing time starts, in 256ths of the stream.
            for (int i = 0; i < 100; ++i) {
                const qint64 at = frames > 0 ? offsets[size_t(1 + qint64(i) * frames / 100)] - first : 0;
                f[tocAt + i] = char(bytes > 0 ? std::min<qint64>(255, at * 256 / bytes) : 0);
            }
        }
        // The LAME tag follows, when the frame holds the whole of it.
        const QByteArray encoder = frame.mid(p, 4);
        if (p + 36 <= frame.size() && (encoder == "LAME" || encoder == "Lavf" || encoder == "Lavc")) {
            // The end was not padded on purpose: the last frame holds real audio.
            if (countsChange) {
                f[p + 22] = char(f[p + 22] & 0xF0);
                f[p + 23] = 0;
            }
            qToBigEndian<quint32>(bytes, f + p + 28);
            qToBigEndian<quint16>(audioCrc, f + p + 32);
            qToBigEndian<quint16>(quint16(av_crc(crcTable, 0, reinterpret_cast<const uint8_t *>(f), size_t(p + 34))), f + p + 34);
        }
    } else if (vbriFrame) {
        // We never write VBRI frames and do not rewrite their tables: without the tag the
        // frame is plain silence, and players count the frames themselves.
        std::fill(frame.begin() + vbri, frame.end(), '\0');
    }

    if (cut == file.size() && frame == original)
        return;
    file.truncate(cut);
    if (frame != original)
        file.write(first, frame);
}

}  // namespace engine::file::repair
