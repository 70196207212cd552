// Tavrin Sound Recorder's audio engine: the one public header.
//
// The windows talk to the engine only through the interfaces below and receive their
// component instances from an IEngineFactory. The real components are built on FFmpeg
// (files), TagLib (tags) and PulseAudio (capture, playback, mixer lines); tests of the
// windows use a recording fake with the same interfaces.
//
// Units used throughout:
//   - sample counts, positions, lengths and block sizes are frames (one sample per channel),
//     the same unit for recorder, player and file components;
//   - durations are milliseconds, frequencies Hz, bit rates kbit/s;
//   - format value A is the sample rate in Hz, format value B the channel count; a file's
//     (B, A) is handed unchanged to the recorder's or the player's SetFormat;
//   - levels are 0..100, dB-scaled (0 = -60 dBFS or quieter, 100 = 0 dBFS), the peak of the
//     last tick;
//   - the player's volume is 0..100 (the transport block's knob), line volume 0..65535,
//     line balance 0..100 with 50 the centre.
//
// Events are Qt signals, always emitted on the thread that created the component (the UI
// thread). A failing call throws EngineError with a text a user can read; GetErrorCode
// reports the failures that are not thrown (right after Start, Play and Open).
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

#include <array>
#include <memory>
#include <stdexcept>
#include <vector>

