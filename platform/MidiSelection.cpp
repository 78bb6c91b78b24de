#include "platform/MidiSelection.h"

#include "platform/devicecontrol/DeviceControl.h"
#include "platform/sim/SimulatedPlatform.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string_view>

namespace Platform {

namespace {

constexpr std::string_view SimulateOption = "--simulate";
constexpr int SimulatedSizes[] = {25, 49, 61};

std::optional<int> keysFromText(std::string_view text)
{
    for (int keys : SimulatedSizes) {
        if (text == std::to_string(keys))
            return keys;
    }
    return std::nullopt;
}

std::optional<int> keysFromOption(std::string_view argument)
{
    if (argument == SimulateOption)
        return DefaultSimulatedKeys;
    if (argument.substr(0, SimulateOption.size()) == SimulateOption && argument.size() > SimulateOption.size() &&
        argument[SimulateOption.size()] == '=')
        return keysFromText(argument.substr(SimulateOption.size() + 1));
    return std::nullopt;
}

struct Selection {
    std::mutex mutex;
    std::unique_ptr<MidiApi> realMidi;
    std::unique_ptr<DeviceControl> realControl;
    bool realControlMade = false;
    std::unique_ptr<SimulatedPlatform> simulated;
    std::atomic<MidiApi *> installed{nullptr};
    std::atomic<MidiApi *> current{nullptr};
    std::atomic<DeviceControl *> installedControl{nullptr};
};

Selection &selection()
{
    static Selection instance;
    return instance;
}

} // namespace

std::optional<int> simulatedKeys(int argc, const char *const *argv, const char *environmentValue)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == SimulateOption || argument.substr(0, SimulateOption.size() + 1) == "--simulate=")
            return keysFromOption(argument);
    }
    if (environmentValue && *environmentValue)
        return keysFromText(environmentValue);
    return std::nullopt;
}

void selectPlatform(int argc, const char *const *argv)
{
    if (const std::optional<int> keys = simulatedKeys(argc, argv, std::getenv("VORPAD_SIMULATE"))) {
        selectSimulated(*keys);
        return;
    }
    Selection &s = selection();
    std::lock_guard lock(s.mutex);
    if (!s.realMidi)
        s.realMidi = createRealMidi();
    s.current.store(s.realMidi.get());
    s.simulated.reset();
}

SimulatedPlatform &selectSimulated(int keys)
{
    Selection &s = selection();
    std::lock_guard lock(s.mutex);
    s.current.store(nullptr);
    s.simulated.reset(); // its controller saved its contents; the new one reads them back
    s.simulated = std::make_unique<SimulatedPlatform>(keys);
    s.current.store(&s.simulated->midi());
    return *s.simulated;
}

SimulatedPlatform *simulatedPlatform()
{
    Selection &s = selection();
    std::lock_guard lock(s.mutex);
    return s.simulated.get();
}

MidiApi &midi()
{
    Selection &s = selection();
    if (MidiApi *api = s.installed.load())
        return *api;
    if (MidiApi *api = s.current.load())
        return *api;
    std::lock_guard lock(s.mutex);
    if (MidiApi *api = s.current.load()) // selected meanwhile
        return *api;
    if (!s.realMidi)
        s.realMidi = createRealMidi();
    s.current.store(s.realMidi.get());
    return *s.realMidi;
}

DeviceControl *deviceControl()
{
    Selection &s = selection();
    if (DeviceControl *control = s.installedControl.load())
        return control;
    std::lock_guard lock(s.mutex);
    if (s.simulated)
        return &s.simulated->deviceControl();
    if (!s.realControlMade) {
        s.realControl = createSystemDeviceControl();
        s.realControlMade = true;
    }
    return s.realControl.get();
}

void installMidi(MidiApi *api) { selection().installed.store(api); }

void installDeviceControl(DeviceControl *control) { selection().installedControl.store(control); }

} // namespace Platform
