// A recording fake of the audio engine for the windows' tests.
//
// Every call on every component is appended to one shared log as
// "<name>.<Operation>(<arguments>)", getters included, so a test can check the order of
// calls across components. The fake keeps a small world: files it knows (length, format,
// tags), devices and mixer lines on both sides, and what the next Start/Play/Open reports.
// Files are also touched on disk by Create, so code that looks at the file system sees
// them. Tests drive the engine's events themselves (emitTimer, emitBlock, ...).
#pragma once

#include "engine/engine.h"

#include <QHash>
#include <QMap>
#include <QMutex>
#include <QRecursiveMutex>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace fake {

// The writer's calls come from the recording's own thread: adding takes a lock. Tests read
// the calls while nothing runs (after RecordingSession::flush()).
struct CallLog {
    QStringList calls;

    void add(const QString &call)
    {
        const QMutexLocker locker(&lock);
        calls.append(call);
    }
    void clear()
    {
        const QMutexLocker locker(&lock);
        calls.clear();
    }
    // Calls starting with prefix (e.g. "writer." or "recorder.Start").
    QStringList matching(const QString &prefix) const;
    // Calls starting with any of the prefixes, in log order.
    QStringList matching(const QStringList &prefixes) const;
    // Position of the first call starting with prefix at or after from; -1 if none.
    int indexOf(const QString &prefix, int from = 0) const;
    int count(const QString &prefix) const { return int(matching(prefix).size()); }

    mutable QMutex lock;
};

struct FileFacts {
    qint64 frames = 0;
    int sampleRate = 44100;
    int channels = 2;
    QString description = QStringLiteral("PCM: 44100 Hz, 16 bit, Stereo");
    int openError = 0;          // what GetErrorCode reports after Open
    qint64 size = -1;           // bytes reported by the information component; -1: the disk's
    std::vector<engine::FileMarker> markers;
};

struct Tags {
    QString title, artist, album, comments, copyright;
    int genre = -1;
    int year = 0;
    int track = 0;
};

struct AdvancedControl {
    QString name;
    QVariant value;             // bool or int
};

struct Line {
    QString name;
    bool volumeAvailable = true;
    int volume = 32768;
    bool balanceAvailable = true;
    int balance = 50;
    bool muteAvailable = true;  // select on the recorder side
    bool mute = false;          // selected on the recorder side
    std::vector<AdvancedControl> advanced;
    // The switches are a device's ports: exactly one is on, switching another on turns the
    // rest off, and switching the one that is on off is refused (left as it is).
    bool advancedArePorts = false;
};

struct Device {
    QString name;
    bool available = true;
    std::vector<Line> lines;
};

struct MixerWorld {
    std::vector<Device> devices;
    short current = 0;
    bool exclusiveSelect = true;  // recorder: selecting one line deselects the others
};

class FakeEngine;

class FakeFile : public engine::IAudioFile2 {
public:
    FakeFile(FakeEngine *engine, QString name);
    ~FakeFile() override;
    void SetActive(bool active) override;
    void SetWavFormat(int frequency, int channels, int bitsPerSample) override;
    void SetMp3Format(int frequency, int bitrate, int channels) override;
    void SetMp3Encoder(engine::IAudioFile2LameEnc *encoder) override;
    void SetWmaProfile(int profile) override;
    int GetWmaProfileCount() override;
    void SetFlacFormat(int frequency, int channels, int bitsPerSample, int compressionLevel) override;
    void SetVorbisQuality(int quality) override;
    void SetOpusFormat(int kbps, int channels) override;
    void Create(const QString &path, int mode) override;
    void WriteArray(const engine::SampleArray &samples) override;
    void Open(const QString &path, int mode, int flags) override;
    int GetErrorCode() override;
    qint64 GetNumSamples() override;
    int GetFormatValueA() override;
    int GetFormatValueB() override;
    QString GetFormatDescription() override;
    qint64 Seek(qint64 position, int mode) override;
    engine::SampleArray ReadArray(qint64 count) override;
    void Close() override;
    QString GetErrorText() override;
    // Logged; a file the fake knows is taken as repaired.
    void RepairOpenFile(int fd, const QString &path, const QString &extension) override;
    // Kept with the file's facts.
    std::vector<engine::FileMarker> GetMarkers(const QString &path) override;
    void SetMarkers(const QString &path, const std::vector<engine::FileMarker> &markers) override;

