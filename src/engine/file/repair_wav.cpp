// The repair of a WAV file: the RIFF and data sizes set to what the file holds.
#include "engine/file/repair_io.h"

#include <QtEndian>

#include <cstring>

namespace engine::file::repair {

namespace {

bool isChunkId(const char *p)
{
    return std::all_of(p, p + 4, [](char c) { return c >= 0x20 && c <= 0x7E; });
}

// The chunks from pos on end exactly at the end of the file (a tag chunk after the data).
bool chunksFillTheRest(const RepairTarget &file, qint64 pos)
{
    for (int i = 0; i < 64 && pos < file.size(); ++i) {
        const QByteArray h = file.read(pos, 8);
        if (h.size() < 8 || !isChunkId(h.constData()))
            return false;
        const qint64 size = qFromLittleEndian<quint32>(h.constData() + 4);
        const qint64 end = pos + 8 + size;
        if (end > file.size())
            return false;
        pos = end + ((size & 1) && end < file.size() ? 1 : 0);
    }
    return pos == file.size();
}

}  // namespace

bool isWav(const QByteArray &head)
{
    return head.size() >= 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

void repairWav(RepairTarget &file)
{
    const QByteArray riff = file.read(0, 12);
    if (riff.size() < 12)
        file.fail(QCoreApplication::translate("FileRepair", "its header is cut short"));
    int blockAlign = 0;
    qint64 dataStart = -1;
    qint64 declared = 0;
    for (qint64 pos = 12; pos + 8 <= file.size();) {
        const QByteArray h = file.read(pos, 8);
        if (!isChunkId(h.constData()))
            file.fail(QCoreApplication::translate("FileRepair", "its chunk list is damaged"));
        const qint64 size = qFromLittleEndian<quint32>(h.constData() + 4);
        if (h.startsWith("fmt ")) {
            if (size < 16)
                file.fail(QCoreApplication::translate("FileRepair", "its format chunk is damaged"));
            const QByteArray fmt = file.read(pos + 8, 16);
            if (fmt.size() < 16)
                file.fail(QCoreApplication::translate("FileRepair", "its format chunk is cut short"));
            blockAlign = qFromLittleEndian<quint16>(fmt.constData() + 12);
        } else if (h.startsWith("data")) {
            dataStart = pos + 8;
            declared = size;
            break;
        }
        pos += 8 + size + (size & 1);
    }
    if (blockAlign <= 0)
        file.fail(QCoreApplication::translate("FileRepair", "it has no usable format chunk"));
    if (dataStart < 0)
        file.fail(QCoreApplication::translate("FileRepair", "it has no data chunk"));

    // A data size that ends at the end of the file, or where further chunks (a tag) fill
    // the rest, is right. Otherwise the audio runs to the end of the file, in whole frames,
    // and an odd-sized chunk keeps its pad byte where the file has one.
    const qint64 available = file.size() - dataStart;
    const qint64 after = dataStart + declared;
    const bool consistent = declared <= available
                            && (after == file.size() || chunksFillTheRest(file, after + (declared & 1)));
    const qint64 data = consistent ? declared : available / blockAlign * blockAlign;
    const qint64 pad = !consistent && (data & 1) && data < available ? 1 : 0;
    const qint64 end = consistent ? file.size() : dataStart + data + pad;
    if (end - 8 > 0xFFFFFFFFLL)
        file.fail(QCoreApplication::translate("FileRepair", "it is larger than a WAV file can describe"));
    // The RIFF chunk ends with the data or, as some tag editors leave it, with the file.
    const qint64 riffSize = qFromLittleEndian<quint32>(riff.constData() + 4);
    if (consistent && (riffSize == end - 8 || riffSize == file.fileSize() - 8))
        return;

    char size[4];
    file.truncate(end);
    qToLittleEndian<quint32>(quint32(data), size);
    file.write(dataStart - 4, QByteArray(size, 4));
    qToLittleEndian<quint32>(quint32(end - 8), size);
    file.write(4, QByteArray(size, 4));
    if (pad)
        file.write(dataStart + data, QByteArray(1, '\0'));
}

}  // namespace engine::file::repair
