#include "engine/file/audio_decoder.h"

#include "engine/file/ffmpeg_util.h"
#include "engine/file/container_probe.h"
#include "engine/file/mpeg_header.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <set>

namespace engine::file {

namespace {

__extension__ typedef __int128 Int128;

// A packet that fails to decode is skipped; this many in a row before the first decoded
// frame mean the file is not what its header claims.
constexpr int kMaxErrorsBeforeFirstFrame = 64;
constexpr int kMaxReadErrors = 256;

bool isPcm(AVCodecID id)
{
    const AVCodecDescriptor *desc = avcodec_descriptor_get(id);
    return desc && av_get_exact_bits_per_sample(id) > 0
           && QByteArray(desc->name).startsWith("pcm_");
}

bool isMpegAudio(AVCodecID id)
{
    return id == AV_CODEC_ID_MP1 || id == AV_CODEC_ID_MP2 || id == AV_CODEC_ID_MP3;
}

QString kbpsText(qint64 bitsPerSecond)
{
    //: A bit rate in a file format; %1 is in kilobits per second.
    return QCoreApplication::translate("AudioDecoder", "%1 kbps").arg((bitsPerSecond + 500) / 1000);
}

}  // namespace

struct AudioDecoder::Demux {
    FormatInputPtr format;
    CodecContextPtr codec;
    SwrPtr swr;
    int swrFormat = -1;
    int swrRate = 0;
    AVChannelLayout swrLayout{};
    PacketPtr packet{av_packet_alloc()};
    FramePtr frame{av_frame_alloc()};
    int stream = -1;
    bool flushed = false;       // the end of input has been sent to the decoder
    bool finished = false;      // the decoder has delivered its last frame
    int errors = 0;             // packets that failed to decode
    int readErrors = 0;         // demuxer failures in a row
    int drainErrors = 0;        // failures after the end of input
    int probeScore = 0;

