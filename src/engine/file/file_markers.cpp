#include "engine/file/file_markers.h"

#include "engine/file/ffmpeg_util.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <taglib/chapterframe.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tableofcontentsframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>

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

namespace engine::file {

namespace {

// A reason a file's markers cannot be read or written; the callers add the file's name.
struct MarkerFailure {
    QString reason;
};

[[noreturn]] void fail(const QString &reason)
{
    throw MarkerFailure{reason};
}

enum class Kind { Wav, Mp3, Wma, Flac, Ogg };

Kind kindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"wav")
        return Kind::Wav;
    if (suffix == u"mp3")
        return Kind::Mp3;
    if (suffix == u"wma")
        return Kind::Wma;
    if (suffix == u"flac")
        return Kind::Flac;
    if (suffix == u"ogg" || suffix == u"opus")
        return Kind::Ogg;
    fail(QCoreApplication::translate("FileMarkers", "this type of file keeps no markers"));
}

// ---- Files ----------------------------------------------------------------------------

class Fd {
public:
    Fd(const QString &path, bool writable)
    {
        const QByteArray native = QFile::encodeName(path);
        do {
            m_fd = ::open(native.constData(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
        } while (m_fd < 0 && errno == EINTR);
        if (m_fd < 0)
            fail(systemErrorText(errno));
        struct stat st {};
        if (fstat(m_fd, &st) != 0)
            fail(systemErrorText(errno));
        if (!S_ISREG(st.st_mode))
            fail(QCoreApplication::translate("FileMarkers", "not a file"));
        m_size = st.st_size;
        m_mode = st.st_mode & 07777;
    }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;

    int fd() const { return m_fd; }
    qint64 size() const { return m_size; }
    mode_t mode() const { return m_mode; }

    // Exactly `length` bytes from `offset`; a shorter file is a damaged one.
    QByteArray readAt(qint64 offset, qint64 length) const
    {
        if (offset < 0 || length < 0 || offset + length > m_size)
            fail(QCoreApplication::translate("FileMarkers", "the file is cut short"));
        QByteArray data(length, Qt::Uninitialized);
        qint64 done = 0;
        while (done < length) {
            const ssize_t n = ::pread(m_fd, data.data() + done, size_t(length - done), off_t(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                fail(systemErrorText(errno));
            if (n == 0)
                fail(QCoreApplication::translate("FileMarkers", "the file is cut short"));
            done += n;
        }
        return data;
    }
    // Up to `length` bytes from `offset`.
    QByteArray readSome(qint64 offset, qint64 length) const
    {
        return readAt(offset, std::clamp<qint64>(m_size - offset, 0, length));
    }

    void writeAt(qint64 offset, const QByteArray &data)
    {
        qint64 done = 0;
        while (done < data.size()) {
            const ssize_t n = ::pwrite(m_fd, data.constData() + done, size_t(data.size() - done), off_t(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(systemErrorText(n < 0 ? errno : ENOSPC));
            done += n;
        }
        m_size = std::max(m_size, offset + data.size());
    }
    void truncate(qint64 size)
    {
        if (::ftruncate(m_fd, off_t(size)) != 0)
            fail(systemErrorText(errno));
        m_size = size;
    }
    void sync()
    {
        if (::fsync(m_fd) != 0)
            fail(systemErrorText(errno));
    }

private:
    int m_fd = -1;
    qint64 m_size = 0;
    mode_t m_mode = 0644;
};

// Writes the file anew through `fill` (given the new file's descriptor) into a new file in
// the same folder, brought to disk, then renamed over the old one: a crash leaves either
// the old file or the new one, never half of each.
void replaceFile(const QString &path, const Fd &old, const std::function<void(Fd &out)> &fill)
{
    const QFileInfo info(path);
    std::random_device random;
    QByteArray tempNative;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 20; ++attempt) {
        const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName()
                             + QStringLiteral(".markers-%1").arg(random() % 1000000, 6, 10, QLatin1Char('0'));
        tempNative = QFile::encodeName(temp);
        fd = ::open(tempNative.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            fail(systemErrorText(errno));
    }
    if (fd < 0)
        fail(systemErrorText(EEXIST));
    ::close(fd);
    try {
        {
            Fd out(QFile::decodeName(tempNative), true);
            fchmod(out.fd(), old.mode());
            fill(out);
            out.sync();
        }
        if (::rename(tempNative.constData(), QFile::encodeName(path).constData()) != 0)
            fail(systemErrorText(errno));
    } catch (...) {
        ::unlink(tempNative.constData());
        throw;
    }
    const int dir = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// Copies bytes [from, to) of one file to the end of another.
void copyRange(const Fd &in, qint64 from, qint64 to, Fd &out)
{
    constexpr qint64 kChunk = 4 << 20;
    qint64 at = out.size();
    for (qint64 p = from; p < to; p += kChunk) {
        const QByteArray data = in.readAt(p, std::min(kChunk, to - p));
        out.writeAt(at, data);
        at += data.size();
    }
}

// ---- Times --------------------------------------------------------------------------------

qint64 framesToMs(qint64 frame, int rate)
{
    return rate > 0 ? qint64(std::llround(double(frame) * 1000.0 / rate)) : 0;
}

qint64 msToFrames(qint64 ms, int rate)
{
    return qint64(std::llround(double(ms) * rate / 1000.0));
}

void checkMarkers(const std::vector<FileMarker> &markers)
{
    if (markers.size() > size_t(kMaxMarkers))
        fail(QCoreApplication::translate("FileMarkers", "more than %1 markers").arg(kMaxMarkers));
    for (const FileMarker &m : markers)
        if (m.frame < 0)
            fail(QCoreApplication::translate("FileMarkers", "a marker before the start"));
}

// The markers in the order of their positions (a stable sort keeps equal ones in order).
std::vector<FileMarker> sorted(std::vector<FileMarker> markers)
{
    std::stable_sort(markers.begin(), markers.end(),
                     [](const FileMarker &a, const FileMarker &b) { return a.frame < b.frame; });
    return markers;
}

// The markers as a format keeping milliseconds gives them back.
std::vector<FileMarker> inMs(std::vector<FileMarker> markers, int rate)
{
    for (FileMarker &m : markers)
        m.frame = msToFrames(framesToMs(m.frame, rate), rate);
    return markers;
}

}  // namespace

StreamShape probeShape(const QString &path)
{
    quietFfmpegLog();
    AVFormatContext *context = nullptr;
    const QByteArray native = QFile::encodeName(path);
    if (avformat_open_input(&context, native.constData(), nullptr, nullptr) < 0)
        return {};
    StreamShape shape;
    if (avformat_find_stream_info(context, nullptr) >= 0) {
        const int index = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (index >= 0) {
            const AVStream *stream = context->streams[index];
            shape.sampleRate = stream->codecpar->sample_rate;
            if (stream->duration > 0 && stream->duration != AV_NOPTS_VALUE)
                shape.frames = av_rescale_q(stream->duration, stream->time_base, AVRational{1, shape.sampleRate});
            else if (context->duration > 0)
                shape.frames = av_rescale(context->duration, shape.sampleRate, AV_TIME_BASE);
        }
    }
    avformat_close_input(&context);
    return shape;
}

namespace {

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

// ---- WAV ---------------------------------------------------------------------------------------

struct RiffChunk {
    QByteArray id;
    qint64 offset = 0;   // of its 8-byte header
    qint64 size = 0;     // of its body, without the pad byte
    QByteArray listType; // for LIST chunks
    qint64 end() const { return offset + 8 + size + (size & 1); }
};

struct WavLayout {
    std::vector<RiffChunk> chunks;
    int rate = 0;
};

WavLayout readWavLayout(const Fd &file)
{
    const QByteArray riff = file.readSome(0, 12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        fail(QCoreApplication::translate("FileMarkers", "not a WAV file"));
    WavLayout layout;
    bool data = false;
    for (qint64 at = 12; at + 8 <= file.size();) {
        const QByteArray head = file.readAt(at, 8);
        RiffChunk chunk{head.left(4), at, qFromLittleEndian<quint32>(head.constData() + 4), {}};
        if (chunk.id == "data") {
            data = true;
            // A recording cut short may claim more than there is.
            chunk.size = std::min(chunk.size, file.size() - at - 8);
        } else if (at + 8 + chunk.size > file.size()) {
            //: %1 is the four-letter name of a part of a WAV file ("LIST").
            fail(QCoreApplication::translate("FileMarkers", "the %1 chunk is cut short")
                     .arg(QString::fromLatin1(chunk.id)));
        }
        if (chunk.id == "fmt ") {
            const QByteArray fmt = file.readAt(at + 8, std::min<qint64>(chunk.size, 16));
            if (fmt.size() < 16)
                fail(QCoreApplication::translate("FileMarkers", "the fmt chunk is damaged"));
            layout.rate = int(qFromLittleEndian<quint32>(fmt.constData() + 4));
        }
        if (chunk.id == "LIST" && chunk.size >= 4)
            chunk.listType = file.readAt(at + 8, 4);
        layout.chunks.push_back(chunk);
        at = chunk.end();
    }
    if (layout.rate <= 0 || !data)
        fail(QCoreApplication::translate("FileMarkers", "the WAV file has no fmt or data chunk"));
    return layout;
}

bool isMarkerChunk(const RiffChunk &c)
{
    return c.id == "cue " || (c.id == "LIST" && c.listType == "adtl");
}

std::vector<FileMarker> readWavMarkers(const QString &path)
{
    Fd file(path, false);
    const WavLayout layout = readWavLayout(file);
    std::vector<std::pair<quint32, qint64>> points;   // cue id, frame
    std::map<quint32, QString> names;
    for (const RiffChunk &c : layout.chunks) {
        if (c.id == "cue ") {
            const QByteArray body = file.readAt(c.offset + 8, c.size);
            if (body.size() < 4)
                fail(QCoreApplication::translate("FileMarkers", "the cue chunk is damaged"));
            const quint32 count = qFromLittleEndian<quint32>(body.constData());
            if (qint64(count) * 24 + 4 > body.size())
                fail(QCoreApplication::translate("FileMarkers", "the cue chunk is damaged"));
            for (quint32 i = 0; i < count; ++i) {
                const char *p = body.constData() + 4 + i * 24;
                points.push_back({qFromLittleEndian<quint32>(p), qFromLittleEndian<quint32>(p + 20)});
            }
        } else if (c.id == "LIST" && c.listType == "adtl") {
            const QByteArray body = file.readAt(c.offset + 8, c.size);
            for (qint64 at = 4; at + 8 <= body.size();) {
                const qint64 size = qFromLittleEndian<quint32>(body.constData() + at + 4);
                if (at + 8 + size > body.size())
                    fail(QCoreApplication::translate("FileMarkers", "the adtl list is damaged"));
                if (body.mid(at, 4) == "labl" && size >= 4) {
                    QByteArray text = body.mid(at + 12, size - 4);
                    if (const qsizetype zero = text.indexOf('\0'); zero >= 0)
                        text.truncate(zero);
                    names[qFromLittleEndian<quint32>(body.constData() + at + 8)] = QString::fromUtf8(text);
                }
                at += 8 + size + (size & 1);
            }
        }
    }
    std::vector<FileMarker> markers;
    for (const auto &[id, frame] : points)
        markers.push_back({frame, names.count(id) ? names[id] : QString()});
    return sorted(std::move(markers));
}

QByteArray wavMarkerChunks(const std::vector<FileMarker> &markers)
{
    if (markers.empty())
        return {};
    auto u32 = [](QByteArray &out, quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    QByteArray cue("cue ");
    u32(cue, quint32(4 + 24 * markers.size()));
    u32(cue, quint32(markers.size()));
    QByteArray adtl("LIST");
    u32(adtl, 0);
    adtl.append("adtl");
    quint32 id = 1;
    for (const FileMarker &m : markers) {
        u32(cue, id);
        u32(cue, quint32(m.frame));
        cue.append("data");
        u32(cue, 0);
        u32(cue, 0);
        u32(cue, quint32(m.frame));
        QByteArray text = m.name.toUtf8();
        text.append('\0');
        adtl.append("labl");
        u32(adtl, quint32(4 + text.size()));
        u32(adtl, id++);
        adtl.append(text);
        if (text.size() & 1)
            adtl.append('\0');
    }
    qToLittleEndian<quint32>(quint32(adtl.size() - 8), adtl.data() + 4);
    return cue + adtl;
}

void writeWavMarkers(const QString &path, const std::vector<FileMarker> &markers)
{
    for (const FileMarker &m : markers)
        if (m.frame > 0xFFFFFFFFLL)
            fail(QCoreApplication::translate("FileMarkers", "a marker past the reach of a WAV file"));
    if (readWavMarkers(path) == markers)
        return;
    Fd file(path, true);
    const WavLayout layout = readWavLayout(file);
    const QByteArray chunks = wavMarkerChunks(markers);
    // The old marker chunks at the end are cut off and the new ones written in their place;
    // anywhere else the file is written anew without them.
    qint64 tail = file.size();
    size_t i = layout.chunks.size();
    while (i > 0 && isMarkerChunk(layout.chunks[i - 1]))
        tail = layout.chunks[--i].offset;
    const bool elsewhere = std::any_of(layout.chunks.begin(), layout.chunks.begin() + i, isMarkerChunk);
    const RiffChunk &last = i > 0 ? layout.chunks[i - 1] : layout.chunks.back();
    if (!elsewhere) {
        QByteArray appended;
        if (tail == file.size() && last.end() > file.size())   // an odd data chunk without its pad byte
            appended.append('\0');
        appended.append(chunks);
        file.truncate(tail);
        file.writeAt(tail, appended);
        char size[4];
        qToLittleEndian<quint32>(quint32(file.size() - 8), size);
        file.writeAt(4, QByteArray(size, 4));
        file.sync();
        return;
    }
    replaceFile(path, file, [&](Fd &out) {
        out.writeAt(0, file.readAt(0, 12));
        for (const RiffChunk &c : layout.chunks) {
            if (isMarkerChunk(c))
                continue;
            copyRange(file, c.offset, std::min(c.end(), file.size()), out);
            if (c.end() > file.size())
                out.writeAt(out.size(), QByteArray(1, '\0'));
        }
        out.writeAt(out.size(), chunks);
        char size[4];
        qToLittleEndian<quint32>(quint32(out.size() - 8), size);
        out.writeAt(4, QByteArray(size, 4));
    });
}

// ---- MP3 ---------------------------------------------------------------------------------------

TagLib::String toTagString(const QString &s)
{
    return TagLib::String(s.toStdString(), TagLib::String::UTF8);
}

QString fromTagString(const TagLib::String &s)
{
    return QString::fromStdString(s.to8Bit(true));
}

// The ID3v2 tag at the start of the file: its size (0 = none) and version.
struct Id3Head {
    qint64 size = 0;
    int version = 3;
};

Id3Head id3HeadOf(const Fd &file)
{
    const QByteArray h = file.readSome(0, 10);
    if (h.size() < 10 || !h.startsWith("ID3"))
        return {};
    for (int i = 6; i < 10; ++i)
        if (h[i] & 0x80)
            fail(QCoreApplication::translate("FileMarkers", "the ID3v2 tag is damaged"));
    const qint64 body = (qint64(h[6]) << 21) | (qint64(h[7]) << 14) | (qint64(h[8]) << 7) | qint64(h[9]);
    const qint64 size = 10 + body + ((h[5] & 0x10) ? 10 : 0);
    if (size > file.size())
        fail(QCoreApplication::translate("FileMarkers", "the ID3v2 tag is cut short"));
    return {size, h[3] == 4 ? 4 : 3};
}

std::vector<FileMarker> chaptersOf(TagLib::ID3v2::Tag *tag, int rate)
{
    std::vector<FileMarker> markers;
    if (!tag)
        return markers;
    const TagLib::ID3v2::FrameList chapters = tag->frameList("CHAP");
    std::vector<const TagLib::ID3v2::ChapterFrame *> ordered;
    for (auto *frame : chapters)
        if (auto *c = dynamic_cast<const TagLib::ID3v2::ChapterFrame *>(frame))
            ordered.push_back(c);
    std::vector<FileMarker> list;
    for (const auto *c : ordered) {
        QString name;
        const TagLib::ID3v2::FrameList titles = c->embeddedFrameList("TIT2");
        if (!titles.isEmpty())
            name = fromTagString(titles.front()->toString());
        list.push_back({msToFrames(c->startTime(), rate), name});
    }
    return sorted(std::move(list));
}

struct Mp3Tag {
    Id3Head head;
    std::unique_ptr<TagLib::FileStream> stream;
    std::unique_ptr<TagLib::MPEG::File> file;
    TagLib::ID3v2::Tag *tag = nullptr;
};

Mp3Tag openMp3Tag(const QString &path, const Fd &fd)
{
    Mp3Tag t;
    t.head = id3HeadOf(fd);
    t.stream = std::make_unique<TagLib::FileStream>(QFile::encodeName(path).constData(), true);
    if (!t.stream->isOpen())
        fail(QCoreApplication::translate("FileMarkers", "cannot be opened"));
    t.file = std::make_unique<TagLib::MPEG::File>(t.stream.get(), TagLib::ID3v2::FrameFactory::instance(), false);
    if (!t.file->isValid())
        fail(QCoreApplication::translate("FileMarkers", "not an MP3 file"));
    t.tag = t.head.size > 0 ? t.file->ID3v2Tag(false) : nullptr;
    return t;
}

int mp3Rate(const QString &path, StreamShape *shape)
{
    *shape = probeShape(path);
    if (shape->sampleRate <= 0)
        fail(QCoreApplication::translate("FileMarkers", "no MP3 audio found"));
    return shape->sampleRate;
}

std::vector<FileMarker> readMp3Markers(const QString &path)
{
    Fd fd(path, false);
    Mp3Tag t = openMp3Tag(path, fd);
    if (!t.tag || t.tag->frameList("CHAP").isEmpty())
        return {};
    StreamShape shape;
    return chaptersOf(t.tag, mp3Rate(path, &shape));
}

void writeMp3Markers(const QString &path, const std::vector<FileMarker> &markers)
{
    Fd fd(path, true);
    Mp3Tag t = openMp3Tag(path, fd);
    if (!t.tag && markers.empty())
        return;
    StreamShape shape;
    const int rate = mp3Rate(path, &shape);
    if (chaptersOf(t.tag, rate) == inMs(markers, rate)
        && (!t.tag || t.tag->frameList("CTOC").isEmpty() == markers.empty()))
        return;
    TagLib::ID3v2::Tag fresh;
    TagLib::ID3v2::Tag *tag = t.tag ? t.tag : &fresh;
    tag->removeFrames("CHAP");
    tag->removeFrames("CTOC");
    const auto encoding = t.head.version == 4 ? TagLib::String::UTF8 : TagLib::String::UTF16;
    if (!markers.empty()) {
        const qint64 endMs = std::max<qint64>(framesToMs(shape.frames, rate), framesToMs(markers.back().frame, rate));
        TagLib::ByteVectorList children;
        for (size_t i = 0; i < markers.size(); ++i) {
            const TagLib::ByteVector id(QStringLiteral("chp%1").arg(i).toLatin1().constData());
            const qint64 start = framesToMs(markers[i].frame, rate);
            const qint64 end = i + 1 < markers.size() ? framesToMs(markers[i + 1].frame, rate) : endMs;
            auto *title = new TagLib::ID3v2::TextIdentificationFrame("TIT2", encoding);
            title->setText(toTagString(markers[i].name));
            TagLib::ID3v2::FrameList embedded;
            embedded.append(title);
            tag->addFrame(new TagLib::ID3v2::ChapterFrame(id, quint32(start), quint32(end), 0xFFFFFFFFu,
                                                          0xFFFFFFFFu, embedded));
            children.append(id);
        }
        auto *toc = new TagLib::ID3v2::TableOfContentsFrame("toc", children);
        toc->setIsTopLevel(true);
        toc->setIsOrdered(true);
        tag->addFrame(toc);
    }
    const auto version = t.head.version == 4 ? TagLib::ID3v2::v4 : TagLib::ID3v2::v3;
    TagLib::ByteVector rendered = tag->render(version);
    const QByteArray bytes(rendered.data(), rendered.size());
    if (t.head.size > 0 && bytes.size() == t.head.size) {
        fd.writeAt(0, bytes);
        fd.sync();
        return;
    }
    // More than the tag's room: a new tag with room to spare, then the audio.
    QByteArray grown = bytes;
    grown[5] = char(grown[5] & ~0x10);   // no footer
    grown.append(QByteArray(kMarkerRoom, '\0'));
    const qint64 body = grown.size() - 10;
    for (int i = 0; i < 4; ++i)
        grown[9 - i] = char((body >> (7 * i)) & 0x7F);
    const qint64 audio = t.head.size;
    t.file.reset();
    t.stream.reset();
    replaceFile(path, fd, [&](Fd &out) {
        out.writeAt(0, grown);
        copyRange(fd, audio, fd.size(), out);
    });
}

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

}  // namespace

// ---- For the writers -------------------------------------------------------------------------

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

std::vector<FileMarker> readMarkers(const QString &path)
{
    try {
        switch (kindOf(path)) {
        case Kind::Wav:
            return readWavMarkers(path);
        case Kind::Mp3:
            return readMp3Markers(path);
        case Kind::Wma:
            return readWmaMarkers(path);
        case Kind::Flac:
            return readFlacMarkers(path);
        case Kind::Ogg:
            return readOggMarkers(path);
        }
    } catch (const MarkerFailure &f) {
        //: %1 the file, %2 why ("the file is cut short").
        throw EngineError(QCoreApplication::translate("FileMarkers", "Cannot read the markers of %1: %2")
                              .arg(path, f.reason));
    }
    return {};
}

void writeMarkers(const QString &path, const std::vector<FileMarker> &markers)
{
    try {
        checkMarkers(markers);
        const std::vector<FileMarker> list = sorted(markers);
        switch (kindOf(path)) {
        case Kind::Wav:
            return writeWavMarkers(path, list);
        case Kind::Mp3:
            return writeMp3Markers(path, list);
        case Kind::Wma:
            return writeWmaMarkers(path, list);
        case Kind::Flac:
            return writeFlacMarkers(path, list);
        case Kind::Ogg:
            return writeOggMarkers(path, list);
        }
    } catch (const MarkerFailure &f) {
        //: %1 the file, %2 why ("the file is cut short").
        throw EngineError(QCoreApplication::translate("FileMarkers", "Cannot write the markers of %1: %2")
                              .arg(path, f.reason));
    }
}

}  // namespace engine::file
