#include "fakes/fake_engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

using engine::EngineError;
using engine::SampleArray;

namespace fake {

QString boolText(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

static QString num(double v)
{
    return QString::number(v, 'g', 6);
}

QStringList CallLog::matching(const QString &prefix) const
{
    const QMutexLocker locker(&lock);
    QStringList out;
    for (const QString &c : calls)
        if (c.startsWith(prefix))
            out.append(c);
    return out;
}

QStringList CallLog::matching(const QStringList &prefixes) const
{
    const QMutexLocker locker(&lock);
    QStringList out;
    for (const QString &c : calls)
        for (const QString &p : prefixes)
            if (c.startsWith(p)) {
                out.append(c);
                break;
            }
    return out;
}

int CallLog::indexOf(const QString &prefix, int from) const
{
    const QMutexLocker locker(&lock);
    for (int i = std::max(from, 0); i < calls.size(); ++i)
        if (calls[i].startsWith(prefix))
            return i;
    return -1;
}

// ---- files -------------------------------------------------------------------------

FakeFile::FakeFile(FakeEngine *engine, QString name) : m_engine(engine), m_name(std::move(name))
{
    m_engine->remember(m_name, this);
}

FakeFile::~FakeFile()
{
    m_engine->forget(this);
}

void FakeFile::log(const QString &call)
{
    m_engine->log.add(m_name + QLatin1Char('.') + call);
}

void FakeFile::SetActive(bool active)
{
    log(QStringLiteral("SetActive(%1)").arg(boolText(active)));
    if (!active) {
        m_open = false;
        m_writing = false;
    }
}

void FakeFile::SetWavFormat(int frequency, int channels, int bitsPerSample)
{
    log(QStringLiteral("SetWavFormat(%1,%2,%3)").arg(frequency).arg(channels).arg(bitsPerSample));
    m_wavRate = frequency;
    m_wavChannels = channels;
    m_wavBits = bitsPerSample;
}

void FakeFile::SetMp3Format(int frequency, int bitrate, int channels)
{
    log(QStringLiteral("SetMp3Format(%1,%2,%3)").arg(frequency).arg(bitrate).arg(channels));
    m_mp3Rate = frequency;
    m_mp3Bitrate = bitrate;
}

void FakeFile::SetMp3Encoder(engine::IAudioFile2LameEnc *encoder)
{
    log(QStringLiteral("SetMp3Encoder(%1)").arg(encoder ? QStringLiteral("encoder") : QStringLiteral("null")));
}

void FakeFile::SetWmaProfile(int profile)
{
    log(QStringLiteral("SetWmaProfile(%1)").arg(profile));
    m_wmaProfile = profile;
}

int FakeFile::GetWmaProfileCount()
{
    log(QStringLiteral("GetWmaProfileCount()"));
    return m_engine->wmaProfileCount;
}

void FakeFile::SetFlacFormat(int frequency, int channels, int bitsPerSample, int compressionLevel)
{
    log(QStringLiteral("SetFlacFormat(%1,%2,%3,%4)").arg(frequency).arg(channels).arg(bitsPerSample).arg(compressionLevel));
}

void FakeFile::SetVorbisQuality(int quality)
{
    log(QStringLiteral("SetVorbisQuality(%1)").arg(quality));
}

void FakeFile::SetOpusFormat(int kbps, int channels)
{
    log(QStringLiteral("SetOpusFormat(%1,%2)").arg(kbps).arg(channels));
}

void FakeFile::Create(const QString &path, int mode)
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("Create(%1,%2)").arg(path).arg(mode));
    if (!failNextCreate.isEmpty())
        throw EngineError(std::exchange(failNextCreate, QString()));
    m_open = false;
    m_writing = false;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EngineError(QStringLiteral("Cannot create %1: %2").arg(path, f.errorString()));
    f.close();

