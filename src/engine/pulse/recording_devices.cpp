#include "engine/pulse/recording_devices.h"

#include "engine/engine.h"
#include "engine/pulse/mixer_scale.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>

namespace engine::pulse {

const QString RecordingDevices::kMixId = QStringLiteral("mix:microphone+computer");
const char *const RecordingDevices::kMixName =
    //: The last entry of the input list: the microphone and what the computer plays, mixed.
    QT_TRANSLATE_NOOP("RecordingDevices", "Microphone + computer sound");
const QString RecordingDevices::kApplicationPrefix = QStringLiteral("sink-input:");

namespace {

int lineFromPercent(int percent)
{
    return (std::clamp(percent, 0, 100) * 65535 + 50) / 100;
}

int percentFromLine(int volume)
{
    return (std::clamp(volume, 0, 65535) * 100 + 32767) / 65535;
}
}  // namespace

RecordingDevices::RecordingDevices(PulseContext &pulse, MixLevels &levels)
    : m_pulse(pulse), m_levels(levels), m_sources(pulse, DeviceKind::Source)
{
    PulseContext::Lock lock(m_pulse);
    m_handler =
        m_pulse.addEventHandler([this](pa_subscription_event_type_t t, quint32 i) { onEvent(t, i); });
}

RecordingDevices::~RecordingDevices()
{
    PulseContext::Lock lock(m_pulse);
    m_pulse.removeEventHandler(m_handler);
    m_pulse.cancelQueries(this);
}

void RecordingDevices::notify()
{
    if (m_changed)
        m_changed();
}

void RecordingDevices::onEvent(pa_subscription_event_type_t type, quint32 index)
{
    const auto facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    const auto what = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    if (facility == PA_SUBSCRIPTION_EVENT_SOURCE) {
        if (what == PA_SUBSCRIPTION_EVENT_NEW || what == PA_SUBSCRIPTION_EVENT_REMOVE)
            notify();
    } else if (facility == PA_SUBSCRIPTION_EVENT_SINK_INPUT) {
        if (what == PA_SUBSCRIPTION_EVENT_NEW) {
            // Only another program's stream is listed (this program's own playback is not).
            m_pulse.querySinkInput(this, index, [this, index](std::optional<StreamInfo> s) {
                if (s && s->processId != QCoreApplication::applicationPid()) {
                    m_known.insert(index);
                    notify();
                }
            });
        } else if (what == PA_SUBSCRIPTION_EVENT_REMOVE && m_known.erase(index) > 0) {
            notify();
        }
    }
}

std::vector<ApplicationEntry> RecordingDevices::listApplications()
{
    std::vector<ApplicationEntry> out;
    const auto inputs = m_pulse.sinkInputs();
    if (!inputs)
        return out;
    std::vector<StreamInfo> streams;
    const qint64 self = QCoreApplication::applicationPid();
    for (const StreamInfo &s : *inputs)
        if (s.processId != self)
            streams.push_back(s);
    // Oldest first: a newcomer never pushes an older entry down.
    std::sort(streams.begin(), streams.end(),
              [](const StreamInfo &a, const StreamInfo &b) { return a.index < b.index; });
    QHash<QString, int> seen;
    m_known.clear();
    for (const StreamInfo &s : streams) {
        // The id keeps the untranslated name; the list and the messages show the translated one.
        const QString name =
            s.application.isEmpty() ? QStringLiteral("stream %1").arg(s.index) : s.application;
        QString shown = s.application;
        if (shown.isEmpty())
            //: A playing program that gives no name; %1 is its number.
            shown = QCoreApplication::translate("RecordingDevices", "stream %1").arg(s.index);
        const int n = ++seen[name];
        ApplicationEntry e;
        e.id = kApplicationPrefix + name + (n > 1 ? QStringLiteral("#%1").arg(n) : QString());
        if (n > 1)
            //: An entry of the input list: only the sound of the program %1. %2 counts the
            //: program's streams when it plays more than one.
            e.label = QCoreApplication::translate("RecordingDevices", "Sound of %1 (%2)")
                          .arg(shown, QString::number(n));
        else
            //: An entry of the input list: only the sound of the program %1.
            e.label = QCoreApplication::translate("RecordingDevices", "Sound of %1").arg(shown);
        e.stream = s;
        e.stream.application = shown;
        out.push_back(e);
        m_known.insert(s.index);
    }
    return out;
}

short RecordingDevices::deviceCount()
{
    const short sources = m_sources.deviceCount();
    if (sources < 0) {
        m_listed = false;
        return -1;
    }
    PulseContext::Lock lock(m_pulse);
    std::vector<ApplicationEntry> apps = listApplications();
    if (m_kind == ChoiceKind::Application &&
        std::none_of(apps.begin(), apps.end(),
                     [this](const ApplicationEntry &e) { return e.id == m_applicationId; })) {
        // The chosen application is gone: it stays listed, unavailable, as a device does.
        const int slot = applicationSlot();
        ApplicationEntry gone = slot >= 0 ? m_apps[size_t(slot)] : ApplicationEntry{m_applicationId, {}, {}};
        gone.stream.index = PA_INVALID_INDEX;
        apps.push_back(gone);
    }
    m_apps = std::move(apps);
    m_sourceSlots = sources + 1;
    m_listed = true;
    return short(std::min<int>(m_sourceSlots + int(m_apps.size()), 32767));
}

void RecordingDevices::ensureListed()
{
    if (!m_listed)
        deviceCount();
}

int RecordingDevices::applicationSlot() const
{
    for (size_t i = 0; i < m_apps.size(); ++i)
        if (m_apps[i].id == m_applicationId)
            return int(i);
    return -1;
}

short RecordingDevices::device()
{
    switch (m_kind) {
    case ChoiceKind::Device: {
        const short d = m_sources.device();
        if (m_listed && d >= m_sourceSlots)
            deviceCount();   // a source that came after the last reading
        return d;
    }
    case ChoiceKind::Application: {
        ensureListed();
        int slot = applicationSlot();
        if (slot < 0) {
            deviceCount();
            slot = applicationSlot();
        }
        return slot < 0 ? m_rawIndex : short(m_sourceSlots + slot);
    }
    case ChoiceKind::Mix:
        ensureListed();
        return short(m_sourceSlots + int(m_apps.size()));
    case ChoiceKind::Nothing:
        break;
    }
    return m_rawIndex;
}

void RecordingDevices::setDevice(short index)
{
    ensureListed();
    m_rawIndex = index;
    const int apps = int(m_apps.size());
    if (!m_listed || (index >= 0 && index < m_sourceSlots)) {
        m_kind = ChoiceKind::Device;
        m_sources.setDevice(index);
    } else if (index >= m_sourceSlots && index < m_sourceSlots + apps) {
        m_kind = ChoiceKind::Application;
        m_applicationId = m_apps[size_t(index - m_sourceSlots)].id;
    } else if (index == m_sourceSlots + apps) {
        m_kind = ChoiceKind::Mix;
    } else {
        m_kind = ChoiceKind::Nothing;
        m_sources.setDevice(index);   // past its table: it answers "nothing there"
    }
}

std::optional<ApplicationEntry> RecordingDevices::currentEntry()
{
    if (m_kind != ChoiceKind::Application)
        return std::nullopt;
    for (ApplicationEntry &e : listApplications())
        if (e.id == m_applicationId)
            return e;
    return std::nullopt;
}

std::optional<ApplicationEntry> RecordingDevices::currentApplication()
{
    if (m_kind != ChoiceKind::Application || !m_pulse.ensureConnected())
        return std::nullopt;
    PulseContext::Lock lock(m_pulse);
    return currentEntry();
}

bool RecordingDevices::deviceAvailable()
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.deviceAvailable();
    case ChoiceKind::Application:
        return currentApplication().has_value();
    case ChoiceKind::Mix: {
        if (!m_pulse.ensureConnected())
            return false;
        PulseContext::Lock lock(m_pulse);
        const auto server = m_pulse.serverInfo();
        return server && (m_pulse.device(DeviceKind::Source, server->defaultSource) ||
                          m_pulse.device(DeviceKind::Sink, server->defaultSink));
    }
    }
    return false;
}

