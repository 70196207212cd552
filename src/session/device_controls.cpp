#include "session/device_controls.h"

#include "engine/engine.h"

MixerLines::MixerLines(engine::IAudioRecord2 &recorder, QObject *parent)
    : QObject(parent), m_side(recorder), m_recorder(&recorder)
{
    connect(&recorder, &engine::IAudioRecord2::OnDevicesChanged, this, &MixerLines::devicesChanged);
}

MixerLines::MixerLines(engine::IAudioPlayer2 &player, QObject *parent) : QObject(parent), m_side(player), m_player(&player) {}

int MixerLines::highestDevice() { return m_side.GetDeviceCount(); }
int MixerLines::device() { return m_side.GetDevice(); }
void MixerLines::setDevice(int index) { m_side.SetDevice(short(index)); }
bool MixerLines::deviceAvailable() { return m_side.GetDeviceAvailable(); }
QString MixerLines::deviceName() { return m_side.GetDeviceName(); }
QString MixerLines::deviceId() { return m_recorder ? m_recorder->GetDeviceId() : m_side.GetDeviceName(); }
bool MixerLines::setDeviceById(const QString &id) { return m_recorder && m_recorder->SetDeviceById(id); }
bool MixerLines::isMix() { return m_recorder && m_recorder->GetDeviceId() == QLatin1String("mix:microphone+computer"); }

int MixerLines::highestLine() { return m_side.GetLineCount(); }
void MixerLines::setLine(int index) { m_side.SetLine(short(index)); }
QString MixerLines::lineName() { return m_side.GetLineName(); }
bool MixerLines::volumeAvailable() { return m_side.GetLineVolumeAvailable(); }
int MixerLines::volume() { return m_side.GetLineVolume(); }
void MixerLines::setVolume(int volume) { m_side.SetLineVolume(volume); }
bool MixerLines::balanceAvailable() { return m_side.GetLineBalanceAvailable(); }
int MixerLines::balance() { return m_side.GetLineBalance(); }
void MixerLines::setBalance(int balance) { m_side.SetLineBalance(short(balance)); }

bool MixerLines::switchAvailable()
{
    return m_recorder ? m_recorder->GetLineSelectAvailable() : m_player->GetLineMuteAvailable();
}

bool MixerLines::switchedOn()
{
    return m_recorder ? m_recorder->GetLineSelected() : m_player->GetLineMute();
}

void MixerLines::setSwitchedOn(bool on)
{
    if (m_recorder)
        m_recorder->SetLineSelected(on);
    else
        m_player->SetLineMute(on);
}

int MixerLines::highestAdvanced() { return m_side.GetAdvancedCount(); }
QString MixerLines::advancedName(int index) { return m_side.GetAdvancedName(short(index)); }
QVariant MixerLines::advancedValue(int index) { return m_side.srcAdvancedValue(short(index)); }
void MixerLines::setAdvancedValue(int index, const QVariant &value) { m_side.SetAdvancedValue(short(index), value); }

int MixerLines::microphoneLevel() { return m_recorder ? m_recorder->GetMicrophoneMixLevel() : 100; }
int MixerLines::computerLevel() { return m_recorder ? m_recorder->GetComputerMixLevel() : 100; }

void MixerLines::setMixLevels(int microphonePercent, int computerPercent)
{
    if (m_recorder)
        m_recorder->SetMixLevels(microphonePercent, computerPercent);
}

bool RecordingFilters::isOn(Filter filter)
{
    switch (filter) {
    case Filter::Notch:
        return m_recorder.GetNotchEnabled();
    case Filter::HighPass:
        return m_recorder.GetHighPassEnabled();
    case Filter::LowPass:
        break;
    }
    return m_recorder.GetLowPassEnabled();
}

void RecordingFilters::setOn(Filter filter, bool on)
{
    switch (filter) {
    case Filter::Notch:
        m_recorder.SetNotchEnabled(on);
        return;
    case Filter::HighPass:
        m_recorder.SetHighPassEnabled(on);
        return;
    case Filter::LowPass:
        m_recorder.SetLowPassEnabled(on);
        return;
    }
}

float RecordingFilters::frequency(Filter filter)
{
    switch (filter) {
    case Filter::Notch:
        return m_recorder.GetNotchFrequency();
    case Filter::HighPass:
        return m_recorder.GetHighPassFrequency();
    case Filter::LowPass:
        break;
    }
    return m_recorder.GetLowPassFrequency();
}

void RecordingFilters::setFrequency(Filter filter, float hz)
{
    switch (filter) {
    case Filter::Notch:
        m_recorder.SetNotchFrequency(hz);
        return;
    case Filter::HighPass:
        m_recorder.SetHighPassFrequency(hz);
        return;
    case Filter::LowPass:
        m_recorder.SetLowPassFrequency(hz);
        return;
    }
}

void PlaybackEqualizer::setOn(bool on)
{
    m_player.SetEqualizerEnabled(on);
}

void PlaybackEqualizer::setBands(const Bands &bands)
{
    m_player.SetEqualizerBands(bands);
}
