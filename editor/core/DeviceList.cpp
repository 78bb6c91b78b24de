#include "editor/core/DeviceList.h"

#include "editor/core/DeviceLink.h"
#include "editor/core/IdentityProbe.h"
#include "editor/core/MidiInPort.h"
#include "editor/core/MidiOutPort.h"
#include "platform/MidiSelection.h"

#include <set>

namespace Brisel {

DeviceList &DeviceList::instance()
{
    static DeviceList list;
    return list;
}

DeviceList::DeviceList() { refresh(); }

void DeviceList::refresh()
{
    if (DeviceLink::liveCount() > 0)
        return;
    std::vector<DeviceRecord> records{DeviceRecord::empty()};
    const std::vector<DeviceRecord> found = scan();
    records.insert(records.end(), found.begin(), found.end());
    m_records = std::move(records);
    m_changed.notify();
}

std::vector<DeviceRecord> DeviceList::scan()
{
    const unsigned outputs = Platform::midi().midiOutGetNumDevs();
    const unsigned inputs = Platform::midi().midiInGetNumDevs();
    std::set<unsigned> usedInputs;
    std::vector<DeviceRecord> found;
    for (unsigned o = 0; o < outputs; ++o) {
        const std::string name = Midi::MidiOutPort(o).name();
        for (unsigned i = 0; i < inputs; ++i) {
            if (usedInputs.count(i) || name.empty() || Midi::MidiInPort(i).name() != name)
                continue;
            const IdentityResult identity = probeIdentity(int(i), int(o));
            if (identity.deviceId == NotIdentifiedDeviceId)
                continue;
            found.push_back({int(i), int(o), name, identity.deviceId, identity.model, identity.firmware});
            usedInputs.insert(i);
        }
    }
    return found;
}

} // namespace Brisel
