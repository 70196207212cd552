#include "engine/pulse/device_table.h"

namespace engine::pulse {

int DeviceTable::indexOfName(const QString &name) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].name == name)
            return int(i);
    return -1;
}

void DeviceTable::merge(const std::vector<DeviceInfo> &listing)
{
    for (DeviceEntry &e : m_entries)
        e.present = false;
    for (const DeviceInfo &d : listing)
        upsert(d);
}

int DeviceTable::upsert(const DeviceInfo &device)
{
    int i = indexOfName(device.name);
    if (i < 0) {
        m_entries.push_back({device.name, device.description, device.index, true});
        return size() - 1;
    }
    DeviceEntry &e = m_entries[size_t(i)];
    e.description = device.description;
    e.serverIndex = device.index;
    e.present = true;
    return i;
}

void DeviceTable::removeServerIndex(quint32 serverIndex)
{
    for (DeviceEntry &e : m_entries)
        if (e.present && e.serverIndex == serverIndex) {
            e.present = false;
            e.serverIndex = PA_INVALID_INDEX;
        }
}

void DeviceTable::markAllAbsent()
{
    for (DeviceEntry &e : m_entries) {
        e.present = false;
        e.serverIndex = PA_INVALID_INDEX;
    }
}

}  // namespace engine::pulse
