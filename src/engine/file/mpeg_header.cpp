#include "engine/file/mpeg_header.h"

#include <QFile>

#include <algorithm>

namespace engine::file {

namespace {

const int kBitrates[2][3][16] = {
    {   // MPEG 1.0
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, -1},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1},
    },
    {   // MPEG 2.0 and 2.5
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, -1},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
    },
};

const int kSampleRates[3] = {44100, 48000, 32000};

quint32 be32(const uchar *p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
}

qint64 id3v2Size(const QByteArray &head, qint64 offset)
{
    if (head.size() < offset + 10 || !head.mid(offset, 3).startsWith("ID3"))
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(head.constData()) + offset;
    if ((p[6] | p[7] | p[8] | p[9]) & 0x80)
        return 0;
    qint64 size = 10 + ((qint64(p[6]) << 21) | (qint64(p[7]) << 14) | (qint64(p[8]) << 7) | p[9]);
    if (p[5] & 0x10)
        size += 10;   // footer
    return size;
}

// Bytes of APE and ID3v1 tags at the end of the file.
qint64 trailingTagBytes(QFile &file)
{
    const qint64 size = file.size();
    qint64 end = size;
    if (size >= 128 && file.seek(size - 128) && file.read(3) == "TAG")
        end -= 128;
    if (end >= 32 && file.seek(end - 32)) {
        const QByteArray footer = file.read(32);
        if (footer.startsWith("APETAGEX")) {
            const auto *p = reinterpret_cast<const uchar *>(footer.constData());
            const qint64 tagSize = qint64(p[12]) | (qint64(p[13]) << 8) | (qint64(p[14]) << 16)
                                   | (qint64(p[15]) << 24);
            const bool hasHeader = p[23] & 0x80;
            end -= tagSize + (hasHeader ? 32 : 0);
        }
    }
    return std::max<qint64>(0, size - std::max<qint64>(end, 0));
}

}  // namespace

QString MpegFrameHeader::versionText() const
{
    switch (version) {
    case 10: return QStringLiteral("1.0");
    case 20: return QStringLiteral("2.0");
    default: return QStringLiteral("2.5");
    }
}

bool parseMpegFrameHeader(const uchar *p, MpegFrameHeader *h)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15
        || rateIndex == 3)
        return false;
    MpegFrameHeader r;
    r.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
    r.layer = 4 - layerBits;
    r.crc = !(p[1] & 1);
    const bool padding = (p[2] >> 1) & 1;
    r.channels = (p[3] >> 6) == 3 ? 1 : 2;
    r.bitrateKbps = kBitrates[r.version == 10 ? 0 : 1][r.layer - 1][bitrateIndex];
    r.sampleRate = kSampleRates[rateIndex] >> (r.version == 10 ? 0 : r.version == 20 ? 1 : 2);
    const int bps = r.bitrateKbps * 1000;
    if (r.layer == 1) {
        r.samplesPerFrame = 384;
        r.frameBytes = (12 * bps / r.sampleRate + padding) * 4;
    } else if (r.layer == 2 || r.version == 10) {
        r.samplesPerFrame = 1152;
        r.frameBytes = 144 * bps / r.sampleRate + padding;
    } else {
        r.samplesPerFrame = 576;
        r.frameBytes = 72 * bps / r.sampleRate + padding;
    }
    *h = r;
    return true;
}

bool MpegStreamInfo::countsTrustworthy() const
{
    if (!hasInfoFrame || frames == 0)
        return false;
    // A file cut short has fewer bytes than its header frame counted.
    if (bytes != 0 && streamBytes + 16 < qint64(bytes))
        return false;
    // Without a byte count, the frames must at least fit the bytes at the lowest rate.
    if (bytes == 0 && header.samplesPerFrame > 0) {
        const qint64 minFrameBytes = 24;
        if (qint64(frames) * minFrameBytes > streamBytes * 4)
            return false;
    }
    return true;
}

qint64 MpegStreamInfo::decodedFrames() const
{
    const qint64 total = qint64(frames) * header.samplesPerFrame;
    if (!trimmed)
        return total;
    // FFmpeg skips delay + 529 samples at the start and discards from
    // total - padding + 529 on.
    const qint64 start = encoderDelay + 529;
    const qint64 end = std::min(total, total - encoderPadding + 529);
    return std::max<qint64>(0, end - start);
}