    QString name() const { return m_name; }
    QString openPath() const { return m_path; }
    bool isOpen() const { return m_open; }
    qint64 readPosition() const { return m_position; }
    // Makes the next WriteArray throw (disk full and the like).
    QString failNextWrite;
    // Makes the next WriteArray throw FileLimitError: the file holds all it can.
    bool limitNextWrite = false;
    // Makes the next Close of a file being written throw (a drive pulled mid-recording).
    QString failNextClose;
    // Makes the next Create throw (a folder that cannot be written).
    QString failNextCreate;

private:
    void log(const QString &call);
    enum class Kind { Wav, Mp3, Wma };
    FakeEngine *m_engine;
    QString m_name;
    QString m_path;
    bool m_open = false;
    bool m_writing = false;
    int m_errorCode = 0;
    qint64 m_position = 0;
    // Output parameters last set, per type.
    int m_wavRate = 44100, m_wavChannels = 2, m_wavBits = 16;
    int m_mp3Rate = 44100, m_mp3Bitrate = 128;
    int m_wmaProfile = 0;
};

class FakeLameEnc : public engine::IAudioFile2LameEnc {
public:
    FakeLameEnc(FakeEngine *engine, QString name) : m_engine(engine), m_name(std::move(name)) {}
    void SetFrequency(int hz) override;
    void SetBitrate(int kbps) override;

private:
    FakeEngine *m_engine;
    QString m_name;
};

class FakeInformation : public engine::IAudioInformation2 {
    Q_OBJECT
public:
    FakeInformation(FakeEngine *engine, QString name);
    ~FakeInformation() override;
    void LoadFromFile(const QString &path) override;
    void SaveToFile(const QString &path) override;
    void SetTagVersion(short version) override;
    QString GetGenreName(int number) override;
    void SetInfoFlag(bool on) override;
    qint64 GetFileSize() override;
    qint64 GetDuration() override;
    QString GetFormatDescription() override;

    QString infoTitle() const override;
    void setInfoTitle(const QString &value) override;
    QString infoArtist() const override;
    void setInfoArtist(const QString &value) override;
    QString infoAlbum() const override;
    void setInfoAlbum(const QString &value) override;
    QString infoComments() const override;
    void setInfoComments(const QString &value) override;
    QString infoCopyright() const override;
    void setInfoCopyright(const QString &value) override;
    int infoGenre() const override;
    void setInfoGenre(int value) override;
    int infoYear() const override;
    void setInfoYear(int value) override;
    int infoTrack() const override;
    void setInfoTrack(int value) override;

    short tagVersion() const { return m_version; }
    QString loadedPath() const { return m_path; }

private:
    void log(const QString &call) const;
    FakeEngine *m_engine;
    QString m_name;
    QString m_path;
    Tags m_tags;
    qint64 m_size = 0;
    qint64 m_duration = 0;
    QString m_description;
    short m_version = 2;
};

// Devices and lines shared by the fake recorder and player.
class FakeMixer {
public:
    FakeMixer(FakeEngine *engine, QString name, MixerWorld *world, bool recorderSide);
    short GetDeviceCount();
    short GetDevice();
    void SetDevice(short index);
    bool GetDeviceAvailable();
    QString GetDeviceName();
    short GetLineCount();
    void SetLine(short index);
    QString GetLineName();
    bool GetLineVolumeAvailable();
    int GetLineVolume();
    void SetLineVolume(int volume);
    bool GetLineBalanceAvailable();
    short GetLineBalance();
    void SetLineBalance(short balance);
    short GetAdvancedCount();
    QString GetAdvancedName(short index);
    QVariant srcAdvancedValue(short index);
    void SetAdvancedValue(short index, const QVariant &value);
    bool GetSwitchAvailable();
    bool GetSwitch();
    void SetSwitch(bool on);

    short currentLine() const { return m_line; }

private:
    void log(const QString &call) const;
    Line *line();
    FakeEngine *m_engine;
    QString m_name;
    MixerWorld *m_world;
    bool m_recorderSide;
    short m_line = 0;
};

// The device and line operations of the fake recorder and player, answered by their FakeMixer.
template <typename Base>
class FakeMixerForwarding : public Base {
public:
    using Base::Base;
    short GetDeviceCount() override { return mixer().GetDeviceCount(); }
    short GetDevice() override { return mixer().GetDevice(); }
    void SetDevice(short index) override { mixer().SetDevice(index); }
    bool GetDeviceAvailable() override { return mixer().GetDeviceAvailable(); }
    QString GetDeviceName() override { return mixer().GetDeviceName(); }
    short GetLineCount() override { return mixer().GetLineCount(); }
    void SetLine(short index) override { mixer().SetLine(index); }
    QString GetLineName() override { return mixer().GetLineName(); }
    bool GetLineVolumeAvailable() override { return mixer().GetLineVolumeAvailable(); }
    int GetLineVolume() override { return mixer().GetLineVolume(); }
    void SetLineVolume(int volume) override { mixer().SetLineVolume(volume); }
    bool GetLineBalanceAvailable() override { return mixer().GetLineBalanceAvailable(); }
    short GetLineBalance() override { return mixer().GetLineBalance(); }
    void SetLineBalance(short balance) override { mixer().SetLineBalance(balance); }
    short GetAdvancedCount() override { return mixer().GetAdvancedCount(); }
    QString GetAdvancedName(short index) override { return mixer().GetAdvancedName(index); }
    QVariant srcAdvancedValue(short index) override { return mixer().srcAdvancedValue(index); }
    void SetAdvancedValue(short index, const QVariant &value) override
    {
        mixer().SetAdvancedValue(index, value);
    }