QString RecordingDevices::deviceName()
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.deviceName();
    case ChoiceKind::Application: {
        ensureListed();
        const int slot = applicationSlot();
        return slot >= 0 ? m_apps[size_t(slot)].label : QString();
    }
    case ChoiceKind::Mix:
        return m_pulse.ensureConnected() ? QCoreApplication::translate("RecordingDevices", kMixName)
                                         : QString();
    }
    return {};
}

QString RecordingDevices::deviceId()
{
    switch (m_kind) {
    case ChoiceKind::Device:
        return m_sources.deviceServerName();
    case ChoiceKind::Application:
        return m_applicationId;
    case ChoiceKind::Mix:
        return kMixId;
    case ChoiceKind::Nothing:
        break;
    }
    return {};
}

bool RecordingDevices::setDeviceById(const QString &id)
{
    if (id.isEmpty() || deviceCount() < 0)
        return false;
    if (id == kMixId) {
        m_kind = ChoiceKind::Mix;
        return true;
    }
    if (id.startsWith(kApplicationPrefix)) {
        for (const ApplicationEntry &e : m_apps) {
            if (e.id == id && e.stream.index != PA_INVALID_INDEX) {
                m_kind = ChoiceKind::Application;
                m_applicationId = id;
                return true;
            }
        }
        return false;
    }
    if (!m_sources.setDeviceByName(id))
        return false;
    m_kind = ChoiceKind::Device;
    return true;
}

