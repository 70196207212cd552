// The repair of a WMA (ASF) file: its header counts the packets there are and the time they hold.
#include "engine/file/repair_io.h"

#include "engine/file/ffmpeg_util.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <QtEndian>

#include <cstring>

namespace engine::file::repair {

namespace {

const char kAsfHeaderGuid[16] = {'\x30', '\x26', '\xB2', '\x75', '\x8E', '\x66', '\xCF', '\x11',
                                 '\xA6', '\xD9', '\x00', '\xAA', '\x00', '\x62', '\xCE', '\x6C'};
const char kAsfFilePropertiesGuid[16] = {'\xA1', '\xDC', '\xAB', '\x8C', '\x47', '\xA9', '\xCF', '\x11',
                                         '\x8E', '\xE4', '\x00', '\xC0', '\x0C', '\x20', '\x53', '\x65'};
const char kAsfDataGuid[16] = {'\x36', '\x26', '\xB2', '\x75', '\x8E', '\x66', '\xCF', '\x11',
                               '\xA6', '\xD9', '\x00', '\xAA', '\x00', '\x62', '\xCE', '\x6C'};

constexpr qint64 kAsfDataHeaderBytes = 50;
constexpr int kAsfTailPackets = 16;

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

}  // namespace

bool isAsf(const QByteArray &head)
{
    return head.size() >= 16 && std::memcmp(head.constData(), kAsfHeaderGuid, 16) == 0;
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

}  // namespace engine::file::repair
