// Markers as CHAPTERnnn Vorbis comments: FLAC, Ogg Vorbis and Opus.
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

// ---- Vorbis comments (FLAC, Ogg Vorbis, Opus) ------------------------------------------------

struct Comments {
    QByteArray vendor;
    QList<QByteArray> items;
};

// Reads a comment list; the bytes after it (a framing bit, padding) are not its business.
Comments parseComments(const QByteArray &data, qsizetype at)
{
    auto u32 = [&](qsizetype p) -> quint32 {
        if (p < 0 || p + 4 > data.size())
            fail(QCoreApplication::translate("FileMarkers", "the comment list is damaged"));
        return qFromLittleEndian<quint32>(data.constData() + p);
    };
    Comments c;
    const quint32 vendorLength = u32(at);
    at += 4;
    if (vendorLength > quint32(data.size() - at))
        fail(QCoreApplication::translate("FileMarkers", "the comment list is damaged"));
    c.vendor = data.mid(at, vendorLength);
    at += vendorLength;
    const quint32 count = u32(at);
    at += 4;
    for (quint32 i = 0; i < count; ++i) {
        const quint32 length = u32(at);
        at += 4;
        if (length > quint32(data.size() - at))
            fail(QCoreApplication::translate("FileMarkers", "the comment list is damaged"));
        c.items.append(data.mid(at, length));
        at += length;
    }
    return c;
}

QByteArray renderComments(const Comments &c)
{
    QByteArray out;
    auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    u32(quint32(c.vendor.size()));
    out.append(c.vendor);
    u32(quint32(c.items.size()));
    for (const QByteArray &item : c.items) {
        u32(quint32(item.size()));
        out.append(item);
    }
    return out;
}

// CHAPTERnnn, CHAPTERnnnNAME, CHAPTERnnnURL: the number (0 = another comment), and what
// follows the number.
int chapterNumber(const QByteArray &item, QByteArray *rest)
{
    const qsizetype eq = item.indexOf('=');
    if (eq < 10 || !item.left(7).toUpper().startsWith("CHAPTER"))
        return 0;
    int n = 0;
    for (int i = 7; i < 10; ++i) {
        if (item[i] < '0' || item[i] > '9')
            return 0;
        n = n * 10 + (item[i] - '0');
    }
    *rest = item.mid(10, eq - 10).toUpper();
    if (!rest->isEmpty() && *rest != "NAME" && *rest != "URL")
        return 0;
    return n + 1;   // CHAPTER000 is a chapter too
}

qint64 parseClock(const QByteArray &text)
{
    // HH:MM:SS.mmm (the fraction may have any number of digits)
    const QList<QByteArray> parts = text.trimmed().split(':');
    if (parts.size() != 3)
        return -1;
    bool ok1 = false, ok2 = false, ok3 = false;
    const qint64 h = parts[0].toLongLong(&ok1);
    const qint64 m = parts[1].toLongLong(&ok2);
    const double s = parts[2].toDouble(&ok3);
    if (!ok1 || !ok2 || !ok3 || h < 0 || m < 0 || s < 0)
        return -1;
    return (h * 3600 + m * 60) * 1000 + qint64(std::llround(s * 1000));
}

QByteArray formatClock(qint64 ms)
{
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'))
        .toLatin1();
}

std::vector<FileMarker> markersFromComments(const Comments &c, int rate)
{
    std::map<int, std::pair<qint64, QString>> chapters;
    for (const QByteArray &item : c.items) {
        QByteArray rest;
        const int n = chapterNumber(item, &rest);
        if (n == 0)
            continue;
        const QByteArray value = item.mid(item.indexOf('=') + 1);
        auto &chapter = chapters.try_emplace(n, -1, QString()).first->second;
        if (rest.isEmpty())
            chapter.first = parseClock(value);
        else if (rest == "NAME")
            chapter.second = QString::fromUtf8(value);
    }
    std::vector<FileMarker> markers;
    for (const auto &[n, chapter] : chapters)
        if (chapter.first >= 0)
            markers.push_back({msToFrames(chapter.first, rate), chapter.second});
    return sorted(std::move(markers));
}

// The comments with their chapters replaced; the others keep their order.
Comments withChapters(Comments c, const std::vector<FileMarker> &markers, int rate)
{
    c.items.removeIf([](const QByteArray &item) {
        QByteArray rest;
        return chapterNumber(item, &rest) != 0;
    });
    int n = 1;
    for (const FileMarker &m : markers) {
        const QByteArray key = QStringLiteral("CHAPTER%1").arg(n++, 3, 10, QLatin1Char('0')).toLatin1();
        c.items.append(key + '=' + formatClock(framesToMs(m.frame, rate)));
        c.items.append(key + "NAME=" + m.name.toUtf8());
    }
    return c;
}

