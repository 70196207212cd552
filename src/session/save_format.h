// The formats recordings are written in, as a type with a table of what each one is: its
// extension, its name, the rate and channels capture runs at for it, the most it can write a
// second, and the lists the Options dialog offers for it with the settings at each position.
// Nowhere else is a format told by its extension's text.
#pragma once

#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct RecordingSettings;

enum class SaveFormat { Mp3, Wav, Wma, Flac, Vorbis, Opus };

struct SaveFormatTraits {
    SaveFormat format;
    QString extension;   // ".mp3": how setup.ini stores it, and what file names end in
    QString name;        // "MP3", "Ogg Vorbis", ...
};

// Every format, in the order the Options dialog lists them.
const std::vector<SaveFormatTraits> &saveFormats();
const SaveFormatTraits &traitsOf(SaveFormat format);
// The format of an extension in any letter case (".WAV"); nothing for one the program does
// not write.
std::optional<SaveFormat> saveFormatOfExtension(const QString &extension);

// The format the settings record in: the chosen one, or MP3 for one the program does not
// write.
SaveFormat saveFormatOf(const RecordingSettings &settings);
// The rate (Hz) and channels capture runs at for the settings' format, so that the writer
// need not convert: capture starts before a part's file exists.
QPair<int, int> captureFormatOf(const RecordingSettings &settings);
// The most the settings' format writes a second, in bytes (a bound before a part has run).
double boundBytesPerSecond(const RecordingSettings &settings);

// ---- the Options dialog's lists ---------------------------------------------------------------
// Worded in the language in force when they are asked for.

// MP3: positions 0..9.
QStringList mp3Catalogue();
struct Mp3Preset {
    int frequency;   // Hz
    int bitrate;     // kbit/s
};
// The position's settings as listed; any other position (-1 = no selection) gives 44100 Hz
// at 128 kbit/s.
Mp3Preset mp3PresetFromIndex(int position);

// WAV: positions 0..15.
QStringList wavCatalogue();
struct WavPreset {
    int frequency;       // Hz
    int channels;        // 1 mono, 2 stereo
    int bitsPerSample;   // 8 or 16 (FLAC: 16 or 24)
};
// position / 4 picks the rate (0: 8000, 1: 11025, 2: 22050, 3: 44100 Hz), position % 4 the
// width and channels (0: 8 bit mono, 1: 16 bit mono, 2: 8 bit stereo, 3: 16 bit stereo),
// both truncated toward zero; a quotient or remainder outside 0..3 keeps that part of
// `current` (so -1 gives 8000 Hz with channels and width kept).
WavPreset wavPresetFromIndex(int position, const WavPreset &current);

// FLAC: rate, width and channels, as the WAV list words them.
QStringList flacCatalogue();
// The list position of those settings, -1 when the list has none.
int flacPosition(int frequency, int bitsPerSample, int channels);
// The settings at a list position; any other position gives 44100 Hz, 16 bit, stereo.
WavPreset flacPresetFromIndex(int position);

// Ogg Vorbis: qualities -1..10 at positions 0..11.
QStringList vorbisCatalogue();

// Opus: mono rates, then stereo rates, all at 48000 Hz.
QStringList opusCatalogue();
struct OpusPreset {
    int kbps;
    int channels;
};
// The position of the nearest rate with those channels.
int opusPosition(int kbps, int channels);
// The settings at a list position; any other position gives 96 kbit/s stereo.
OpusPreset opusPresetFromIndex(int position);
