#include "file_fixtures.h"

#include "common/test_audio.h"
#include "engine/file/ffmpeg_audio_file.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace fixtures {

namespace {

QString lavfiSource(Signal signal, int rate, double seconds)
{
    if (signal == Signal::Tone1k)
        return QStringLiteral("sine=frequency=1000:sample_rate=%1:duration=%2").arg(rate).arg(seconds);
    return QStringLiteral("anoisesrc=d=%2:c=pink:r=%1:a=0.3:s=7").arg(rate).arg(seconds);
}

// Packs bits most significant first, as MPEG audio does.
class BitWriter {
public:
    explicit BitWriter(QByteArray *out) : m_out(out) {}
    void put(unsigned value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            if (m_bit == 0)
                m_out->append('\0');
            if ((value >> i) & 1)
                (*m_out)[m_out->size() - 1] = char(uchar(m_out->back()) | (0x80 >> m_bit));
            m_bit = (m_bit + 1) & 7;
        }
    }

private:
    QByteArray *m_out;
    int m_bit = 0;
};

}  // namespace

bool ffmpeg(const QStringList &args, QString *error)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-nostdin", "-v", "error", "-y"} + args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(120000)) {
        if (error)
            *error = QStringLiteral("ffmpeg did not run");
        return false;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error)
            *error = QString::fromUtf8(p.readAllStandardError());
        return false;
    }
    return true;
}

bool makeWithFfmpeg(const QString &path, Signal signal, int rate, int channels, double seconds,
                    const QStringList &encodeArgs, QString *error)
{
    QStringList args{"-f", "lavfi", "-i", lavfiSource(signal, rate, seconds), "-ac",
                     QString::number(channels)};
    args << encodeArgs << path;
    return ffmpeg(args, error);
}

bool makeMusepack(const QString &path, Signal signal, double seconds, QString *error)
{
    const QString wav = path + QStringLiteral(".source.wav");
    if (!makeWithFfmpeg(wav, signal, 44100, 2, seconds, {"-c:a", "pcm_s16le"}, error))
        return false;
    QProcess p;
    p.start(QStringLiteral("mpcenc"), {"--silent", "--overwrite", wav, path});
    const bool ok = p.waitForStarted(10000) && p.waitForFinished(120000)
                    && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok && error)
        *error = QStringLiteral("mpcenc failed: ") + QString::fromUtf8(p.readAllStandardError());
    QFile::remove(wav);
    return ok;
}

void writeLayer1Tone(const QString &path, double seconds)
{
    const int rate = 44100;
    const int frameBytes = 12 * 128000 / rate * 4;   // no padding bit: 136 bytes
    const int frames = int(std::ceil(seconds * rate / 384));
    const int allocation = 14;                        // 15-bit samples
    const int mid = (1 << allocation) - 1;
    QByteArray file;
    int n = 0;   // subband sample counter, continuous across frames
    for (int f = 0; f < frames; ++f) {
        QByteArray frame;
        BitWriter bits(&frame);
        bits.put(0xFFF, 12);   // sync
        bits.put(1, 1);        // MPEG-1
        bits.put(3, 2);        // layer 1
        bits.put(1, 1);        // no CRC
        bits.put(4, 4);        // 128 kbit/s
        bits.put(0, 2);        // 44100 Hz
        bits.put(0, 1);        // no padding
        bits.put(0, 1);        // private
        bits.put(3, 2);        // mono
        bits.put(0, 2);        // mode extension
        bits.put(0, 4);        // copyright, original, emphasis
        for (int sb = 0; sb < 32; ++sb)
            bits.put(sb == 1 ? allocation : 0, 4);
        bits.put(6, 6);        // scale factor 0.5
        for (int s = 0; s < 12; ++s, ++n) {
            const double x = 0.8 * std::cos(M_PI * n / 2.0);
            bits.put(unsigned(mid + std::lround(x * mid)), allocation + 1);
        }
        frame.append(frameBytes - frame.size(), '\0');
        file += frame;
    }
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(file);
}

std::vector<float> readAll(engine::FfmpegAudioFile &file, qint64 block)
{
    std::vector<float> all;
    for (;;) {
        const engine::SampleArray a = file.ReadArray(block);
        if (a.isEmpty())
            break;
        const std::vector<float> f = a.toFloat();
        all.insert(all.end(), f.begin(), f.end());
    }
    return all;
}

qint64 ffmpegDecodedFrames(const QString &path, int channels, const QStringList &inputArgs)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"),
            QStringList{"-nostdin", "-v", "error"} + inputArgs
                + QStringList{"-i", path, "-map", "0:a:0", "-f", "f32le", "-c:a", "pcm_f32le", "-"});
    if (!p.waitForStarted(10000))
        return -1;
    qint64 bytes = 0;
    while (p.state() != QProcess::NotRunning || p.bytesAvailable() > 0) {
        p.waitForReadyRead(1000);
        bytes += p.readAllStandardOutput().size();
        if (p.state() == QProcess::NotRunning && p.bytesAvailable() == 0)
            break;
    }
    p.waitForFinished(60000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    return bytes / (4 * qint64(channels));
}

qint64 writeTone(engine::FfmpegAudioFile &file, double hz, double seconds, int rate, int channels,
                 engine::SampleFormat format, float amplitude)
{
    const std::vector<float> all = testaudio::tone(hz, seconds, rate, channels, amplitude);
    const qint64 frames = qint64(all.size()) / channels;
    const qint64 block = rate / 5;
    for (qint64 at = 0; at < frames; at += block) {
        const qint64 n = std::min(block, frames - at);
        const float *p = all.data() + at * channels;
        if (format == engine::SampleFormat::Float32) {
            file.WriteArray(engine::SampleArray::fromFloat(p, n, rate, channels));
        } else {
            std::vector<qint16> s(size_t(n * channels));
            for (size_t i = 0; i < s.size(); ++i)
                s[i] = qint16(std::lround(std::clamp(p[i], -1.0f, 1.0f) * 32767.0f));
            file.WriteArray(engine::SampleArray::fromInt16(s.data(), n, rate, channels));
        }
    }
    return frames;
}

double maxDifference(const float *a, const float *b, size_t samples)
{
    double worst = 0;
    for (size_t i = 0; i < samples; ++i)
        worst = std::max(worst, double(std::fabs(a[i] - b[i])));
    return worst;
}

}  // namespace fixtures