namespace engine {

class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    EngineError(const QString &text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// WriteArray's block did not fit: the file reached the largest size its format or its file
// system allows (a WAV file's 4 GB, a FAT32 file's 4 GB, a process file size limit). This
// is not a failed recording: the file holds everything written before that block with a
// correct header, Close completes it normally (and throws nothing for it), and the same
// block can start a new file.
class FileLimitError : public EngineError {
public:
    using EngineError::EngineError;
};

// Twelve equalizer gains in dB, -15..+15, Band1 first.
using BandArray = std::array<float, 12>;

enum class SampleFormat {
    Float32,   // interleaved float, full scale -1..+1
    Int16,     // interleaved signed 16-bit
};

// A block of interleaved samples with its format. Copies share the data (implicit
// sharing), so handing a block on is cheap; it is released when the last copy goes.
class SampleArray {
public:
    SampleArray() = default;
    SampleArray(SampleFormat format, int sampleRate, int channels, QByteArray data);

    static SampleArray fromFloat(const float *interleaved, qint64 frames, int sampleRate,
                                 int channels);
    static SampleArray fromFloat(const std::vector<float> &interleaved, int sampleRate,
                                 int channels);
    static SampleArray fromInt16(const qint16 *interleaved, qint64 frames, int sampleRate,
                                 int channels);

    bool isEmpty() const { return frames() == 0; }
    qint64 frames() const;
    int sampleRate() const { return m_sampleRate; }
    int channels() const { return m_channels; }
    SampleFormat sampleFormat() const { return m_format; }
    int bytesPerSample() const { return m_format == SampleFormat::Float32 ? 4 : 2; }

    const QByteArray &data() const { return m_data; }
    // Only for Float32 (resp. Int16) arrays; nullptr otherwise.
    const float *floatData() const;
    const qint16 *int16Data() const;

    // The samples as interleaved floats, converted when the array holds another format.
    std::vector<float> toFloat() const;
    // The same block in Float32 (no copy when it already is).
    SampleArray toFloatArray() const;

private:
    SampleFormat m_format = SampleFormat::Float32;
    int m_sampleRate = 0;
    int m_channels = 0;
    QByteArray m_data;
};

class IAudioFile2LameEnc;

// A place in a recording worth finding again, named by the user ("Marker 3", "second
// speaker").
struct FileMarker {
    qint64 frame = 0;   // from the start of the file, at its sample rate
    QString name;
    bool operator==(const FileMarker &) const = default;
};

// A file component: reads any supported audio file, writes WAV, MP3, WMA, FLAC, Ogg Vorbis
// or Opus.
//
// Open(path, mode, flags): mode and flags are accepted and not used (the program passes 0
// and 1). Create(path, mode): the output type follows the file name's extension (.wav,
// .mp3, .wma, .flac, .ogg (Vorbis), .opus, any letter case) with the parameters last set
// for that type; any other extension is written as MP3. Seek(position, mode): mode is
// accepted and not used (the program passes 3); the seek is sample-accurate.
//
// WMA profiles: the engine offers GetWmaProfileCount() profiles, ordered by sample rate,
// then channels, then bit rate. SetWmaProfile(v) makes list position v (counted from 0) the
// profile of the next WMA Create; with no file open, GetFormatDescription describes
// profile number v counted from 1, i.e. list position v - 1. A list is therefore labelled
// by asking numbers 1..count, and entry k's label describes exactly the profile that
// SetWmaProfile(k) applies. A value outside the range is clamped into it.
class IAudioFile2 {
public:
    virtual ~IAudioFile2() = default;
    virtual void SetActive(bool active) = 0;
    virtual void SetWavFormat(int frequency, int channels, int bitsPerSample) = 0;
    virtual void SetMp3Format(int frequency, int bitrate, int channels) = 0;
    virtual void SetMp3Encoder(IAudioFile2LameEnc *encoder) = 0;   // not owned
    virtual void SetWmaProfile(int profile) = 0;
    virtual int GetWmaProfileCount() = 0;
    virtual void Create(const QString &path, int mode) = 0;
    // Create into a file the caller has just made, empty, open for reading and writing as
    // fd: the component takes the descriptor over (it is closed even when this throws), so
    // the file written is the one made, never whatever the name may meanwhile point at.
    // path is its name.
    virtual void CreateReserved(int fd, const QString &path, int mode);
    virtual void WriteArray(const SampleArray &samples) = 0;
    virtual void Open(const QString &path, int mode, int flags) = 0;
    virtual int GetErrorCode() = 0;                 // 0 = the last Open succeeded
    virtual qint64 GetNumSamples() = 0;             // frames in the open file
    virtual int GetFormatValueA() = 0;              // sample rate, Hz
    virtual int GetFormatValueB() = 0;              // channels
    virtual QString GetFormatDescription() = 0;
    virtual qint64 Seek(qint64 position, int mode) = 0;   // returns the frame reached
    virtual SampleArray ReadArray(qint64 count) = 0;      // next count frames; empty at end
    virtual void Close() = 0;
    // Why the last Open failed, in words a user can read; empty after a good one.
    virtual QString GetErrorText() { return QString(); }

    // Makes a closed recording that was cut off (the program or the machine died while it
    // was written) show its true length to players: its header is brought in line with the
    // whole frames or packets the file holds, and a trailing partial one is cut off. A file
    // that is already complete is left as it is. Throws EngineError ("Cannot repair
    // <path>: <reason>") and leaves the file untouched when it cannot be repaired.
    virtual void RepairFile(const QString &path)
    {
        throw EngineError(QStringLiteral("Cannot repair %1: not supported").arg(path));
    }
    // The same for the file open as fd (read and write): repairs it only when its content is
    // of the format the extension names (".wav", ".mp3", ".wma", ".flac", ".ogg", ".opus");
    // a file of another format is refused and left untouched. The descriptor stays the
    // caller's.
    virtual void RepairOpenFile(int /*fd*/, const QString &path, const QString & /*extension*/)
    {
        throw EngineError(QStringLiteral("Cannot repair %1: not supported").arg(path));
    }
    // Gives the recording being written the name newPath, for a save folder that went away
    // while the file was open. Where the file still has a name elsewhere on newPath's file
    // system, newPath becomes one more name of it at once: no copy, no space. Otherwise
    // newPath is created at once and what was written so far is copied into it in the
    // background while WriteArray goes on (the space of what is copied is given back as the
    // copy goes, when the old file has no name left); once the copy has caught up, the
    // recording continues in newPath with no block lost or doubled. Never replaces anything:
    // an existing newPath (a link included) is refused. Throws EngineError when newPath
    // cannot be made. A move that fails later (a full disk, a write error) is thrown once,
    // as EngineError, by the next IsMovingFile, WriteArray (before that block is written, so
    // it can be handed over again) or Close; the recording then goes on where it was, and
    // another move may be tried.
    virtual void MoveOpenFile(const QString &newPath)
    {
        throw EngineError(QStringLiteral("Cannot move the recording to %1: not supported").arg(newPath));
    }
    // True from MoveOpenFile until the recording is written in its new place.
    virtual bool IsMovingFile() { return false; }

    // Settings of the next Create of a path with that extension; values out of range are
    // clamped into it. FLAC (".flac"): 8000..96000 Hz, 1 or 2 channels, 16 or 24 bits,
    // compression level 0 (fastest) .. 8 (smallest); 44100 Hz, stereo, 16 bit, level 5
    // until called.
    virtual void SetFlacFormat(int /*frequency*/, int /*channels*/, int /*bitsPerSample*/,
                               int /*compressionLevel*/) {}
    // Ogg Vorbis (".ogg"), 44100 Hz stereo: quality -1..10, 5 until called.
    virtual void SetVorbisQuality(int /*quality*/) {}
    // Opus in Ogg (".opus"): 6..256 kbit/s, 1 or 2 channels; 96 kbit/s stereo until called.
    // Opus is always written at 48000 Hz, which GetFormatValueA reports after Create, so
    // that the recorder captures at that rate.
    virtual void SetOpusFormat(int /*kbps*/, int /*channels*/) {}

    // Markers kept inside a closed file as chapters, each starting a chapter that runs to
    // the next marker or the end: ID3v2 CHAP frames and a CTOC in MP3, CHAPTERnnn and
    // CHAPTERnnnNAME Vorbis comments in FLAC, Ogg Vorbis and Opus, a cue chunk with
    // LIST/adtl labels in WAV, the ASF Marker Object in WMA. Positions are frames at the
    // file's sample rate. The file's markers in order, chapters written by other programs
    // included; empty when it has none. Throws EngineError when the file cannot be read.
    virtual std::vector<FileMarker> GetMarkers(const QString & /*path*/) { return {}; }
    // Replaces the file's markers (none: removes them), leaving every other tag, comment
    // and chunk as it was: in place, in the room reserved when the file was created, or,
    // when that is too small, through a new file renamed over it (never an insert in place
    // that a crash could leave half done). Throws EngineError ("Cannot write the markers of
    // <path>: <reason>") and leaves the file as it was when it cannot.
    virtual void SetMarkers(const QString &path, const std::vector<FileMarker> & /*markers*/)
    {
        throw EngineError(QStringLiteral("Cannot write the markers of %1: not supported").arg(path));
    }
};

// MP3 encoder settings handed to the file components.
class IAudioFile2LameEnc {
public:
    virtual ~IAudioFile2LameEnc() = default;
    virtual void SetFrequency(int hz) = 0;
    virtual void SetBitrate(int kbps) = 0;
};

// Tags and stream facts of one file. The tag values are Qt properties so that the texts
// can be written by name: setProperty("infoTitle", ...).
class IAudioInformation2 : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString infoTitle READ infoTitle WRITE setInfoTitle)
    Q_PROPERTY(QString infoArtist READ infoArtist WRITE setInfoArtist)
    Q_PROPERTY(QString infoAlbum READ infoAlbum WRITE setInfoAlbum)
    Q_PROPERTY(QString infoComments READ infoComments WRITE setInfoComments)
    Q_PROPERTY(QString infoCopyright READ infoCopyright WRITE setInfoCopyright)
    Q_PROPERTY(int infoGenre READ infoGenre WRITE setInfoGenre)
    Q_PROPERTY(int infoYear READ infoYear WRITE setInfoYear)
    Q_PROPERTY(int infoTrack READ infoTrack WRITE setInfoTrack)
public:
    using QObject::QObject;
    virtual void LoadFromFile(const QString &path) = 0;
    virtual void SaveToFile(const QString &path) = 0;
    virtual void SetTagVersion(short version) = 0;   // 1 = ID3v1, 2 = ID3v2
    virtual QString GetGenreName(int number) = 0;    // 0..146
    virtual void SetInfoFlag(bool on) = 0;
    virtual qint64 GetFileSize() = 0;                // bytes
    virtual qint64 GetDuration() = 0;                // milliseconds
    virtual QString GetFormatDescription() = 0;