// ---- FLAC ---------------------------------------------------------------------------------------

struct FlacBlock {
    int type = 0;
    qint64 offset = 0;   // of its 4-byte header
    QByteArray body;
};

struct FlacLayout {
    std::vector<FlacBlock> blocks;
    qint64 audioStart = 0;
    int rate = 0;
};

FlacLayout readFlacLayout(const Fd &file)
{
    if (file.readSome(0, 4) != "fLaC")
        fail(QCoreApplication::translate("FileMarkers", "not a FLAC file"));
    FlacLayout layout;
    qint64 at = 4;
    for (bool last = false; !last;) {
        const QByteArray head = file.readAt(at, 4);
        last = head[0] & 0x80;
        const int type = head[0] & 0x7F;
        const qint64 length = (quint8(head[1]) << 16) | (quint8(head[2]) << 8) | quint8(head[3]);
        if (type == 127 || (layout.blocks.empty() && type != 0))
            fail(QCoreApplication::translate("FileMarkers", "the FLAC metadata is damaged"));
        // Only the blocks we may rewrite are kept in memory whole; a picture is copied too.
        layout.blocks.push_back({type, at, file.readAt(at + 4, length)});
        at += 4 + length;
        if (layout.blocks.size() > 1000)
            fail(QCoreApplication::translate("FileMarkers", "the FLAC metadata is damaged"));
    }
    const QByteArray &info = layout.blocks.front().body;
    if (info.size() < 34)
        fail(QCoreApplication::translate("FileMarkers", "the FLAC metadata is damaged"));
    layout.rate = (quint8(info[10]) << 12) | (quint8(info[11]) << 4) | (quint8(info[12]) >> 4);
    if (layout.rate <= 0)
        fail(QCoreApplication::translate("FileMarkers", "the FLAC metadata is damaged"));
    layout.audioStart = at;
    return layout;
}

QByteArray renderFlacBlocks(const std::vector<FlacBlock> &blocks)
{
    QByteArray out;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const qint64 n = blocks[i].body.size();
        out.append(char((i + 1 == blocks.size() ? 0x80 : 0) | blocks[i].type));
        out.append(char(n >> 16)).append(char(n >> 8)).append(char(n));
        out.append(blocks[i].body);
    }
    return out;
}

std::vector<FileMarker> readFlacMarkers(const QString &path)
{
    Fd file(path, false);
    const FlacLayout layout = readFlacLayout(file);
    for (const FlacBlock &b : layout.blocks)
        if (b.type == 4)
            return markersFromComments(parseComments(b.body, 0), layout.rate);
    return {};
}

void writeFlacMarkers(const QString &path, const std::vector<FileMarker> &markers)
{
    Fd file(path, true);
    const FlacLayout layout = readFlacLayout(file);
    std::vector<FlacBlock> blocks;
    QByteArray oldComments;
    bool placed = false;
    const auto commentsBlock = [&](const QByteArray &old) {
        Comments c = old.isNull() ? Comments{"Tavrin Sound Recorder", {}} : parseComments(old, 0);
        return FlacBlock{4, 0, renderComments(withChapters(c, markers, layout.rate))};
    };
    for (const FlacBlock &b : layout.blocks) {
        if (b.type == 1)
            continue;
        if (b.type == 4) {
            oldComments = b.body;
            blocks.push_back(commentsBlock(b.body));
            placed = true;
        } else {
            blocks.push_back(b);
        }
    }
    if (!placed) {
        if (markers.empty())
            return;
        blocks.insert(blocks.begin() + 1, commentsBlock(QByteArray()));
    }
    if (placed && blocks[std::find_if(blocks.begin(), blocks.end(), [](const FlacBlock &b) { return b.type == 4; }) - blocks.begin()].body == oldComments)
        return;
    const qint64 room = layout.audioStart - 4;
    const qint64 needed = renderFlacBlocks(blocks).size();
    if (needed == room || needed + 4 <= room) {
        if (needed < room)
            blocks.push_back({1, 0, QByteArray(room - needed - 4, '\0')});
        file.writeAt(4, renderFlacBlocks(blocks));
        file.sync();
        return;
    }
    blocks.push_back({1, 0, QByteArray(kMarkerRoom, '\0')});
    replaceFile(path, file, [&](Fd &out) {
        out.writeAt(0, "fLaC" + renderFlacBlocks(blocks));
        copyRange(file, layout.audioStart, file.size(), out);
    });
}

