// MP3, WMA, FLAC, Ogg Vorbis and Opus, encoded and muxed through FFmpeg.
#include "engine/file/file_markers.h"
#include "engine/file/file_repair.h"
#include "engine/file/sample_converter.h"
#include "engine/file/writer_kinds.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <QtEndian>
#include <QCoreApplication>

#include <sys/stat.h>

#include <cstring>
#include <limits>
#include <utility>

namespace engine::file {

namespace {

constexpr int kLameQuality = 5;
// The longest stretch of audio a muxer may hold back in a packet or page of its own.
constexpr qint64 kMuxerHoldMs = 250;

// Keeps what a muxer holds back in a packet or page of its own to about kMuxerHoldMs of
// audio, within the range the muxer accepts: ASF packets (3200 bytes by default, 800 ms at
// 32 kbit/s) and Ogg pages (a second by default).
void limitMuxerHold(const AVOutputFormat *muxer, int kbps, AVDictionary **options)
{
    const AVClass *privateClass = muxer->priv_class;
    if (!privateClass)
        return;
    if (const AVOption *o = av_opt_find(&privateClass, "packet_size", nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ)) {
        const double bytes = double(kbps) * 1000 / 8 * kMuxerHoldMs / 1000;
        av_dict_set_int(options, "packet_size", qint64(std::clamp(bytes, o->min, o->max)), 0);
    }
    if (const AVOption *o = av_opt_find(&privateClass, "page_duration", nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ)) {
        const double microseconds = double(kMuxerHoldMs) * 1000;
        av_dict_set_int(options, "page_duration", qint64(std::clamp(microseconds, o->min, o->max)), 0);
    }
}

// The encoder and container of each type written through FFmpeg.
struct EncodedType {
    const char *encoder;     // FFmpeg's encoder name
    const char *container;   // FFmpeg's muxer name
    const char *missing;     // what to say when the encoder is not there (translated at use)
};

EncodedType encodedType(OutputType type)
{
    switch (type) {
    case OutputType::Wma:
        return {"wmav2", "asf", QT_TRANSLATE_NOOP("AudioWriter", "No WMA encoder is installed")};
    case OutputType::Flac:
        return {"flac", "flac", QT_TRANSLATE_NOOP("AudioWriter", "No FLAC encoder is installed")};
    case OutputType::Vorbis:
        return {"libvorbis", "ogg", QT_TRANSLATE_NOOP("AudioWriter", "No Ogg Vorbis encoder is installed")};
    case OutputType::Opus:
        return {"libopus", "ogg", QT_TRANSLATE_NOOP("AudioWriter", "No Opus encoder is installed")};
    case OutputType::Mp3:
    case OutputType::Wav:
        break;
    }
    return {"libmp3lame", "mp3", QT_TRANSLATE_NOOP("AudioWriter", "No MP3 encoder is installed")};
}

class EncodedWriter final : public AudioWriter {
public:
    EncodedWriter(const QString &path, const OutputFormat &format, int reservedFd)
        : AudioWriter(path, format, reservedFd)
    {
        const EncodedType type = encodedType(format.type);
        const AVCodec *codec = avcodec_find_encoder_by_name(type.encoder);
        if (!codec)
            throw EngineError(QCoreApplication::translate("AudioWriter", "Cannot create %1: %2")
                                  .arg(path, QCoreApplication::translate("AudioWriter", type.missing)));

        // Set the encoder up before the file exists, so a refused format leaves no file.
        m_codec.reset(avcodec_alloc_context3(codec));
        m_codec->sample_fmt = pickSampleFormat(codec);
        m_codec->sample_rate = format.sampleRate;
        av_channel_layout_default(&m_codec->ch_layout, format.channels);
        m_codec->bit_rate = qint64(format.kbps) * 1000;
        m_codec->time_base = AVRational{1, format.sampleRate};
        switch (format.type) {
        case OutputType::Mp3:
            // LAME's quality 5 ("fast, good") keeps a 200 ms block at about 2 ms of the UI
            // thread's time; its default (3) costs a quarter more for a difference few can
            // hear at recording bit rates.
            m_codec->compression_level = kLameQuality;
            break;
        case OutputType::Flac:
            // 24-bit FLAC takes 32-bit samples and keeps their upper 24 bits.
            m_codec->sample_fmt = format.bitsPerSample > 16 ? AV_SAMPLE_FMT_S32 : AV_SAMPLE_FMT_S16;
            m_codec->bits_per_raw_sample = format.bitsPerSample;
            m_codec->compression_level = format.compressionLevel;
            break;
        case OutputType::Vorbis:
            m_codec->flags |= AV_CODEC_FLAG_QSCALE;
            m_codec->global_quality = format.quality * FF_QP2LAMBDA;
            m_codec->bit_rate = 0;
            break;
        case OutputType::Wav:
        case OutputType::Wma:
        case OutputType::Opus:
            break;
        }
        const AVOutputFormat *container = av_guess_format(type.container, nullptr, nullptr);
        if (container && (container->flags & AVFMT_GLOBALHEADER))
            m_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int r = avcodec_open2(m_codec.get(), codec, nullptr);
        if (r < 0)
            //: %1 the file, %2 why, %3 the format asked for ("MPEG 1.0 layer-3: 128 kbps, ...").
            throw EngineError(QCoreApplication::translate("AudioWriter", "Cannot create %1: %2 (%3)")
                                  .arg(path, avErrorText(r), format.description()));

        openFile();
        try {
            openContainer(type.container);
        } catch (...) {
            releaseFfmpeg();
            abandonFile();
            throw;
        }
        m_converter = std::make_unique<SampleConverter>(m_codec->sample_fmt, format.sampleRate,
                                                        format.channels);
    }