    ~Demux() { av_channel_layout_uninit(&swrLayout); }
    AVStream *st() const { return format->streams[stream]; }
};

AudioDecoder::AudioDecoder()
{
    quietFfmpegLog();
}

AudioDecoder::~AudioDecoder() = default;

bool AudioDecoder::fail(int code, const QString &reason)
{
    close();
    m_errorCode = code;
    m_errorReason = reason;
    m_errorText = QCoreApplication::translate("AudioDecoder", "Cannot open %1: %2").arg(m_path, reason);
    return false;
}

void AudioDecoder::close()
{
    m_demux.reset();
    m_open = false;
    m_emptyStream = false;
    m_sampleRate = m_channels = 0;
    m_length = m_position = 0;
    m_origin = m_grid = 0;
    m_atEnd = false;
    m_description.clear();
    m_containerName.clear();
    m_codecId = 0;
    m_codecBitRate = 0;
    m_seekIndex.clear();
    m_blockStart = -1;
    m_blockBytes = m_blockFrames = 0;
    m_buffer.clear();
    m_bufferHead = 0;
}

bool AudioDecoder::open(const QString &path)
{
    close();
    m_path = path;
    m_errorCode = OpenOk;
    m_errorText.clear();
    m_errorReason.clear();

    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (path.isEmpty() || ::stat(native.constData(), &info) != 0)
        return fail(OpenNotFound, systemErrorText(path.isEmpty() ? ENOENT : errno));
    if (S_ISDIR(info.st_mode))
        return fail(OpenNotAFile, systemErrorText(EISDIR));
    if (!S_ISREG(info.st_mode))
        return fail(OpenNotAFile, QCoreApplication::translate("AudioDecoder", "Not a regular file"));
    if (::access(native.constData(), R_OK) != 0)
        return fail(OpenNotReadable, systemErrorText(errno));
    if (info.st_size == 0)
        return fail(OpenEmpty, QCoreApplication::translate("AudioDecoder", "The file is empty"));

    const QString suffix = QFileInfo(path).suffix().toLower();
    m_forceG726 = false;
    if (suffix == QLatin1String("g721") || suffix == QLatin1String("g726")) {
        QFile f(path);
        m_forceG726 = !(f.open(QIODevice::ReadOnly) && f.read(4) == "RIFF");
    }

    QString reason;
    int code = OpenNotAudio;
    m_demux = openDemux(&reason, &code);
    if (!m_demux) {
        // A recording of nothing is an MPEG file made of its header frame alone, which
        // FFmpeg will not open; it is still a valid, empty MP3.
        const MpegStreamInfo mpeg = readMpegStreamInfo(path);
        if (mpeg.valid && mpeg.hasInfoFrame
            && (mpeg.frames == 0 || mpeg.streamBytes <= mpeg.header.frameBytes)) {
            m_open = true;
            m_emptyStream = true;
            m_containerName = QStringLiteral("mp3");
            m_codecId = mpeg.header.layer == 1   ? AV_CODEC_ID_MP1
                        : mpeg.header.layer == 2 ? AV_CODEC_ID_MP2
                                                 : AV_CODEC_ID_MP3;
            m_sampleRate = mpeg.header.sampleRate;
            m_channels = mpeg.header.channels;
            //: Keep "MPEG %1 layer-%2:" as it is (the status bar shortens it to "MP3"). %1 the
            //: MPEG version, %2 the layer, %3 the bit rate, %4 the sample rate, %5 the channels.
            m_description = QCoreApplication::translate("AudioDecoder", "MPEG %1 layer-%2: %3 kbps, %4 Hz, %5")
                                .arg(mpeg.header.versionText())
                                .arg(mpeg.header.layer)
                                .arg(mpeg.header.bitrateKbps)
                                .arg(mpeg.header.sampleRate)
                                .arg(channelsText(mpeg.header.channels));
            return true;
        }
        // The same for an Ogg Vorbis or Opus file made of its header packets alone.
        const HeaderOnlyOgg ogg = readHeaderOnlyOgg(path);
        if (ogg.valid) {
            m_open = true;
            m_emptyStream = true;
            m_containerName = QStringLiteral("ogg");
            m_codecId = ogg.codec;
            m_sampleRate = ogg.sampleRate;
            m_channels = ogg.channels;
            //: %1 the codec (Opus or Ogg Vorbis), %2 the sample rate, %3 the channels ("Stereo").
            m_description = QCoreApplication::translate("AudioDecoder", "%1: %2 Hz, %3")
                                .arg(ogg.codec == AV_CODEC_ID_OPUS ? QStringLiteral("Opus") : QStringLiteral("Ogg Vorbis"))
                                .arg(ogg.sampleRate)
                                .arg(channelsText(ogg.channels));
            return true;
        }
        return fail(code, reason);
    }

    Demux &d = *m_demux;
    const AVCodecParameters *par = d.st()->codecpar;
    m_containerName = QString::fromLatin1(d.format->iformat->name);
    m_codecId = par->codec_id;
    m_codecBitRate = par->bit_rate;
    m_sampleRate = par->sample_rate;
    m_channels = par->ch_layout.nb_channels;

    // The first frame proves the stream decodes and fixes the timestamp origin. A weak
    // format guess (a few stray sync bytes in random data) must decode cleanly.
    const bool weakGuess = !m_forceG726 && d.probeScore < AVPROBE_SCORE_RETRY;
    if (decodeFrame(d)) {
        if (weakGuess && d.errors > 0)
            return fail(OpenNotAudio, avErrorText(AVERROR_INVALIDDATA));
        AVFrame *f = d.frame.get();
        m_sampleRate = f->sample_rate > 0 ? f->sample_rate : m_sampleRate;
        m_channels = f->ch_layout.nb_channels > 0 ? f->ch_layout.nb_channels : m_channels;
        if (m_sampleRate <= 0 || m_channels <= 0)
            return fail(OpenNotAudio,
                        QCoreApplication::translate("AudioDecoder", "The audio format is not known"));
        m_grid = d.codec->frame_size > 0 ? d.codec->frame_size : f->nb_samples;
        m_grid = std::max<qint64>(m_grid, f->nb_samples);
        qint64 first = 0;
        m_origin = 0;
        if (timestampToFrames(f->best_effort_timestamp, &first))
            m_origin = first;
        // WAV derives ADPCM timestamps from a rounded byte rate; the block layout is exact.
        if (m_containerName == QLatin1String("wav") && !isPcm(AVCodecID(m_codecId))
            && par->block_align > 0 && f->pkt_pos >= 0) {
            m_blockFrames = av_get_audio_frame_duration2(d.st()->codecpar, par->block_align);
            if (m_blockFrames > 0) {
                m_blockStart = f->pkt_pos;
                m_blockBytes = par->block_align;
            }
        }
        appendFrame(d);
    } else {
        if (d.errors > 0 || weakGuess)
            return fail(OpenNotAudio, avErrorText(AVERROR_INVALIDDATA));
        // A valid file with no audio in it yet (a recording of nothing).
        if (m_sampleRate <= 0 || m_channels <= 0)
            return fail(OpenNotAudio,
                        QCoreApplication::translate("AudioDecoder", "The audio format is not known"));
        m_atEnd = true;
    }
    m_open = true;
    m_position = 0;
    measure();
    if (m_atEnd)
        m_length = bufferedFrames();
    return true;
}

std::unique_ptr<AudioDecoder::Demux> AudioDecoder::openDemux(QString *reason, int *code)
{
    int unused = 0;
    if (!code)
        code = &unused;
    auto d = std::make_unique<Demux>();
    const QByteArray native = QFile::encodeName(m_path);
    const AVInputFormat *forced = nullptr;
    AVDictionary *options = nullptr;
    if (m_forceG726) {
        forced = av_find_input_format("g726le");
        av_dict_set(&options, "code_size", "4", 0);
        av_dict_set(&options, "sample_rate", "8000", 0);
    }
    AVFormatContext *raw = nullptr;
    int r = avformat_open_input(&raw, native.constData(), forced, &options);
    av_dict_free(&options);
    if (r < 0) {
        *code = r == AVERROR(EACCES) || r == AVERROR(EIO) ? OpenNotReadable : OpenNotAudio;
        // FFmpeg says "Invalid argument" for some files it cannot make sense of.
        *reason = avErrorText(*code == OpenNotAudio ? AVERROR_INVALIDDATA : r);
        return nullptr;
    }
    d->format.reset(raw);
    d->probeScore = raw->probe_score;
    r = avformat_find_stream_info(raw, nullptr);
    if (r < 0) {
        *reason = avErrorText(r);
        *code = OpenNotAudio;
        return nullptr;
    }
    const AVCodec *decoder = nullptr;
    for (unsigned i = 0; i < raw->nb_streams; ++i) {
        AVStream *st = raw->streams[i];
        if (d->stream < 0 && st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            decoder = avcodec_find_decoder(st->codecpar->codec_id);
            if (decoder) {
                d->stream = int(i);
                continue;
            }
        }
        st->discard = AVDISCARD_ALL;
    }
    if (d->stream < 0) {
        *reason = QCoreApplication::translate("AudioDecoder", "The file holds no audio that can be decoded");
        *code = OpenNoAudioStream;
        return nullptr;
    }
    d->codec.reset(avcodec_alloc_context3(decoder));
    avcodec_parameters_to_context(d->codec.get(), d->st()->codecpar);
    d->codec->pkt_timebase = d->st()->time_base;
    r = avcodec_open2(d->codec.get(), decoder, nullptr);
    if (r < 0) {
        *reason = avErrorText(r);
        *code = OpenNotAudio;
        return nullptr;
    }
    return d;
}

bool AudioDecoder::decodeFrame(Demux &d)
{
    while (!d.finished) {
        int r = avcodec_receive_frame(d.codec.get(), d.frame.get());
        if (r == 0) {
            if (d.frame->nb_samples > 0)
                return true;
            continue;
        }
        if (r == AVERROR_EOF) {
            d.finished = true;
            break;
        }
        if (r != AVERROR(EAGAIN)) {
            // A broken frame: skip it and go on with the next packet.
            ++d.errors;
        }
        if (d.flushed) {
            // Draining: a decoder that keeps failing instead of ending is cut off.
            if (r != AVERROR(EAGAIN) && ++d.drainErrors <= kMaxReadErrors)
                continue;
            d.finished = true;
            break;
        }
        if (!m_open && d.errors > kMaxErrorsBeforeFirstFrame) {
            d.finished = true;
            break;
        }
        r = av_read_frame(d.format.get(), d.packet.get());
        if (r < 0) {
            // Damage can stop a demuxer in mid-file; it resynchronises on the next call
            // as long as the file goes on.
            AVIOContext *io = d.format->pb;
            if (r != AVERROR_EOF && io && !avio_feof(io) && ++d.readErrors <= kMaxReadErrors)
                continue;
            avcodec_send_packet(d.codec.get(), nullptr);
            d.flushed = true;
            continue;
        }
        d.readErrors = 0;
        // A block codec's last packet may end in a partial block (a file cut short);
        // it is no audio, and dropping it keeps every path through the file alike.
        if (m_blockBytes > 0 && d.packet->size % m_blockBytes != 0)
            d.packet->size -= int(d.packet->size % m_blockBytes);
        if (d.packet->stream_index == d.stream && d.packet->size > 0) {
            r = avcodec_send_packet(d.codec.get(), d.packet.get());
            if (r < 0 && r != AVERROR(EAGAIN))
                ++d.errors;
        }
        av_packet_unref(d.packet.get());
    }
    return false;
}

void AudioDecoder::appendFrame(Demux &d)
{
    AVFrame *f = d.frame.get();
    AVChannelLayout in{};
    if (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || f->ch_layout.nb_channels <= 0)
        av_channel_layout_default(&in, std::max(1, f->ch_layout.nb_channels));
    else
        av_channel_layout_copy(&in, &f->ch_layout);
    const int inRate = f->sample_rate > 0 ? f->sample_rate : m_sampleRate;

    if (!d.swr || d.swrFormat != f->format || d.swrRate != inRate
        || av_channel_layout_compare(&d.swrLayout, &in) != 0) {
        AVChannelLayout out{};
        av_channel_layout_default(&out, m_channels);
        SwrContext *swr = nullptr;
        if (swr_alloc_set_opts2(&swr, &out, AV_SAMPLE_FMT_FLT, m_sampleRate, &in,
                                AVSampleFormat(f->format), inRate, 0, nullptr) < 0
            || swr_init(swr) < 0) {
            swr_free(&swr);
            av_channel_layout_uninit(&out);
            av_channel_layout_uninit(&in);
            ++d.errors;
            return;
        }
        av_channel_layout_uninit(&out);
        d.swr.reset(swr);
        d.swrFormat = f->format;
        d.swrRate = inRate;
        av_channel_layout_uninit(&d.swrLayout);
        av_channel_layout_copy(&d.swrLayout, &in);
    }
    av_channel_layout_uninit(&in);

    // Compact the buffer before it grows: what was read is never needed again.
    if (m_bufferHead > 0 && m_bufferHead * 2 >= m_buffer.size()) {
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + std::ptrdiff_t(m_bufferHead));
        m_bufferHead = 0;
    }
    const int room = swr_get_out_samples(d.swr.get(), f->nb_samples);
    if (room <= 0)
        return;
    const size_t old = m_buffer.size();
    m_buffer.resize(old + size_t(room) * size_t(m_channels));
    auto *out = reinterpret_cast<uint8_t *>(m_buffer.data() + old);
    const int n = swr_convert(d.swr.get(), &out, room,
                              const_cast<const uint8_t **>(f->extended_data), f->nb_samples);
    m_buffer.resize(old + size_t(std::max(n, 0)) * size_t(m_channels));
}

