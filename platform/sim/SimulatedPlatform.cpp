#include "platform/sim/SimulatedPlatform.h"

#include "platform/sim/SimDeviceControl.h"
#include "platform/sim/SimDriverPorts.h"
#include "platform/sim/SimMidi.h"
#include "simulator/Controller.h"
#include "simulator/usb/ControllerFirmware.h"
#include "simulator/usb/UsbController.h"

#include <cstdlib>
#include <filesystem>

namespace Platform {

namespace {

// Where a controller of this size keeps its contents: the user's data
// directory; none when there is no home to put it in.
std::string stateFileFor(int keys)
{
    namespace fs = std::filesystem;
    fs::path directory;
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && *data)
        directory = data;
    else if (const char *home = std::getenv("HOME"); home && *home)
        directory = fs::path(home) / ".local" / "share";
    else
        return {};
    directory /= "vorpad";
    std::error_code error;
    fs::create_directories(directory, error);
    if (error)
        return {};
    return (directory / ("simulated-" + std::to_string(keys) + ".syx")).string();
}

} // namespace

SimulatedPlatform::SimulatedPlatform(int keys) : m_controller(std::make_shared<Sim::Controller>(keys))
{
    m_controller->setStateFile(stateFileFor(keys));
    auto usb = std::make_shared<Sim::UsbController>(m_controller->model(),
                                                    std::make_shared<Sim::ControllerFirmware>(m_controller));
    std::vector<std::shared_ptr<SimMidiEndpoint>> ports;
    const int device = m_machine.attach(std::move(usb));
    if (device >= 0)
        ports.push_back(std::make_shared<SimDriverPorts>(m_machine, device));
    m_midi = std::make_unique<SimMidi>(std::move(ports));
    m_control = std::make_unique<SimDeviceControl>(m_machine);
}

SimulatedPlatform::~SimulatedPlatform() = default;

MidiApi &SimulatedPlatform::midi() { return *m_midi; }

DeviceControl &SimulatedPlatform::deviceControl() { return *m_control; }

} // namespace Platform