    ~EncodedWriter() override
    {
        closeQuietly();
        releaseFfmpeg();
    }

protected:
    void writeBlock(const SampleArray &samples) override
    {
        if (samples.isEmpty())
            return;
        // Everything before this block is on disk, in whole frames or packets.
        const off_t blockStart = lseek(m_fd, 0, SEEK_CUR);
        const qint64 framesBefore = m_frames;
        if (blockStart >= 0 && m_frames > 0 && qint64(blockStart) > m_sizeLimit - roomFor(samples, blockStart)) {
            // The block may not fit below the size limit: the file is finished now, with
            // the samples the encoder still holds, so that nothing is lost where the next
            // file begins with this block.
            finish();
            m_finished = true;
            reachLimit(systemErrorText(EFBIG));
        }
        try {
            const int frames = m_converter->convert(samples);
            queue(frames);
            encodeQueued(false);
            flushMuxer();
        } catch (const EngineError &) {
            if (m_sinkError != EFBIG || blockStart < 0)
                throw;
            // At the file system's size limit the file ends before this block, so that the
            // block can start the next file.
            m_failed = false;
            m_frames = framesBefore;
            if (ftruncate(m_fd, blockStart) != 0)
                failWrite(errno);
            reachLimit(systemErrorText(EFBIG));
        }
    }

    void finishFile() override
    {
        QString failure;
        bool complete = m_finished;
        if (!m_failed && !m_full) {
            try {
                finish();
                complete = true;
            } catch (const EngineError &e) {
                failure = e.text();
            }
        }
        releaseFfmpeg();
        if (!complete) {
            // The muxer could not finish the file (a full disk, the size limit, a failed
            // write): the header is brought in line with the whole frames or packets on
            // disk, rewritten in place, so this needs no free space.
            repairOpenFile(m_fd, m_path);
        }
        if (!failure.isEmpty())
            throw EngineError(failure);
    }

private:
    // Bytes a file of `size` bytes may still need with this block: the block itself and what
    // the encoder holds back, at the most the format can take, and the end of the file (an
    // index grows with the file).
    qint64 roomFor(const SampleArray &samples, qint64 size) const
    {
        double perSecond = 0;
        switch (m_format.type) {
        case OutputType::Flac:   // never much more than the samples themselves
            perSecond = double(m_format.sampleRate) * m_format.channels * m_format.bitsPerSample / 8 * 1.1;
            break;
        case OutputType::Vorbis:   // quality 10 stays below 500 kbit/s
            perSecond = 500 * 1000 / 8.0;
            break;
        case OutputType::Opus:
            perSecond = m_format.kbps * 1000 / 8.0 * 2;
            break;
        default:
            perSecond = m_format.kbps * 1000 / 8.0 * 1.25;
            break;
        }
        // Once a second is written, twice the rate so far is bound enough (a tone packs far
        // tighter than the format's worst).
        const double written = double(m_frames) / m_format.sampleRate;
        if (written >= 1.0)
            perSecond = std::min(perSecond, 2 * double(size) / written);
        const double seconds = samples.sampleRate() > 0 ? double(samples.frames()) / samples.sampleRate() : 1.0;
        return qint64(perSecond * (2 * seconds + 1)) + 8 * 1024 + size / 10000;
    }