    const QString ext = QFileInfo(path).suffix().toLower();
    Kind kind = ext == QLatin1String("wav")   ? Kind::Wav
                : ext == QLatin1String("mp3") ? Kind::Mp3
                : ext == QLatin1String("wma") ? Kind::Wma
                                              : Kind::Mp3;
    FileFacts facts = m_engine->createdFacts;
    facts.frames = 0;
    switch (kind) {
    case Kind::Wav:
        facts.sampleRate = m_wavRate;
        facts.channels = m_wavChannels;
        facts.description = QStringLiteral("PCM: %1 Hz, %2 bit, %3")
                                .arg(m_wavRate)
                                .arg(m_wavBits)
                                .arg(m_wavChannels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo"));
        break;
    case Kind::Mp3:
        facts.sampleRate = m_mp3Rate;
        facts.channels = 2;
        facts.description = QStringLiteral("MPEG %1 layer-3: %2 kbps, %3 Hz, Stereo")
                                .arg(m_mp3Rate >= 32000 ? QStringLiteral("1.0") : QStringLiteral("2.0"))
                                .arg(m_mp3Bitrate)
                                .arg(m_mp3Rate);
        break;
    case Kind::Wma:
        facts.sampleRate = 44100;
        facts.channels = 2;
        facts.description = QStringLiteral("Windows Media Audio V2: profile %1, 44100 Hz, Stereo").arg(m_wmaProfile);
        break;
    }
    m_engine->files[path] = facts;
    m_path = path;
    m_writing = true;
    m_position = 0;
}

void FakeFile::WriteArray(const SampleArray &samples)
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("WriteArray(%1)").arg(samples.frames()));
    if (std::exchange(limitNextWrite, false))
        throw engine::FileLimitError(QStringLiteral("Cannot write %1: the file is as large as it can be").arg(m_path));
    if (!failNextWrite.isEmpty()) {
        const QString text = failNextWrite;
        failNextWrite.clear();
        throw EngineError(text);
    }
    if (!m_writing)
        throw EngineError(QStringLiteral("No file is open for writing"));
    FileFacts &facts = m_engine->files[m_path];
    facts.frames += samples.frames();
    // The file grows on the disk as 16-bit PCM would (without data: a sparse file), so code
    // that measures its size sees a real rate.
    QFile file(m_path);
    if (file.exists())
        file.resize(facts.frames * facts.channels * 2);
}

void FakeFile::Open(const QString &path, int mode, int flags)
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("Open(%1,%2,%3)").arg(path).arg(mode).arg(flags));
    m_open = false;
    m_writing = false;
    m_path = path;
    m_position = 0;
    if (m_engine->files.contains(path))
        m_errorCode = m_engine->files.value(path).openError;
    else
        m_errorCode = QFileInfo::exists(path) ? 5 : 1;
    m_open = m_errorCode == 0;
}

void FakeFile::RepairOpenFile(int, const QString &path, const QString &extension)
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("RepairOpenFile(%1,%2)").arg(path, extension));
    if (!m_engine->files.contains(path))
        throw EngineError(QStringLiteral("Cannot repair %1: it is not a known file").arg(path));
}

QString FakeFile::GetErrorText()
{
    static const char *const reasons[] = {"", "No such file or directory", "Is a directory", "Permission denied",
                                          "The file is empty", "Invalid data found when processing input",
                                          "No audio stream"};
    if (m_errorCode <= 0 || m_errorCode > 6)
        return QString();
    return QStringLiteral("Cannot open %1: %2").arg(m_path, QLatin1String(reasons[m_errorCode]));
}

int FakeFile::GetErrorCode()
{
    log(QStringLiteral("GetErrorCode()"));
    return m_errorCode;
}

qint64 FakeFile::GetNumSamples()
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("GetNumSamples()"));
    return m_engine->files.value(m_path).frames;
}

int FakeFile::GetFormatValueA()
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("GetFormatValueA()"));
    return m_engine->files.value(m_path).sampleRate;
}

int FakeFile::GetFormatValueB()
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("GetFormatValueB()"));
    return m_engine->files.value(m_path).channels;
}

QString FakeFile::GetFormatDescription()
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("GetFormatDescription()"));
    if (!m_open && !m_writing) {
        // With no file open the description is that of WMA profile number v (list position v - 1).
        return QStringLiteral("WMA profile %1").arg(m_wmaProfile - 1);
    }
    return m_engine->files.value(m_path).description;
}