qint64 AudioDecoder::bufferedFrames() const
{
    return m_channels > 0 ? qint64(m_buffer.size() - m_bufferHead) / m_channels : 0;
}

void AudioDecoder::dropBuffered(qint64 frames)
{
    frames = std::min(frames, bufferedFrames());
    m_bufferHead += size_t(frames) * size_t(m_channels);
    if (m_bufferHead >= m_buffer.size()) {
        m_buffer.clear();
        m_bufferHead = 0;
    }
}

bool AudioDecoder::decodeIntoBuffer()
{
    if (m_atEnd || !m_demux)
        return false;
    if (!decodeFrame(*m_demux)) {
        m_atEnd = true;
        // The decoder has spoken: from here on the length is what it delivered.
        m_length = m_position + bufferedFrames();
        return false;
    }
    m_grid = std::max<qint64>(m_grid, m_demux->frame->nb_samples);
    appendFrame(*m_demux);
    return true;
}

bool AudioDecoder::timestampToFrames(qint64 ts, qint64 *frames) const
{
    if (!m_demux || ts == AV_NOPTS_VALUE || m_sampleRate <= 0)
        return false;
    const AVRational tb = m_demux->st()->time_base;
    if (tb.den <= 0 || tb.num <= 0)
        return false;
    const Int128 num = Int128(ts) * m_sampleRate * tb.num;
    const Int128 den = tb.den;
    // A time base that gives every sample a whole number of ticks (MP3, Ogg, WAV) is
    // exact; rounding only absorbs a decoder's skip.
    const bool sampleExact = tb.den % (Int128(m_sampleRate) * tb.num) == 0;
    const double exact = double(num) / double(den);
    const AVCodecID codec = AVCodecID(m_codecId);
    const bool fixedFrames = isMpegAudio(codec) || codec == AV_CODEC_ID_WMAV1
                             || codec == AV_CODEC_ID_WMAV2 || codec == AV_CODEC_ID_WMAPRO;
    if (!sampleExact && fixedFrames && m_grid > 0) {
        // Coarse timestamps (ASF counts milliseconds, AVI may count bytes) fall between
        // samples; these codecs' frames start on a fixed grid, whose nearest point is
        // the exact position.
        *frames = std::llround(exact / double(m_grid)) * m_grid;
        return true;
    }
    *frames = std::llround(exact);
    return true;
}

