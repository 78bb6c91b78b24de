#pragma once

#include "MidiApi.h"

#include <memory>
#include <optional>

// Which MIDI implementation the process talks to. The real one of the
// platform is the default; "--simulate[=25|49|61]" on the command line or
// VORPAD_SIMULATE=MODEL in the environment selects a simulated controller.
namespace Platform {

inline constexpr int DefaultSimulatedKeys = 49;

// The keyboard size to simulate, or nothing for the real implementation.
// The command line wins over the environment; an unknown size counts as none.
std::optional<int> simulatedKeys(int argc, const char *const *argv, const char *environmentValue);

// Chooses the process-wide implementation once, at start.
void selectMidi(int argc, const char *const *argv);

// The process-wide implementation; the real one when nothing was selected.
MidiApi &midi();

// Replaces the process-wide implementation (tests install fakes this way);
// a null pointer returns to the default. The caller keeps ownership.
void installMidi(MidiApi *api);

// Factories of the implementations; the real one is chosen by the build.
std::unique_ptr<MidiApi> createRealMidi();
std::unique_ptr<MidiApi> createSimulatedMidi(int keys);

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