bool RecordingDevices::refused(bool ok)
{
    if (ok || !m_pulse.isReady())
        return false;   // no server: writes are quietly dropped, like reads are neutral
    if (pa_context_errno(m_pulse.context()) == PA_ERR_NOENTITY)
        return false;   // the application stopped meanwhile
    return true;
}

// Lines. Input devices answer through their MixerSide; an application's one line and the
// mix's two are answered here.

short RecordingDevices::lineCount()
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.lineCount();
    case ChoiceKind::Application: {
        if (!m_pulse.ensureConnected())
            return -1;
        PulseContext::Lock lock(m_pulse);
        return currentEntry() ? 0 : -1;
    }
    case ChoiceKind::Mix:
        return 1;
    }
    return -1;
}

void RecordingDevices::setLine(short index)
{
    m_line = index;
    m_sources.setLine(index);
}

QString RecordingDevices::lineName()
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.lineName();
    case ChoiceKind::Application: {
        ensureListed();
        const int slot = applicationSlot();
        return m_line == 0 && slot >= 0 ? m_apps[size_t(slot)].stream.application : QString();
    }
    case ChoiceKind::Mix:
        if (m_line == 0)
            //: The line of "Microphone + computer sound" that holds the microphone's level.
            return QCoreApplication::translate("RecordingDevices", "Microphone");
        if (m_line == 1)
            //: The line of "Microphone + computer sound" that holds the computer sound's level.
            return QCoreApplication::translate("RecordingDevices", "Computer sound");
        break;
    }
    return {};
}

bool RecordingDevices::volumeAvailable()
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.volumeAvailable();
    case ChoiceKind::Application: {
        if (m_line != 0 || !m_pulse.ensureConnected())
            return false;
        PulseContext::Lock lock(m_pulse);
        const auto e = currentEntry();
        return e && e->stream.volumeWritable;
    }
    case ChoiceKind::Mix:
        return m_line == 0 || m_line == 1;
    }
    return false;
}

int RecordingDevices::volume()
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.volume();
    case ChoiceKind::Application: {
        if (m_line != 0 || !m_pulse.ensureConnected())
            return 0;
        PulseContext::Lock lock(m_pulse);
        const auto e = currentEntry();
        return e ? lineVolume(e->stream.volume) : 0;
    }
    case ChoiceKind::Mix:
        if (m_line == 0)
            return lineFromPercent(m_levels.microphone.load());
        if (m_line == 1)
            return lineFromPercent(m_levels.computer.load());
        break;
    }
    return 0;
}

void RecordingDevices::setVolume(int volume)
{
    volume = std::clamp(volume, 0, 65535);
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        m_sources.setVolume(volume);
        return;
    case ChoiceKind::Application: {
        if (m_line != 0 || !m_pulse.ensureConnected())
            return;
        PulseContext::Lock lock(m_pulse);
        if (const auto e = currentEntry())
            check(m_pulse.setSinkInputVolume(e->stream.index, withLineVolume(e->stream.volume, volume)),
                  //: %1 a playing program, %2 the sound server's reason.
                  QCoreApplication::translate("RecordingDevices", "Cannot set the volume of %1: %2"),
                  e->stream.application);
        return;
    }
    case ChoiceKind::Mix:
        if (m_line == 0)
            m_levels.microphone = percentFromLine(volume);
        else if (m_line == 1)
            m_levels.computer = percentFromLine(volume);
        return;
    }
}

