// The device and line operations the recorder and the player share, answered by their
// mixer side.
#pragma once

#include "engine/pulse/mixer_side.h"

namespace engine {

template <typename Base, typename Side = pulse::MixerSide>
class MixerForwarding : public Base {
public:
    using Base::Base;

    short GetDeviceCount() override { return side().deviceCount(); }
    short GetDevice() override { return side().device(); }
    void SetDevice(short index) override { side().setDevice(index); }
    bool GetDeviceAvailable() override { return side().deviceAvailable(); }
    QString GetDeviceName() override { return side().deviceName(); }
    short GetLineCount() override { return side().lineCount(); }
    void SetLine(short index) override { side().setLine(index); }
    QString GetLineName() override { return side().lineName(); }
    bool GetLineVolumeAvailable() override { return side().volumeAvailable(); }
    int GetLineVolume() override { return side().volume(); }
    void SetLineVolume(int volume) override { side().setVolume(volume); }
    bool GetLineBalanceAvailable() override { return side().balanceAvailable(); }
    short GetLineBalance() override { return side().balance(); }
    void SetLineBalance(short balance) override { side().setBalance(balance); }
    short GetAdvancedCount() override { return side().advancedCount(); }
    QString GetAdvancedName(short index) override { return side().advancedName(index); }
    QVariant srcAdvancedValue(short index) override { return side().advancedValue(index); }
    void SetAdvancedValue(short index, const QVariant &value) override
    {
        side().setAdvancedValue(index, value);
    }

protected:
    virtual Side &side() = 0;
};

}  // namespace engine