qint64 AudioDecoder::prerollFrames() const
{
    // Covers an MP3 bit reservoir at the lowest bit rates and every codec's overlap.
    return std::max<qint64>(m_sampleRate / 2, 16 * std::max<qint64>(m_grid, 1152));
}

bool AudioDecoder::startAtBeginning()
{
    // Opening anew is the one way to get exactly the state of the first read (MP3
    // encoder-delay trimming, Vorbis and WMA start-up) whatever the container.
    QString reason;
    auto d = openDemux(&reason);
    if (!d)
        return false;
    m_demux = std::move(d);
    m_buffer.clear();
    m_bufferHead = 0;
    m_position = 0;
    m_atEnd = false;
    if (!decodeFrame(*m_demux)) {
        m_atEnd = true;
        return true;
    }
    appendFrame(*m_demux);
    return true;
}

bool AudioDecoder::frameAtBytes(qint64 bytePos, qint64 *frame) const
{
    if (m_blockFrames > 0) {
        if (bytePos < m_blockStart || (bytePos - m_blockStart) % m_blockBytes != 0)
            return false;
        *frame = (bytePos - m_blockStart) / m_blockBytes * m_blockFrames;
        return true;
    }
    const auto it = std::lower_bound(m_seekIndex.begin(), m_seekIndex.end(), bytePos,
                                     [](const SeekPoint &p, qint64 pos) { return p.bytePos < pos; });
    if (it == m_seekIndex.end() || it->bytePos != bytePos)
        return false;
    *frame = it->frame;
    return true;
}