bool RecordingDevices::balanceAvailable()
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.balanceAvailable();
    case ChoiceKind::Application: {
        if (m_line != 0 || !m_pulse.ensureConnected())
            return false;
        PulseContext::Lock lock(m_pulse);
        const auto e = currentEntry();
        return e && e->stream.volumeWritable && pulse::balanceAvailable(e->stream.channelMap);
    }
    case ChoiceKind::Mix:
        break;
    }
    return false;
}

short RecordingDevices::balance()
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.balance();
    case ChoiceKind::Application: {
        if (m_line != 0 || !m_pulse.ensureConnected())
            return 50;
        PulseContext::Lock lock(m_pulse);
        const auto e = currentEntry();
        return e ? lineBalance(e->stream.volume, e->stream.channelMap) : short(50);
    }
    case ChoiceKind::Mix:
        break;
    }
    return 50;
}

void RecordingDevices::setBalance(short balance)
{
    balance = short(std::clamp<int>(balance, 0, 100));
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        m_sources.setBalance(balance);
        return;
    case ChoiceKind::Application: {
        if (m_line != 0 || !m_pulse.ensureConnected())
            return;
        PulseContext::Lock lock(m_pulse);
        if (const auto e = currentEntry())
            check(m_pulse.setSinkInputVolume(
                      e->stream.index,
                      withLineBalance(e->stream.volume, e->stream.channelMap, balance)),
                  //: %1 a playing program, %2 the sound server's reason.
                  QCoreApplication::translate("RecordingDevices", "Cannot set the balance of %1: %2"),
                  e->stream.application);
        return;
    }
    case ChoiceKind::Mix:
        return;
    }
}

bool RecordingDevices::selectAvailable()
{
    return (m_kind == ChoiceKind::Device || m_kind == ChoiceKind::Nothing) &&
           m_sources.selectAvailable();
}

bool RecordingDevices::selected()
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.selected();
    case ChoiceKind::Application:
        // The application's one line is what is recorded, as a source's "Capture" is.
        return m_line == 0 && lineCount() == 0;
    case ChoiceKind::Mix:
        return m_line == 0 || m_line == 1;
    }
    return false;
}

void RecordingDevices::setSelected(bool selected)
{
    if (m_kind == ChoiceKind::Device || m_kind == ChoiceKind::Nothing)
        m_sources.setSelected(selected);
}

short RecordingDevices::advancedCount()
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.advancedCount();
    case ChoiceKind::Application:
        return m_line == 0 && lineCount() == 0 ? 0 : -1;
    case ChoiceKind::Mix:
        break;
    }
    return -1;
}

QString RecordingDevices::advancedName(short index)
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.advancedName(index);
    case ChoiceKind::Application:
        //: The switch that silences a playing program.
        return index == 0 && advancedCount() == 0 ? QCoreApplication::translate("RecordingDevices", "Mute")
                                                  : QString();
    case ChoiceKind::Mix:
        break;
    }
    return {};
}

QVariant RecordingDevices::advancedValue(short index)
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        return m_sources.advancedValue(index);
    case ChoiceKind::Application: {
        if (index != 0 || m_line != 0 || !m_pulse.ensureConnected())
            return QVariant(false);
        PulseContext::Lock lock(m_pulse);
        const auto e = currentEntry();
        return QVariant(e && e->stream.mute);
    }
    case ChoiceKind::Mix:
        break;
    }
    return QVariant(false);
}

void RecordingDevices::setAdvancedValue(short index, const QVariant &value)
{
    switch (m_kind) {
    case ChoiceKind::Device:
    case ChoiceKind::Nothing:
        m_sources.setAdvancedValue(index, value);
        return;
    case ChoiceKind::Application: {
        if (index != 0 || m_line != 0 || !m_pulse.ensureConnected())
            return;
        PulseContext::Lock lock(m_pulse);
        if (const auto e = currentEntry())
            check(m_pulse.setSinkInputMute(e->stream.index, value.toBool()),
                  //: %1 a playing program, %2 the sound server's reason.
                  QCoreApplication::translate("RecordingDevices", "Cannot mute %1: %2"),
                  e->stream.application);
        return;
    }
    case ChoiceKind::Mix:
        return;
    }
}

}  // namespace engine::pulse