qint64 FakeFile::Seek(qint64 position, int mode)
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("Seek(%1,%2)").arg(position).arg(mode));
    const qint64 length = m_engine->files.value(m_path).frames;
    m_position = std::clamp<qint64>(position, 0, length);
    return m_position;
}

SampleArray FakeFile::ReadArray(qint64 count)
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("ReadArray(%1)").arg(count));
    const FileFacts f = m_engine->files.value(m_path);
    const qint64 n = m_open ? std::clamp<qint64>(f.frames - m_position, 0, count) : 0;
    m_position += n;
    std::vector<float> zeros(size_t(n * f.channels), 0.0f);
    return SampleArray::fromFloat(zeros.data(), n, f.sampleRate, f.channels);
}

void FakeFile::Close()
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("Close()"));
    m_open = false;
    if (std::exchange(m_writing, false) && !failNextClose.isEmpty())
        throw EngineError(std::exchange(failNextClose, QString()));
}

std::vector<engine::FileMarker> FakeFile::GetMarkers(const QString &path)
{
    const QMutexLocker world(&m_engine->worldLock);
    return m_engine->files.value(path).markers;
}

void FakeFile::SetMarkers(const QString &path, const std::vector<engine::FileMarker> &markers)
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("SetMarkers(%1)").arg(markers.size()));
    if (!m_engine->files.contains(path))
        throw EngineError(QStringLiteral("Cannot write the markers of %1: no such file").arg(path));
    m_engine->files[path].markers = markers;
}

void FakeLameEnc::SetFrequency(int hz)
{
    m_engine->log.add(m_name + QStringLiteral(".SetFrequency(%1)").arg(hz));
}

void FakeLameEnc::SetBitrate(int kbps)
{
    m_engine->log.add(m_name + QStringLiteral(".SetBitrate(%1)").arg(kbps));
}

// ---- tags --------------------------------------------------------------------------

FakeInformation::FakeInformation(FakeEngine *engine, QString name)
    : m_engine(engine), m_name(std::move(name))
{
    m_engine->remember(m_name, this);
}

FakeInformation::~FakeInformation()
{
    m_engine->forget(this);
}

void FakeInformation::log(const QString &call) const
{
    m_engine->log.add(m_name + QLatin1Char('.') + call);
}

void FakeInformation::LoadFromFile(const QString &path)
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("LoadFromFile(%1)").arg(path));
    const bool known = m_engine->files.contains(path);
    if (m_engine->unreadable.contains(path) || (!known && !QFileInfo(path).isFile()))
        throw EngineError(QStringLiteral("Cannot open %1: No such file or directory").arg(path));
    m_path = path;
    m_tags = m_engine->tags.value(path);
    const FileFacts f = m_engine->files.value(path);
    if (!known) {
        m_size = QFileInfo(path).size();
        m_duration = 0;
        m_description = QString();
        return;
    }
    m_size = f.size >= 0 ? f.size : f.frames * f.channels * 2 + 44;
    m_duration = f.sampleRate > 0 ? f.frames * 1000 / f.sampleRate : 0;
    m_description = f.description;
}

void FakeInformation::SaveToFile(const QString &path)
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("SaveToFile(%1)").arg(path));
    if (m_engine->unreadable.contains(path) || !QFileInfo(path).isFile())
        throw EngineError(QStringLiteral("Cannot write tags to %1: No such file or directory").arg(path));
    m_engine->tags[path] = m_tags;
}

void FakeInformation::SetTagVersion(short version)
{
    log(QStringLiteral("SetTagVersion(%1)").arg(version));
    m_version = version;
}

QString FakeInformation::GetGenreName(int number)
{
    log(QStringLiteral("GetGenreName(%1)").arg(number));
    return QStringLiteral("Genre %1").arg(number);
}

void FakeInformation::SetInfoFlag(bool on)
{
    log(QStringLiteral("SetInfoFlag(%1)").arg(boolText(on)));
}

qint64 FakeInformation::GetFileSize()
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("GetFileSize()"));
    return m_size;
}

qint64 FakeInformation::GetDuration()
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("GetDuration()"));
    return m_duration;
}