    virtual QString infoTitle() const = 0;
    virtual void setInfoTitle(const QString &value) = 0;
    virtual QString infoArtist() const = 0;
    virtual void setInfoArtist(const QString &value) = 0;
    virtual QString infoAlbum() const = 0;
    virtual void setInfoAlbum(const QString &value) = 0;
    virtual QString infoComments() const = 0;
    virtual void setInfoComments(const QString &value) = 0;
    virtual QString infoCopyright() const = 0;
    virtual void setInfoCopyright(const QString &value) = 0;
    virtual int infoGenre() const = 0;               // genre number, -1 = none
    virtual void setInfoGenre(int value) = 0;
    virtual int infoYear() const = 0;
    virtual void setInfoYear(int value) = 0;
    virtual int infoTrack() const = 0;
    virtual void setInfoTrack(int value) = 0;
};

// Devices and mixer lines, shared by the recorder and the player. Counts are the highest
// index (entries 0..N), negative for none. Every line operation addresses the current line.
class IMixerSide {
public:
    virtual ~IMixerSide() = default;
    virtual short GetDeviceCount() = 0;
    virtual short GetDevice() = 0;
    virtual void SetDevice(short index) = 0;
    virtual bool GetDeviceAvailable() = 0;
    virtual QString GetDeviceName() = 0;
    virtual short GetLineCount() = 0;
    virtual void SetLine(short index) = 0;
    virtual QString GetLineName() = 0;
    virtual bool GetLineVolumeAvailable() = 0;
    virtual int GetLineVolume() = 0;                 // 0..65535
    virtual void SetLineVolume(int volume) = 0;
    virtual bool GetLineBalanceAvailable() = 0;
    virtual short GetLineBalance() = 0;              // 0..100, 50 = centre
    virtual void SetLineBalance(short balance) = 0;
    virtual short GetAdvancedCount() = 0;
    virtual QString GetAdvancedName(short index) = 0;
    virtual QVariant srcAdvancedValue(short index) = 0;   // bool (switch) or int 0..65535
    virtual void SetAdvancedValue(short index, const QVariant &value) = 0;
};

