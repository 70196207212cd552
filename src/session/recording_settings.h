// The recording settings in force and their load, apply and save steps.
#pragma once

#include <QString>

class IniFile;
namespace engine {
class IAudioFile2;
class IAudioFile2LameEnc;
}

struct RecordingSettings {
    QString SaveFormat;          // ".mp3", ".wav", ".wma" (compared upper-cased), or anything typed
    QString SavePath;            // folder of new recordings, joined to file names as it stands
    int Mp3Bitrate = 0;          // kbit/s
    int Mp3Frequency = 0;        // Hz
    int WavFrequency = 0;        // Hz
    int WavChannels = 0;         // 1 mono, 2 stereo
    int WavBitsPerSample = 0;    // 8 or 16
    int WmaProfile = 0;          // position in the Options dialog's WMA list, from 0
    int TimeLimitSeconds = 0;    // > 0: recordings stop there (over all split parts)
    bool SplitEnabled = false;   // never stored
    int SplitSeconds = 0;        // > 0 with SplitEnabled: a new file every SplitSeconds
};

// Reads the nine stored recording settings, the time limit included (a negative one counts
// as none). defaultSavePath is the program folder + "Recording/".
void LoadSettings(const IniFile &ini, RecordingSettings &settings, const QString &defaultSavePath);

// Hands the output format to both file components and the MP3 encoder settings, in the order
// the recorder relies on: activate both, the chosen format's parameters on the writer then the
// reader, then the encoder's frequency and bitrate, then the encoder to the writer and the reader.
void ApplyOutputFormat(const RecordingSettings &settings, engine::IAudioFile2 &audioFile1,
                       engine::IAudioFile2 &audioFile2, engine::IAudioFile2LameEnc &encoder);

// Writes the eleven keys in order, as one change of the file; mp3Index and wavIndex are the
// Options dialog's list positions (-1 when nothing is selected). Throws SettingsError when
// the file refuses the write; the file then stays as it was.
void SaveSettings(IniFile &ini, const RecordingSettings &settings, int mp3Index, int wavIndex);