MpegStreamInfo readMpegStreamInfo(const QString &path)
{
    MpegStreamInfo info;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return info;
    // head holds the file's bytes from headStart on: the first 64 KiB, or as much past the
    // ID3v2 tags. The tags' sizes come from the file and may claim far more than it holds,
    // so nothing here is sized by them.
    const qint64 fileSize = file.size();
    qint64 headStart = 0;
    QByteArray head = file.read(1 << 16);
    qint64 offset = 0;
    // ID3v2 tags may be stacked; read far enough to get past them.
    for (int i = 0; i < 4; ++i) {
        const qint64 size = id3v2Size(head, offset - headStart);
        if (size == 0)
            break;
        offset += size;
        if (offset + 4 > fileSize)
            return info;   // the tags claim more than the file holds: no audio after them
        if (offset + 4096 > headStart + head.size()) {
            if (!file.seek(offset))
                return info;
            headStart = offset;
            head = file.read(1 << 16);
        }
    }
    // The first frame may follow a little junk; it must be followed by another frame
    // (or be a header frame) so that stray sync bytes are not taken for audio.
    const auto *data = reinterpret_cast<const uchar *>(head.constData());
    const qint64 start = offset - headStart;
    const qint64 limit = std::min<qint64>(head.size() - 4, start + 8192);
    for (qint64 pos = start; pos < limit; ++pos) {
        MpegFrameHeader h;
        if (!parseMpegFrameHeader(data + pos, &h))
            continue;
        const qint64 next = pos + h.frameBytes;
        MpegFrameHeader h2;
        const bool followed = next + 4 <= head.size() && parseMpegFrameHeader(data + next, &h2)
                              && h2.sampleRate == h.sampleRate && h2.layer == h.layer;
        const bool lastInFile = headStart + next >= fileSize - 128;

        // Xing/Info sits after the side information; VBRI 32 bytes after the header.
        const int sideInfo = h.version == 10 ? (h.channels == 1 ? 17 : 32)
                                             : (h.channels == 1 ? 9 : 17);
        const qint64 xing = pos + 4 + sideInfo;
        const qint64 vbri = pos + 4 + 32;
        bool infoFrame = false;
        if (h.layer == 3 && xing + 8 <= head.size()) {
            const QByteArray tag = head.mid(xing, 4);
            if (tag == "Xing" || tag == "Info") {
                infoFrame = true;
                info.vbr = tag == "Xing";
                const quint32 flags = be32(data + xing + 4);
                qint64 p = xing + 8;
                if ((flags & 1) && p + 4 <= head.size()) {
                    info.frames = be32(data + p);
                    p += 4;
                }
                if ((flags & 2) && p + 4 <= head.size()) {
                    info.bytes = be32(data + p);
                    p += 4;
                }
                if (flags & 4)
                    p += 100;
                if (flags & 8)
                    p += 4;
                if (p + 24 <= head.size()) {
                    const QByteArray encoder = head.mid(p, 4);
                    if (encoder == "LAME" || encoder == "Lavf" || encoder == "Lavc") {
                        const quint32 v = (quint32(data[p + 21]) << 16)
                                          | (quint32(data[p + 22]) << 8) | data[p + 23];
                        info.trimmed = true;
                        info.encoderDelay = int(v >> 12);
                        info.encoderPadding = int(v & 0xFFF);
                    }
                }
            } else if (vbri + 26 <= head.size() && head.mid(vbri, 4) == "VBRI") {
                infoFrame = true;
                info.vbr = true;
                info.bytes = be32(data + vbri + 10);
                info.frames = be32(data + vbri + 14);
            }
        }
        if (!followed && !infoFrame && !lastInFile)
            continue;
        info.valid = true;
        info.firstFrameOffset = headStart + pos;
        info.header = h;
        info.audioBitrateKbps = infoFrame && followed ? h2.bitrateKbps : h.bitrateKbps;
        info.hasInfoFrame = infoFrame;
        if (!infoFrame) {
            info.vbr = false;
            info.frames = info.bytes = 0;
            info.trimmed = false;
        }
        info.streamBytes =
            std::max<qint64>(0, fileSize - info.firstFrameOffset - trailingTagBytes(file));
        return info;
    }
    return info;
}

}  // namespace engine::file