QString FakeInformation::GetFormatDescription()
{
    const QMutexLocker world(&m_engine->worldLock);
    log(QStringLiteral("GetFormatDescription()"));
    return m_description;
}

QString FakeInformation::infoTitle() const { return m_tags.title; }
void FakeInformation::setInfoTitle(const QString &v) { log(QStringLiteral("infoTitle:=") + v); m_tags.title = v; }
QString FakeInformation::infoArtist() const { return m_tags.artist; }
void FakeInformation::setInfoArtist(const QString &v) { log(QStringLiteral("infoArtist:=") + v); m_tags.artist = v; }
QString FakeInformation::infoAlbum() const { return m_tags.album; }
void FakeInformation::setInfoAlbum(const QString &v) { log(QStringLiteral("infoAlbum:=") + v); m_tags.album = v; }
QString FakeInformation::infoComments() const { return m_tags.comments; }
void FakeInformation::setInfoComments(const QString &v) { log(QStringLiteral("infoComments:=") + v); m_tags.comments = v; }
QString FakeInformation::infoCopyright() const { return m_tags.copyright; }
void FakeInformation::setInfoCopyright(const QString &v) { log(QStringLiteral("infoCopyright:=") + v); m_tags.copyright = v; }
int FakeInformation::infoGenre() const { return m_tags.genre; }
void FakeInformation::setInfoGenre(int v) { log(QStringLiteral("infoGenre:=%1").arg(v)); m_tags.genre = v; }
int FakeInformation::infoYear() const { return m_tags.year; }
void FakeInformation::setInfoYear(int v) { log(QStringLiteral("infoYear:=%1").arg(v)); m_tags.year = v; }
// A track number is kept as the 16-bit value a tag reader would give back.
int FakeInformation::infoTrack() const { return qint16(m_tags.track); }
void FakeInformation::setInfoTrack(int v) { log(QStringLiteral("infoTrack:=%1").arg(v)); m_tags.track = v; }

// ---- mixer -------------------------------------------------------------------------

FakeMixer::FakeMixer(FakeEngine *engine, QString name, MixerWorld *world, bool recorderSide)
    : m_engine(engine), m_name(std::move(name)), m_world(world), m_recorderSide(recorderSide)
{
}

void FakeMixer::log(const QString &call) const
{
    m_engine->log.add(m_name + QLatin1Char('.') + call);
}

Line *FakeMixer::line()
{
    const short d = m_world->current;
    if (d < 0 || size_t(d) >= m_world->devices.size())
        throw EngineError(QStringLiteral("No such device: %1").arg(d));
    auto &lines = m_world->devices[size_t(d)].lines;
    if (m_line < 0 || size_t(m_line) >= lines.size())
        throw EngineError(QStringLiteral("No such mixer line: %1").arg(m_line));
    return &lines[size_t(m_line)];
}

short FakeMixer::GetDeviceCount()
{
    log(QStringLiteral("GetDeviceCount()"));
    return short(m_world->devices.size()) - 1;
}

short FakeMixer::GetDevice()
{
    log(QStringLiteral("GetDevice()"));
    return m_world->current;
}

void FakeMixer::SetDevice(short index)
{
    log(QStringLiteral("SetDevice(%1)").arg(index));
    m_world->current = index;
}

bool FakeMixer::GetDeviceAvailable()
{
    log(QStringLiteral("GetDeviceAvailable()"));
    const short d = m_world->current;
    return d >= 0 && size_t(d) < m_world->devices.size() && m_world->devices[size_t(d)].available;
}

QString FakeMixer::GetDeviceName()
{
    log(QStringLiteral("GetDeviceName()"));
    const short d = m_world->current;
    if (d < 0 || size_t(d) >= m_world->devices.size())
        throw EngineError(QStringLiteral("No such device: %1").arg(d));
    return m_world->devices[size_t(d)].name;
}

short FakeMixer::GetLineCount()
{
    log(QStringLiteral("GetLineCount()"));
    const short d = m_world->current;
    if (d < 0 || size_t(d) >= m_world->devices.size())
        return -1;
    return short(m_world->devices[size_t(d)].lines.size()) - 1;
}

