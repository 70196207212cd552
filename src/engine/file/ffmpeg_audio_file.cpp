#include "engine/file/ffmpeg_audio_file.h"

#include "engine/file/audio_decoder.h"
#include "engine/file/audio_writer.h"
#include "engine/file/file_markers.h"
#include "engine/file/file_repair.h"
#include "engine/file/output_format.h"
#include "engine/file/writing_registry.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace engine {

using file::OutputFormat;
using file::OutputType;

// ---- LameEncoderSettings ------------------------------------------------------------------

LameEncoderSettings::LameEncoderSettings() : m_settings(std::make_shared<Settings>()) {}

LameEncoderSettings::~LameEncoderSettings() = default;

void LameEncoderSettings::SetFrequency(int hz)
{
    m_settings->frequency = hz;
}

void LameEncoderSettings::SetBitrate(int kbps)
{
    m_settings->bitrate = kbps;
}

// ---- FfmpegAudioFile -------------------------------------------------------------------------

FfmpegAudioFile::FfmpegAudioFile() = default;

FfmpegAudioFile::~FfmpegAudioFile()
{
    closeQuietly();
}

void FfmpegAudioFile::closeQuietly()
{
    if (m_writer) {
        try {
            m_writer->close();
        } catch (const EngineError &) {
            // Whatever went wrong was a failure of the file being left; the caller asked
            // for something new.
        }
        m_writer.reset();
    }
    if (m_reader)
        m_reader->close();
    m_reader.reset();
}

void FfmpegAudioFile::SetActive(bool active)
{
    if (!active && (m_writer || m_reader))
        Close();
    m_active = active;
}

void FfmpegAudioFile::SetWavFormat(int frequency, int channels, int bitsPerSample)
{
    m_wavFrequency = frequency;
    m_wavChannels = channels;
    m_wavBits = bitsPerSample;
}

void FfmpegAudioFile::SetMp3Format(int frequency, int bitrate, int channels)
{
    m_mp3Frequency = frequency;
    m_mp3Bitrate = bitrate;
    m_mp3Channels = channels;
}

void FfmpegAudioFile::SetMp3Encoder(IAudioFile2LameEnc *encoder)
{
    // Only our own encoder object carries readable settings; the link is weak, so an
    // encoder destroyed first is simply no longer consulted.
    if (auto *lame = dynamic_cast<LameEncoderSettings *>(encoder))
        m_encoder = lame->settings();
    else
        m_encoder.reset();
}

void FfmpegAudioFile::SetWmaProfile(int profile)
{
    m_wmaProfile = profile;
}

void FfmpegAudioFile::SetFlacFormat(int frequency, int channels, int bitsPerSample, int compressionLevel)
{
    m_flac = file::flacFormat(frequency, channels, bitsPerSample, compressionLevel);
}

void FfmpegAudioFile::SetVorbisQuality(int quality)
{
    m_vorbis = file::vorbisFormat(quality);
}

void FfmpegAudioFile::SetOpusFormat(int kbps, int channels)
{
    m_opus = file::opusFormat(kbps, channels);
}

int FfmpegAudioFile::GetWmaProfileCount()
{
    return int(file::wmaProfiles().size());
}

OutputFormat FfmpegAudioFile::formatFor(const QString &path) const
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    OutputType type = OutputType::Mp3;
    if (suffix == QLatin1String("wav"))
        type = OutputType::Wav;
    else if (suffix == QLatin1String("mp3"))
        type = OutputType::Mp3;
    else if (suffix == QLatin1String("wma"))
        type = OutputType::Wma;
    else if (suffix == QLatin1String("flac"))
        type = OutputType::Flac;
    else if (suffix == QLatin1String("ogg"))
        type = OutputType::Vorbis;
    else if (suffix == QLatin1String("opus"))
        type = OutputType::Opus;

    switch (type) {
    case OutputType::Wav:
        return file::wavFormat(m_wavFrequency, m_wavChannels, m_wavBits);
    case OutputType::Mp3: {
        int frequency = m_mp3Frequency;
        int bitrate = m_mp3Bitrate;
        if (const auto encoder = m_encoder.lock()) {
            if (encoder->frequency > 0)
                frequency = encoder->frequency;
            if (encoder->bitrate > 0)
                bitrate = encoder->bitrate;
        }
        return file::mp3Format(frequency, bitrate, m_mp3Channels);
    }
    case OutputType::Wma: {
        const auto &profiles = file::wmaProfiles();
        if (profiles.empty())
            throw EngineError(QCoreApplication::translate("FfmpegAudioFile",
                                                          "Cannot create %1: No WMA encoder is installed")
                                  .arg(path));
        const int index = std::clamp(m_wmaProfile, 0, int(profiles.size()) - 1);
        return file::wmaFormat(profiles[size_t(index)]);
    }
    case OutputType::Flac:
        return m_flac;
    case OutputType::Vorbis:
        return m_vorbis;
    case OutputType::Opus:
        return m_opus;
    }
    return {};
}

void FfmpegAudioFile::Create(const QString &path, int mode)
{
    Q_UNUSED(mode);
    closeQuietly();
    m_errorCode = 0;
    m_errorText.clear();
    m_writer = file::AudioWriter::create(path, formatFor(path));
}

