#pragma once

#include "platform/MidiApi.h"

#include <memory>
#include <optional>

// Which MIDI and device-control implementations the process talks to. The
// platform's real ones are the default; "--simulate[=25|49|61]" on the
// command line or VORPAD_SIMULATE=MODEL in the environment selects one
// simulated machine with a controller of that size, which serves both.
namespace Platform {

class DeviceControl;
class SimulatedPlatform;

inline constexpr int DefaultSimulatedKeys = 49;

// The keyboard size to simulate, or nothing for the real implementation.
// The command line wins over the environment; an unknown size counts as none.
std::optional<int> simulatedKeys(int argc, const char *const *argv, const char *environmentValue);

// Chooses the process-wide implementations once, at start.
void selectPlatform(int argc, const char *const *argv);
// Replaces the selection by a fresh simulated machine with a controller of
// this size (its contents come back from its state file). Only while no port
// or control handle of the previous selection is open.
SimulatedPlatform &selectSimulated(int keys);
// The selected simulated machine; null while the real platform is selected.
SimulatedPlatform *simulatedPlatform();

// The process-wide MIDI implementation; the real one when nothing was selected.
MidiApi &midi();
// The process-wide device-control implementation; null where the real
// platform has none.
DeviceControl *deviceControl();

// Replace the process-wide implementations (tests install fakes this way);
// a null pointer returns to the selection. The caller keeps ownership.
void installMidi(MidiApi *api);
void installDeviceControl(DeviceControl *control);

// Installs an implementation for one scope (tests).
class ScopedMidi
{
public:
    explicit ScopedMidi(MidiApi &api) { installMidi(&api); }
    ~ScopedMidi() { installMidi(nullptr); }
    ScopedMidi(const ScopedMidi &) = delete;
    ScopedMidi &operator=(const ScopedMidi &) = delete;
};

} // namespace Platform
