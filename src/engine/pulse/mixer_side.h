// Devices and mixer lines of one side (sinks for the player, sources for the recorder).
//
// Playback side: line 0 "Master" is the sink (volume, balance, mute; one advanced switch per
// sink port, the active one on); line 1 is the program's own playback stream (its values
// are kept while no stream exists and applied when one starts); further lines are the other
// applications' streams on that sink, named by application.
// Recording side: one line per source port (selected = that port is active), or one line
// "Capture" for a source without ports; every line shows the source's volume and balance,
// and the source's mute is the line's one advanced switch ("Mute").
//
// Every read asks the server at that moment; every write returns once the server applied it.
// Without a server counts are -1 and reads are neutral (0, 50, false, empty).
// UI thread only.
#pragma once

#include "engine/engine.h"
#include "engine/pulse/device_table.h"
#include "engine/pulse/pulse_context.h"

#include <QVariant>

#include <optional>
#include <vector>

namespace engine::pulse {

// The player's own stream as mixer line 1.
struct OwnStreamLine {
    QString name;
    int volume = 65535;     // 0..65535
    short balance = 50;     // 0..100
    bool mute = false;
    int channels = 2;       // of the player's format: balance needs two
    quint32 streamIndex = PA_INVALID_INDEX;   // the sink input while a stream exists
};

class MixerSide {
public:
    // own: the player's line 1 (playback side only); not owned.
    MixerSide(PulseContext &pulse, DeviceKind kind, OwnStreamLine *own = nullptr);
    ~MixerSide();
    MixerSide(const MixerSide &) = delete;
    MixerSide &operator=(const MixerSide &) = delete;

    short deviceCount();
    short device();   // the server's default until a device is chosen
    void setDevice(short index);
    bool deviceAvailable();
    QString deviceName();
    // The current device's server name when it is present now (for opening a stream).
    std::optional<QString> currentDeviceName();
    // The current device's server name, present or not (empty past the end).
    QString deviceServerName();
    // Makes the present device of that server name the current one; false when there is none.
    bool setDeviceByName(const QString &name);

    short lineCount();
    void setLine(short index) { m_line = index; }
    short line() const { return m_line; }
    QString lineName();
    bool volumeAvailable();
    int volume();
    void setVolume(int volume);
    bool balanceAvailable();
    short balance();
    void setBalance(short balance);
    bool muteAvailable();       // playback side
    bool mute();
    void setMute(bool mute);
    bool selectAvailable();     // recording side
    bool selected();
    void setSelected(bool selected);
    short advancedCount();
    QString advancedName(short index);
    QVariant advancedValue(short index);
    void setAdvancedValue(short index, const QVariant &value);

    // Reads the own stream's values from the server into the kept line (while it exists).
    void refreshOwnLine();
    // Line 1's volume, whatever the current line is (the player's knob).
    int ownVolume();
    void setOwnVolume(int volume);

private:
    void applyOwnVolume(const QString &failure);
    enum class LineKind { None, Device, Port, Own, Other };
    struct Line {
        LineKind kind = LineKind::None;
        QString name;
        QString port;                        // Port lines
        quint32 stream = PA_INVALID_INDEX;   // Other lines
    };

    void onEvent(pa_subscription_event_type_t type, quint32 index);   // loop thread
    bool refreshDevices();          // not lock held; false without a server
    bool refreshDevicesLocked();    // lock held
    std::optional<DeviceInfo> currentDevice();   // lock held
    std::vector<Line> buildLines(const DeviceInfo &device);   // lock held
    Line currentLine(std::optional<DeviceInfo> &device);       // lock held
    // Lock held; throws on a refused write: failure is the message, its placeholders the
    // subjects and, last, the server's reason ("Cannot set the volume of %1: %2").
    template <typename... Subjects>
    void check(bool ok, const QString &failure, const Subjects &...subjects)
    {
        if (refused(ok))
            throw EngineError(failure.arg(subjects..., m_pulse.errorText()));
    }
    bool refused(bool ok);   // lock held; whether a write failed in a way to report

    PulseContext &m_pulse;
    int m_handler = 0;
    DeviceKind m_kind;
    OwnStreamLine *m_own;
    DeviceTable m_table;            // guarded by the loop lock
    short m_device = 0;
    bool m_deviceChosen = false;    // false: follow the server's default at first contact
    short m_line = 0;
    std::vector<Line> m_lines;      // as of the last lineCount(); guarded by the loop lock
    short m_linesDevice = -1;
};

}  // namespace engine::pulse