bool AudioDecoder::coarseSeekByBytes(qint64 target, qint64 latest)
{
    Demux &d = *m_demux;
    qint64 bytePos = 0;
    if (m_blockFrames > 0) {
        bytePos = m_blockStart + target / m_blockFrames * m_blockBytes;
    } else {
        auto it = std::upper_bound(m_seekIndex.begin(), m_seekIndex.end(), target,
                                   [](qint64 frame, const SeekPoint &p) { return frame < p.frame; });
        if (it == m_seekIndex.begin())
            return false;
        bytePos = std::prev(it)->bytePos;
    }
    if (av_seek_frame(d.format.get(), d.stream, bytePos, AVSEEK_FLAG_BYTE) < 0)
        return false;
    avcodec_flush_buffers(d.codec.get());
    d.flushed = d.finished = false;
    m_buffer.clear();
    m_bufferHead = 0;
    m_atEnd = false;
    if (!decodeFrame(d))
        return false;
    qint64 at = 0;
    if (!frameAtBytes(d.frame->pkt_pos, &at) || at > latest)
        return false;
    m_position = at;
    appendFrame(d);
    return true;
}

bool AudioDecoder::coarseSeek(qint64 position)
{
    // Aim a preroll before the position; a decoder that warms up for a few packets (WMA)
    // may surface a little later than aimed, which half a preroll absorbs. Otherwise aim
    // earlier.
    const qint64 preroll = prerollFrames();
    for (int attempt = 1; attempt <= 3; ++attempt) {
        const qint64 aim = position - preroll * attempt;
        if (aim <= 0)
            return false;
        const bool placed = m_blockFrames > 0 || !m_seekIndex.empty()
                                ? coarseSeekByBytes(aim, position - preroll / 2)
                                : coarseSeekByTime(aim, position - preroll / 2);
        if (placed)
            return true;
    }
    return false;
}

bool AudioDecoder::coarseSeekByTime(qint64 target, qint64 latest)
{
    Demux &d = *m_demux;
    const AVRational tb = d.st()->time_base;
    const qint64 ts = av_rescale_rnd(target + m_origin, tb.den, qint64(m_sampleRate) * tb.num,
                                     AV_ROUND_DOWN);
    if (avformat_seek_file(d.format.get(), d.stream, INT64_MIN, ts, ts, 0) < 0)
        return false;
    avcodec_flush_buffers(d.codec.get());
    d.flushed = d.finished = false;
    m_buffer.clear();
    m_bufferHead = 0;
    m_atEnd = false;
    // The first frame that carries a timestamp tells where the seek landed; frames
    // without one (a decoder warming up) are dropped.
    for (int i = 0; i < 64; ++i) {
        if (!decodeFrame(d))
            return false;
        qint64 at = 0;
        if (!timestampToFrames(d.frame->best_effort_timestamp, &at))
            continue;
        at -= m_origin;
        if (at < 0 || at > latest)
            return false;
        m_position = at;
        appendFrame(d);
        return true;
    }
    return false;
}

void AudioDecoder::skipTo(qint64 target)
{
    while (m_position + bufferedFrames() <= target) {
        m_position += bufferedFrames();
        m_buffer.clear();
        m_bufferHead = 0;
        if (!decodeIntoBuffer())
            return;
    }
    dropBuffered(target - m_position);
    m_position = target;
}

qint64 AudioDecoder::seek(qint64 position)
{
    if (!m_open || m_emptyStream)
        return 0;
    position = std::clamp<qint64>(position, 0, m_length);
    if (position == m_position)
        return m_position;
    const qint64 preroll = prerollFrames();
    const bool nearAhead = position > m_position && position - m_position <= 2 * preroll;
    if (!nearAhead) {
        const bool placed = position > preroll && m_demux && coarseSeek(position);
        if (!placed && !startAtBeginning())
            return m_position;
    }
    skipTo(position);
    return m_position;
}

SampleArray AudioDecoder::read(qint64 count)
{
    if (!m_open || count <= 0 || m_emptyStream)
        return SampleArray(SampleFormat::Float32, m_sampleRate, m_channels, {});
    while (bufferedFrames() < count && decodeIntoBuffer()) {
    }
    const qint64 n = std::min(count, bufferedFrames());
    SampleArray out = SampleArray::fromFloat(m_buffer.data() + m_bufferHead, n, m_sampleRate,
                                             m_channels);
    dropBuffered(n);
    m_position += n;
    return out;
}

// ---- measuring -------------------------------------------------------------------------