// The recorder: captures the current input device in blocks.
class IAudioRecord2 : public QObject, public IMixerSide {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void SetFormat(int valueB, int valueA) = 0;   // channels, sample rate
    virtual qint64 CalcArraySize(int milliseconds) = 0;   // frames
    virtual void SetArraySize(qint64 samples) = 0;        // frames per OnEndArrayRecord
    virtual void SetRecordFlag(bool on) = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual int GetErrorCode() = 0;                       // 0 = capture runs
    // Why capture failed to start or ended, in words a user can read; empty when it runs.
    virtual QString GetErrorText() { return QString(); }
    virtual SampleArray GetArray() = 0;                   // the block just filled
    virtual qint64 SamplesToMs(qint64 samples) = 0;
    virtual SampleArray GetSnapshotArray(int count) = 0;  // the newest count frames

    // Recording filters, applied before the blocks; frequencies in Hz.
    virtual bool GetNotchEnabled() = 0;
    virtual void SetNotchEnabled(bool on) = 0;
    virtual float GetNotchFrequency() = 0;
    virtual void SetNotchFrequency(float hz) = 0;
    virtual bool GetHighPassEnabled() = 0;
    virtual void SetHighPassEnabled(bool on) = 0;
    virtual float GetHighPassFrequency() = 0;
    virtual void SetHighPassFrequency(float hz) = 0;
    virtual bool GetLowPassEnabled() = 0;
    virtual void SetLowPassEnabled(bool on) = 0;
    virtual float GetLowPassFrequency() = 0;
    virtual void SetLowPassFrequency(float hz) = 0;