void FfmpegAudioFile::CreateReserved(int fd, const QString &path, int mode)
{
    Q_UNUSED(mode);
    closeQuietly();
    m_errorCode = 0;
    m_errorText.clear();
    m_writer = file::AudioWriter::create(path, formatFor(path), fd);
}

void FfmpegAudioFile::WriteArray(const SampleArray &samples)
{
    if (!m_writer)
        throw EngineError(QCoreApplication::translate("FfmpegAudioFile", "Cannot write: no file is open for writing"));
    m_writer->write(samples);
}

void FfmpegAudioFile::Open(const QString &path, int mode, int flags)
{
    Q_UNUSED(mode);
    Q_UNUSED(flags);
    closeQuietly();
    auto reader = std::make_unique<file::AudioDecoder>();
    if (reader->open(path)) {
        m_reader = std::move(reader);
        m_errorCode = 0;
        m_errorText.clear();
    } else {
        m_errorCode = reader->errorCode();
        m_errorText = reader->errorText();
    }
}

int FfmpegAudioFile::GetErrorCode()
{
    return m_errorCode;
}

qint64 FfmpegAudioFile::GetNumSamples()
{
    if (m_reader)
        return m_reader->length();
    if (m_writer)
        return m_writer->framesWritten();
    return 0;
}

int FfmpegAudioFile::GetFormatValueA()
{
    if (m_reader)
        return m_reader->sampleRate();
    if (m_writer)
        return m_writer->format().sampleRate;
    return 0;
}

int FfmpegAudioFile::GetFormatValueB()
{
    if (m_reader)
        return m_reader->channels();
    if (m_writer)
        return m_writer->format().channels;
    return 0;
}

QString FfmpegAudioFile::GetFormatDescription()
{
    if (m_reader)
        return m_reader->description();
    if (m_writer)
        return m_writer->format().description();
    // No file: the profile with this number, counted from 1 (see the header).
    const auto &profiles = file::wmaProfiles();
    if (profiles.empty())
        return {};
    const int index = std::clamp(m_wmaProfile - 1, 0, int(profiles.size()) - 1);
    // "WMA " stays in front whatever the language: the profile list cuts it off by length.
    return QStringLiteral("WMA ") + file::wmaProfileLabel(profiles[size_t(index)]);
}

qint64 FfmpegAudioFile::Seek(qint64 position, int mode)
{
    Q_UNUSED(mode);
    return m_reader ? m_reader->seek(position) : 0;
}

SampleArray FfmpegAudioFile::ReadArray(qint64 count)
{
    if (!m_reader)
        return {};
    return m_reader->read(count);
}

void FfmpegAudioFile::RepairFile(const QString &path)
{
    if (file::isBeingWritten(path))
        throw EngineError(QCoreApplication::translate("FfmpegAudioFile", "Cannot repair %1: it is being written")
                              .arg(path));
    file::repairFile(path);
}

namespace {

// The repair that applies to a recording of that extension (Vorbis and Opus are both Ogg).
std::optional<file::RepairFormat> repairFormatOfExtension(const QString &extension)
{
    const QString e = extension.toLower();
    if (e == QLatin1String(".wav"))
        return file::RepairFormat::Wav;
    if (e == QLatin1String(".mp3"))
        return file::RepairFormat::Mp3;
    if (e == QLatin1String(".wma"))
        return file::RepairFormat::Wma;
    if (e == QLatin1String(".flac"))
        return file::RepairFormat::Flac;
    if (e == QLatin1String(".ogg") || e == QLatin1String(".opus"))
        return file::RepairFormat::Ogg;
    return std::nullopt;
}

}  // namespace

void FfmpegAudioFile::RepairOpenFile(int fd, const QString &path, const QString &extension)
{
    const std::optional<file::RepairFormat> format = repairFormatOfExtension(extension);
    if (!format)
        //: %2 is a file name extension (".mp4").
        throw EngineError(QCoreApplication::translate("FfmpegAudioFile",
                                                      "Cannot repair %1: %2 is not a format the program records")
                              .arg(path, extension));
    if (file::isBeingWritten(path))
        throw EngineError(QCoreApplication::translate("FfmpegAudioFile", "Cannot repair %1: it is being written")
                              .arg(path));
    file::repairOpenFile(fd, path, format);
}

void FfmpegAudioFile::MoveOpenFile(const QString &newPath)
{
    if (!m_writer)
        throw EngineError(QCoreApplication::translate("FfmpegAudioFile",
                                                      "Cannot move the recording to %1: no file is being written")
                              .arg(newPath));
    m_writer->moveTo(newPath);
}

bool FfmpegAudioFile::IsMovingFile()
{
    return m_writer && m_writer->isMoving();
}

void FfmpegAudioFile::Close()
{
    if (m_reader) {
        m_reader->close();
        m_reader.reset();
    }
    if (m_writer) {
        // The component is free again whatever the outcome.
        std::unique_ptr<file::AudioWriter> writer = std::move(m_writer);
        writer->close();
    }
}

std::vector<FileMarker> FfmpegAudioFile::GetMarkers(const QString &path)
{
    return file::readMarkers(path);
}

void FfmpegAudioFile::SetMarkers(const QString &path, const std::vector<FileMarker> &markers)
{
    if (file::isBeingWritten(path))
        throw EngineError(QCoreApplication::translate("FfmpegAudioFile",
                                                      "Cannot write the markers of %1: the file is being written")
                              .arg(path));
    file::writeMarkers(path, markers);
}

}  // namespace engine