    // Float samples where the encoder takes them (they come as floats), planar first.
    static AVSampleFormat pickSampleFormat(const AVCodec *codec)
    {
        if (!codec->sample_fmts)
            return AV_SAMPLE_FMT_FLTP;
        for (const AVSampleFormat wanted : {AV_SAMPLE_FMT_FLTP, AV_SAMPLE_FMT_FLT})
            for (const AVSampleFormat *f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
                if (*f == wanted)
                    return *f;
        return codec->sample_fmts[0];
    }

    static int writeSink(void *opaque, uint8_t *data, int size)
    {
        auto *self = static_cast<EncodedWriter *>(opaque);
        const char *bytes = reinterpret_cast<const char *>(data);
        if (self->m_capturing) {
            self->m_captured.append(bytes, size);
            return size;
        }
        if (self->m_asfRoom)
            return self->writeAsf(bytes, size);
        qint64 done = 0;
        if (const int error = writeAll(self->m_fd, bytes, size, &done))
            return self->sinkFailed(error);
        return size;
    }

    int sinkFailed(int error)
    {
        if (!m_sinkError)
            m_sinkError = error;
        return AVERROR(error);
    }

    // The ASF muxer writes its header object at the start, and again at the end with the
    // final sizes. Each time it gets a Padding Object at its end, which leaves room for
    // the markers; everything after the header lies that much further into the file.
    int writeAsf(const char *bytes, int size)
    {
        QByteArray out;
        qint64 physical = m_logical + (m_logical > 0 ? m_asfShift : 0);
        if (m_logical == 0) {
            const QByteArray chunk(bytes, size);
            const QByteArray head = padAsfHeader(chunk, m_asfRoom);
            if (!head.isEmpty()) {
                m_asfShift = head.size() - qint64(qFromLittleEndian<quint64>(bytes + 16));
                out = head + chunk.mid(head.size() - m_asfShift);
            } else if (m_asfShift == 0) {
                m_asfRoom = 0;   // not a header this writer knows: written as it comes
                out = chunk;
            } else {
                out = chunk;
            }
        } else {
            out = QByteArray::fromRawData(bytes, size);
        }
        qint64 done = 0;
        if (lseek(m_fd, off_t(physical), SEEK_SET) < 0)
            return sinkFailed(errno);
        if (const int error = writeAll(m_fd, out.constData(), out.size(), &done))
            return sinkFailed(error);
        m_logical += size;
        return size;
    }

    static int64_t seekSink(void *opaque, int64_t offset, int whence)
    {
        auto *self = static_cast<EncodedWriter *>(opaque);
        const qint64 shift = self->m_asfRoom ? self->m_asfShift : 0;
        if (whence & AVSEEK_SIZE) {
            struct stat st {};
            return fstat(self->m_fd, &st) == 0 ? int64_t(st.st_size - shift) : AVERROR(errno);
        }
        if (self->m_asfRoom) {
            struct stat st {};
            switch (whence & ~AVSEEK_FORCE) {
            case SEEK_SET:
                self->m_logical = offset;
                break;
            case SEEK_CUR:
                self->m_logical += offset;
                break;
            default:
                if (fstat(self->m_fd, &st) != 0)
                    return AVERROR(errno);
                self->m_logical = st.st_size - shift + offset;
                break;
            }
            return self->m_logical;
        }
        const off_t r = lseek(self->m_fd, off_t(offset), whence & ~AVSEEK_FORCE);
        return r < 0 ? AVERROR(errno) : int64_t(r);
    }

    void openContainer(const char *name)
    {
        constexpr int bufferSize = 1 << 16;
        auto *buffer = static_cast<unsigned char *>(av_malloc(bufferSize));
        m_io = avio_alloc_context(buffer, bufferSize, 1, this, nullptr, &EncodedWriter::writeSink,
                                  &EncodedWriter::seekSink);
        if (!m_io) {
            av_free(buffer);
            throw std::bad_alloc();
        }
        m_io->seekable = AVIO_SEEKABLE_NORMAL;
        if (avformat_alloc_output_context2(&m_container, nullptr, name, nullptr) < 0 || !m_container)
            //: %2 is FFmpeg's name of a container format ("ogg", "asf").
            throw EngineError(QCoreApplication::translate("AudioWriter", "Cannot create %1: no %2 writer")
                                  .arg(m_path, QLatin1String(name)));
        m_container->pb = m_io;
        m_container->flags |= AVFMT_FLAG_CUSTOM_IO;
        m_stream = avformat_new_stream(m_container, nullptr);
        if (!m_stream)
            throw std::bad_alloc();
        avcodec_parameters_from_context(m_stream->codecpar, m_codec.get());
        m_stream->time_base = m_codec->time_base;
        AVDictionary *options = nullptr;
        if (m_format.type == OutputType::Mp3)
            av_dict_set(&options, "id3v2_version", "3", 0);   // what tag editors write too
        limitMuxerHold(m_container->oformat, m_format.kbps, &options);
        // Room for the markers written after Close: ID3v2 padding, a FLAC PADDING block, an
        // ASF Padding Object, zeros after the Ogg comment packet.
        m_container->metadata_header_padding = m_format.type == OutputType::Flac ? kFlacMarkerRoom : kMarkerRoom;
        const bool ogg = m_format.type == OutputType::Vorbis || m_format.type == OutputType::Opus;
        if (m_format.type == OutputType::Wma)
            m_asfRoom = kMarkerRoom;
        m_capturing = ogg;
        int r = avformat_write_header(m_container, &options);
        av_dict_free(&options);
        if (ogg && r >= 0)
            r = av_write_frame(m_container, nullptr);   // the header pages, all of them
        avio_flush(m_io);
        if (ogg) {
            m_capturing = false;
            const QByteArray pages = padOggHeaders(m_captured, kMarkerRoom);
            m_captured.clear();
            qint64 done = 0;
            if (const int error = r >= 0 ? writeAll(m_fd, pages.constData(), pages.size(), &done) : 0)
                sinkFailed(error);
        }
        if (r < 0 || m_sinkError) {
            const QString reason = systemErrorOr(r);
            throw EngineError(QCoreApplication::translate("AudioWriter", "Cannot create %1: %2")
                                  .arg(m_path, reason));
        }
        if (m_sinkError)
            throw EngineError(QCoreApplication::translate("AudioWriter", "Cannot create %1: %2")
                                  .arg(m_path, systemErrorText(m_sinkError)));

        m_fifo.reset(av_audio_fifo_alloc(m_codec->sample_fmt, m_format.channels,
                                         std::max(m_codec->frame_size, 1) * 8));
        m_frame.reset(av_frame_alloc());
        m_packet.reset(av_packet_alloc());
    }

    QString systemErrorOr(int averror) const
    {
        return m_sinkError ? systemErrorText(m_sinkError) : avErrorText(averror);
    }

    // Hands everything the muxer and our buffer hold to the system, so that a killed
    // program keeps it.
    void flushMuxer()
    {
        if (m_container->oformat->flags & AVFMT_ALLOW_FLUSH) {
            const int r = av_write_frame(m_container, nullptr);
            if (r < 0 || m_sinkError)
                failWrite(systemErrorOr(r));
        }
        avio_flush(m_io);
        if (m_sinkError)
            failWrite(m_sinkError);
    }

    void queue(int frames)
    {
        if (frames <= 0)
            return;
        if (av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void **>(m_converter->planes()), frames) < frames)
            failWrite(ENOMEM);
        m_frames += frames;
    }