qint64 AudioDecoder::scanPackets(qint64 *bytes, bool *mixedBitrates, bool *complete)
{
    *bytes = 0;
    *mixedBitrates = false;
    *complete = true;
    QString reason;
    auto d = openDemux(&reason);
    if (!d) {
        *complete = false;
        return 0;
    }
    AVStream *st = d->st();
    const AVRational tb = st->time_base;
    const bool mpeg = isMpegAudio(st->codecpar->codec_id);
    std::set<int> bitrates;
    qint64 total = 0;
    while (av_read_frame(d->format.get(), d->packet.get()) >= 0) {
        AVPacket *p = d->packet.get();
        if (p->stream_index == d->stream) {
            qint64 frames = 0;
            if (m_blockBytes > 0)
                frames = av_get_audio_frame_duration2(st->codecpar, int(p->size - p->size % m_blockBytes));
            else if (p->duration > 0)
                frames = av_rescale_q(p->duration, tb, AVRational{1, m_sampleRate});
            if (frames <= 0 && m_blockBytes <= 0)
                frames = av_get_audio_frame_duration2(st->codecpar, p->size);
            if (frames <= 0)
                *complete = false;
            total += frames;
            *bytes += p->size;
            MpegFrameHeader h;
            if (mpeg && p->size >= 4 && parseMpegFrameHeader(p->data, &h))
                bitrates.insert(h.bitrateKbps);
        }
        av_packet_unref(p);
    }
    *mixedBitrates = bitrates.size() > 1;
    return total;
}

qint64 AudioDecoder::windowsMediaLength(qint64 headerLength, qint64 fileBytes)
{
    const AVStream *st = m_demux->st();
    const AVCodecParameters *par = st->codecpar;
    qint64 estimate = headerLength;
    // A file cut short keeps the header of the whole: then the last packet that is
    // really there tells where it ends.
    const qint64 expectedBytes = qint64(double(headerLength) / m_sampleRate * double(par->bit_rate) / 8);
    if (headerLength <= 0 || par->bit_rate <= 0 || fileBytes < expectedBytes * 97 / 100) {
        QString reason;
        auto d = openDemux(&reason);
        qint64 end = 0;
        while (d && av_read_frame(d->format.get(), d->packet.get()) >= 0) {
            const AVPacket *p = d->packet.get();
            if (p->stream_index == d->stream && p->pts != AV_NOPTS_VALUE)
                end = std::max<qint64>(end, p->pts + std::max<qint64>(p->duration, 0));
            av_packet_unref(d->packet.get());
        }
        estimate = av_rescale_q(end, st->time_base, AVRational{1, m_sampleRate});
    }
    return estimate;
}

void AudioDecoder::measureTail()
{
    seek(std::max<qint64>(0, m_length - prerollFrames()));
    skipTo(std::numeric_limits<qint64>::max());
    startAtBeginning();
}

qint64 AudioDecoder::countByDecoding()
{
    QString reason;
    auto d = openDemux(&reason);
    if (!d)
        return m_length;
    // The packets' byte positions become the seek index: this demuxer's timestamps are
    // one packet off after a seek.
    qint64 total = 0;
    qint64 lastPos = -1;
    m_seekIndex.clear();
    while (decodeFrame(*d)) {
        const qint64 pos = d->frame->pkt_pos;
        if (pos >= 0 && pos != lastPos && (m_seekIndex.empty() || pos > m_seekIndex.back().bytePos))
            m_seekIndex.push_back({pos, total});
        lastPos = pos;
        total += d->frame->nb_samples;
    }
    return total;
}