// ---- Ogg --------------------------------------------------------------------------------------

quint32 oggCrc(const char *data, qsizetype size)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 r = i << 24;
            for (int k = 0; k < 8; ++k)
                r = r & 0x80000000u ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    quint32 crc = 0;
    for (qsizetype i = 0; i < size; ++i)
        crc = (crc << 8) ^ table[((crc >> 24) ^ quint8(data[i])) & 0xFF];
    return crc;
}

struct OggPage {
    qint64 offset = 0;   // in the file or buffer
    quint8 flags = 0;
    quint32 serial = 0;
    quint32 sequence = 0;
    QByteArray lacing;
    qint64 headerSize = 0;
    qint64 bodySize = 0;
    qint64 size() const { return headerSize + bodySize; }
};

// The page at `at` of `data` (which holds at least its header and body), or nothing.
bool parseOggPage(const QByteArray &data, qint64 at, OggPage *page)
{
    if (at + 27 > data.size() || std::memcmp(data.constData() + at, "OggS", 4) != 0 || data[at + 4] != 0)
        return false;
    const int segments = quint8(data[at + 26]);
    if (at + 27 + segments > data.size())
        return false;
    page->offset = at;
    page->flags = quint8(data[at + 5]);
    page->serial = qFromLittleEndian<quint32>(data.constData() + at + 14);
    page->sequence = qFromLittleEndian<quint32>(data.constData() + at + 18);
    page->lacing = data.mid(at + 27, segments);
    page->headerSize = 27 + segments;
    page->bodySize = 0;
    for (char l : page->lacing)
        page->bodySize += quint8(l);
    return at + page->size() <= data.size();
}

void setOggCrc(QByteArray &page)
{
    qToLittleEndian<quint32>(0, page.data() + 22);
    qToLittleEndian<quint32>(oggCrc(page.constData(), page.size()), page.data() + 22);
}

QByteArray lacingFor(qint64 packetSize)
{
    QByteArray l(packetSize / 255, char(255));
    l.append(char(packetSize % 255));
    return l;
}

// A packet of the header pages and the pages it starts and ends in.
struct OggPacket {
    QByteArray data;
    int firstPage = 0;
    int lastPage = 0;
};

// The header pages of the first stream, from the start of `data`: the pages and their
// packets, up to the last header packet (3 for Vorbis, 2 for Opus).
struct OggHeaders {
    std::vector<OggPage> pages;
    std::vector<OggPacket> packets;
    bool opus = false;
    int rate = 0;
    qint64 end = 0;           // where the first page after the headers begins
    bool clean = true;        // the last header page ends with the last header packet
};

bool parseOggHeaders(const QByteArray &data, OggHeaders *h)
{
    qint64 at = 0;
    size_t wanted = 3;
    OggPacket current;
    bool open = false;
    while (h->packets.size() < wanted) {
        OggPage page;
        if (!parseOggPage(data, at, &page))
            return false;
        if (!h->pages.empty() && page.serial != h->pages.front().serial) {
            at += page.size();   // another stream's page among the headers
            continue;
        }
        const int index = int(h->pages.size());
        h->pages.push_back(page);
        qint64 body = at + page.headerSize;
        for (int s = 0; s < page.lacing.size(); ++s) {
            const int length = quint8(page.lacing[s]);
            if (!open) {
                current = OggPacket{};
                current.firstPage = index;
                open = true;
            }
            if (h->packets.size() >= wanted) {
                h->clean = false;
                break;
            }
            current.data.append(data.constData() + body, length);
            body += length;
            if (length < 255) {
                current.lastPage = index;
                h->packets.push_back(current);
                open = false;
                if (h->packets.size() == 1) {
                    const QByteArray &id = h->packets[0].data;
                    if (id.startsWith("OpusHead")) {
                        h->opus = true;
                        h->rate = 48000;
                        wanted = 2;
                    } else if (id.size() >= 16 && id.startsWith("\x01vorbis")) {
                        h->rate = int(qFromLittleEndian<quint32>(id.constData() + 12));
                    } else {
                        fail(QCoreApplication::translate("FileMarkers", "not an Ogg Vorbis or Opus stream"));
                    }
                }
            }
        }
        at += page.size();
    }
    h->end = at;
    return h->rate > 0;
}

