#include "engine/file/container_probe.h"

#include "engine/file/ogg_page.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <vector>

namespace engine::file {

qint64 riffPcmFrames(const QString &path, int blockAlign)
{
    QFile f(path);
    if (blockAlign <= 0 || !f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = f.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return -1;
    const qint64 fileSize = f.size();
    qint64 pos = 12;
    while (pos + 8 <= fileSize) {
        if (!f.seek(pos))
            return -1;
        const QByteArray chunk = f.read(8);
        if (chunk.size() < 8)
            return -1;
        const auto *p = reinterpret_cast<const uchar *>(chunk.constData());
        const qint64 size = qint64(p[4]) | (qint64(p[5]) << 8) | (qint64(p[6]) << 16)
                            | (qint64(p[7]) << 24);
        if (chunk.startsWith("data")) {
            const qint64 available = fileSize - (pos + 8);
            // 0xFFFFFFFF: written by a streaming writer that never came back to the header.
            const qint64 bytes = size == 0xFFFFFFFFLL ? available : std::min(size, available);
            return std::max<qint64>(0, bytes) / blockAlign;
        }
        pos += 8 + size + (size & 1);
    }
    return -1;
}

HeaderOnlyOgg readHeaderOnlyOgg(const QString &path)
{
    HeaderOnlyOgg result;
    QFile f(path);
    // Header packets take a few kilobytes; a larger file holds audio.
    if (!f.open(QIODevice::ReadOnly) || f.size() > (1 << 20))
        return result;
    const QByteArray bytes = f.readAll();
    std::vector<QByteArray> packets;
    QByteArray pending;
    quint32 serial = 0;
    for (qint64 pos = 0; pos < bytes.size();) {
        OggPage page;
        if (readOggPage(bytes.constData() + pos, bytes.size() - pos, &page) != OggPageCheck::Whole)
            return result;
        if ((pos == 0) != bool(page.flags & OggFirstPage) || (pos > 0 && page.serial != serial))
            return result;
        serial = page.serial;
        std::vector<bool> ends;
        const std::vector<QByteArray> parts = oggPagePackets(bytes.constData() + pos, page, &ends);
        for (size_t i = 0; i < parts.size(); ++i) {
            pending += parts[i];
            if (ends[i]) {
                packets.push_back(pending);
                pending.clear();
            }
        }
        pos += page.size();
    }
    if (!pending.isEmpty())
        return result;
    const auto le32 = [](const char *p) {
        const auto *u = reinterpret_cast<const uchar *>(p);
        return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
    };
    // Vorbis: identification, comment and setup headers; Opus: OpusHead and OpusTags.
    if (packets.size() == 3 && packets[0].size() >= 16 && packets[0].startsWith("\x01vorbis")
        && packets[1].startsWith("\x03vorbis") && packets[2].startsWith("\x05vorbis")) {
        result.codec = AV_CODEC_ID_VORBIS;
        result.channels = uchar(packets[0][11]);
        result.sampleRate = int(le32(packets[0].constData() + 12));
    } else if (packets.size() == 2 && packets[0].size() >= 19 && packets[0].startsWith("OpusHead")
               && packets[1].startsWith("OpusTags")) {
        result.codec = AV_CODEC_ID_OPUS;
        result.channels = uchar(packets[0][9]);
        result.sampleRate = 48000;   // Opus always decodes at 48000 Hz
    }
    result.valid = result.codec != AV_CODEC_ID_NONE && result.channels > 0 && result.sampleRate > 0;
    return result;
}

}  // namespace engine::file
