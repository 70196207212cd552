// WAV, written by our own RIFF writer: its header is kept current while the file grows.
#include "engine/file/sample_converter.h"
#include "engine/file/writer_kinds.h"

#include <QtEndian>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstring>

namespace engine::file {

namespace {

// The WAV header is rewritten at least this often while a file grows, so that a program
// killed mid-recording leaves a file that plays up to well within a second before the end
// (the header may lag by this much plus a block).
constexpr qint64 kHeaderIntervalMs = 400;
constexpr qint64 kWavHeaderBytes = 44;
constexpr qint64 kWavDataLimit = 0xFFFFFFFFLL - 36;

class WavWriter final : public AudioWriter {
public:
    WavWriter(const QString &path, const OutputFormat &format, int reservedFd)
        : AudioWriter(path, format, reservedFd),
          m_converter(format.bitsPerSample == 8 ? AV_SAMPLE_FMT_U8 : AV_SAMPLE_FMT_S16,
                      format.sampleRate, format.channels),
          m_blockAlign(format.channels * (format.bitsPerSample / 8))
    {
        openFile();
        char header[kWavHeaderBytes];
        makeHeader(header);
        qint64 done = 0;
        if (const int error = writeAll(m_fd, header, kWavHeaderBytes, &done)) {
            abandonFile();
            throw EngineError(QCoreApplication::translate("AudioWriter", "Cannot create %1: %2")
                                  .arg(path, systemErrorText(error)));
        }
        m_sinceHeader.start();
    }

    ~WavWriter() override { closeQuietly(); }

protected:
    void writeBlock(const SampleArray &samples) override
    {
        if (samples.isEmpty())
            return;
        const int frames = m_converter.convert(samples);
        writeFrames(frames);
        if (m_sinceHeader.elapsed() >= kHeaderIntervalMs) {
            updateHeader();
            m_sinceHeader.restart();
        }
    }

    void finishFile() override
    {
        const bool reportedBefore = m_failed || m_full;
        QString failure;
        int error = 0;
        if (!reportedBefore) {
            try {
                writeFrames(m_converter.flush());
                // RIFF chunks are word aligned.
                if (m_dataBytes & 1) {
                    qint64 done = 0;
                    error = writeAll(m_fd, "", 1, &done);
                    m_padded = error == 0;
                }
            } catch (const EngineError &e) {
                failure = e.text();
            }
        }
        const int headerError = updateHeader();
        if (reportedBefore)
            return;
        if (!failure.isEmpty())
            throw EngineError(failure);
        if (const int e = error ? error : headerError)
            throw EngineError(QCoreApplication::translate("AudioWriter", "Cannot write %1: %2")
                                  .arg(m_path, systemErrorText(e)));
    }

    qint64 rewrittenHeadBytes() const override { return kWavHeaderBytes; }

private:
    void writeFrames(int frames)
    {
        if (frames <= 0)
            return;
        const qint64 bytes = qint64(frames) * m_blockAlign;
        if (m_dataBytes + bytes > kWavDataLimit) {
            updateHeader();
            reachLimit(QCoreApplication::translate("AudioWriter", "A WAV file cannot hold more than 4 GB"));
        }
        qint64 done = 0;
        const int error = writeAll(m_fd, reinterpret_cast<const char *>(m_converter.planes()[0]),
                                   bytes, &done);
        if (error) {
            // At the file system's size limit the file ends before this block, so that the
            // block can start the next file; otherwise it keeps the whole frames written.
            if (error != EFBIG)
                m_dataBytes += done / m_blockAlign * m_blockAlign;
            m_frames = m_dataBytes / m_blockAlign;
            if (ftruncate(m_fd, kWavHeaderBytes + m_dataBytes) == 0)
                lseek(m_fd, 0, SEEK_END);
            updateHeader();
            if (error == EFBIG)
                reachLimit(systemErrorText(error));
            failWrite(error);
        }
        m_dataBytes += bytes;
        m_frames += frames;
    }

    void makeHeader(char *h) const
    {
        const int bits = m_format.bitsPerSample;
        std::memcpy(h, "RIFF", 4);
        qToLittleEndian<quint32>(quint32(36 + m_dataBytes + (m_padded ? 1 : 0)), h + 4);
        std::memcpy(h + 8, "WAVEfmt ", 8);
        qToLittleEndian<quint32>(16, h + 16);
        qToLittleEndian<quint16>(1, h + 20);   // PCM
        qToLittleEndian<quint16>(quint16(m_format.channels), h + 22);
        qToLittleEndian<quint32>(quint32(m_format.sampleRate), h + 24);
        qToLittleEndian<quint32>(quint32(m_format.sampleRate * m_blockAlign), h + 28);
        qToLittleEndian<quint16>(quint16(m_blockAlign), h + 32);
        qToLittleEndian<quint16>(quint16(bits), h + 34);
        std::memcpy(h + 36, "data", 4);
        qToLittleEndian<quint32>(quint32(m_dataBytes), h + 40);
    }

    // Rewrites the header in place: no new space is needed, so it works on a full disk.
    int updateHeader()
    {
        char header[kWavHeaderBytes];
        makeHeader(header);
        if (::pwrite(m_fd, header, kWavHeaderBytes, 0) != kWavHeaderBytes)
            return errno ? errno : EIO;
        return 0;
    }

    SampleConverter m_converter;
    int m_blockAlign;
    qint64 m_dataBytes = 0;
    bool m_padded = false;
    QElapsedTimer m_sinceHeader;
};

}  // namespace

std::unique_ptr<AudioWriter> makeWavWriter(const QString &path, const OutputFormat &format, int reservedFd)
{
    return std::make_unique<WavWriter>(path, format, reservedFd);
}

}  // namespace engine::file