// Where in the header pages the comment packet's bytes lie: (offset, length) runs.
std::vector<std::pair<qint64, qint64>> commentRuns(const QByteArray &data, const OggHeaders &h)
{
    std::vector<std::pair<qint64, qint64>> runs;
    int packet = 0;
    for (const OggPage &page : h.pages) {
        qint64 body = page.offset + page.headerSize;
        for (int s = 0; s < page.lacing.size(); ++s) {
            const int length = quint8(page.lacing[s]);
            if (packet == 1 && length > 0) {
                if (!runs.empty() && runs.back().first + runs.back().second == body)
                    runs.back().second += length;
                else
                    runs.push_back({body, length});
            }
            body += length;
            if (length < 255 && ++packet > 1)
                return runs;
        }
    }
    (void)data;
    return runs;
}

QByteArray commentPrefix(bool opus)
{
    return opus ? QByteArray("OpusTags") : QByteArray("\x03vorbis", 7);
}

Comments oggComments(const OggHeaders &h)
{
    const QByteArray &packet = h.packets[1].data;
    if (!packet.startsWith(commentPrefix(h.opus)))
        fail(QCoreApplication::translate("FileMarkers", "the comment header is damaged"));
    return parseComments(packet, commentPrefix(h.opus).size());
}

QByteArray oggCommentPacket(const Comments &c, bool opus)
{
    QByteArray packet = commentPrefix(opus) + renderComments(c);
    if (!opus)
        packet.append(char(1));   // the framing bit
    return packet;
}

// Reads the header pages of an Ogg file (growing the read until they are all there).
QByteArray readOggHead(const Fd &file, OggHeaders *h)
{
    for (qint64 length = 64 * 1024;; length *= 4) {
        const QByteArray head = file.readSome(0, length);
        *h = OggHeaders{};
        if (parseOggHeaders(head, h))
            return head;
        if (head.size() < length)
            fail(QCoreApplication::translate("FileMarkers", "the Ogg headers are damaged or cut short"));
    }
}

std::vector<FileMarker> readOggMarkers(const QString &path)
{
    Fd file(path, false);
    OggHeaders h;
    readOggHead(file, &h);
    return markersFromComments(oggComments(h), h.rate);
}

// Lays header packets out in pages of the stream (granule 0), numbered from `sequence`.
QByteArray pageOut(const std::vector<QByteArray> &packets, quint32 serial, quint32 sequence, int *pages)
{
    QByteArray lacing, body, out;
    bool continued = false;
    *pages = 0;
    auto flushPage = [&](bool nextContinues) {
        QByteArray page("OggS", 4);
        page.append('\0').append(char(continued ? 1 : 0));
        page.append(QByteArray(8, '\0'));
        char b[4];
        qToLittleEndian(serial, b);
        page.append(b, 4);
        qToLittleEndian(sequence++, b);
        page.append(b, 4);
        page.append(QByteArray(4, '\0'));
        page.append(char(lacing.size())).append(lacing).append(body);
        setOggCrc(page);
        out.append(page);
        ++*pages;
        continued = nextContinues;
        lacing.clear();
        body.clear();
    };
    for (const QByteArray &packet : packets) {
        const QByteArray l = lacingFor(packet.size());
        qint64 at = 0;
        for (char v : l) {
            if (lacing.size() == 255)
                flushPage(true);
            lacing.append(v);
            body.append(packet.constData() + at, quint8(v));
            at += quint8(v);
        }
        // Ends where a page would end anyway: continued only when the last segment of the
        // packet filled the page.
        if (lacing.size() == 255)
            flushPage(false);
    }
    if (!lacing.isEmpty())
        flushPage(false);
    return out;
}

