#include "tools/vorpadctl/DeviceAccess.h"

#include "editor/core/Bank.h"
#include "editor/core/DeviceConnection.h"
#include "editor/core/DeviceList.h"

using Brisel::DeviceRecord;
using Brisel::RemoteControlManager;

std::vector<DeviceRecord> deviceList()
{
    std::vector<DeviceRecord> records{DeviceRecord::empty()};
    for (const DeviceRecord &record : Brisel::DeviceList::scan())
        records.push_back(record);
    return records;
}

bool connect(const CommandLine &line, Io &io, RemoteControlManager &manager)
{
    const std::vector<DeviceRecord> records = deviceList();
    const int position = line.device.value_or(1);
    if (records.size() <= 1) {
        fail(line, io, "no controller found");
        return false;
    }
    if (position < 1 || position >= int(records.size())) {
        fail(line, io,
             "no device at position " + std::to_string(position) + " (1.." + std::to_string(records.size() - 1) +
                 ", see 'vorpadctl devices')");
        return false;
    }
    const DeviceRecord &record = records[std::size_t(position)];
    if (!manager.connection().open(record) || !manager.isConnected()) {
        fail(line, io, record.name + ": the controller does not answer");
        return false;
    }
    return true;
}

bool downloadComplete(const CommandLine &line, Io &io, RemoteControlManager &manager)
{
    if (manager.downloadAll())
        return true;
    fail(line, io, manager.currentDevice().name + ": the controller did not answer every request");
    return false;
}

std::vector<std::vector<Byte>> storedImages(const Brisel::Bank &bank, bool zones)
{
    std::vector<std::vector<Byte>> out;
    for (int p = 0; p < StoredPatchCount; ++p) {
        const Brisel::Patch &patch = bank.patch(p);
        if (zones)
            out.emplace_back(patch.zonesImage().begin(), patch.zonesImage().end());
        else
            out.emplace_back(patch.patchImage().begin(), patch.patchImage().end());
    }
    return out;
}
