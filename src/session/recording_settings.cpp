#include "session/recording_settings.h"

#include "engine/engine.h"
#include "session/ini_file.h"

#include <algorithm>

void LoadSettings(const IniFile &ini, RecordingSettings &s, const QString &defaultSavePath)
{
    s.SaveFormat = ini.ReadString(QStringLiteral("options"), QStringLiteral("saveformat"), QStringLiteral(".mp3"));
    s.SavePath = ini.ReadString(QStringLiteral("options"), QStringLiteral("savepath"), defaultSavePath);
    s.Mp3Bitrate = ini.ReadInteger(QStringLiteral("mp3"), QStringLiteral("bitrate"), 128);
    s.Mp3Frequency = ini.ReadInteger(QStringLiteral("mp3"), QStringLiteral("freq"), 44100);
    s.WavFrequency = ini.ReadInteger(QStringLiteral("wav"), QStringLiteral("freq"), 44100);
    s.WavChannels = ini.ReadInteger(QStringLiteral("wav"), QStringLiteral("ch"), 2);
    s.WavBitsPerSample = ini.ReadInteger(QStringLiteral("wav"), QStringLiteral("bps"), 16);
    s.WmaProfile = ini.ReadInteger(QStringLiteral("wma"), QStringLiteral("profile"), 38);
    // The stored limit is in force from start-up, not only once the Options dialog was shown.
    s.TimeLimitSeconds = std::max(0, ini.ReadInteger(QStringLiteral("options"), QStringLiteral("timelimit"), 0));
}

void ApplyOutputFormat(const RecordingSettings &s, engine::IAudioFile2 &audioFile1,
                       engine::IAudioFile2 &audioFile2, engine::IAudioFile2LameEnc &encoder)
{
    audioFile1.SetActive(true);
    audioFile2.SetActive(true);

    const QString format = s.SaveFormat.toUpper();
    if (format == QLatin1String(".WAV")) {
        audioFile2.SetWavFormat(s.WavFrequency, s.WavChannels, s.WavBitsPerSample);
        audioFile1.SetWavFormat(s.WavFrequency, s.WavChannels, s.WavBitsPerSample);
    } else if (format == QLatin1String(".WMA")) {
        audioFile2.SetWmaProfile(s.WmaProfile);
        audioFile1.SetWmaProfile(s.WmaProfile);
    } else if (format == QLatin1String(".MP3")) {
        audioFile2.SetMp3Format(s.Mp3Frequency, s.Mp3Bitrate, 2);
        audioFile1.SetMp3Format(s.Mp3Frequency, s.Mp3Bitrate, 2);
    }

    encoder.SetFrequency(s.Mp3Frequency);
    encoder.SetBitrate(s.Mp3Bitrate);
    audioFile2.SetMp3Encoder(&encoder);
    audioFile1.SetMp3Encoder(&encoder);
}

void SaveSettings(IniFile &ini, const RecordingSettings &s, int mp3Index, int wavIndex)
{
    ini.Write({
        {QStringLiteral("options"), QStringLiteral("savepath"), s.SavePath},
        {QStringLiteral("options"), QStringLiteral("saveformat"), s.SaveFormat},
        {QStringLiteral("options"), QStringLiteral("timelimit"), s.TimeLimitSeconds},
        {QStringLiteral("mp3"), QStringLiteral("bitrate"), s.Mp3Bitrate},
        {QStringLiteral("mp3"), QStringLiteral("freq"), s.Mp3Frequency},
        {QStringLiteral("mp3"), QStringLiteral("ind"), mp3Index},
        {QStringLiteral("wav"), QStringLiteral("freq"), s.WavFrequency},
        {QStringLiteral("wav"), QStringLiteral("ch"), s.WavChannels},
        {QStringLiteral("wav"), QStringLiteral("bps"), s.WavBitsPerSample},
        {QStringLiteral("wav"), QStringLiteral("ind"), wavIndex},
        {QStringLiteral("wma"), QStringLiteral("profile"), s.WmaProfile},
    });
}
