// Markers as the ASF Marker Object in WMA.
#include "engine/file/marker_io.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <random>

namespace engine::file::markers {

// ---- WMA (ASF) ------------------------------------------------------------------------------

using Guid = std::array<quint8, 16>;

// GUIDs as they are written: the first three fields little-endian.
constexpr Guid kAsfHeader{0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid kAsfFileProperties{0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11, 0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr Guid kAsfMarker{0x01, 0xCD, 0x87, 0xF4, 0x51, 0xA9, 0xCF, 0x11, 0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr Guid kAsfMarkerReserved{0x20, 0xDB, 0xFE, 0x4C, 0xF6, 0x75, 0xCF, 0x11, 0x9C, 0x0F, 0x00, 0xA0, 0xC9, 0x03, 0x49, 0xCB};
constexpr Guid kAsfPadding{0x74, 0xD4, 0x06, 0x18, 0xDF, 0xCA, 0x09, 0x45, 0xA4, 0xBA, 0x9A, 0xAB, 0xCB, 0x96, 0xAA, 0xE8};
constexpr Guid kAsfStreamProperties{0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11, 0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};

bool isGuid(const QByteArray &data, qint64 at, const Guid &g)
{
    return at + 16 <= data.size() && std::memcmp(data.constData() + at, g.data(), 16) == 0;
}

QByteArray guidBytes(const Guid &g)
{
    return QByteArray(reinterpret_cast<const char *>(g.data()), 16);
}

struct AsfObject {
    qint64 offset = 0;
    qint64 size = 0;
};

// The objects inside a header object of `size` bytes at the start of `head`.
std::vector<AsfObject> asfChildren(const QByteArray &head, qint64 size)
{
    std::vector<AsfObject> children;
    for (qint64 at = 30; at < size;) {
        if (at + 24 > size)
            fail(QCoreApplication::translate("FileMarkers", "the ASF header is damaged"));
        const qint64 n = qint64(qFromLittleEndian<quint64>(head.constData() + at + 16));
        if (n < 24 || at + n > size)
            fail(QCoreApplication::translate("FileMarkers", "the ASF header is damaged"));
        children.push_back({at, n});
        at += n;
    }
    return children;
}

QByteArray asfObject(const Guid &g, const QByteArray &body)
{
    QByteArray o = guidBytes(g);
    char b[8];
    qToLittleEndian<quint64>(quint64(24 + body.size()), b);
    o.append(b, 8).append(body);
    return o;
}

QByteArray asfPadding(qint64 size)
{
    return asfObject(kAsfPadding, QByteArray(size - 24, '\0'));
}

// The header object from its children; the file size in File Properties moved by `grown`.
QByteArray asfHeader(const QByteArray &oldHead, const std::vector<QByteArray> &children, qint64 grown)
{
    QByteArray out = oldHead.left(30);
    for (QByteArray child : children) {
        if (isGuid(child, 0, kAsfFileProperties) && child.size() >= 48 && grown != 0) {
            const quint64 fileSize = qFromLittleEndian<quint64>(child.constData() + 40);
            if (fileSize != 0)
                qToLittleEndian<quint64>(fileSize + grown, child.data() + 40);
        }
        out.append(child);
    }
    qToLittleEndian<quint64>(quint64(out.size()), out.data() + 16);
    qToLittleEndian<quint32>(quint32(children.size()), out.data() + 24);
    return out;
}

struct AsfInfo {
    QByteArray head;   // the header object
    std::vector<AsfObject> children;
    qint64 preroll = 0;       // ms
    qint64 packetSize = 0;
    qint64 packets = 0;
    qint64 playDuration = 0;  // 100 ns
    int rate = 0;
};

AsfInfo readAsfInfo(const Fd &file)
{
    AsfInfo info;
    const QByteArray start = file.readSome(0, 30);
    if (!isGuid(start, 0, kAsfHeader) || start.size() < 30)
        fail(QCoreApplication::translate("FileMarkers", "not an ASF file"));
    const qint64 size = qint64(qFromLittleEndian<quint64>(start.constData() + 16));
    if (size < 30 || size > file.size() || size > (64 << 20))
        fail(QCoreApplication::translate("FileMarkers", "the ASF header is damaged"));
    info.head = file.readAt(0, size);
    info.children = asfChildren(info.head, size);
    for (const AsfObject &o : info.children) {
        const char *p = info.head.constData() + o.offset;
        if (isGuid(info.head, o.offset, kAsfFileProperties) && o.size >= 104) {
            info.packets = qint64(qFromLittleEndian<quint64>(p + 56));
            info.playDuration = qint64(qFromLittleEndian<quint64>(p + 64));
            info.preroll = qint64(qFromLittleEndian<quint64>(p + 80));
            info.packetSize = qFromLittleEndian<quint32>(p + 92);
        } else if (isGuid(info.head, o.offset, kAsfStreamProperties) && o.size >= 78 + 8 && info.rate == 0) {
            // Stream Properties: type-specific data (WAVEFORMATEX) after 78 bytes.
            if (std::memcmp(p + 24, "\x40\x9E\x69\xF8\x4D\x5B\xCF\x11\xA8\xFD\x00\x80\x5F\x5C\x44\x2B", 16) == 0)
                info.rate = int(qFromLittleEndian<quint32>(p + 78 + 4));
        }
    }
    if (info.rate <= 0)
        fail(QCoreApplication::translate("FileMarkers", "the ASF file has no audio stream"));
    return info;
}

std::vector<FileMarker> asfMarkers(const AsfInfo &info)
{
    std::vector<FileMarker> markers;
    for (const AsfObject &o : info.children) {
        if (!isGuid(info.head, o.offset, kAsfMarker))
            continue;
        const QByteArray body = info.head.mid(o.offset + 24, o.size - 24);
        if (body.size() < 24)
            fail(QCoreApplication::translate("FileMarkers", "the ASF markers are damaged"));
        const quint32 count = qFromLittleEndian<quint32>(body.constData() + 16);
        qint64 at = 24 + qFromLittleEndian<quint16>(body.constData() + 22);
        for (quint32 i = 0; i < count; ++i) {
            if (at + 30 > body.size())
                fail(QCoreApplication::translate("FileMarkers", "the ASF markers are damaged"));
            const qint64 time = qint64(qFromLittleEndian<quint64>(body.constData() + at + 8)) - info.preroll * 10000;
            const qint64 chars = qFromLittleEndian<quint32>(body.constData() + at + 26);
            if (at + 30 + chars * 2 > body.size())
                fail(QCoreApplication::translate("FileMarkers", "the ASF markers are damaged"));
            QString name = QString::fromUtf16(reinterpret_cast<const char16_t *>(body.constData() + at + 30), chars);
            if (const qsizetype zero = name.indexOf(QChar(0)); zero >= 0)
                name.truncate(zero);
            markers.push_back({qint64(std::llround(double(std::max<qint64>(time, 0)) * info.rate / 1e7)), name});
            at += 30 + chars * 2;
        }
    }
    return sorted(std::move(markers));
}

QByteArray asfMarkerObject(const AsfInfo &info, const std::vector<FileMarker> &markers)
{
    QByteArray body = guidBytes(kAsfMarkerReserved);
    auto put = [&](auto v) {
        char b[sizeof(v)];
        qToLittleEndian(v, b);
        body.append(b, sizeof(v));
    };
    put(quint32(markers.size()));
    put(quint16(0));
    put(quint16(0));   // no name for the list
    const qint64 duration = std::max<qint64>(info.playDuration - info.preroll * 10000, 1);
    for (const FileMarker &m : markers) {
        const qint64 time = qint64(std::llround(double(m.frame) * 1e7 / info.rate));
        // The packet holding that time, as far as an even spread of packets tells.
        const qint64 packet = std::clamp<qint64>(info.packets * time / duration, 0, std::max<qint64>(info.packets - 1, 0));
        const QString name = m.name + QChar(0);
        put(quint64(packet * info.packetSize));
        put(quint64(time + info.preroll * 10000));
        put(quint16(12 + 2 * name.size()));
        put(quint32(time / 10000 + info.preroll));
        put(quint32(0));
        put(quint32(name.size()));
        for (QChar c : name)
            put(quint16(c.unicode()));
    }
    return asfObject(kAsfMarker, body);
}

std::vector<FileMarker> readWmaMarkers(const QString &path)
{
    Fd file(path, false);
    return asfMarkers(readAsfInfo(file));
}

void writeWmaMarkers(const QString &path, const std::vector<FileMarker> &markers)
{
    Fd file(path, true);
    const AsfInfo info = readAsfInfo(file);
    auto in100ns = markers;
    for (FileMarker &m : in100ns)
        m.frame = qint64(std::llround(std::llround(double(m.frame) * 1e7 / info.rate) * double(info.rate) / 1e7));
    if (asfMarkers(info) == in100ns)
        return;
    std::vector<QByteArray> children;
    for (const AsfObject &o : info.children)
        if (!isGuid(info.head, o.offset, kAsfMarker) && !isGuid(info.head, o.offset, kAsfPadding))
            children.push_back(info.head.mid(o.offset, o.size));
    if (!markers.empty())
        children.push_back(asfMarkerObject(info, markers));
    const qint64 needed = asfHeader(info.head, children, 0).size();
    const qint64 room = info.head.size();
    if (needed == room || needed + 24 <= room) {
        if (needed < room)
            children.push_back(asfPadding(room - needed));
        file.writeAt(0, asfHeader(info.head, children, 0));
        file.sync();
        return;
    }
    children.push_back(asfPadding(kMarkerRoom));
    const QByteArray head = asfHeader(info.head, children, needed + kMarkerRoom - room);
    replaceFile(path, file, [&](Fd &out) {
        out.writeAt(0, head);
        copyRange(file, room, file.size(), out);
    });
}

}  // namespace engine::file::markers

namespace engine::file {

using namespace markers;

QByteArray padAsfHeader(const QByteArray &head, int room)
{
    if (!isGuid(head, 0, kAsfHeader) || head.size() < 30)
        return {};
    const qint64 size = qint64(qFromLittleEndian<quint64>(head.constData() + 16));
    if (size < 30 || size > head.size())
        return {};
    try {
        std::vector<QByteArray> children;
        for (const AsfObject &o : asfChildren(head, size))
            children.push_back(head.mid(o.offset, o.size));
        children.push_back(asfPadding(room));
        return asfHeader(head, children, room);
    } catch (const MarkerFailure &) {
        return {};
    }
}

}  // namespace engine::file
