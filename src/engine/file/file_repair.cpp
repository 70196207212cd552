#include "engine/file/file_repair.h"

#include "engine/engine.h"
#include "engine/file/ffmpeg_util.h"
#include "engine/file/mpeg_header.h"
#include "engine/file/ogg_page.h"

extern "C" {
#include <libavutil/crc.h>
}

#include <QtEndian>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

namespace engine::file {

namespace {

// pread of the range, fewer bytes (*done) where the file ends; 0 or the errno of a failure.
int readFully(int fd, char *data, qint64 bytes, qint64 offset, qint64 *done)
{
    *done = 0;
    while (*done < bytes) {
        const ssize_t n = ::pread(fd, data + *done, size_t(bytes - *done), off_t(offset + *done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        *done += n;
    }
    return 0;
}

// pwrite of the whole range; 0 or the errno of the failure.
int writeFully(int fd, const char *data, qint64 bytes, qint64 offset)
{
    qint64 done = 0;
    while (done < bytes) {
        const ssize_t n = ::pwrite(fd, data + done, size_t(bytes - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += n;
    }
    return 0;
}

// APE tags hold pictures at most; anything claiming more is not a tag.
constexpr qint64 kMaxTrailingTagBytes = 16 << 20;

// Thrown by a trial repair at its first change.
struct WouldChange {};

// The file being repaired: reads and writes at offsets, and the message of a refusal.
// Tags at its end may be set aside: size() then ends where they start, and a cut moves
// them down to the new end. A trial repair changes nothing and stops where it would.
class RepairTarget {
public:
    RepairTarget(int fd, const QString &path) : m_fd(fd), m_path(path)
    {
        struct stat st {};
        if (fstat(fd, &st) != 0)
            failSystem(errno);
        if (!S_ISREG(st.st_mode))
            fail(QCoreApplication::translate("FileRepair", "it is not a regular file"));
        m_size = m_fileSize = st.st_size;
    }

    int fd() const { return m_fd; }
    // Up to the trailing tags set aside.
    qint64 size() const { return m_size; }
    // Trailing tags included.
    qint64 fileSize() const { return m_fileSize; }

    // Where the audio may end ahead of tags at the end of the file (an ID3v1 tag, an APEv2
    // tag, or an APEv2 tag and then an ID3v1 tag), earliest first; empty when there are none.
    std::vector<qint64> trailingTagStarts() const
    {
        std::vector<qint64> starts;
        const qint64 id3v1 = m_fileSize >= 128 && readRaw(m_fileSize - 128, 3) == "TAG" ? m_fileSize - 128 : -1;
        for (const qint64 end : {id3v1, m_fileSize}) {
            const qint64 ape = end >= 0 ? apeTagStart(end) : -1;
            if (ape >= 0)
                starts.push_back(ape);
        }
        if (id3v1 >= 0)
            starts.push_back(id3v1);
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        return starts;
    }

    // What follows `end` is set aside as tags (none at the size of the file).
    void setAudioEnd(qint64 end) { m_size = end; }

    void setTrial(bool trial) { m_trial = trial; }

    // Up to `bytes` bytes from offset (fewer at the end of the file).
    QByteArray read(qint64 offset, qint64 bytes) const
    {
        return readRaw(offset, std::min(bytes, m_size - offset));
    }

    void write(qint64 offset, const QByteArray &bytes)
    {
        Q_ASSERT(offset >= 0 && offset + bytes.size() <= m_size);
        if (m_trial) {
            if (read(offset, bytes.size()) != bytes)
                throw WouldChange();
            return;
        }
        if (const int error = writeFully(m_fd, bytes.constData(), bytes.size(), offset))
            failSystem(error);
    }

    void truncate(qint64 size)
    {
        if (size >= m_size)
            return;
        if (m_trial)
            throw WouldChange();
        // The tags go first, over what is cut off, so that the file never grows.
        const QByteArray tags = readRaw(m_size, m_fileSize - m_size);
        if (tags.size() != m_fileSize - m_size)
            fail(QCoreApplication::translate("FileRepair", "its tags cannot be read"));
        if (const int error = writeFully(m_fd, tags.constData(), tags.size(), size))
            failSystem(error);
        if (ftruncate(m_fd, off_t(size + tags.size())) != 0)
            failSystem(errno);
        m_fileSize -= m_size - size;
        m_size = size;
    }

    [[noreturn]] void fail(const QString &reason) const
    {
        //: %1 the file, %2 why ("its header is damaged").
        throw EngineError(QCoreApplication::translate("FileRepair", "Cannot repair %1: %2")
                              .arg(m_path, reason));
    }
    [[noreturn]] void failSystem(int error) const { fail(systemErrorText(error)); }

private:
    // Where an APEv2 tag that ends at `end` starts, -1 when none does.
    qint64 apeTagStart(qint64 end) const
    {
        if (end < 32)
            return -1;
        const QByteArray footer = readRaw(end - 32, 32);
        if (footer.size() != 32 || !footer.startsWith("APETAGEX"))
            return -1;
        const quint32 version = qFromLittleEndian<quint32>(footer.constData() + 8);
        const qint64 tagSize = qFromLittleEndian<quint32>(footer.constData() + 12);   // items and footer
        const bool hasHeader = uchar(footer[23]) & 0x80;
        const qint64 bytes = tagSize + (hasHeader ? 32 : 0);
        if ((version != 1000 && version != 2000) || tagSize < 32 || bytes > end || bytes > kMaxTrailingTagBytes
            || (hasHeader && readRaw(end - bytes, 8) != "APETAGEX"))
            return -1;
        return end - bytes;
    }

    QByteArray readRaw(qint64 offset, qint64 bytes) const
    {
        bytes = std::max<qint64>(0, std::min(bytes, m_fileSize - offset));
        if (offset < 0 || bytes == 0)
            return QByteArray();
        QByteArray data(bytes, Qt::Uninitialized);
        qint64 done = 0;
        if (const int error = readFully(m_fd, data.data(), bytes, offset, &done))
            failSystem(error);
        data.truncate(done);
        return data;
    }

    int m_fd;
    QString m_path;
    qint64 m_size = 0;
    qint64 m_fileSize = 0;
    bool m_trial = false;
};

// ---- WAV -------------------------------------------------------------------------------------

bool isChunkId(const char *p)
{
    return std::all_of(p, p + 4, [](char c) { return c >= 0x20 && c <= 0x7E; });
}

bool isWav(const QByteArray &head)
{
    return head.size() >= 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
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

// ---- MP3 -------------------------------------------------------------------------------------

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

bool isMpeg(const QByteArray &head)
{
    MpegFrameHeader h;
    return head.startsWith("ID3")
           || (head.size() >= 4 && parseMpegFrameHeader(reinterpret_cast<const uchar *>(head.constData()), &h));
}

// Reads a file front to back in large pieces, for walking its frames.
class SequentialReader {
public:
    explicit SequentialReader(const RepairTarget &file) : m_file(file) {}
    // The `bytes` bytes at offset, or nullptr when the file ends first.
    const char *at(qint64 offset, int bytes)
    {
        if (offset < m_start || offset + bytes > m_start + m_buffer.size()) {
            m_start = offset;
            m_buffer = m_file.read(offset, std::max(bytes, 1 << 20));
            if (m_buffer.size() < bytes)
                return nullptr;
        }
        return m_buffer.constData() + (offset - m_start);
    }
    // Up to `bytes` bytes at offset, fewer at the end of the file (*available says how
    // many); nullptr when none are left.
    const char *upTo(qint64 offset, int bytes, int *available)
    {
        *available = int(std::clamp<qint64>(m_file.size() - offset, 0, bytes));
        return *available > 0 ? at(offset, *available) : nullptr;
    }

private:
    const RepairTarget &m_file;
    QByteArray m_buffer;
    qint64 m_start = 0;
};

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

// ---- WMA (ASF) -------------------------------------------------------------------------------

const char kAsfHeaderGuid[16] = {'\x30', '\x26', '\xB2', '\x75', '\x8E', '\x66', '\xCF', '\x11',
                                 '\xA6', '\xD9', '\x00', '\xAA', '\x00', '\x62', '\xCE', '\x6C'};
const char kAsfFilePropertiesGuid[16] = {'\xA1', '\xDC', '\xAB', '\x8C', '\x47', '\xA9', '\xCF', '\x11',
                                         '\x8E', '\xE4', '\x00', '\xC0', '\x0C', '\x20', '\x53', '\x65'};
const char kAsfDataGuid[16] = {'\x36', '\x26', '\xB2', '\x75', '\x8E', '\x66', '\xCF', '\x11',
                               '\xA6', '\xD9', '\x00', '\xAA', '\x00', '\x62', '\xCE', '\x6C'};

constexpr qint64 kAsfDataHeaderBytes = 50;
constexpr int kAsfTailPackets = 16;

bool isAsf(const QByteArray &head)
{
    return head.size() >= 16 && std::memcmp(head.constData(), kAsfHeaderGuid, 16) == 0;
}

// The ASF header followed by the last packets only, as one stream for FFmpeg's demuxer:
// enough to learn where the audio ends without reading the whole file.
struct AsfTailStream {
    int fd = -1;
    QByteArray head;          // header object and data object header
    qint64 tailStart = 0;     // file offset of the first packet served
    qint64 tailBytes = 0;
    qint64 pos = 0;

    qint64 total() const { return head.size() + tailBytes; }

    static int read(void *opaque, uint8_t *buffer, int size)
    {
        auto *s = static_cast<AsfTailStream *>(opaque);
        int done = 0;
        while (done < size && s->pos < s->total()) {
            qint64 n = 0;
            if (s->pos < s->head.size()) {
                n = std::min<qint64>(size - done, s->head.size() - s->pos);
                std::memcpy(buffer + done, s->head.constData() + s->pos, size_t(n));
            } else {
                n = std::min<qint64>(size - done, s->total() - s->pos);
                n = ::pread(s->fd, buffer + done, size_t(n), off_t(s->tailStart + s->pos - s->head.size()));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    return done > 0 ? done : n < 0 ? AVERROR(errno) : AVERROR_EOF;
            }
            done += int(n);
            s->pos += n;
        }
        return done > 0 ? done : AVERROR_EOF;
    }

    static int64_t seek(void *opaque, int64_t offset, int whence)
    {
        auto *s = static_cast<AsfTailStream *>(opaque);
        if (whence & AVSEEK_SIZE)
            return s->total();
        whence &= ~AVSEEK_FORCE;
        const qint64 base = whence == SEEK_CUR ? s->pos : whence == SEEK_END ? s->total() : 0;
        if (base + offset < 0)
            return AVERROR(EINVAL);
        s->pos = base + offset;
        return s->pos;
    }
};

// Where the audio of the packets [dataStart, dataEnd) ends, in milliseconds after the
// preroll: the end of the last media object the demuxer delivers whole. -1 when the
// packets cannot be read.
qint64 asfAudioEndMs(int fd, const QByteArray &header, qint64 dataStart, qint64 dataEnd, qint64 packetSize)
{
    AsfTailStream stream;
    stream.fd = fd;
    stream.head = header;
    // An unknown data size: the demuxer reads up to the end of what it is given.
    qToLittleEndian<quint64>(kAsfDataHeaderBytes, stream.head.data() + header.size() - kAsfDataHeaderBytes + 16);
    stream.tailStart = std::max(dataStart, dataEnd - kAsfTailPackets * packetSize);
    stream.tailBytes = dataEnd - stream.tailStart;

    constexpr int bufferSize = 1 << 16;
    auto *buffer = static_cast<unsigned char *>(av_malloc(bufferSize));
    AVIOContext *io = buffer ? avio_alloc_context(buffer, bufferSize, 0, &stream, &AsfTailStream::read,
                                                  nullptr, &AsfTailStream::seek)
                             : nullptr;
    if (!io) {
        av_free(buffer);
        throw std::bad_alloc();
    }
    AVFormatContext *context = avformat_alloc_context();
    qint64 endMs = -1;
    if (context) {
        context->pb = io;
        if (avformat_open_input(&context, nullptr, av_find_input_format("asf"), nullptr) == 0) {
            PacketPtr packet(av_packet_alloc());
            qint64 lastPts = -1;
            qint64 step = 0;
            while (packet && av_read_frame(context, packet.get()) >= 0) {
                const AVStream *st = context->streams[packet->stream_index];
                const qint64 ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
                if (ts != AV_NOPTS_VALUE && st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
                    const qint64 ms = av_rescale_q(ts, st->time_base, AVRational{1, 1000});
                    if (lastPts >= 0 && ms > lastPts)
                        step = ms - lastPts;
                    const qint64 duration = packet->duration > 0
                                                ? av_rescale_q(packet->duration, st->time_base, AVRational{1, 1000})
                                                : step;
                    endMs = std::max(endMs, ms + duration);
                    lastPts = ms;
                }
                av_packet_unref(packet.get());
            }
            avformat_close_input(&context);
        } else {
            // avformat_open_input frees the context when it fails.
            context = nullptr;
        }
    }
    av_freep(&io->buffer);
    avio_context_free(&io);
    return endMs;
}

// The objects from pos on end exactly at the end of the file (the index after the data).
bool asfObjectsFillTheRest(const RepairTarget &file, qint64 pos)
{
    for (int i = 0; i < 16 && pos < file.size(); ++i) {
        const QByteArray h = file.read(pos, 24);
        if (h.size() < 24)
            return false;
        const quint64 size = qFromLittleEndian<quint64>(h.constData() + 16);
        if (size < 24 || size > quint64(file.size() - pos))
            return false;
        pos += qint64(size);
    }
    return pos == file.size();
}

void repairAsf(RepairTarget &file)
{
    const QByteArray start = file.read(0, 30);
    if (start.size() < 30)
        file.fail(QCoreApplication::translate("FileRepair", "its header is cut short"));
    const quint64 headerSize = qFromLittleEndian<quint64>(start.constData() + 16);
    if (headerSize < 30 || qint64(headerSize) + kAsfDataHeaderBytes > file.size())
        file.fail(QCoreApplication::translate("FileRepair", "its header is cut short"));
    if (headerSize > (16u << 20))
        file.fail(QCoreApplication::translate("FileRepair", "its header is damaged"));
    QByteArray header = file.read(0, qint64(headerSize) + kAsfDataHeaderBytes);
    char *h = header.data();

    qint64 properties = -1;
    for (qint64 pos = 30; pos + 24 <= qint64(headerSize);) {
        const quint64 size = qFromLittleEndian<quint64>(h + pos + 16);
        if (size < 24 || size > headerSize - quint64(pos))
            file.fail(QCoreApplication::translate("FileRepair", "its header is damaged"));
        if (std::memcmp(h + pos, kAsfFilePropertiesGuid, 16) == 0 && size >= 104)
            properties = pos;
        pos += qint64(size);
    }
    if (properties < 0)
        file.fail(QCoreApplication::translate("FileRepair", "its header has no file properties"));
    char *fp = h + properties;
    const qint64 packetSize = qFromLittleEndian<quint32>(fp + 92);
    if (packetSize < 24 || packetSize != qint64(qFromLittleEndian<quint32>(fp + 96)))
        file.fail(QCoreApplication::translate("FileRepair", "its packets are not of one fixed size"));
    char *data = h + headerSize;
    if (std::memcmp(data, kAsfDataGuid, 16) != 0)
        file.fail(QCoreApplication::translate("FileRepair", "its data object is missing"));

    // A data object that says how many packets it holds, and holds them up to the end of
    // the file or up to an index, is right; otherwise the file holds as many whole packets
    // as fit.
    const qint64 dataStart = qint64(headerSize) + kAsfDataHeaderBytes;
    const quint64 declaredBytes = qFromLittleEndian<quint64>(data + 16);
    const quint64 declaredPackets = qFromLittleEndian<quint64>(data + 40);
    const bool consistent = declaredBytes >= quint64(kAsfDataHeaderBytes)
                            && (declaredBytes - kAsfDataHeaderBytes) % quint64(packetSize) == 0
                            && declaredBytes <= quint64(file.size()) - headerSize
                            && (declaredBytes - kAsfDataHeaderBytes) / quint64(packetSize) == declaredPackets
                            && asfObjectsFillTheRest(file, qint64(headerSize + declaredBytes));
    const qint64 packets = consistent ? qint64(declaredPackets) : (file.size() - dataStart) / packetSize;
    const qint64 dataEnd = dataStart + packets * packetSize;
    const qint64 newSize = consistent ? file.size() : dataEnd;
    // A complete file: its muxer wrote the sizes, counts and durations together.
    if (consistent && qFromLittleEndian<quint64>(fp + 40) == quint64(file.size()) && qFromLittleEndian<quint64>(fp + 56) == declaredPackets
        && !(qFromLittleEndian<quint32>(fp + 88) & 1))
        return;

    qint64 endMs = 0;
    if (packets > 0) {
        endMs = asfAudioEndMs(file.fd(), header, dataStart, dataEnd, packetSize);
        if (endMs < 0)
            file.fail(QCoreApplication::translate("FileRepair", "its packets cannot be read"));
    }
    const quint64 prerollMs = qFromLittleEndian<quint64>(fp + 80);
    qToLittleEndian<quint64>(quint64(newSize), fp + 40);
    qToLittleEndian<quint64>(quint64(packets), fp + 56);
    qToLittleEndian<quint64>((quint64(endMs) + prerollMs) * 10000, fp + 64);   // play duration, 100 ns
    qToLittleEndian<quint64>(quint64(endMs) * 10000, fp + 72);                 // send duration
    // Not a live broadcast: the sizes and durations above hold.
    qToLittleEndian<quint32>((qFromLittleEndian<quint32>(fp + 88) & ~1u) | 2u, fp + 88);
    qToLittleEndian<quint64>(quint64(kAsfDataHeaderBytes + packets * packetSize), data + 16);
    qToLittleEndian<quint64>(quint64(packets), data + 40);

    if (newSize == file.size() && header == file.read(0, header.size()))
        return;
    file.truncate(newSize);
    file.write(0, header);
}

// ---- FLAC ------------------------------------------------------------------------------------

bool isFlac(const QByteArray &head)
{
    return head.startsWith("fLaC");
}

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

// ---- Ogg -------------------------------------------------------------------------------------

bool isOgg(const QByteArray &head)
{
    return head.startsWith("OggS");
}

void repairOgg(RepairTarget &file)
{
    SequentialReader reader(file);
    qint64 pos = 0;
    qint64 lastPage = -1;
    OggPage last;
    bool oneStream = true;
    int available = 0;
    while (pos < file.size()) {
        const char *p = reader.upTo(pos, kOggMaxPageBytes, &available);
        OggPage page;
        if (!p || readOggPage(p, available, &page) != OggPageCheck::Whole)
            break;
        if (lastPage >= 0 && page.serial != last.serial)
            oneStream = false;
        lastPage = pos;
        last = std::move(page);
        pos += last.size();
    }
    if (lastPage < 0)
        file.fail(QCoreApplication::translate("FileRepair", "it holds no whole Ogg page"));
    // What follows the last whole page may only be a page cut short.
    const qint64 cut = pos;
    if (file.size() - cut >= kOggMaxPageBytes)
        file.fail(QCoreApplication::translate("FileRepair", "its audio data is damaged at byte %1").arg(cut));

    // The last page ends the stream, when it holds the end of a packet whose position it
    // gives (granule positions are written right as the pages are).
    const bool markEnd = oneStream && !(last.flags & OggLastPage) && last.granule != -1 && last.lastPacketEnds();
    if (cut == file.size() && !markEnd)
        return;
    QByteArray page;
    if (markEnd) {
        page = file.read(lastPage, last.size());
        if (page.size() != last.size())
            file.fail(QCoreApplication::translate("FileRepair", "its last page cannot be read"));
        page[5] = char(uchar(page[5]) | OggLastPage);
        updateOggPageChecksum(page.data(), page.size());
    }
    file.truncate(cut);
    if (markEnd)
        file.write(lastPage, page.left(kOggPageHeaderBytes));
}

// ---- The formats ---------------------------------------------------------------------------

struct RepairableFormat {
    RepairFormat format;
    const char *name;
    bool (*recognises)(const QByteArray &head);
    void (*repair)(RepairTarget &file);
};

const RepairableFormat kFormats[] = {
    {RepairFormat::Wav, "WAV", isWav, repairWav},
    {RepairFormat::Mp3, "MP3", isMpeg, repairMp3},
    {RepairFormat::Wma, "WMA", isAsf, repairAsf},
    {RepairFormat::Flac, "FLAC", isFlac, repairFlac},
    {RepairFormat::Ogg, "Ogg", isOgg, repairOgg},
};

const RepairableFormat *formatOf(const QByteArray &head)
{
    for (const RepairableFormat &format : kFormats) {
        if (format.recognises(head))
            return &format;
    }
    return nullptr;
}

// Whether the repair would change the file; a refusal is thrown as by the repair.
bool repairWouldChange(RepairTarget &file, const RepairableFormat &format)
{
    const struct Trial {
        RepairTarget &file;
        explicit Trial(RepairTarget &f) : file(f) { file.setTrial(true); }
        ~Trial() { file.setTrial(false); }
    } trial(file);
    try {
        format.repair(file);
    } catch (const WouldChange &) {
        return true;
    }
    return false;
}

[[noreturn]] void failOpen(const QString &path, const QString &reason)
{
    //: %1 the file, %2 why ("its header is damaged").
    throw EngineError(QCoreApplication::translate("FileRepair", "Cannot repair %1: %2").arg(path, reason));
}

}  // namespace

std::optional<RepairFormat> repairFormatOf(const QByteArray &head)
{
    const RepairableFormat *format = formatOf(head);
    return format ? std::optional(format->format) : std::nullopt;
}

QString repairFormatName(RepairFormat format)
{
    for (const RepairableFormat &f : kFormats) {
        if (f.format == format)
            return QLatin1String(f.name);
    }
    return QString();
}

void repairOpenFile(int fd, const QString &path, std::optional<RepairFormat> expected)
{
    quietFfmpegLog();
    RepairTarget file(fd, path);
    if (file.size() == 0)
        file.fail(QCoreApplication::translate("FileRepair", "it is empty"));
    const RepairableFormat *format = formatOf(file.read(0, 64));
    if (expected && (!format || format->format != *expected))
        //: %1 is a format's name: WAV, MP3, WMA, FLAC or Ogg.
        file.fail(QCoreApplication::translate("FileRepair", "it is not a %1 file")
                      .arg(repairFormatName(*expected)));
    if (!format) {
        QStringList names;
        for (const RepairableFormat &f : kFormats)
            names << QLatin1String(f.name);
        const QString last = names.takeLast();
        //: %1 is a list of formats ("WAV, MP3, WMA, FLAC"), %2 the last one ("Ogg").
        file.fail(QCoreApplication::translate("FileRepair", "it is not a %1 or %2 file")
                      .arg(names.join(QStringLiteral(", ")), last));
    }
    std::vector<qint64> ends = file.trailingTagStarts();
    if (ends.empty()) {
        format->repair(file);
        return;
    }
    // What looks like tags may be the file's own bytes (the end of its metadata or of its
    // audio). A file that needs no change with some of them, or none, taken for its own is
    // left as it is. Otherwise as many are kept apart as the repair accepts; when it
    // refuses the file however it is taken, the reason with all of them apart stands.
    ends.push_back(file.fileSize());
    std::exception_ptr refusal;
    qint64 accepted = -1;
    for (const qint64 end : ends) {
        file.setAudioEnd(end);
        try {
            if (!repairWouldChange(file, *format))
                return;
            if (accepted < 0)
                accepted = end;
        } catch (const EngineError &) {
            if (!refusal)
                refusal = std::current_exception();
        }
    }
    if (accepted < 0)
        std::rethrow_exception(refusal);
    file.setAudioEnd(accepted);
    format->repair(file);
}

void repairFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    int fd = -1;
    // Not through a link, and without waiting on a FIFO or device a damaged journal names.
    do {
        fd = ::open(native.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int error = errno;
        failOpen(path, error == ELOOP ? QCoreApplication::translate("FileRepair", "it is a symbolic link")
                                      : systemErrorText(error));
    }
    try {
        repairOpenFile(fd, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) {
        const int error = errno;
        failOpen(path, systemErrorText(error));
    }
}

QByteArray repairBytes(const QByteArray &bytes, RepairFormat format)
{
    //: Stands for a file's name in "Cannot repair %1: ..." when the bytes are in no file.
    const QString name = QCoreApplication::translate("FileRepair", "bytes in memory");
    const int fd = memfd_create("tavrin-repair", MFD_CLOEXEC);
    if (fd < 0)
        failOpen(name, systemErrorText(errno));
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (const int error = writeFully(fd, bytes.constData(), bytes.size(), 0))
        failOpen(name, systemErrorText(error));
    repairOpenFile(fd, name, format);
    struct stat st {};
    if (fstat(fd, &st) != 0)
        failOpen(name, systemErrorText(errno));
    QByteArray repaired(qint64(st.st_size), Qt::Uninitialized);
    qint64 done = 0;
    if (const int error = readFully(fd, repaired.data(), repaired.size(), 0, &done))
        failOpen(name, systemErrorText(error));
    repaired.truncate(done);
    return repaired;
}

}  // namespace engine::file