    virtual FakeMixer &mixer() = 0;
};

class FakeRecorder : public FakeMixerForwarding<engine::IAudioRecord2> {
    Q_OBJECT
public:
    FakeRecorder(FakeEngine *engine, QString name);
    ~FakeRecorder() override;
    void SetFormat(int valueB, int valueA) override;
    qint64 CalcArraySize(int milliseconds) override;
    void SetArraySize(qint64 samples) override;
    void SetRecordFlag(bool on) override;
    void Start() override;
    void Stop() override;
    int GetErrorCode() override;
    engine::SampleArray GetArray() override;
    qint64 SamplesToMs(qint64 samples) override;
    engine::SampleArray GetSnapshotArray(int count) override;
    bool GetNotchEnabled() override;
    void SetNotchEnabled(bool on) override;
    float GetNotchFrequency() override;
    void SetNotchFrequency(float hz) override;
    bool GetHighPassEnabled() override;
    void SetHighPassEnabled(bool on) override;
    float GetHighPassFrequency() override;
    void SetHighPassFrequency(float hz) override;
    bool GetLowPassEnabled() override;
    void SetLowPassEnabled(bool on) override;
    float GetLowPassFrequency() override;
    void SetLowPassFrequency(float hz) override;
    bool GetLineSelectAvailable() override;
    bool GetLineSelected() override;
    void SetLineSelected(bool selected) override;
    QString GetErrorText() override { return m_errorCode ? startErrorText : QString(); }
    void SetMixLevels(int microphonePercent, int computerPercent) override
    {
        m_microphoneLevel = microphonePercent;
        m_computerLevel = computerPercent;
    }
    int GetMicrophoneMixLevel() override { return m_microphoneLevel; }
    // Listening to the input: refused with monitorRefusal when it is set.
    QString SetMonitor(bool on, const QString &outputDeviceId) override
    {
        log(QStringLiteral("SetMonitor(%1,%2)").arg(on ? "true" : "false", outputDeviceId));
        m_monitor = on && monitorRefusal.isEmpty();
        return on ? monitorRefusal : QString();
    }
    bool GetMonitor() override { return m_monitor; }
    QString monitorRefusal;
    int GetComputerMixLevel() override { return m_computerLevel; }

    // Test side.
    bool isRunning() const { return m_running; }
    int sampleRate() const { return m_rate; }
    int channels() const { return m_channels; }
    qint64 blockSize() const { return m_blockSize; }
    int startError = 0;                       // what GetErrorCode reports after Start
    QString startErrorText;                   // what GetErrorText reports then
    // Blocks still on their way when Stop is called: Stop delivers them (OnEndArrayRecord)
    // before it returns, then the device error, if one is set, as capture does.
    int blocksPendingAtStop = 0;
    QString deviceErrorAtStop;
    float notchHz = 50, highPassHz = 400, lowPassHz = 4000;
    bool notchOn = false, highPassOn = false, lowPassOn = false;
    // What the input hears at a frame counted from Start (every channel alike); silence when
    // unset.
    std::function<float(qint64 frame)> sound;
    // Makes one block of blockSize frames ready and emits OnEndArrayRecord.
    void emitBlock();
    void emitTimer(qint64 currentSamples, int left = 0, int right = 0);
    void emitDeviceError(const QString &text);
    void emitDevicesChanged() { emit OnDevicesChanged(this); }
    FakeMixer &mixer() override { return m_mixer; }

private:
    void log(const QString &call) const;
    FakeEngine *m_engine;
    QString m_name;
    FakeMixer m_mixer;
    int m_rate = 44100;
    int m_channels = 2;
    qint64 m_blockSize = 0;
    bool m_running = false;
    int m_errorCode = 0;
    int m_blocks = 0;
    qint64 m_delivered = 0;   // frames since Start
    int m_microphoneLevel = 100;
    bool m_monitor = false;
    int m_computerLevel = 100;
    engine::SampleArray m_block;
};

