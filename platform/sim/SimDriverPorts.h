#pragma once

#include "platform/sim/SimMachine.h"
#include "platform/sim/SimMidiEndpoint.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace Platform {

// The MIDI port pair of one simulated controller as the simulated MIDI
// implementation uses it: bytes the editor sends go through the render
// stream's Write, cross the bus as packets, and the controller's answers come
// back through the capture stream on the host thread.
class SimDriverPorts : public SimMidiEndpoint
{
public:
    // The pair OUT00/IN00 of a device of the machine.
    SimDriverPorts(SimMachine &machine, int device);
    ~SimDriverPorts() override;

    std::string portName() const override { return m_name; }
    bool present() const;

    // Opening is the driver's create request: refused while the device is
    // locked (MMSYSERR_ALLOCATED) or gone (MMSYSERR_NODRIVER).
    MidiResult openOutput() override;
    void closeOutput() override;
    // Sends everything, retrying while another stream holds the cable; false
    // when the output is closed or the bytes could not be sent in time.
    bool bytesOut(const std::uint8_t *data, std::size_t length) override;

    MidiResult openInput(BytesIn receiver) override;
    void closeInput() override;

    SimDriverPorts(const SimDriverPorts &) = delete;
    SimDriverPorts &operator=(const SimDriverPorts &) = delete;

private:
    void received();

    SimMachine &m_machine;
    const int m_device;
    std::string m_name;
    SimMachine::Port m_out;
    SimMachine::Port m_in;
    std::mutex m_outputLock;
    std::unique_ptr<SimDriverStream> m_render;
    std::mutex m_inputLock;
    std::unique_ptr<SimDriverStream> m_capture;
    BytesIn m_receiver;
};

} // namespace Platform