    // Encodes whole codec frames from the queue; at the end also the remainder, padded
    // with silence where the codec needs whole frames.
    void encodeQueued(bool last)
    {
        const int frameSize = m_codec->frame_size > 0 ? m_codec->frame_size : 1152;
        while (av_audio_fifo_size(m_fifo.get()) >= frameSize
               || (last && av_audio_fifo_size(m_fifo.get()) > 0)) {
            const int available = std::min(av_audio_fifo_size(m_fifo.get()), frameSize);
            const bool shortAllowed = m_codec->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME;
            // One frame buffer serves every codec frame: the encoders copy what they are
            // given, so it is free again once avcodec_send_frame returns (Vorbis takes 64
            // samples a frame, over a hundred of them for each block).
            AVFrame *f = m_frame.get();
            if (!f->buf[0]) {
                f->format = m_codec->sample_fmt;
                f->sample_rate = m_codec->sample_rate;
                av_channel_layout_copy(&f->ch_layout, &m_codec->ch_layout);
                f->nb_samples = frameSize;
                if (av_frame_get_buffer(f, 0) < 0)
                    failWrite(ENOMEM);
            }
            f->nb_samples = frameSize;
            if (av_frame_make_writable(f) < 0)
                failWrite(ENOMEM);
            f->nb_samples = available < frameSize && !shortAllowed ? frameSize : available;
            if (available < f->nb_samples)
                av_samples_set_silence(f->extended_data, available, f->nb_samples - available,
                                       m_format.channels, AVSampleFormat(f->format));
            av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void **>(f->extended_data), available);
            f->pts = m_encodedFrames;
            m_encodedFrames += f->nb_samples;
            encode(f);
        }
    }