void writeOggMarkers(const QString &path, const std::vector<FileMarker> &markers)
{
    Fd file(path, true);
    OggHeaders h;
    const QByteArray head = readOggHead(file, &h);
    const Comments old = oggComments(h);
    const Comments updated = withChapters(old, markers, h.rate);
    if (updated.items == old.items)
        return;
    QByteArray packet = oggCommentPacket(updated, h.opus);
    const qint64 oldSize = h.packets[1].data.size();
    if (packet.size() <= oldSize) {
        // The same packet size: the pages keep their lacing, only bodies and checksums change.
        packet.append(QByteArray(oldSize - packet.size(), '\0'));
        const auto runs = commentRuns(head, h);
        QByteArray region = head.mid(h.pages[h.packets[1].firstPage].offset);
        const qint64 base = h.pages[h.packets[1].firstPage].offset;
        qint64 at = 0;
        for (const auto &[offset, length] : runs) {
            std::memcpy(region.data() + (offset - base), packet.constData() + at, length);
            at += length;
        }
        qint64 end = base;
        for (int p = h.packets[1].firstPage; p <= h.packets[1].lastPage; ++p) {
            const OggPage &page = h.pages[p];
            QByteArray bytes = region.mid(page.offset - base, page.size());
            setOggCrc(bytes);
            std::memcpy(region.data() + (page.offset - base), bytes.constData(), bytes.size());
            end = page.offset + page.size();
        }
        file.writeAt(base, region.left(end - base));
        file.sync();
        return;
    }
    // Larger than the room: the header pages are laid out anew and the later pages of the
    // stream renumbered.
    if (!h.clean || h.pages.front().serial != h.pages.back().serial)
        fail(QCoreApplication::translate("FileMarkers", "the Ogg headers are laid out in an unusual way"));
    packet.append(QByteArray(kMarkerRoom, '\0'));
    std::vector<QByteArray> rest{packet};
    if (!h.opus)
        rest.push_back(h.packets[2].data);
    const OggPage &first = h.pages.front();
    if (h.packets[0].lastPage != 0 || first.lacing.size() != 1)
        fail(QCoreApplication::translate("FileMarkers", "the Ogg headers are laid out in an unusual way"));
    int newPages = 0;
    const QByteArray headers = pageOut(rest, first.serial, first.sequence + 1, &newPages);
    const qint64 shift = qint64(newPages) - qint64(h.pages.size() - 1);
    const QByteArray all = file.readAt(0, file.size());
    replaceFile(path, file, [&](Fd &out) {
        QByteArray chunk = all.left(first.size());
        chunk.append(headers);
        qint64 at = h.end;
        while (at < all.size()) {
            OggPage page;
            if (!parseOggPage(all, at, &page))
                fail(QCoreApplication::translate("FileMarkers", "the Ogg pages are damaged"));
            QByteArray bytes = all.mid(at, page.size());
            if (page.serial == first.serial && shift != 0) {
                qToLittleEndian<quint32>(quint32(page.sequence + shift), bytes.data() + 18);
                setOggCrc(bytes);
            }
            chunk.append(bytes);
            at += page.size();
            if (chunk.size() > (4 << 20)) {
                out.writeAt(out.size(), chunk);
                chunk.clear();
            }
        }
        out.writeAt(out.size(), chunk);
    });
}

}  // namespace engine::file::markers

namespace engine::file {

using namespace markers;

QByteArray padOggHeaders(const QByteArray &pages, int room)
{
    try {
        OggHeaders h;
        if (!parseOggHeaders(pages, &h) || !h.clean)
            return pages;
        const OggPacket &comment = h.packets[1];
        if (comment.firstPage != comment.lastPage)
            return pages;
        const OggPage &page = h.pages[comment.firstPage];
        // The segments of the page before, of and after the comment packet.
        const auto runs = commentRuns(pages, h);
        const qint64 body = page.offset + page.headerSize;
        qint64 before = 0;   // bytes of the page body before the packet
        int segmentsBefore = 0;
        if (!runs.empty())
            before = runs.front().first - body;
        for (qint64 sum = 0; sum < before; ++segmentsBefore)
            sum += quint8(page.lacing[segmentsBefore]);
        const qint64 oldSize = comment.data.size();
        const int oldSegments = int(oldSize / 255) + 1;
        QByteArray lacing = page.lacing.left(segmentsBefore) + lacingFor(oldSize + room)
                            + page.lacing.mid(segmentsBefore + oldSegments);
        if (lacing.size() > 255)
            return pages;
        QByteArray out = pages.left(page.offset + 26);
        out.append(char(lacing.size())).append(lacing);
        out.append(pages.mid(body, before));
        out.append(comment.data).append(QByteArray(room, '\0'));
        out.append(pages.mid(body + before + oldSize, page.bodySize - before - oldSize));
        QByteArray pageBytes = out.mid(page.offset);
        setOggCrc(pageBytes);
        out = out.left(page.offset) + pageBytes;
        out.append(pages.mid(page.offset + page.size()));
        return out;
    } catch (const MarkerFailure &) {
        return pages;
    }
}

}  // namespace engine::file