class FakePlayer : public FakeMixerForwarding<engine::IAudioPlayer2> {
    Q_OBJECT
public:
    FakePlayer(FakeEngine *engine, QString name);
    ~FakePlayer() override;
    void SetFormat(int valueB, int valueA) override;
    qint64 CalcArraySize(int milliseconds) override;
    void Play() override;
    void Stop() override;
    int GetErrorCode() override;
    void LoadArray(const engine::SampleArray &samples) override;
    qint64 GetCurrentSamples() override;
    qint64 SamplesToMs(qint64 samples) override;
    engine::SampleArray GetSnapshotArray(int count) override;
    void SetEqualizerEnabled(bool on) override;
    void SetEqualizerBands(const engine::BandArray &bands) override;
    int GetVolume() override;
    void SetVolume(int volume) override;
    void SetPlayOption(int option) override;
    void SetPlayFlag(bool on) override;
    bool GetLineMuteAvailable() override;
    bool GetLineMute() override;
    void SetLineMute(bool mute) override;
    QString GetErrorText() override { return m_errorCode ? playErrorText : QString(); }

    // Test side.
    bool isRunning() const { return m_running; }
    int sampleRate() const { return m_rate; }
    int playError = 0;                        // what GetErrorCode reports after Play
    QString playErrorText;                    // what GetErrorText reports then
    qint64 currentSamples = 0;                // what GetCurrentSamples reports
    int volume = 70;
    bool equalizerOn = false;
    engine::BandArray bands{};
    std::vector<qint64> loadedBlocks;         // frames of each LoadArray since the last Play
    void emitTimer(qint64 currentSamples, int left = 0, int right = 0);
    void emitEndArrayPlay();
    void emitRequest();
    void emitEndPlay();
    FakeMixer &mixer() override { return m_mixer; }

private:
    void log(const QString &call) const;
    FakeEngine *m_engine;
    QString m_name;
    FakeMixer m_mixer;
    int m_rate = 44100;
    int m_channels = 2;
    bool m_running = false;
    int m_errorCode = 0;
};

// The factory and the world the fakes share. It must outlive the instances it made.
class FakeEngine : public engine::IEngineFactory {
public:
    FakeEngine();
    ~FakeEngine() override;

    std::unique_ptr<engine::IAudioRecord2> createRecorder(const QString &name) override;
    std::unique_ptr<engine::IAudioPlayer2> createPlayer(const QString &name) override;
    std::unique_ptr<engine::IAudioFile2> createFile(const QString &name) override;
    std::unique_ptr<engine::IAudioFile2LameEnc> createLameEncoder(const QString &name) override;
    std::unique_ptr<engine::IAudioInformation2> createInformation(const QString &name) override;

    CallLog log;
    // Held by the file and tag components while they use the files below: the writer works
    // on a thread of its own.
    QRecursiveMutex worldLock;
    QMap<QString, FileFacts> files;           // by path
    QMap<QString, Tags> tags;                 // by path
    MixerWorld inputs;                        // recorder side
    MixerWorld outputs;                       // player side
    int wmaProfileCount = 40;
    // Facts a newly created file starts with (frames 0; format from the last Set... call).
    FileFacts createdFacts;
    // When set, LoadFromFile of these paths throws.
    QStringList unreadable;

    // The instances made so far, by name ("reader", "recorder", ...). They stay
    // valid while their owner keeps them.
    FakeFile *file(const QString &name) const;
    FakeRecorder *recorder(const QString &name = QStringLiteral("recorder")) const;
    FakePlayer *player(const QString &name = QStringLiteral("player")) const;
    FakeInformation *information(const QString &name = QStringLiteral("information")) const;

    // A known file of the given length, also made on disk (empty) when it is missing.
    void addFile(const QString &path, qint64 frames, int sampleRate = 44100, int channels = 2,
                 const QString &description = QStringLiteral("PCM: 44100 Hz, 16 bit, Stereo"));

    // A plain stereo output device and input device with the given line names.
    static Device device(const QString &name, const QStringList &lines);

private:
    friend class FakeFile;
    friend class FakeRecorder;
    friend class FakePlayer;
    friend class FakeInformation;
    friend class FakeLameEnc;
    void remember(const QString &name, void *instance)
    {
        const QMutexLocker world(&worldLock);
        m_instances.insert(name, instance);
    }
    void forget(const void *instance);
    QHash<QString, void *> m_instances;
};

// Formats a call's arguments the way the log shows them.
QString boolText(bool on);

}  // namespace fake