void FakeMixer::SetLine(short index)
{
    log(QStringLiteral("SetLine(%1)").arg(index));
    m_line = index;
}

QString FakeMixer::GetLineName()
{
    log(QStringLiteral("GetLineName()"));
    return line()->name;
}

bool FakeMixer::GetLineVolumeAvailable()
{
    log(QStringLiteral("GetLineVolumeAvailable()"));
    return line()->volumeAvailable;
}

int FakeMixer::GetLineVolume()
{
    log(QStringLiteral("GetLineVolume()"));
    return line()->volume;
}

void FakeMixer::SetLineVolume(int volume)
{
    log(QStringLiteral("SetLineVolume(%1)").arg(volume));
    line()->volume = volume;
}

bool FakeMixer::GetLineBalanceAvailable()
{
    log(QStringLiteral("GetLineBalanceAvailable()"));
    return line()->balanceAvailable;
}

short FakeMixer::GetLineBalance()
{
    log(QStringLiteral("GetLineBalance()"));
    return short(line()->balance);
}

void FakeMixer::SetLineBalance(short balance)
{
    log(QStringLiteral("SetLineBalance(%1)").arg(balance));
    line()->balance = balance;
}

short FakeMixer::GetAdvancedCount()
{
    log(QStringLiteral("GetAdvancedCount()"));
    return short(line()->advanced.size()) - 1;
}

QString FakeMixer::GetAdvancedName(short index)
{
    log(QStringLiteral("GetAdvancedName(%1)").arg(index));
    auto &adv = line()->advanced;
    if (index < 0 || size_t(index) >= adv.size())
        throw EngineError(QStringLiteral("No such control: %1").arg(index));
    return adv[size_t(index)].name;
}

QVariant FakeMixer::srcAdvancedValue(short index)
{
    log(QStringLiteral("srcAdvancedValue(%1)").arg(index));
    auto &adv = line()->advanced;
    if (index < 0 || size_t(index) >= adv.size())
        throw EngineError(QStringLiteral("No such control: %1").arg(index));
    return adv[size_t(index)].value;
}

void FakeMixer::SetAdvancedValue(short index, const QVariant &value)
{
    const QString shown = value.typeId() == QMetaType::Bool ? boolText(value.toBool())
                                                            : QString::number(value.toInt());
    log(QStringLiteral("SetAdvancedValue(%1,%2)").arg(index).arg(shown));
    auto &adv = line()->advanced;
    if (index < 0 || size_t(index) >= adv.size())
        throw EngineError(QStringLiteral("No such control: %1").arg(index));
    if (line()->advancedArePorts && value.typeId() == QMetaType::Bool) {
        if (!value.toBool())
            return;   // a device is never left without a port
        for (AdvancedControl &c : adv)
            if (c.value.typeId() == QMetaType::Bool)
                c.value = QVariant(false);
    }
    adv[size_t(index)].value = value;
}

bool FakeMixer::GetSwitchAvailable()
{
    log(m_recorderSide ? QStringLiteral("GetLineSelectAvailable()") : QStringLiteral("GetLineMuteAvailable()"));
    return line()->muteAvailable;
}

bool FakeMixer::GetSwitch()
{
    log(m_recorderSide ? QStringLiteral("GetLineSelected()") : QStringLiteral("GetLineMute()"));
    return line()->mute;
}

void FakeMixer::SetSwitch(bool on)
{
    log((m_recorderSide ? QStringLiteral("SetLineSelected(%1)") : QStringLiteral("SetLineMute(%1)"))
            .arg(boolText(on)));
    Line *l = line();
    if (m_recorderSide && on && m_world->exclusiveSelect)
        for (Line &other : m_world->devices[size_t(m_world->current)].lines)
            other.mute = false;
    l->mute = on;
}

// ---- recorder ----------------------------------------------------------------------

FakeRecorder::FakeRecorder(FakeEngine *engine, QString name)
    : m_engine(engine), m_name(name), m_mixer(engine, name, &engine->inputs, true)
{
    m_engine->remember(m_name, this);
}

FakeRecorder::~FakeRecorder()
{
    m_engine->forget(this);
}

