#include "session/recording_settings.h"

#include "engine/engine.h"
#include "session/file_operations.h"
#include "session/ini_file.h"
#include "session/save_format.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>

RecordingSettings loadRecordingSettings(const IniFile &ini, const QString &defaultSavePath)
{
    RecordingSettings s;
    s.saveFormat = ini.readString(QStringLiteral("options"), QStringLiteral("saveformat"), QStringLiteral(".mp3"));
    s.savePath = absoluteSaveFolder(ini.readString(QStringLiteral("options"), QStringLiteral("savepath"), defaultSavePath));
    s.mp3Bitrate = ini.readInteger(QStringLiteral("mp3"), QStringLiteral("bitrate"), 128);
    s.mp3Frequency = ini.readInteger(QStringLiteral("mp3"), QStringLiteral("freq"), 44100);
    s.wavFrequency = ini.readInteger(QStringLiteral("wav"), QStringLiteral("freq"), 44100);
    s.wavChannels = ini.readInteger(QStringLiteral("wav"), QStringLiteral("ch"), 2);
    s.wavBitsPerSample = ini.readInteger(QStringLiteral("wav"), QStringLiteral("bps"), 16);
    s.wmaProfile = ini.readInteger(QStringLiteral("wma"), QStringLiteral("profile"), 38);
    // The stored limit is in force from start-up, not only once the Options dialog was shown.
    s.timeLimitSeconds = std::max(0, ini.readInteger(QStringLiteral("options"), QStringLiteral("timelimit"), 0));
    s.resumeAfterDeviceLoss = ini.readInteger(QStringLiteral("options"), QStringLiteral("resume"), 1) != 0;
    s.separateSides = ini.readInteger(QStringLiteral("mix"), QStringLiteral("separate"), 0) == 1;
    s.flacFrequency = ini.readInteger(QStringLiteral("flac"), QStringLiteral("freq"), 44100);
    s.flacBitsPerSample = ini.readInteger(QStringLiteral("flac"), QStringLiteral("bps"), 16);
    s.flacChannels = ini.readInteger(QStringLiteral("flac"), QStringLiteral("ch"), 2);
    s.flacLevel = ini.readInteger(QStringLiteral("flac"), QStringLiteral("level"), 5);
    s.vorbisQuality = ini.readInteger(QStringLiteral("ogg"), QStringLiteral("quality"), 5);
    s.opusBitrate = ini.readInteger(QStringLiteral("opus"), QStringLiteral("bitrate"), 96);
    s.opusChannels = ini.readInteger(QStringLiteral("opus"), QStringLiteral("ch"), 2);
    s.prerecordSeconds = std::clamp(ini.readInteger(QStringLiteral("options"), QStringLiteral("prerecord"), 0), 0, 30);
    s.triggerOn = ini.readInteger(QStringLiteral("trigger"), QStringLiteral("on"), 0) != 0;
    s.triggerLevelDb = std::clamp(ini.readInteger(QStringLiteral("trigger"), QStringLiteral("level"), -30), -60, 0);
    s.triggerSilenceSeconds = std::clamp(ini.readInteger(QStringLiteral("trigger"), QStringLiteral("silence"), 3), 1, 60);
    s.triggerNewFile = ini.readInteger(QStringLiteral("trigger"), QStringLiteral("newfile"), 0) != 0;
    return s;
}

QString absoluteSaveFolder(const QString &folder)
{
    if (folder.isEmpty() || QDir::isAbsolutePath(folder))
        return folder;
    if (folder == QLatin1String("~"))
        return QDir::homePath();
    if (folder.startsWith(QLatin1String("~/")))
        return QDir::home().filePath(folder.mid(2));
    return QDir::home().filePath(folder);
}

QString saveFolderProblem(const RecordingSettings &s)
{
    if (s.savePath.trimmed().isEmpty())
        return QCoreApplication::translate("RecordingSettings",
                                           "No folder is set for recordings. Choose one in Options");
    // A name decoded from bytes that were not UTF-8 would make a folder the user never named.
    if (!pathSurvivesFileSystem(s.savePath))
        //: %1 is the save folder.
        return QCoreApplication::translate("RecordingSettings",
                                           "Cannot record into %1: the folder's name is not valid UTF-8. "
                                           "Choose the folder again in Options")
            .arg(s.savePath);
    return QString();
}