void AudioDecoder::measure()
{
    const AVStream *st = m_demux->st();
    const AVCodecParameters *par = st->codecpar;
    const AVCodecID codec = par->codec_id;
    qint64 headerLength = 0;
    if (st->duration > 0 && st->duration != AV_NOPTS_VALUE)
        headerLength = av_rescale_q(st->duration, st->time_base, AVRational{1, m_sampleRate});

    const qint64 fileBytes = QFileInfo(m_path).size();
    qint64 streamBytes = fileBytes;
    bool vbr = false;

    if (m_containerName == QLatin1String("wav") && isPcm(codec)) {
        const qint64 frames = riffPcmFrames(m_path, par->block_align);
        m_length = frames >= 0 ? frames : headerLength;
        streamBytes = m_length * std::max(1, par->block_align);
    } else if (m_containerName == QLatin1String("mp3") && isMpegAudio(codec)) {
        const MpegStreamInfo mpeg = readMpegStreamInfo(m_path);
        if (mpeg.valid && mpeg.countsTrustworthy()) {
            m_length = mpeg.decodedFrames();
            vbr = mpeg.vbr;
            streamBytes = mpeg.bytes ? qint64(mpeg.bytes) : mpeg.streamBytes;
            // The average is over the frames the header counted, header frame aside.
            if (vbr && mpeg.frames > 0) {
                const double seconds = double(mpeg.frames) * mpeg.header.samplesPerFrame
                                       / mpeg.header.sampleRate;
                m_codecBitRate = qint64(double(streamBytes - mpeg.header.frameBytes) * 8 / seconds);
            } else {
                m_codecBitRate = qint64(mpeg.audioBitrateKbps) * 1000;
            }
        } else {
            bool mixed = false, complete = true;
            m_length = scanPackets(&streamBytes, &mixed, &complete);
            // FFmpeg trims the encoder delay at the start whenever a LAME tag says so,
            // even when the tag's frame count no longer fits a file cut short.
            if (mpeg.valid && mpeg.trimmed)
                m_length = std::max<qint64>(0, m_length - mpeg.encoderDelay - 529);
            vbr = mixed;
            if (vbr && m_length > 0)
                m_codecBitRate = qint64(double(streamBytes) * 8 * m_sampleRate / double(m_length));
            else if (mpeg.valid)
                m_codecBitRate = qint64(mpeg.audioBitrateKbps) * 1000;
        }
    } else if (codec == AV_CODEC_ID_MUSEPACK7 || codec == AV_CODEC_ID_MUSEPACK8) {
        // The stream header's sample count disagrees with what the decoder delivers.
        m_length = countByDecoding();
    } else if (m_containerName == QLatin1String("ogg") && headerLength > 0) {
        // The last granule position counts Opus's pre-skip too, which the decoder drops;
        // the end is trimmed to that granule on the last page.
        m_length = headerLength;
        if (codec == AV_CODEC_ID_OPUS && st->start_time == 0 && par->initial_padding > 0)
            m_length = std::max<qint64>(0, headerLength - par->initial_padding);
    } else if (m_containerName == QLatin1String("flac") && headerLength > 0
               && m_demux->format->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE) {
        // STREAMINFO's total, checked by decoding the last moments: a file cut short
        // keeps the header of the whole.
        m_length = headerLength;
        measureTail();
    } else if (m_containerName == QLatin1String("asf")) {
        // ASF counts milliseconds and the decoder's start-up is codec business: measure
        // the end exactly by decoding the last moments.
        m_length = windowsMediaLength(headerLength, fileBytes);
        measureTail();
    } else {
        bool mixed = false, complete = true;
        const qint64 scanned = scanPackets(&streamBytes, &mixed, &complete);
        m_length = complete || headerLength <= 0 ? scanned : headerLength;
    }
    if (m_length < 0)
        m_length = 0;
    describe(streamBytes, vbr);
}

