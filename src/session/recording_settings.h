// The recording settings in force and their load, apply and save steps.
#pragma once

#include <QString>

class IniFile;
namespace engine {
class IAudioFile2;
class IAudioFile2LameEnc;
}

struct RecordingSettings {
    // ".mp3", ".wav", ".wma", ".flac", ".ogg", ".opus" (compared upper-cased); anything else
    // records MP3, into a file named ".mp3" (see fileExtension)
    QString saveFormat;
    QString savePath;            // folder of new recordings, absolute, joined to file names as it stands
    int mp3Bitrate = 0;          // kbit/s
    int mp3Frequency = 0;        // Hz
    int wavFrequency = 0;        // Hz
    int wavChannels = 0;         // 1 mono, 2 stereo
    int wavBitsPerSample = 0;    // 8 or 16
    int wmaProfile = 0;          // position in the Options dialog's WMA list, from 0
    int flacFrequency = 44100;   // Hz, 8000..96000
    int flacBitsPerSample = 16;  // 16 or 24
    int flacChannels = 2;        // 1 mono, 2 stereo
    int flacLevel = 5;           // compression 0 (fastest) .. 8 (smallest)
    int vorbisQuality = 5;       // -1..10
    int opusBitrate = 96;        // kbit/s, 6..256
    int opusChannels = 2;        // 1 mono, 2 stereo
    int timeLimitSeconds = 0;    // > 0: recordings stop there (over all split parts)
    bool resumeAfterDeviceLoss = true;   // a lost input device is waited for and the run goes on
    // "Microphone + computer sound" also writes each side to a file of its own beside the
    // mix ("Untitled4 (microphone).flac", "Untitled4 (computer).flac")
    bool separateSides = false;
    int prerecordSeconds = 0;    // 0..30: kept while idle and written first at Record; 0 = off
    bool triggerOn = false;      // Record arms: writing starts when sound comes
    int triggerLevelDb = -30;    // dBFS, -60..0: a sample above it is sound
    int triggerSilenceSeconds = 3;   // 1..60 of quiet (6 dB below the level) pause the recording
    bool triggerNewFile = false; // each sound event goes into a file of its own
    bool splitEnabled = false;   // never stored
    int splitSeconds = 0;        // > 0 with SplitEnabled: a new file every SplitSeconds
    // The parts' name: empty for "Untitled1", "Untitled2", ... (the first free numbers); a
    // stem such as "talk" for "talk.flac" (which must not exist yet), then "talk 2.flac",
    // "talk 3.flac", ... Never stored.
    QString partStem;
};

// The extension a recording gets: the chosen format's (".wav" as typed, any letter case), or
// ".mp3" for a format the program does not write, which is then recorded as MP3.
QString fileExtension(const RecordingSettings &settings);

// A save folder as the program uses it: an absolute path exactly as typed; a relative one
// (or one that starts with "~/") under the home folder, so that where recordings go never
// depends on the folder the program was started from; empty stays empty.
QString absoluteSaveFolder(const QString &folder);

// Why no recording can be made in the settings' save folder ("No folder is set for
// recordings. Choose one in Options"); empty when one may.
QString saveFolderProblem(const RecordingSettings &settings);

// Reads the stored recording settings, the time limit included (a negative one counts
// as none). defaultSavePath is the program folder + "Recording/".
RecordingSettings loadRecordingSettings(const IniFile &ini, const QString &defaultSavePath);

// Hands the output format to a file component and the MP3 encoder settings: the file is
// activated, the chosen format's parameters set, then the encoder's frequency and bitrate,
// then the encoder handed to the file.
void applyOutputFormat(const RecordingSettings &settings, engine::IAudioFile2 &file,
                       engine::IAudioFile2LameEnc &encoder);

// Writes the keys in order, as one change of the file; mp3Index and wavIndex are the
// Options dialog's list positions (-1 when nothing is selected). Throws SettingsError when
// the file refuses the write; the file then stays as it was.
void saveRecordingSettings(IniFile &ini, const RecordingSettings &settings, int mp3Index, int wavIndex);