void FakeRecorder::log(const QString &call) const
{
    m_engine->log.add(m_name + QLatin1Char('.') + call);
}

void FakeRecorder::SetFormat(int valueB, int valueA)
{
    log(QStringLiteral("SetFormat(%1,%2)").arg(valueB).arg(valueA));
    m_channels = valueB;
    m_rate = valueA;
}

qint64 FakeRecorder::CalcArraySize(int milliseconds)
{
    log(QStringLiteral("CalcArraySize(%1)").arg(milliseconds));
    return qint64(m_rate) * milliseconds / 1000;
}

void FakeRecorder::SetArraySize(qint64 samples)
{
    log(QStringLiteral("SetArraySize(%1)").arg(samples));
    m_blockSize = samples;
}

void FakeRecorder::SetRecordFlag(bool on)
{
    log(QStringLiteral("SetRecordFlag(%1)").arg(boolText(on)));
}

void FakeRecorder::Start()
{
    log(QStringLiteral("Start()"));
    m_errorCode = startError;
    m_running = startError == 0;
    m_delivered = 0;
}

void FakeRecorder::Stop()
{
    log(QStringLiteral("Stop()"));
    const bool wasRunning = m_running;
    m_running = false;
    if (!wasRunning)
        return;
    for (; blocksPendingAtStop > 0; --blocksPendingAtStop)
        emitBlock();
    if (!deviceErrorAtStop.isEmpty())
        emitDeviceError(std::exchange(deviceErrorAtStop, QString()));
}

int FakeRecorder::GetErrorCode()
{
    log(QStringLiteral("GetErrorCode()"));
    return m_errorCode;
}

SampleArray FakeRecorder::GetArray()
{
    log(QStringLiteral("GetArray()"));
    return m_block;
}

qint64 FakeRecorder::SamplesToMs(qint64 samples)
{
    log(QStringLiteral("SamplesToMs(%1)").arg(samples));
    return m_rate > 0 ? samples * 1000 / m_rate : 0;
}

SampleArray FakeRecorder::GetSnapshotArray(int count)
{
    log(QStringLiteral("GetSnapshotArray(%1)").arg(count));
    std::vector<float> zeros(size_t(std::max(count, 0)) * size_t(m_channels), 0.0f);
    return SampleArray::fromFloat(zeros.data(), count, m_rate, m_channels);
}

bool FakeRecorder::GetNotchEnabled() { log(QStringLiteral("GetNotchEnabled()")); return notchOn; }
void FakeRecorder::SetNotchEnabled(bool on) { log(QStringLiteral("SetNotchEnabled(%1)").arg(boolText(on))); notchOn = on; }
float FakeRecorder::GetNotchFrequency() { log(QStringLiteral("GetNotchFrequency()")); return notchHz; }
void FakeRecorder::SetNotchFrequency(float hz) { log(QStringLiteral("SetNotchFrequency(%1)").arg(num(hz))); notchHz = hz; }
bool FakeRecorder::GetHighPassEnabled() { log(QStringLiteral("GetHighPassEnabled()")); return highPassOn; }
void FakeRecorder::SetHighPassEnabled(bool on) { log(QStringLiteral("SetHighPassEnabled(%1)").arg(boolText(on))); highPassOn = on; }
float FakeRecorder::GetHighPassFrequency() { log(QStringLiteral("GetHighPassFrequency()")); return highPassHz; }
void FakeRecorder::SetHighPassFrequency(float hz) { log(QStringLiteral("SetHighPassFrequency(%1)").arg(num(hz))); highPassHz = hz; }
bool FakeRecorder::GetLowPassEnabled() { log(QStringLiteral("GetLowPassEnabled()")); return lowPassOn; }
void FakeRecorder::SetLowPassEnabled(bool on) { log(QStringLiteral("SetLowPassEnabled(%1)").arg(boolText(on))); lowPassOn = on; }
float FakeRecorder::GetLowPassFrequency() { log(QStringLiteral("GetLowPassFrequency()")); return lowPassHz; }
void FakeRecorder::SetLowPassFrequency(float hz) { log(QStringLiteral("SetLowPassFrequency(%1)").arg(num(hz))); lowPassHz = hz; }

