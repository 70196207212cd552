#include "engine/pulse/mixer_side.h"

#include "engine/engine.h"
#include "engine/pulse/mixer_scale.h"

#include <QCoreApplication>

namespace engine::pulse {

MixerSide::MixerSide(PulseContext &pulse, DeviceKind kind, OwnStreamLine *own)
    : m_pulse(pulse), m_kind(kind), m_own(kind == DeviceKind::Sink ? own : nullptr)
{
    PulseContext::Lock lock(m_pulse);
    m_handler =
        m_pulse.addEventHandler([this](pa_subscription_event_type_t t, quint32 i) { onEvent(t, i); });
}

MixerSide::~MixerSide()
{
    PulseContext::Lock lock(m_pulse);
    m_pulse.removeEventHandler(m_handler);
    m_pulse.cancelQueries(this);
}

void MixerSide::onEvent(pa_subscription_event_type_t type, quint32 index)
{
    const auto facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    if (facility == PA_SUBSCRIPTION_EVENT_SINK_INPUT) {
        // An application's stream ended: its line stays (the panels count on the indexes)
        // but addresses nothing any more, so it reads neutral and takes no writes.
        if ((type & PA_SUBSCRIPTION_EVENT_TYPE_MASK) == PA_SUBSCRIPTION_EVENT_REMOVE)
            for (Line &l : m_lines)
                if (l.kind == LineKind::Other && l.stream == index)
                    l.stream = PA_INVALID_INDEX;
        return;
    }
    const auto wanted = m_kind == DeviceKind::Sink ? PA_SUBSCRIPTION_EVENT_SINK
                                                   : PA_SUBSCRIPTION_EVENT_SOURCE;
    if (facility != wanted)
        return;
    if ((type & PA_SUBSCRIPTION_EVENT_TYPE_MASK) == PA_SUBSCRIPTION_EVENT_REMOVE) {
        m_table.removeServerIndex(index);
        return;
    }
    // New or changed: ask for that one device and fold it into the table.
    m_pulse.queryDevice(this, m_kind, index, [this](std::optional<DeviceInfo> d) {
        if (d)
            m_table.upsert(*d);
    });
}

bool MixerSide::refreshDevices()
{
    const bool connected = m_pulse.ensureConnected();
    PulseContext::Lock lock(m_pulse);
    if (!connected) {
        m_table.markAllAbsent();
        return false;
    }
    return refreshDevicesLocked();
}

bool MixerSide::refreshDevicesLocked()
{
    const auto listing = m_pulse.devices(m_kind);
    if (!listing) {
        m_table.markAllAbsent();
        return false;
    }
    m_table.merge(*listing);
    if (!m_deviceChosen) {
        if (const auto server = m_pulse.serverInfo()) {
            const int i = m_table.indexOfName(m_kind == DeviceKind::Sink ? server->defaultSink
                                                                         : server->defaultSource);
            if (i >= 0)
                m_device = short(i);
            m_deviceChosen = true;
        }
    }
    return true;
}

short MixerSide::deviceCount()
{
    if (!refreshDevices())
        return -1;
    PulseContext::Lock lock(m_pulse);
    return short(std::min(m_table.size(), 32767) - 1);
}

short MixerSide::device()
{
    if (!m_deviceChosen)
        refreshDevices();
    return m_device;
}

void MixerSide::setDevice(short index)
{
    PulseContext::Lock lock(m_pulse);
    m_device = index;
    m_deviceChosen = true;
    m_lines.clear();
    m_linesDevice = -1;
}

std::optional<DeviceInfo> MixerSide::currentDevice()
{
    if (!m_pulse.isReady())
        return std::nullopt;
    if (m_table.size() == 0 || !m_deviceChosen)
        refreshDevicesLocked();   // first contact: learn the devices and the default
    if (!m_table.contains(m_device))
        return std::nullopt;
    const auto d = m_pulse.device(m_kind, m_table.at(m_device).name);
    if (d)
        m_table.upsert(*d);
    else
        m_table.removeServerIndex(m_table.at(m_device).serverIndex);
    return d;
}

QString MixerSide::deviceServerName()
{
    refreshDevices();
    PulseContext::Lock lock(m_pulse);
    return m_table.contains(m_device) ? m_table.at(m_device).name : QString();
}

bool MixerSide::setDeviceByName(const QString &name)
{
    if (!refreshDevices())
        return false;
    PulseContext::Lock lock(m_pulse);
    const int i = m_table.indexOfName(name);
    if (i < 0 || !m_table.at(i).present)
        return false;
    m_device = short(i);
    m_deviceChosen = true;
    m_lines.clear();
    m_linesDevice = -1;
    return true;
}

bool MixerSide::deviceAvailable()
{
    return currentDeviceName().has_value();
}

QString MixerSide::deviceName()
{
    if (!refreshDevices())
        return {};
    PulseContext::Lock lock(m_pulse);
    return m_table.contains(m_device) ? m_table.at(m_device).description : QString();
}

std::optional<QString> MixerSide::currentDeviceName()
{
    if (!refreshDevices())
        return std::nullopt;
    PulseContext::Lock lock(m_pulse);
    const auto d = currentDevice();
    return d ? std::optional<QString>(d->name) : std::nullopt;
}

std::vector<MixerSide::Line> MixerSide::buildLines(const DeviceInfo &device)
{
    std::vector<Line> lines;
    if (m_kind == DeviceKind::Source) {
        for (const PortInfo &p : device.ports)
            lines.push_back({LineKind::Port, p.description.isEmpty() ? p.name : p.description,
                             p.name});
        if (lines.empty())
            //: The one line of a recording device that has no inputs of its own to choose.
            lines.push_back({LineKind::Device, QCoreApplication::translate("MixerSide", "Capture")});
        return lines;
    }
    //: The line of an output device's own volume, beside the programs playing on it.
    lines.push_back({LineKind::Device, QCoreApplication::translate("MixerSide", "Master")});
    lines.push_back({LineKind::Own, m_own ? m_own->name : QString()});
    if (const auto inputs = m_pulse.sinkInputs()) {
        for (const StreamInfo &s : *inputs) {
            if (s.sink != device.index || (m_own && s.index == m_own->streamIndex))
                continue;
            lines.push_back({LineKind::Other, s.application, {}, s.index});
        }
    }
    return lines;
}

short MixerSide::lineCount()
{
    if (!refreshDevices())
        return -1;
    PulseContext::Lock lock(m_pulse);
    const auto d = currentDevice();
    if (!d)
        return -1;
    m_lines = buildLines(*d);
    m_linesDevice = m_device;
    return short(m_lines.size()) - 1;
}

MixerSide::Line MixerSide::currentLine(std::optional<DeviceInfo> &device)
{
    device = currentDevice();
    if (m_kind == DeviceKind::Sink && m_line == 1)
        return {LineKind::Own, m_own ? m_own->name : QString()};
    if (!device)
        return {};
    if (m_linesDevice != m_device || m_lines.empty()) {
        m_lines = buildLines(*device);
        m_linesDevice = m_device;
    }
    if (m_line < 0 || m_line >= short(m_lines.size()))
        return {};
    return m_lines[size_t(m_line)];
}

bool MixerSide::refused(bool ok)
{
    if (ok || !m_pulse.isReady())
        return false;   // no server: writes are quietly dropped, like reads are neutral
    const int error = pa_context_errno(m_pulse.context());
    if (error == PA_ERR_NOENTITY)
        return false;   // the stream or device went away meanwhile
    return true;
}

void MixerSide::refreshOwnLine()
{
    if (!m_own || m_own->streamIndex == PA_INVALID_INDEX || !m_pulse.ensureConnected())
        return;
    PulseContext::Lock lock(m_pulse);
    if (const auto s = m_pulse.sinkInput(m_own->streamIndex)) {
        m_own->volume = lineVolume(s->volume);
        if (pulse::balanceAvailable(s->channelMap))
            m_own->balance = lineBalance(s->volume, s->channelMap);
        m_own->mute = s->mute;
    }
}

int MixerSide::ownVolume()
{
    const short saved = m_line;
    m_line = 1;
    const int v = volume();
    m_line = saved;
    return v;
}

void MixerSide::setOwnVolume(int volume)
{
    const short saved = m_line;
    m_line = 1;
    try {
        setVolume(volume);
    } catch (...) {
        m_line = saved;
        throw;
    }
    m_line = saved;
}

QString MixerSide::lineName()
{
    if (!refreshDevices())
        return m_kind == DeviceKind::Sink && m_line == 1 && m_own ? m_own->name : QString();
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    return currentLine(d).name;
}

bool MixerSide::volumeAvailable()
{
    const bool connected = m_pulse.ensureConnected();
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = connected ? currentLine(d) : Line{};
    switch (l.kind) {
    case LineKind::Device:
    case LineKind::Port:
    case LineKind::Own:
        return true;
    case LineKind::Other: {
        const auto s = m_pulse.sinkInput(l.stream);
        return s && s->volumeWritable;
    }
    case LineKind::None:
        break;
    }
    return m_kind == DeviceKind::Sink && m_line == 1 && m_own;   // kept without a server
}

int MixerSide::volume()
{
    if (m_kind == DeviceKind::Sink && m_line == 1 && m_own) {
        refreshOwnLine();
        return m_own->volume;
    }
    if (!m_pulse.ensureConnected())
        return 0;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if ((l.kind == LineKind::Device || l.kind == LineKind::Port) && d)
        return lineVolume(d->volume);
    if (l.kind == LineKind::Other)
        if (const auto s = m_pulse.sinkInput(l.stream))
            return lineVolume(s->volume);
    return 0;
}

// This program's own stream takes the kept volume and balance at once, when it exists.
void MixerSide::applyOwnVolume(const QString &failure)
{
    if (m_own->streamIndex == PA_INVALID_INDEX || !m_pulse.ensureConnected())
        return;
    PulseContext::Lock lock(m_pulse);
    if (const auto s = m_pulse.sinkInput(m_own->streamIndex))
        check(m_pulse.setSinkInputVolume(s->index, makeVolume(s->channelMap, m_own->volume, m_own->balance)),
              failure);
}

void MixerSide::setVolume(int volume)
{
    volume = std::clamp(volume, 0, 65535);
    if (m_kind == DeviceKind::Sink && m_line == 1 && m_own) {
        m_own->volume = volume;
        //: %1 is the sound server's reason.
        applyOwnVolume(QCoreApplication::translate("MixerSide", "Cannot set the playback volume: %1"));
        return;
    }
    if (!m_pulse.ensureConnected())
        return;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if ((l.kind == LineKind::Device || l.kind == LineKind::Port) && d) {
        check(m_pulse.setDeviceVolume(m_kind, d->index, withLineVolume(d->volume, volume)),
              //: %1 a device or an application, %2 the sound server's reason.
              QCoreApplication::translate("MixerSide", "Cannot set the volume of %1: %2"), d->description);
    } else if (l.kind == LineKind::Other) {
        if (const auto s = m_pulse.sinkInput(l.stream))
            check(m_pulse.setSinkInputVolume(s->index, withLineVolume(s->volume, volume)),
                  QCoreApplication::translate("MixerSide", "Cannot set the volume of %1: %2"), s->application);
    }
}

bool MixerSide::balanceAvailable()
{
    if (m_kind == DeviceKind::Sink && m_line == 1 && m_own)
        return m_own->channels >= 2;
    if (!m_pulse.ensureConnected())
        return false;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if ((l.kind == LineKind::Device || l.kind == LineKind::Port) && d)
        return pulse::balanceAvailable(d->channelMap);
    if (l.kind == LineKind::Other)
        if (const auto s = m_pulse.sinkInput(l.stream))
            return s->volumeWritable && pulse::balanceAvailable(s->channelMap);
    return false;
}

short MixerSide::balance()
{
    if (m_kind == DeviceKind::Sink && m_line == 1 && m_own) {
        refreshOwnLine();
        return m_own->balance;
    }
    if (!m_pulse.ensureConnected())
        return 50;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if ((l.kind == LineKind::Device || l.kind == LineKind::Port) && d)
        return lineBalance(d->volume, d->channelMap);
    if (l.kind == LineKind::Other)
        if (const auto s = m_pulse.sinkInput(l.stream))
            return lineBalance(s->volume, s->channelMap);
    return 50;
}

void MixerSide::setBalance(short balance)
{
    balance = short(std::clamp<int>(balance, 0, 100));
    if (m_kind == DeviceKind::Sink && m_line == 1 && m_own) {
        m_own->balance = balance;
        //: %1 is the sound server's reason.
        applyOwnVolume(QCoreApplication::translate("MixerSide", "Cannot set the playback balance: %1"));
        return;
    }
    if (!m_pulse.ensureConnected())
        return;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if ((l.kind == LineKind::Device || l.kind == LineKind::Port) && d) {
        check(m_pulse.setDeviceVolume(m_kind, d->index,
                                      withLineBalance(d->volume, d->channelMap, balance)),
              //: %1 a device or an application, %2 the sound server's reason.
              QCoreApplication::translate("MixerSide", "Cannot set the balance of %1: %2"), d->description);
    } else if (l.kind == LineKind::Other) {
        if (const auto s = m_pulse.sinkInput(l.stream))
            check(m_pulse.setSinkInputVolume(s->index,
                                             withLineBalance(s->volume, s->channelMap, balance)),
                  QCoreApplication::translate("MixerSide", "Cannot set the balance of %1: %2"), s->application);
    }
}

bool MixerSide::muteAvailable()
{
    if (m_kind != DeviceKind::Sink)
        return false;
    if (m_line == 1 && m_own)
        return true;
    if (!m_pulse.ensureConnected())
        return false;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if (l.kind == LineKind::Device)
        return d.has_value();
    if (l.kind == LineKind::Other)
        return m_pulse.sinkInput(l.stream).has_value();
    return false;
}

bool MixerSide::mute()
{
    if (m_kind != DeviceKind::Sink)
        return false;
    if (m_line == 1 && m_own) {
        refreshOwnLine();
        return m_own->mute;
    }
    if (!m_pulse.ensureConnected())
        return false;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if (l.kind == LineKind::Device && d)
        return d->mute;
    if (l.kind == LineKind::Other)
        if (const auto s = m_pulse.sinkInput(l.stream))
            return s->mute;
    return false;
}

void MixerSide::setMute(bool mute)
{
    if (m_kind != DeviceKind::Sink)
        return;
    if (m_line == 1 && m_own) {
        m_own->mute = mute;
        if (m_own->streamIndex == PA_INVALID_INDEX || !m_pulse.ensureConnected())
            return;
        PulseContext::Lock lock(m_pulse);
        check(m_pulse.setSinkInputMute(m_own->streamIndex, mute),
              //: %1 is the sound server's reason.
              QCoreApplication::translate("MixerSide", "Cannot mute the playback: %1"));
        return;
    }
    if (!m_pulse.ensureConnected())
        return;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if (l.kind == LineKind::Device && d)
        check(m_pulse.setDeviceMute(m_kind, d->index, mute),
              //: %1 a device or an application, %2 the sound server's reason.
              QCoreApplication::translate("MixerSide", "Cannot mute %1: %2"), d->description);
    else if (l.kind == LineKind::Other)
        check(m_pulse.setSinkInputMute(l.stream, mute),
              QCoreApplication::translate("MixerSide", "Cannot mute %1: %2"), l.name);
}

bool MixerSide::selectAvailable()
{
    if (m_kind != DeviceKind::Source || !m_pulse.ensureConnected())
        return false;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    return currentLine(d).kind == LineKind::Port;
}

bool MixerSide::selected()
{
    if (m_kind != DeviceKind::Source || !m_pulse.ensureConnected())
        return false;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if (l.kind == LineKind::Port && d)
        return d->activePort == l.port;
    return l.kind == LineKind::Device;   // "Capture": the source's only input
}

void MixerSide::setSelected(bool selected)
{
    // A source always has one active port: selecting one deselects the others, and
    // deselecting the active one leaves it active.
    if (m_kind != DeviceKind::Source || !selected || !m_pulse.ensureConnected())
        return;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if (l.kind == LineKind::Port && d && d->activePort != l.port)
        check(m_pulse.setDevicePort(m_kind, d->index, l.port),
              //: %1 an input of a recording device ("Microphone"), %2 the sound server's reason.
              QCoreApplication::translate("MixerSide", "Cannot select %1: %2"), l.name);
}

short MixerSide::advancedCount()
{
    if (!m_pulse.ensureConnected())
        return -1;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if (!d)
        return -1;
    if (m_kind == DeviceKind::Source)
        return (l.kind == LineKind::Port || l.kind == LineKind::Device) ? 0 : -1;
    return l.kind == LineKind::Device ? short(d->ports.size()) - 1 : -1;
}

QString MixerSide::advancedName(short index)
{
    if (!m_pulse.ensureConnected())
        return {};
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if (!d)
        return {};
    if (m_kind == DeviceKind::Source)
        //: The switch that silences a recording device.
        return index == 0 && l.kind != LineKind::None ? QCoreApplication::translate("MixerSide", "Mute")
                                                      : QString();
    if (l.kind == LineKind::Device && index >= 0 && index < d->ports.size()) {
        const PortInfo &p = d->ports[index];
        return p.description.isEmpty() ? p.name : p.description;
    }
    return {};
}

QVariant MixerSide::advancedValue(short index)
{
    if (!m_pulse.ensureConnected())
        return QVariant(false);
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if (!d)
        return QVariant(false);
    if (m_kind == DeviceKind::Source)
        return QVariant(index == 0 && l.kind != LineKind::None && d->mute);
    if (l.kind == LineKind::Device && index >= 0 && index < d->ports.size())
        return QVariant(d->ports[index].name == d->activePort);
    return QVariant(false);
}

void MixerSide::setAdvancedValue(short index, const QVariant &value)
{
    if (!m_pulse.ensureConnected())
        return;
    PulseContext::Lock lock(m_pulse);
    std::optional<DeviceInfo> d;
    const Line l = currentLine(d);
    if (!d)
        return;
    const bool on = value.toBool();
    if (m_kind == DeviceKind::Source) {
        if (index == 0 && l.kind != LineKind::None)
            check(m_pulse.setDeviceMute(m_kind, d->index, on),
                  //: %1 a device or an application, %2 the sound server's reason.
                  QCoreApplication::translate("MixerSide", "Cannot mute %1: %2"), d->description);
        return;
    }
    // Port switches: switching one on makes it the sink's active port; a sink cannot be
    // left without one, so switching the active one off changes nothing.
    if (l.kind == LineKind::Device && index >= 0 && index < d->ports.size() && on &&
        d->ports[index].name != d->activePort)
        check(m_pulse.setDevicePort(m_kind, d->index, d->ports[index].name),
              //: %1 an output device, %2 one of its outputs ("Headphones"), %3 the sound
              //: server's reason.
              QCoreApplication::translate("MixerSide", "Cannot switch %1 to %2: %3"), d->description,
              d->ports[index].description);
}

}  // namespace engine::pulse