    virtual bool GetLineSelectAvailable() = 0;
    virtual bool GetLineSelected() = 0;
    virtual void SetLineSelected(bool selected) = 0;

    // Besides the input devices, the real recorder's list offers one entry per application
    // playing now ("Sound of <application>": only that application's sound) and, last,
    // "Microphone + computer sound" (the default input and what the default output plays,
    // mixed). Indexes after the input devices move as applications come and go; ids do not.
    //
    // The current device's id: the sound server's name of an input device
    // ("alsa_input.pci-0000_00_1f.3.analog-stereo"), "sink-input:<application>" for an
    // application, "mix:microphone+computer" for the mix; empty when no device is chosen.
    virtual QString GetDeviceId() { return GetDeviceName(); }
    // Makes the device with that id the current one; false (nothing changed) when it is not
    // there now.
    virtual bool SetDeviceById(const QString &id)
    {
        const short previous = GetDevice();
        const short count = GetDeviceCount();
        for (short i = 0; i <= count; ++i) {
            SetDevice(i);
            if (GetDeviceAvailable() && GetDeviceId() == id)
                return true;
        }
        SetDevice(previous);
        return false;
    }
    // Levels of the two sides of "Microphone + computer sound", 0..100 % each (linear gain;
    // 100 % and 100 % at first). They change only the recording, never the devices.
    virtual void SetMixLevels(int microphonePercent, int computerPercent)
    {
        Q_UNUSED(microphonePercent);
        Q_UNUSED(computerPercent);
    }
    virtual int GetMicrophoneMixLevel() { return 100; }
    virtual int GetComputerMixLevel() { return 100; }
    // "Microphone + computer sound" can hand out each side's own sound beside the sum: with
    // on, each block also carries side 0 (the microphone) and side 1 (the computer sound)
    // for the same frames as GetArray, each at its level and after the recording filters,
    // before the sum's limiter. Returns whether blocks will carry them: only the mix has
    // sides. Takes effect at the next Start.
    virtual bool SetSideArrays(bool on)
    {
        Q_UNUSED(on);
        return false;
    }
    // Inside OnEndArrayRecord: that side of the block just filled; empty without sides.
    virtual SampleArray GetSideArray(int side)
    {
        Q_UNUSED(side);
        return SampleArray();
    }

    // Listening to the input: whenever capture runs, the captured sound, after the recording
    // filters, is also played on the output device with that id (IAudioPlayer2::GetDeviceId;
    // empty: the server's default output), taken at the capture stream's own fragments so
    // that it adds at most 50 ms of delay; the output's volume applies. With "Microphone +
    // computer sound" only the microphone side is played. It never plays an output's sound
    // back into that output: when the input is the monitor of the output, it is refused.
    // Returns "" or why it was refused (it is off then). Turning it on or off, or changing
    // the input device, never interrupts capture; an input chosen later that would play back
    // into the output turns it off.
    virtual QString SetMonitor(bool on, const QString & /*outputDeviceId*/)
    {
        return on ? QStringLiteral("This input cannot be listened to") : QString();
    }
    virtual bool GetMonitor() { return false; }

signals:
    void OnEndArrayRecord(QObject *sender, int nBlock);
    void OnTimer(QObject *sender, qint64 currentSamples, int levelLeft, int levelRight);
    void OnGainChange(QObject *sender, int newVolume);
    // Capture ended by itself (device gone, server lost, the recorded application stopped
    // playing); every block captured before has been delivered. GetErrorCode is non-zero
    // from then on.
    void OnDeviceError(QObject *sender, const QString &text);
    // The device list changed (an input device or a playing application came or went):
    // read it again. Queued on the UI thread; several changes may come as one.
    void OnDevicesChanged(QObject *sender);
};

