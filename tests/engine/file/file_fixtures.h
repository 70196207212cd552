// Test files for the file and tag engine tests: made by the ffmpeg command line, by
// musepack's mpcenc, by hand (MPEG layer 1, which no installed tool encodes) or by the
// engine itself, always into a temporary folder.
#pragma once

#include "engine/engine.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace engine {
class FfmpegAudioFile;
}

namespace fixtures {

// The signal a made file carries: a 1 kHz tone (for frequency checks) or pink noise
// (never repeats, so a misplaced seek cannot go unnoticed).
enum class Signal { Tone1k, Noise };

// Runs `ffmpeg -v error -y <args>`; false with the tool's complaint in *error.
bool ffmpeg(const QStringList &args, QString *error = nullptr);

// Makes `path` from a generated signal with the given encoding arguments
// (e.g. {"-c:a", "libmp3lame", "-b:a", "128k"}); rate and channels are the source's.
bool makeWithFfmpeg(const QString &path, Signal signal, int rate, int channels, double seconds,
                    const QStringList &encodeArgs, QString *error = nullptr);

// Musepack SV8 through mpcenc, from a 16-bit WAV of the signal.
bool makeMusepack(const QString &path, Signal signal, double seconds, QString *error = nullptr);

// MPEG-1 layer 1, mono, 44100 Hz, 128 kbit/s, written frame by frame: subband 1 carries
// a steady oscillation at a quarter of the subband rate, which the synthesis filter turns
// into a tone at 3 * 44100 / 128 = 1033.6 Hz.
void writeLayer1Tone(const QString &path, double seconds);
constexpr double kLayer1ToneHz = 3.0 * 44100.0 / 128.0;

// Every frame the engine reads from the open file, interleaved.
std::vector<float> readAll(engine::FfmpegAudioFile &file, qint64 block = 8820);

// Frames the ffmpeg command line decodes from the file (-1 when it fails).
qint64 ffmpegDecodedFrames(const QString &path, int channels, const QStringList &inputArgs = {});

// Writes `seconds` of a tone through the engine in 200 ms blocks of the given format;
// returns the frames handed over.
qint64 writeTone(engine::FfmpegAudioFile &file, double hz, double seconds, int rate, int channels,
                 engine::SampleFormat format = engine::SampleFormat::Float32, float amplitude = 0.5f);

// Largest absolute difference of two interleaved runs over their common length.
double maxDifference(const float *a, const float *b, size_t samples);

}  // namespace fixtures
