#include "test_audio.h"

#include <QtTest>

#include <QProcess>

#include <cmath>
#include <complex>
#include <numbers>

namespace testaudio {

std::vector<float> tone(double hz, double seconds, int sampleRate, int channels, float amplitude)
{
    return tones({hz}, seconds, sampleRate, channels, amplitude);
}

std::vector<float> tones(const std::vector<double> &hz, double seconds, int sampleRate,
                         int channels, float amplitude)
{
    const size_t frames = size_t(std::llround(seconds * sampleRate));
    std::vector<float> out(frames * size_t(channels));
    for (size_t i = 0; i < frames; ++i) {
        double v = 0;
        for (double f : hz)
            v += amplitude * std::sin(2 * std::numbers::pi * f * double(i) / sampleRate);
        for (int c = 0; c < channels; ++c)
            out[i * size_t(channels) + size_t(c)] = float(v);
    }
    return out;
}

std::vector<float> channel(const std::vector<float> &interleaved, int channels, int index)
{
    std::vector<float> out;
    out.reserve(interleaved.size() / size_t(channels));
    for (size_t i = size_t(index); i < interleaved.size(); i += size_t(channels))
        out.push_back(interleaved[i]);
    return out;
}

static void fft(std::vector<std::complex<double>> &a)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double ang = -2 * std::numbers::pi / double(len);
        const std::complex<double> wl(std::cos(ang), std::sin(ang));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1);
            for (size_t k = 0; k < len / 2; ++k) {
                const auto u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= wl;
            }
        }
    }
}

double dominantFrequency(const std::vector<float> &mono, int sampleRate, size_t skip)
{
    if (mono.size() <= skip + 16)
        return 0;
    size_t avail = std::min<size_t>(mono.size() - skip, 65536);
    size_t n = 1;
    while (n * 2 <= avail)
        n *= 2;
    std::vector<std::complex<double>> a(n);
    for (size_t i = 0; i < n; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n - 1));
        a[i] = mono[skip + i] * w;
    }
    fft(a);
    size_t best = 1;
    for (size_t i = 1; i < n / 2; ++i)
        if (std::abs(a[i]) > std::abs(a[best]))
            best = i;
    double delta = 0;
    if (best > 1 && best + 1 < n / 2) {
        const double l = std::log(std::abs(a[best - 1]) + 1e-30);
        const double c = std::log(std::abs(a[best]) + 1e-30);
        const double r = std::log(std::abs(a[best + 1]) + 1e-30);
        const double den = l - 2 * c + r;
        if (den != 0)
            delta = 0.5 * (l - r) / den;
    }
    return (double(best) + delta) * sampleRate / double(n);
}

double toneLevelDb(const std::vector<float> &mono, int sampleRate, double hz)
{
    const size_t n = mono.size();
    if (n < 2)
        return -300;
    const double w = 2 * std::numbers::pi * hz / sampleRate;
    std::complex<double> acc = 0;
    double wsum = 0;
    for (size_t i = 0; i < n; ++i) {
        const double win = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n - 1));
        acc += double(mono[i]) * win * std::polar(1.0, -w * double(i));
        wsum += win;
    }
    const double amplitude = 2 * std::abs(acc) / wsum;
    return 20 * std::log10(amplitude + 1e-15);
}

double rmsDb(const std::vector<float> &mono)
{
    if (mono.empty())
        return -300;
    double s = 0;
    for (float v : mono)
        s += double(v) * v;
    return 10 * std::log10(s / double(mono.size()) + 1e-30);
}

QString run(const QString &program, const QStringList &args, int *exitCode, int timeoutMs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        if (exitCode)
            *exitCode = -1;
        return {};
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        if (exitCode)
            *exitCode = -1;
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString makeWithFfmpeg(const QString &path, const QString &source)
{
    int code = -1;
    run(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                                   QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), source,
                                   QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-ar"),
                                   QStringLiteral("44100"), path},
        &code);
    return code == 0 ? path : QString();
}

QString probe(const QString &path, const QString &key)
{
    const bool format = key == QLatin1String("format_name") || key == QLatin1String("duration");
    const QString entries = format ? QStringLiteral("format=%1").arg(key)
                                   : QStringLiteral("stream=%1").arg(key);
    QStringList args{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                     entries, QStringLiteral("-of"), QStringLiteral("default=nw=1:nk=1")};
    if (!format)
        args << QStringLiteral("-select_streams") << QStringLiteral("a:0");
    args << path;
    return run(QStringLiteral("ffprobe"), args).trimmed().section(QLatin1Char('\n'), 0, 0);
}

void addFormatRows(const char *column)
{
    QTest::addColumn<QString>(column);
    for (const char *suffix : {".wav", ".mp3", ".wma", ".flac", ".ogg", ".opus"})
        QTest::newRow(suffix + 1) << QString::fromLatin1(suffix);
}

QString loadNullSink(const QString &name, const QString &description, const QStringList &more)
{
    QStringList args{QStringLiteral("load-module"), QStringLiteral("module-null-sink"), QStringLiteral("sink_name=%1").arg(name)};
    if (!description.isEmpty())
        args << QStringLiteral("sink_properties='device.description=\"%1\"'").arg(description);
    int code = -1;
    const QString out = run(QStringLiteral("pactl"), args + more, &code).trimmed();
    return code == 0 ? out : QString();
}

bool NullSink::load(const QString &name, const QString &description, const QStringList &more)
{
    unload();
    m_module = loadNullSink(name, description, more);
    return loaded();
}

void NullSink::unload()
{
    if (!m_module.isEmpty())
        run(QStringLiteral("pactl"), {QStringLiteral("unload-module"), m_module});
    m_module.clear();
}

}  // namespace testaudio
