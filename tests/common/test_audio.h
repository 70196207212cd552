// Helpers shared by the tests: generated sound, its analysis, and outside tools.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace testaudio {

// A sine tone, interleaved, the same on every channel.
std::vector<float> tone(double hz, double seconds, int sampleRate, int channels,
                        float amplitude = 0.5f);
// Several tones summed (each at the given amplitude), interleaved.
std::vector<float> tones(const std::vector<double> &hz, double seconds, int sampleRate,
                         int channels, float amplitude = 0.25f);

// One channel of interleaved samples.
std::vector<float> channel(const std::vector<float> &interleaved, int channels, int index);

// Frequency of the strongest spectral peak of a mono signal (Hann window, parabolic
// interpolation), in Hz. Analyses at most the first 65536 samples after `skip`.
double dominantFrequency(const std::vector<float> &mono, int sampleRate, size_t skip = 0);

// Level of one frequency in a mono signal, in dB relative to a full-scale sine
// (Goertzel over the whole signal, Hann window).
double toneLevelDb(const std::vector<float> &mono, int sampleRate, double hz);

// RMS level in dBFS.
double rmsDb(const std::vector<float> &mono);

// Runs a program to its end; returns its standard output. exitCode gets the status
// (-1 when it could not be started or timed out).
QString run(const QString &program, const QStringList &args, int *exitCode = nullptr,
            int timeoutMs = 60000);

// A stereo 44.1 kHz file made by the ffmpeg command from a lavfi source such as
// "sine=frequency=1000:duration=2"; the path, or an empty text when ffmpeg failed.
QString makeWithFfmpeg(const QString &path, const QString &source);

// ffprobe's view of a file: "duration", "sample_rate", "channels", "codec_name",
// "bit_rate", "format_name" (values as text; missing keys are empty).
QString probe(const QString &path, const QString &key);

// A data-driven test's rows for the six formats the program writes: a column of that name
// holding the extension (".wav", ".mp3", ".wma", ".flac", ".ogg", ".opus"), one row each.
void addFormatRows(const char *column);

// Loads a null sink on the private sound server (its monitor is a capture device): its
// module's number, empty on failure. An empty description leaves the server's own; more
// arguments go to the module as they are ("rate=44100").
QString loadNullSink(const QString &name, const QString &description = {}, const QStringList &more = {});

// A null sink loaded for this object's lifetime.
class NullSink {
public:
    NullSink(const QString &name, const QString &description = {}, const QStringList &more = {}) { load(name, description, more); }
    ~NullSink() { unload(); }
    NullSink(const NullSink &) = delete;
    NullSink &operator=(const NullSink &) = delete;
    bool load(const QString &name, const QString &description = {}, const QStringList &more = {});
    void unload();
    bool loaded() const { return !m_module.isEmpty(); }
    const QString &module() const { return m_module; }

private:
    QString m_module;
};

}  // namespace testaudio