// The player: plays queued blocks on the current output device.
class IAudioPlayer2 : public QObject, public IMixerSide {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void SetFormat(int valueB, int valueA) = 0;   // channels, sample rate
    virtual qint64 CalcArraySize(int milliseconds) = 0;   // frames
    virtual void Play() = 0;
    virtual void Stop() = 0;                              // drops queued blocks, no OnEndPlay
    virtual int GetErrorCode() = 0;                       // 0 = output runs
    // Why output failed to start or ended, in words a user can read; empty when it runs.
    virtual QString GetErrorText() { return QString(); }
    virtual void LoadArray(const SampleArray &samples) = 0;   // empty = no more data
    virtual qint64 GetCurrentSamples() = 0;               // frames heard since Play
    virtual qint64 SamplesToMs(qint64 samples) = 0;
    virtual SampleArray GetSnapshotArray(int count) = 0;  // the newest count frames heard
    virtual void SetEqualizerEnabled(bool on) = 0;
    virtual void SetEqualizerBands(const BandArray &bands) = 0;   // dB, -15..+15
    virtual int GetVolume() = 0;                          // 0..100
    virtual void SetVolume(int volume) = 0;
    virtual void SetPlayOption(int option) = 0;
    virtual void SetPlayFlag(bool on) = 0;
    virtual bool GetLineMuteAvailable() = 0;
    virtual bool GetLineMute() = 0;
    virtual void SetLineMute(bool mute) = 0;
    // The current output device's id: the sound server's name of the sink
    // ("alsa_output.pci-0000_00_1f.3.analog-stereo"); empty when none is chosen.
    virtual QString GetDeviceId() { return GetDeviceName(); }

signals:
    void OnEndArrayPlay(QObject *sender);
    void OnRequestOnLoadArray(QObject *sender);
    void OnTimer(QObject *sender, qint64 currentSamples, int levelLeft, int levelRight);
    void OnEndPlay(QObject *sender);
    // Output ended by itself (device gone, server lost). No OnEndPlay follows.
    void OnDeviceError(QObject *sender, const QString &text);
};

// The spectrum's contract: engine::dsp::SpectrumAnalyser analyses the blocks it is
// given on a worker thread; the view beside the windows only paints its frames.
//   VisType: 0 analog, 1 linear, 2 normal, 3 fire, 4 glass, 5 kryptonite
//   WindowArraySize: 256, 1024 or 4096 points
//   WindowFFTType: 0 none, 1 Welch, 2 Bartlett, 3 Hanning, 4 Hamming
class IAudioVisualization2 {
public:
    virtual ~IAudioVisualization2() = default;
    virtual void DrawArray(const SampleArray &samples) = 0;   // empty = clear the view
    virtual int GetVisType() const = 0;
    virtual void SetVisType(int type) = 0;
    virtual int GetWindowArraySize() const = 0;
    virtual void SetWindowArraySize(int size) = 0;
    virtual int GetWindowFFTType() const = 0;
    virtual void SetWindowFFTType(int type) = 0;
};

// Where the windows get their components from. The name is the component's role
// ("AudioFile1", "AudioRecord1", ...); the real engine uses it only in messages.
class IEngineFactory {
public:
    virtual ~IEngineFactory() = default;
    virtual std::unique_ptr<IAudioRecord2> createRecorder(const QString &name) = 0;
    virtual std::unique_ptr<IAudioPlayer2> createPlayer(const QString &name) = 0;
    virtual std::unique_ptr<IAudioFile2> createFile(const QString &name) = 0;
    virtual std::unique_ptr<IAudioFile2LameEnc> createLameEncoder(const QString &name) = 0;
    virtual std::unique_ptr<IAudioInformation2> createInformation(const QString &name) = 0;
};

// The real engine.
std::unique_ptr<IEngineFactory> createEngineFactory();

}  // namespace engine