void AudioDecoder::describe(qint64 streamBytes, bool vbr)
{
    const AVCodecParameters *par = m_demux->st()->codecpar;
    const AVCodecID codec = par->codec_id;
    //: A sample rate in a file format; %1 is the rate in Hz.
    const QString rate = QCoreApplication::translate("AudioDecoder", "%1 Hz").arg(m_sampleRate);
    const QString channels = channelsText(m_channels);
    const double seconds = m_sampleRate > 0 ? double(m_length) / m_sampleRate : 0;
    const qint64 averageBitRate = seconds > 0 ? qint64(double(streamBytes) * 8 / seconds) : 0;
    const qint64 bitRate = m_codecBitRate > 0 ? m_codecBitRate : averageBitRate;

    if (isMpegAudio(codec)) {
        const int layer = codec == AV_CODEC_ID_MP1 ? 1 : codec == AV_CODEC_ID_MP2 ? 2 : 3;
        const QString version = m_sampleRate >= 32000   ? QStringLiteral("1.0")
                                : m_sampleRate >= 16000 ? QStringLiteral("2.0")
                                                        : QStringLiteral("2.5");
        QString format;
        if (vbr)
            //: Keep "MPEG %1 layer-%2:" as it is (the status bar shortens it to "MP3"). %1 the
            //: MPEG version, %2 the layer, %3 the bit rate ("128 kbps"), %4 the sample rate
            //: ("44100 Hz"), %5 the channels ("Stereo"). VBR: a variable bit rate.
            format = QCoreApplication::translate("AudioDecoder", "MPEG %1 layer-%2: %3 VBR, %4, %5");
        else
            //: Keep "MPEG %1 layer-%2:" as it is (the status bar shortens it to "MP3"). %1 the
            //: MPEG version, %2 the layer, %3 the bit rate ("128 kbps"), %4 the sample rate
            //: ("44100 Hz"), %5 the channels ("Stereo").
            format = QCoreApplication::translate("AudioDecoder", "MPEG %1 layer-%2: %3, %4, %5");
        m_description = format.arg(version).arg(layer).arg(kbpsText(bitRate), rate, channels);
        return;
    }
    if (isPcm(codec)) {
        const int bits = av_get_exact_bits_per_sample(codec);
        const bool isFloat = codec == AV_CODEC_ID_PCM_F32LE || codec == AV_CODEC_ID_PCM_F32BE
                             || codec == AV_CODEC_ID_PCM_F64LE || codec == AV_CODEC_ID_PCM_F64BE;
        const QString name = codec == AV_CODEC_ID_PCM_ALAW    ? QStringLiteral("A-law")
                             : codec == AV_CODEC_ID_PCM_MULAW ? QStringLiteral("u-law")
                                                              : QStringLiteral("PCM");
        QString format;
        if (isFloat)
            //: %1 the codec ("PCM"), %2 the sample rate ("44100 Hz"), %3 bits per sample, %4 the
            //: channels ("Stereo"). Float: samples in floating point.
            format = QCoreApplication::translate("AudioDecoder", "%1: %2, %3 bit float, %4");
        else
            //: %1 the codec ("PCM", "IMA ADPCM"), %2 the sample rate ("44100 Hz"), %3 bits per
            //: sample, %4 the channels ("Stereo").
            format = QCoreApplication::translate("AudioDecoder", "%1: %2, %3 bit, %4");
        m_description = format.arg(name, rate).arg(bits).arg(channels);
        return;
    }
    QString name;
    bool withBits = false;
    switch (codec) {
    case AV_CODEC_ID_ADPCM_G726:
    case AV_CODEC_ID_ADPCM_G726LE: {
        const int bits = par->bits_per_coded_sample > 0 ? par->bits_per_coded_sample : 4;
        name = bits == 4 ? QStringLiteral("G.721 ADPCM") : QStringLiteral("G.726 ADPCM");
        m_description = QStringLiteral("%1: %2, %3, %4")
                            .arg(name, kbpsText(qint64(bits) * m_sampleRate * m_channels), rate,
                                 channels);
        return;
    }
    case AV_CODEC_ID_ADPCM_MS: name = QStringLiteral("Microsoft ADPCM"); withBits = true; break;
    case AV_CODEC_ID_ADPCM_IMA_WAV: name = QStringLiteral("IMA ADPCM"); withBits = true; break;
    case AV_CODEC_ID_ADPCM_YAMAHA: name = QStringLiteral("Yamaha ADPCM"); withBits = true; break;
    case AV_CODEC_ID_GSM_MS: name = QStringLiteral("GSM 6.10"); break;
    case AV_CODEC_ID_FLAC: {
        const int bits = par->bits_per_raw_sample > 0 ? par->bits_per_raw_sample : par->bits_per_coded_sample;
        //: %1 the sample rate ("44100 Hz"), %2 bits per sample, %3 the channels ("Stereo").
        m_description = bits > 0 ? QCoreApplication::translate("AudioDecoder", "FLAC: %1, %2 bit, %3")
                                       .arg(rate)
                                       .arg(bits)
                                       .arg(channels)
                                 : QStringLiteral("FLAC: %1, %2").arg(rate, channels);
        return;
    }
    case AV_CODEC_ID_VORBIS: name = QStringLiteral("Ogg Vorbis"); break;
    case AV_CODEC_ID_OPUS: name = QStringLiteral("Opus"); break;
    case AV_CODEC_ID_MUSEPACK7: name = QStringLiteral("Musepack SV7"); break;
    case AV_CODEC_ID_MUSEPACK8: name = QStringLiteral("Musepack SV8"); break;
    case AV_CODEC_ID_WMAV1: name = QStringLiteral("Windows Media Audio V1"); break;
    case AV_CODEC_ID_WMAV2: name = QStringLiteral("Windows Media Audio V2"); break;
    case AV_CODEC_ID_WMAPRO: name = QStringLiteral("Windows Media Audio 9 Professional"); break;
    case AV_CODEC_ID_WMALOSSLESS: name = QStringLiteral("Windows Media Audio 9 Lossless"); break;
    case AV_CODEC_ID_WMAVOICE: name = QStringLiteral("Windows Media Audio Voice"); break;
    default: {
        const AVCodecDescriptor *desc = avcodec_descriptor_get(codec);
        name = desc && desc->long_name ? QString::fromUtf8(desc->long_name)
                                       //: The name of a codec FFmpeg gives no name.
                                       : QCoreApplication::translate("AudioDecoder", "Audio");
        break;
    }
    }
    if (withBits && par->bits_per_coded_sample > 0) {
        //: %1 the codec ("PCM", "IMA ADPCM"), %2 the sample rate ("44100 Hz"), %3 bits per
        //: sample, %4 the channels ("Stereo").
        m_description = QCoreApplication::translate("AudioDecoder", "%1: %2, %3 bit, %4")
                            .arg(name, rate)
                            .arg(par->bits_per_coded_sample)
                            .arg(channels);
        return;
    }
    // Vorbis, Opus and Musepack are variable by nature: their average says more than a
    // nominal figure.
    const bool average = codec == AV_CODEC_ID_VORBIS || codec == AV_CODEC_ID_OPUS
                         || codec == AV_CODEC_ID_MUSEPACK7 || codec == AV_CODEC_ID_MUSEPACK8;
    const qint64 shown = average && averageBitRate > 0 ? averageBitRate : bitRate;
    if (shown > 0)
        m_description = QStringLiteral("%1: %2, %3, %4").arg(name, kbpsText(shown), rate, channels);
    else
        m_description = QStringLiteral("%1: %2, %3").arg(name, rate, channels);
}

}  // namespace engine::file
