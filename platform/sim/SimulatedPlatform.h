#pragma once

#include "platform/MidiApi.h"
#include "platform/sim/SimMachine.h"

#include <memory>

namespace Sim {
class Controller;
}

namespace Platform {

class DeviceControl;
class SimDeviceControl;
class SimMidi;

// What a process started with --simulate talks to: one simulated machine with
// a controller of the chosen size on its USB bus and the controller's driver
// instance. The MIDI ports are the ones the driver publishes (so every byte
// goes through the render and capture streams and crosses the bus as
// USB-MIDI packets), and the device-control interface is the driver's control
// object on the same machine. The controller keeps its contents in a state
// file under the user's data directory.
class SimulatedPlatform
{
public:
    explicit SimulatedPlatform(int keys);
    ~SimulatedPlatform();
    SimulatedPlatform(const SimulatedPlatform &) = delete;
    SimulatedPlatform &operator=(const SimulatedPlatform &) = delete;

    MidiApi &midi();
    DeviceControl &deviceControl();
    SimMachine &machine() { return m_machine; }
    Sim::Controller &controller() { return *m_controller; }

private:
    std::shared_ptr<Sim::Controller> m_controller;
    SimMachine m_machine;
    // Declared after the machine: they close their streams before it goes.
    std::unique_ptr<SimMidi> m_midi;
    std::unique_ptr<SimDeviceControl> m_control;
};

} // namespace Platform