bool FakeRecorder::GetLineSelectAvailable() { return m_mixer.GetSwitchAvailable(); }
bool FakeRecorder::GetLineSelected() { return m_mixer.GetSwitch(); }
void FakeRecorder::SetLineSelected(bool selected) { m_mixer.SetSwitch(selected); }

void FakeRecorder::emitBlock()
{
    const qint64 frames = m_blockSize > 0 ? m_blockSize : qint64(m_rate) / 5;
    std::vector<float> samples(size_t(frames) * size_t(m_channels), 0.0f);
    if (sound)
        for (qint64 f = 0; f < frames; ++f)
            std::fill_n(samples.begin() + f * m_channels, m_channels, sound(m_delivered + f));
    m_delivered += frames;
    m_block = SampleArray::fromFloat(samples.data(), frames, m_rate, m_channels);
    emit OnEndArrayRecord(this, ++m_blocks);
}

void FakeRecorder::emitTimer(qint64 currentSamples, int left, int right)
{
    emit OnTimer(this, currentSamples, left, right);
}

void FakeRecorder::emitDeviceError(const QString &text)
{
    m_running = false;
    m_errorCode = 5;
    emit OnDeviceError(this, text);
}

// ---- player ------------------------------------------------------------------------

FakePlayer::FakePlayer(FakeEngine *engine, QString name)
    : m_engine(engine), m_name(name), m_mixer(engine, name, &engine->outputs, false)
{
    m_engine->remember(m_name, this);
}

FakePlayer::~FakePlayer()
{
    m_engine->forget(this);
}

void FakePlayer::log(const QString &call) const
{
    m_engine->log.add(m_name + QLatin1Char('.') + call);
}

void FakePlayer::SetFormat(int valueB, int valueA)
{
    log(QStringLiteral("SetFormat(%1,%2)").arg(valueB).arg(valueA));
    m_channels = valueB;
    m_rate = valueA;
}

qint64 FakePlayer::CalcArraySize(int milliseconds)
{
    log(QStringLiteral("CalcArraySize(%1)").arg(milliseconds));
    return qint64(m_rate) * milliseconds / 1000;
}

void FakePlayer::Play()
{
    log(QStringLiteral("Play()"));
    m_errorCode = playError;
    m_running = playError == 0;
    loadedBlocks.clear();
}

void FakePlayer::Stop()
{
    log(QStringLiteral("Stop()"));
    m_running = false;
}

int FakePlayer::GetErrorCode()
{
    log(QStringLiteral("GetErrorCode()"));
    return m_errorCode;
}

void FakePlayer::LoadArray(const SampleArray &samples)
{
    log(QStringLiteral("LoadArray(%1)").arg(samples.frames()));
    loadedBlocks.push_back(samples.frames());
}

qint64 FakePlayer::GetCurrentSamples()
{
    log(QStringLiteral("GetCurrentSamples()"));
    return currentSamples;
}

qint64 FakePlayer::SamplesToMs(qint64 samples)
{
    log(QStringLiteral("SamplesToMs(%1)").arg(samples));
    return m_rate > 0 ? samples * 1000 / m_rate : 0;
}

SampleArray FakePlayer::GetSnapshotArray(int count)
{
    log(QStringLiteral("GetSnapshotArray(%1)").arg(count));
    std::vector<float> zeros(size_t(std::max(count, 0)) * size_t(m_channels), 0.0f);
    return SampleArray::fromFloat(zeros.data(), count, m_rate, m_channels);
}

void FakePlayer::SetEqualizerEnabled(bool on)
{
    log(QStringLiteral("SetEqualizerEnabled(%1)").arg(boolText(on)));
    equalizerOn = on;
}

void FakePlayer::SetEqualizerBands(const engine::BandArray &b)
{
    QStringList values;
    for (float v : b)
        values << num(v);
    log(QStringLiteral("SetEqualizerBands(%1)").arg(values.join(QLatin1Char(','))));
    bands = b;
}

int FakePlayer::GetVolume()
{
    log(QStringLiteral("GetVolume()"));
    return volume;
}

