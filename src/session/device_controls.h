// What the windows adjust on the devices, without reaching the engine's components: the
// devices and mixer lines of either side, the recording filters, and the playback equalizer.
// Every call is passed to the engine as it is.
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <array>

namespace engine {
class IAudioPlayer2;
class IAudioRecord2;
class IMixerSide;
}

// The devices and lines of one side: the inputs (the recorder's) or the outputs (the
// player's). Device, line and control numbers count from 0; "highest" is the last number,
// negative when there is none. Volumes are 0..65535, balances 0..100 (50 the centre).
class MixerLines : public QObject {
    Q_OBJECT

public:
    explicit MixerLines(engine::IAudioRecord2 &recorder, QObject *parent = nullptr);
    explicit MixerLines(engine::IAudioPlayer2 &player, QObject *parent = nullptr);

    bool isInput() const { return m_recorder != nullptr; }

    int highestDevice();
    int device();
    void setDevice(int index);
    bool deviceAvailable();
    QString deviceName();
    // Inputs: the server's name of the current device; choosing by it (false: not there).
    QString deviceId();
    bool setDeviceById(const QString &id);
    // Inputs: the current device is "Microphone + computer sound", whose sides can be kept apart.
    bool isMix();

    int highestLine();
    void setLine(int index);   // the line the calls below address
    QString lineName();
    bool volumeAvailable();
    int volume();
    void setVolume(int volume);
    bool balanceAvailable();
    int balance();
    void setBalance(int balance);
    // Inputs select a line (a port); outputs mute one.
    bool switchAvailable();
    bool switchedOn();
    void setSwitchedOn(bool on);

    int highestAdvanced();
    QString advancedName(int index);
    QVariant advancedValue(int index);   // bool (a switch) or int 0..65535
    void setAdvancedValue(int index, const QVariant &value);

    // Inputs: the levels of "Microphone + computer sound", 0..100 % each.
    int microphoneLevel();
    int computerLevel();
    void setMixLevels(int microphonePercent, int computerPercent);

signals:
    // The device list changed (an input came or went): read it again. Inputs only.
    void devicesChanged();

private:
    engine::IMixerSide &m_side;
    engine::IAudioRecord2 *m_recorder = nullptr;
    engine::IAudioPlayer2 *m_player = nullptr;
};

// The recorder's notch, high-pass and low-pass filters; frequencies in Hz.
class RecordingFilters {
public:
    enum class Filter { Notch, HighPass, LowPass };

    explicit RecordingFilters(engine::IAudioRecord2 &recorder) : m_recorder(recorder) {}
    bool isOn(Filter filter);
    void setOn(Filter filter, bool on);
    float frequency(Filter filter);
    void setFrequency(Filter filter, float hz);

private:
    engine::IAudioRecord2 &m_recorder;
};

// The player's 12-band equalizer: gains in dB, -15..+15, the lowest band first.
class PlaybackEqualizer {
public:
    using Bands = std::array<float, 12>;

    explicit PlaybackEqualizer(engine::IAudioPlayer2 &player) : m_player(player) {}
    void setOn(bool on);
    void setBands(const Bands &bands);

private:
    engine::IAudioPlayer2 &m_player;
};
