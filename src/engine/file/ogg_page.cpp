#include "engine/file/ogg_page.h"

#include <QtEndian>

extern "C" {
#include <libavutil/bswap.h>
#include <libavutil/crc.h>
}

#include <algorithm>
#include <cstring>

namespace engine::file {

namespace {

}  // namespace

OggPageCheck readOggPage(const char *data, qint64 available, OggPage *page)
{
    // A short tail may still be the start of a page.
    const qint64 prefix = std::min<qint64>(available, 4);
    if (std::memcmp(data, "OggS", size_t(prefix)) != 0)
        return OggPageCheck::Invalid;
    if (available < kOggPageHeaderBytes)
        return OggPageCheck::CutShort;
    if (data[4] != 0 || (uchar(data[5]) & ~0x07))
        return OggPageCheck::Invalid;
    const int segments = uchar(data[26]);
    if (available < kOggPageHeaderBytes + segments)
        return OggPageCheck::CutShort;
    OggPage p;
    p.flags = uchar(data[5]);
    const quint64 granule = quint64(qFromLittleEndian<quint32>(data + 6)) | (quint64(qFromLittleEndian<quint32>(data + 10)) << 32);
    p.granule = qint64(granule);
    p.serial = qFromLittleEndian<quint32>(data + 14);
    p.sequence = qFromLittleEndian<quint32>(data + 18);
    p.headerBytes = kOggPageHeaderBytes + segments;
    p.lacing.reserve(size_t(segments));
    for (int i = 0; i < segments; ++i) {
        const int bytes = uchar(data[kOggPageHeaderBytes + i]);
        p.lacing.push_back(bytes);
        p.bodyBytes += bytes;
    }
    if (available < p.size())
        return OggPageCheck::CutShort;
    if (oggPageChecksum(data, p.size()) != qFromLittleEndian<quint32>(data + 22))
        return OggPageCheck::Invalid;
    *page = std::move(p);
    return OggPageCheck::Whole;
}

quint32 oggPageChecksum(const char *page, qint64 size)
{
    static const AVCRC *table = av_crc_get_table(AV_CRC_32_IEEE);
    const auto *u = reinterpret_cast<const uint8_t *>(page);
    const uint8_t zeros[4] = {0, 0, 0, 0};
    quint32 crc = av_crc(table, 0, u, 22);
    crc = av_crc(table, crc, zeros, 4);
    // FFmpeg keeps a most-significant-bit-first CRC byte-swapped.
    return av_bswap32(av_crc(table, crc, u + 26, size_t(size - 26)));
}

void updateOggPageChecksum(char *page, qint64 size)
{
    const quint32 crc = oggPageChecksum(page, size);
    for (int i = 0; i < 4; ++i)
        page[22 + i] = char((crc >> (8 * i)) & 0xFF);
}

std::vector<QByteArray> oggPagePackets(const char *page, const OggPage &header, std::vector<bool> *ends)
{
    std::vector<QByteArray> packets;
    ends->clear();
    const char *body = page + header.headerBytes;
    QByteArray current;
    bool open = false;
    for (const int bytes : header.lacing) {
        current.append(body, bytes);
        body += bytes;
        open = true;
        if (bytes < 255) {
            packets.push_back(current);
            ends->push_back(true);
            current.clear();
            open = false;
        }
    }
    if (open) {
        packets.push_back(current);
        ends->push_back(false);
    }
    return packets;
}

}  // namespace engine::file
