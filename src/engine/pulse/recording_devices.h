// What the recorder can record, as one device list:
//
//   0 .. S-1   the server's input devices (sources, monitors of sinks included), with the
//              indexes they keep for the life of the recorder (see DeviceTable);
//   S .. S+A-1 one entry per application playing now, "Sound of <application>" (its
//              application.name, or the media name without one), in the order they began;
//              only that application's sound is recorded;
//   S+A        "Microphone + computer sound": the server's default input and the default
//              output's monitor, mixed.
//
// Indexes after the input devices move as applications come and go, so every device also
// has an id that does not: the source's server name, "sink-input:<application>" (a second
// stream of the same application "sink-input:<application>#2", ...), or
// "mix:microphone+computer". The list is read again by deviceCount(); the index arguments
// of setDevice() refer to that reading. The current device is held by its id.
//
// Lines: an input device's lines are the MixerSide's. An application has one line, its own
// stream's volume, balance and (advanced switch "Mute") mute: the same slider the desktop's
// mixer shows for it, so it changes what is heard as well as what is recorded. The mix has
// two lines, "Microphone" and "Computer sound": their volumes are the mix levels
// (0..65535 = 0..100 %), which change only the recording.
//
// UI thread, except the change handler, which runs on the loop thread.
#pragma once

#include "engine/engine.h"
#include "engine/pulse/mixer_side.h"
#include "engine/pulse/pulse_context.h"

#include <QString>
#include <QVariant>

#include <atomic>
#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace engine::pulse {

// The two levels of the mix, per cent; written by the UI thread, read by the loop thread.
struct MixLevels {
    std::atomic<int> microphone{100};
    std::atomic<int> computer{100};
};

enum class ChoiceKind { Device, Application, Mix, Nothing };

struct ApplicationEntry {
    QString id;            // "sink-input:<application>"
    QString label;         // "Sound of <application>"
    StreamInfo stream;     // as last seen; stream.index is PA_INVALID_INDEX when it is gone
};

class RecordingDevices {
public:
    static const QString kMixId;
    static const char *const kMixName;   // translated where it is shown
    static const QString kApplicationPrefix;

    RecordingDevices(PulseContext &pulse, MixLevels &levels);
    ~RecordingDevices();
    RecordingDevices(const RecordingDevices &) = delete;
    RecordingDevices &operator=(const RecordingDevices &) = delete;

    short deviceCount();
    short device();
    void setDevice(short index);
    bool deviceAvailable();
    QString deviceName();
    QString deviceId();
    bool setDeviceById(const QString &id);

    ChoiceKind kind() const { return m_kind; }
    // For starting capture (not lock held): the current source's name, or the current
    // application's stream as it is now; nullopt when it is not there.
    std::optional<QString> currentSourceName() { return m_sources.currentDeviceName(); }
    std::optional<ApplicationEntry> currentApplication();

    short lineCount();
    void setLine(short index);
    QString lineName();
    bool volumeAvailable();
    int volume();
    void setVolume(int volume);
    bool balanceAvailable();
    short balance();
    void setBalance(short balance);
    bool selectAvailable();
    bool selected();
    void setSelected(bool selected);
    short advancedCount();
    QString advancedName(short index);
    QVariant advancedValue(short index);
    void setAdvancedValue(short index, const QVariant &value);

    // Called on the loop thread whenever the list may have changed (a device or an
    // application came or went). Set before the first use.
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

private:
    void onEvent(pa_subscription_event_type_t type, quint32 index);   // loop thread
    std::vector<ApplicationEntry> listApplications();                  // lock held
    void ensureListed();
    int applicationSlot() const;   // position of the current application in m_apps, or -1
    std::optional<ApplicationEntry> currentEntry();   // lock held: the current application now
    // Lock held; throws on a refused write: failure is the message, its placeholders the
    // subjects and, last, the server's reason ("Cannot set the volume of %1: %2").
    template <typename... Subjects>
    void check(bool ok, const QString &failure, const Subjects &...subjects)
    {
        if (refused(ok))
            throw EngineError(failure.arg(subjects..., m_pulse.errorText()));
    }
    bool refused(bool ok);   // lock held; whether a write failed in a way to report
    void notify();

    PulseContext &m_pulse;
    MixLevels &m_levels;
    MixerSide m_sources;
    int m_handler = 0;
    std::function<void()> m_changed;

    ChoiceKind m_kind = ChoiceKind::Device;
    QString m_applicationId;      // ChoiceKind::Application
    short m_rawIndex = 0;         // ChoiceKind::Nothing: what was asked for
    short m_line = 0;

    // The last reading of the list (UI thread).
    bool m_listed = false;
    int m_sourceSlots = 0;
    std::vector<ApplicationEntry> m_apps;   // the current application stays listed while gone

    std::set<quint32> m_known;    // listed sink inputs; guarded by the loop lock
};

}  // namespace engine::pulse