    void encode(AVFrame *frame)
    {
        int r = avcodec_send_frame(m_codec.get(), frame);
        if (r < 0 && r != AVERROR_EOF)
            failWrite(avErrorText(r));
        for (;;) {
            r = avcodec_receive_packet(m_codec.get(), m_packet.get());
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                break;
            if (r < 0)
                failWrite(avErrorText(r));
            av_packet_rescale_ts(m_packet.get(), m_codec->time_base, m_stream->time_base);
            m_packet->stream_index = m_stream->index;
            r = av_write_frame(m_container, m_packet.get());
            av_packet_unref(m_packet.get());
            if (r < 0 || m_sinkError)
                failWrite(systemErrorOr(r));
        }
    }

    void finish()
    {
        queue(m_converter->flush());
        encodeQueued(true);
        encode(nullptr);
        const int r = av_write_trailer(m_container);
        avio_flush(m_io);
        if (r < 0 || m_sinkError)
            failWrite(systemErrorOr(r));
    }

    // Frees the FFmpeg objects without writing anything more.
    void releaseFfmpeg()
    {
        if (m_container) {
            avformat_free_context(m_container);
            m_container = nullptr;
        }
        if (m_io) {
            av_freep(&m_io->buffer);
            avio_context_free(&m_io);
        }
    }

    CodecContextPtr m_codec;
    AVFormatContext *m_container = nullptr;
    AVIOContext *m_io = nullptr;
    AVStream *m_stream = nullptr;
    AudioFifoPtr m_fifo;
    FramePtr m_frame;
    PacketPtr m_packet;
    std::unique_ptr<SampleConverter> m_converter;
    qint64 m_encodedFrames = 0;
    int m_sinkError = 0;
    bool m_capturing = false;   // the Ogg header pages are gathered here first
    QByteArray m_captured;
    int m_asfRoom = 0;          // the Padding Object given to an ASF header
    qint64 m_asfShift = 0;      // how much further into the file the muxer's bytes lie
    qint64 m_logical = 0;       // the muxer's position in its own bytes
    bool m_finished = false;   // completed at the size limit, before close()
};

}  // namespace

std::unique_ptr<AudioWriter> makeEncodedWriter(const QString &path, const OutputFormat &format, int reservedFd)
{
    return std::make_unique<EncodedWriter>(path, format, reservedFd);
}

}  // namespace engine::file