QString fileExtension(const RecordingSettings &s)
{
    return saveFormatOfExtension(s.saveFormat) ? s.saveFormat : traitsOf(SaveFormat::Mp3).extension;
}

void applyOutputFormat(const RecordingSettings &s, engine::IAudioFile2 &file,
                       engine::IAudioFile2LameEnc &encoder)
{
    file.SetActive(true);
    switch (saveFormatOf(s)) {
    case SaveFormat::Wav:
        file.SetWavFormat(s.wavFrequency, s.wavChannels, s.wavBitsPerSample);
        break;
    case SaveFormat::Wma:
        file.SetWmaProfile(s.wmaProfile);
        break;
    case SaveFormat::Flac:
        file.SetFlacFormat(s.flacFrequency, s.flacChannels, s.flacBitsPerSample, s.flacLevel);
        break;
    case SaveFormat::Vorbis:
        file.SetVorbisQuality(s.vorbisQuality);
        break;
    case SaveFormat::Opus:
        file.SetOpusFormat(s.opusBitrate, s.opusChannels);
        break;
    case SaveFormat::Mp3:
        file.SetMp3Format(s.mp3Frequency, s.mp3Bitrate, 2);
        break;
    }
    encoder.SetFrequency(s.mp3Frequency);
    encoder.SetBitrate(s.mp3Bitrate);
    file.SetMp3Encoder(&encoder);
}

void saveRecordingSettings(IniFile &ini, const RecordingSettings &s, int mp3Index, int wavIndex)
{
    ini.write({
        {QStringLiteral("options"), QStringLiteral("savepath"), s.savePath},
        {QStringLiteral("options"), QStringLiteral("saveformat"), s.saveFormat},
        {QStringLiteral("options"), QStringLiteral("timelimit"), s.timeLimitSeconds},
        {QStringLiteral("mp3"), QStringLiteral("bitrate"), s.mp3Bitrate},
        {QStringLiteral("mp3"), QStringLiteral("freq"), s.mp3Frequency},
        {QStringLiteral("mp3"), QStringLiteral("ind"), mp3Index},
        {QStringLiteral("wav"), QStringLiteral("freq"), s.wavFrequency},
        {QStringLiteral("wav"), QStringLiteral("ch"), s.wavChannels},
        {QStringLiteral("wav"), QStringLiteral("bps"), s.wavBitsPerSample},
        {QStringLiteral("wav"), QStringLiteral("ind"), wavIndex},
        {QStringLiteral("wma"), QStringLiteral("profile"), s.wmaProfile},
        {QStringLiteral("options"), QStringLiteral("resume"), s.resumeAfterDeviceLoss ? 1 : 0},
        {QStringLiteral("flac"), QStringLiteral("freq"), s.flacFrequency},
        {QStringLiteral("flac"), QStringLiteral("bps"), s.flacBitsPerSample},
        {QStringLiteral("flac"), QStringLiteral("ch"), s.flacChannels},
        {QStringLiteral("flac"), QStringLiteral("level"), s.flacLevel},
        {QStringLiteral("ogg"), QStringLiteral("quality"), s.vorbisQuality},
        {QStringLiteral("opus"), QStringLiteral("bitrate"), s.opusBitrate},
        {QStringLiteral("opus"), QStringLiteral("ch"), s.opusChannels},
        {QStringLiteral("options"), QStringLiteral("prerecord"), s.prerecordSeconds},
        {QStringLiteral("trigger"), QStringLiteral("on"), s.triggerOn ? 1 : 0},
        {QStringLiteral("trigger"), QStringLiteral("level"), s.triggerLevelDb},
        {QStringLiteral("trigger"), QStringLiteral("silence"), s.triggerSilenceSeconds},
        {QStringLiteral("trigger"), QStringLiteral("newfile"), s.triggerNewFile ? 1 : 0},
    });
}
