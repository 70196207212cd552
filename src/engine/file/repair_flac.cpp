// The repair of a FLAC file: the audio ends after its last whole frame, and STREAMINFO
// counts the samples there are.
#include "engine/file/repair_io.h"

extern "C" {
#include <libavutil/crc.h>
}

#include <QtEndian>

#include <cstring>

namespace engine::file::repair {

namespace {

struct FlacFrameHeader {
    bool variable = false;    // numbered by sample rather than by frame
    quint64 number = 0;       // frame or first sample number
    int blockSize = 0;        // samples per channel
};

constexpr int kFlacLongestFrameHeader = 16;

// Bytes after the first of a UTF-8 coded frame or sample number; -1 for no such first byte.
int flacNumberExtraBytes(uchar lead)
{
    if (lead < 0x80)
        return 0;
    if (lead < 0xC0 || lead == 0xFF)
        return -1;
    return lead >= 0xFE ? 6 : lead >= 0xFC ? 5 : lead >= 0xF8 ? 4 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
}

// The length of the frame header at p, as far as the `available` bytes there tell (6 when
// too few are there to tell); 0 when they cannot start a frame header.
int flacFrameHeaderLength(const uchar *p, int available)
{
    if (available < 1 || p[0] != 0xFF || (available >= 2 && (p[1] & 0xFE) != 0xF8))
        return 0;
    if (available < 3)
        return 6;
    const int blockCode = p[2] >> 4;
    const int rateCode = p[2] & 0x0F;
    if (blockCode == 0 || rateCode == 0x0F)
        return 0;
    if (available >= 4 && ((p[3] >> 4) > 10 || ((p[3] >> 1) & 0x07) == 3 || (p[3] & 1)))
        return 0;
    if (available < 5)
        return 6;
    const int extra = flacNumberExtraBytes(p[4]);
    if (extra < 0)
        return 0;
    for (int i = 1; i <= extra && 4 + i < available; ++i) {
        if ((p[4 + i] & 0xC0) != 0x80)
            return 0;
    }
    return 5 + extra + (blockCode == 6 ? 1 : blockCode == 7 ? 2 : 0)
           + (rateCode == 12 ? 1 : rateCode >= 13 ? 2 : 0) + 1;
}

// The frame header at p (`available` bytes from there): sync code, reserved bits and its
// CRC-8 must be right.
bool readFlacFrameHeader(const uchar *p, int available, FlacFrameHeader *h)
{
    const int length = flacFrameHeaderLength(p, available);
    if (length == 0 || available < length)
        return false;
    // The CRC-8 over the header, itself included, leaves nothing.
    if (av_crc(av_crc_get_table(AV_CRC_8_ATM), 0, p, size_t(length)) != 0)
        return false;
    const int extra = flacNumberExtraBytes(p[4]);
    quint64 number = p[4] & (0x7F >> extra);
    for (int i = 1; i <= extra; ++i)
        number = (number << 6) | (p[4 + i] & 0x3F);
    const int blockCode = p[2] >> 4;
    const uchar *size = p + 5 + extra;
    if (blockCode == 1)
        h->blockSize = 192;
    else if (blockCode <= 5)
        h->blockSize = 576 << (blockCode - 2);
    else if (blockCode == 6)
        h->blockSize = size[0] + 1;
    else if (blockCode == 7)
        h->blockSize = ((size[0] << 8) | size[1]) + 1;
    else
        h->blockSize = 256 << (blockCode - 8);
    h->variable = p[1] & 1;
    h->number = number;
    return true;
}

// The `available` bytes at p are the start of a frame header of the stream, cut short.
bool couldStartFlacFrameHeader(const uchar *p, int available, bool variable)
{
    const int length = flacFrameHeaderLength(p, available);
    return length > 0 && available < length && (available < 2 || bool(p[1] & 1) == variable);
}

// STREAMINFO's total sample count (36 bits from byte 13 of the block's data).
quint64 flacTotalSamples(const char *info)
{
    return (quint64(uchar(info[13]) & 0x0F) << 32) | qFromBigEndian<quint32>(info + 14);
}

}  // namespace

bool isFlac(const QByteArray &head)
{
    return head.startsWith("fLaC");
}

void repairFlac(RepairTarget &file)
{
    // The metadata blocks: STREAMINFO, 34 bytes, first and only there.
    constexpr qint64 streamInfo = 8;
    qint64 pos = 4;
    for (bool last = false; !last;) {
        const QByteArray h = file.read(pos, 4);
        if (h.size() < 4)
            file.fail(QCoreApplication::translate("FileRepair", "its metadata is cut short"));
        last = uchar(h[0]) & 0x80;
        const int type = uchar(h[0]) & 0x7F;
        const qint64 length = (qint64(uchar(h[1])) << 16) | (qint64(uchar(h[2])) << 8) | uchar(h[3]);
        if (pos == 4 && (type != 0 || length != 34))
            file.fail(QCoreApplication::translate("FileRepair", "it has no stream information block"));
        if (pos > 4 && (type == 0 || type == 127))
            file.fail(QCoreApplication::translate("FileRepair", "its metadata is damaged"));
        pos += 4 + length;
        if (pos > file.size())
            file.fail(QCoreApplication::translate("FileRepair", "its metadata is cut short"));
    }
    const qint64 audioStart = pos;
    const QByteArray original = file.read(streamInfo, 34);
    QByteArray info = original;
    const int maxBlock = (uchar(info[2]) << 8) | uchar(info[3]);
    const qint64 declaredMaxFrame = (qint64(uchar(info[7])) << 16) | (qint64(uchar(info[8])) << 8) | uchar(info[9]);
    const int channels = ((uchar(info[12]) >> 1) & 0x07) + 1;
    const int bits = (((uchar(info[12]) & 1) << 4) | (uchar(info[13]) >> 4)) + 1;
    // No frame is longer than its samples stored verbatim; the encoder's own bound, where
    // it gave one, may be larger still.
    const qint64 longestFrame = std::max<qint64>(declaredMaxFrame,
                                                 qint64(maxBlock > 0 ? maxBlock : 65535) * channels * ((bits + 7) / 8)
                                                     + 1024);

    // Walk the whole frames: each one's CRC-16 (over the frame, itself included) leaves
    // nothing, and the next frame's header carries the next number.
    const AVCRC *crc16 = av_crc_get_table(AV_CRC_16_ANSI);
    SequentialReader reader(file);
    quint64 samples = 0;
    qint64 frames = 0;
    qint64 minFrame = 0, maxFrame = 0;
    qint64 frameStart = audioStart;
    FlacFrameHeader header;
    int available = 0;
    auto headerAt = [&](qint64 at, FlacFrameHeader *h) {
        const char *p = reader.upTo(at, kFlacLongestFrameHeader, &available);
        return p && readFlacFrameHeader(reinterpret_cast<const uchar *>(p), available, h);
    };
    bool haveHeader = headerAt(frameStart, &header);
    while (haveHeader) {
        const quint64 nextNumber = header.variable ? header.number + quint64(header.blockSize) : header.number + 1;
        const qint64 searchEnd = std::min(file.size(), frameStart + longestFrame);
        quint32 crc = 0;
        qint64 crcDone = frameStart;
        qint64 frameEnd = -1;
        FlacFrameHeader next;
        for (qint64 at = frameStart + 2; at < searchEnd && frameEnd < 0;) {
            const char *p = reader.upTo(at, int(std::min<qint64>(searchEnd - at, 1 << 16)), &available);
            const void *sync = p ? std::memchr(p, 0xFF, size_t(available)) : nullptr;
            if (!sync) {
                at += available;
                continue;
            }
            const qint64 candidate = at + (static_cast<const char *>(sync) - p);
            at = candidate + 1;
            if (!headerAt(candidate, &next) || next.variable != header.variable || next.number != nextNumber)
                continue;
            const char *data = reader.at(crcDone, int(candidate - crcDone));
            if (!data)
                break;
            crc = av_crc(crc16, crc, reinterpret_cast<const uint8_t *>(data), size_t(candidate - crcDone));
            crcDone = candidate;
            if (crc == 0)
                frameEnd = candidate;
        }
        bool lastFrame = false;
        if (frameEnd < 0 && file.size() - frameStart < longestFrame) {
            // The last frame runs to the end of the file, or to the start of a frame header
            // cut short there (a whole header would have been found above).
            const qint64 end = file.size();
            const qint64 tail = std::max({crcDone, frameStart + 2, end - kFlacLongestFrameHeader});
            const char *data = tail <= end ? reader.at(crcDone, int(end - crcDone)) : nullptr;
            if (data) {
                const auto *u = reinterpret_cast<const uchar *>(data);
                crc = av_crc(crc16, crc, u, size_t(tail - crcDone));
                // The whole frame (up to the end) before one that leaves a header's start.
                for (qint64 at = tail; at <= end; ++at) {
                    const uchar *rest = u + (at - crcDone);
                    if (crc == 0 && (at == end || couldStartFlacFrameHeader(rest, int(end - at), header.variable)))
                        frameEnd = at;
                    if (at < end)
                        crc = av_crc(crc16, crc, rest, 1);
                }
                lastFrame = frameEnd >= 0;
            }
        }
        if (frameEnd < 0)
            break;
        const qint64 bytes = frameEnd - frameStart;
        minFrame = frames == 0 ? bytes : std::min(minFrame, bytes);
        maxFrame = std::max(maxFrame, bytes);
        samples += quint64(header.blockSize);
        ++frames;
        frameStart = frameEnd;
        if (lastFrame)
            break;
        header = next;
    }
    // What follows the last whole frame may only be a frame cut short.
    const qint64 cut = frameStart;
    if (file.size() - cut >= longestFrame)
        file.fail(QCoreApplication::translate("FileRepair", "its audio data is damaged at byte %1").arg(cut));

    const quint64 declared = flacTotalSamples(info.constData());
    if (cut == file.size() && declared == samples)
        return;
    char *d = info.data();
    d[4] = char(minFrame >> 16);
    d[5] = char(minFrame >> 8);
    d[6] = char(minFrame);
    d[7] = char(maxFrame >> 16);
    d[8] = char(maxFrame >> 8);
    d[9] = char(maxFrame);
    d[13] = char((uchar(d[13]) & 0xF0) | ((samples >> 32) & 0x0F));
    qToBigEndian<quint32>(quint32(samples), d + 14);
    // The checksum was of other samples, or of none: zero says it is not known.
    if (declared != samples)
        std::fill(d + 18, d + 34, '\0');
    file.truncate(cut);
    if (info != original)
        file.write(streamInfo, info);
}

}  // namespace engine::file::repair
