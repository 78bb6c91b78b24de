#pragma once

#include "editor/core/DeviceRecord.h"
#include "editor/core/MidiInPort.h"
#include "editor/core/MidiOutPort.h"
#include "editor/core/SendAlgorithm.h"

#include <memory>

namespace Brisel {

// The open port pair of one device with the algorithm that runs exchanges on it.
class DeviceLink
{
public:
    // Opens the output, then the input; when either fails both are closed and
    // the link stays, its sends failing silently.
    explicit DeviceLink(const DeviceRecord &record);
    ~DeviceLink();

    const DeviceRecord &record() const { return m_record; }
    void submit(std::unique_ptr<SysexMessage> request);

    // Links alive in this process; discovery does not scan while there is one,
    // because probing would open the device's ports a second time.
    static int liveCount();

    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

private:
    DeviceRecord m_record;
    Midi::MidiOutPort m_output;
    Midi::MidiInPort m_input;
    std::unique_ptr<SynchronousSendAlgorithm> m_algorithm;
};

} // namespace Brisel
