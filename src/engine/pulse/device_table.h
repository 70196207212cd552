// The devices one side of a component has seen, with indexes that stay put.
//
// A device keeps the index it was first given for the life of the component: newcomers are
// appended, vanished devices stay in the table marked absent, and a device that comes back
// under the same server name gets its old index again.
#pragma once

#include "engine/pulse/pulse_types.h"

#include <QString>

#include <vector>

namespace engine::pulse {

struct DeviceEntry {
    QString name;          // server name, the key
    QString description;   // shown to the user
    quint32 serverIndex = PA_INVALID_INDEX;
    bool present = false;
};

class DeviceTable {
public:
    int size() const { return int(m_entries.size()); }
    const DeviceEntry &at(int index) const { return m_entries[size_t(index)]; }
    bool contains(int index) const { return index >= 0 && index < size(); }
    int indexOfName(const QString &name) const;

    // A full listing from the server: listed devices are present (new ones appended in the
    // server's order), every other one is absent.
    void merge(const std::vector<DeviceInfo> &listing);
    // One device seen (new or changed); returns its table index.
    int upsert(const DeviceInfo &device);
    // The server removed the device with that server index.
    void removeServerIndex(quint32 serverIndex);
    // The server is gone: nothing is present.
    void markAllAbsent();

private:
    std::vector<DeviceEntry> m_entries;
};

}  // namespace engine::pulse
