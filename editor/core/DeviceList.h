#pragma once

#include "editor/core/DeviceRecord.h"
#include "editor/core/Observer.h"

#include <vector>

namespace Brisel {

// The controllers attached through MIDI ports: the empty record first, then
// every port pair that answered the identity question, in discovery order.
class DeviceList
{
public:
    // The process's list, created (and scanned once) on first use.
    static DeviceList &instance();

    // Scans once on construction.
    DeviceList();

    // Scans again and notifies, unless a device link is open.
    void refresh();
    int count() const { return int(m_records.size()); }
    const DeviceRecord &record(int position) const { return m_records.at(std::size_t(position)); }
    Utils::Subject &changed() { return m_changed; }

    // Pairs outputs and inputs of equal, non-empty names and probes each pair.
    static std::vector<DeviceRecord> scan();

    DeviceList(const DeviceList &) = delete;
    DeviceList &operator=(const DeviceList &) = delete;

private:
    std::vector<DeviceRecord> m_records;
    Utils::Subject m_changed;
};

} // namespace Brisel