void FakePlayer::SetVolume(int v)
{
    log(QStringLiteral("SetVolume(%1)").arg(v));
    volume = v;
}

void FakePlayer::SetPlayOption(int option)
{
    log(QStringLiteral("SetPlayOption(%1)").arg(option));
}

void FakePlayer::SetPlayFlag(bool on)
{
    log(QStringLiteral("SetPlayFlag(%1)").arg(boolText(on)));
}

bool FakePlayer::GetLineMuteAvailable() { return m_mixer.GetSwitchAvailable(); }
bool FakePlayer::GetLineMute() { return m_mixer.GetSwitch(); }
void FakePlayer::SetLineMute(bool mute) { m_mixer.SetSwitch(mute); }

void FakePlayer::emitTimer(qint64 samples, int left, int right)
{
    emit OnTimer(this, samples, left, right);
}

void FakePlayer::emitEndArrayPlay()
{
    emit OnEndArrayPlay(this);
}

void FakePlayer::emitRequest()
{
    emit OnRequestOnLoadArray(this);
}

void FakePlayer::emitEndPlay()
{
    m_running = false;
    emit OnEndPlay(this);
}

// ---- factory -----------------------------------------------------------------------

FakeEngine::FakeEngine()
{
    outputs.devices.push_back(device(QStringLiteral("Speakers"), {QStringLiteral("Master"), QStringLiteral("Tavrin Sound Recorder")}));
    inputs.devices.push_back(device(QStringLiteral("Microphone"), {QStringLiteral("Capture")}));
    inputs.devices[0].lines[0].mute = true;   // the one input line is selected
}

FakeEngine::~FakeEngine() = default;

Device FakeEngine::device(const QString &name, const QStringList &lines)
{
    Device d;
    d.name = name;
    for (const QString &l : lines) {
        Line line;
        line.name = l;
        d.lines.push_back(line);
    }
    return d;
}

std::unique_ptr<engine::IAudioRecord2> FakeEngine::createRecorder(const QString &name)
{
    log.add(QStringLiteral("create(%1)").arg(name));
    return std::make_unique<FakeRecorder>(this, name);
}

std::unique_ptr<engine::IAudioPlayer2> FakeEngine::createPlayer(const QString &name)
{
    log.add(QStringLiteral("create(%1)").arg(name));
    return std::make_unique<FakePlayer>(this, name);
}

std::unique_ptr<engine::IAudioFile2> FakeEngine::createFile(const QString &name)
{
    log.add(QStringLiteral("create(%1)").arg(name));
    return std::make_unique<FakeFile>(this, name);
}

std::unique_ptr<engine::IAudioFile2LameEnc> FakeEngine::createLameEncoder(const QString &name)
{
    log.add(QStringLiteral("create(%1)").arg(name));
    return std::make_unique<FakeLameEnc>(this, name);
}

std::unique_ptr<engine::IAudioInformation2> FakeEngine::createInformation(const QString &name)
{
    log.add(QStringLiteral("create(%1)").arg(name));
    return std::make_unique<FakeInformation>(this, name);
}

FakeFile *FakeEngine::file(const QString &name) const
{
    return static_cast<FakeFile *>(m_instances.value(name));
}

FakeRecorder *FakeEngine::recorder(const QString &name) const
{
    return static_cast<FakeRecorder *>(m_instances.value(name));
}

FakePlayer *FakeEngine::player(const QString &name) const
{
    return static_cast<FakePlayer *>(m_instances.value(name));
}

FakeInformation *FakeEngine::information(const QString &name) const
{
    return static_cast<FakeInformation *>(m_instances.value(name));
}

void FakeEngine::forget(const void *instance)
{
    const QMutexLocker world(&worldLock);
    for (auto it = m_instances.begin(); it != m_instances.end();) {
        if (it.value() == instance)
            it = m_instances.erase(it);
        else
            ++it;
    }
}

void FakeEngine::addFile(const QString &path, qint64 frames, int sampleRate, int channels,
                         const QString &description)
{
    FileFacts f;
    f.frames = frames;
    f.sampleRate = sampleRate;
    f.channels = channels;
    f.description = description;
    files[path] = f;
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.close();
    }
}

}  // namespace fake
