#include "MidiSelection.h"

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
    if (argument.substr(0, SimulateOption.size()) == SimulateOption && argument.size() > SimulateOption.size()
        && argument[SimulateOption.size()] == '=')
        return keysFromText(argument.substr(SimulateOption.size() + 1));
    return std::nullopt;
}

struct Selection {
    std::mutex mutex;
    std::unique_ptr<MidiApi> owned;
    std::atomic<MidiApi *> installed{nullptr};
    std::atomic<MidiApi *> current{nullptr};
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

void selectMidi(int argc, const char *const *argv)
{
    Selection &s = selection();
    std::lock_guard lock(s.mutex);
    const std::optional<int> keys = simulatedKeys(argc, argv, std::getenv("VORPAD_SIMULATE"));
    s.owned = keys ? createSimulatedMidi(*keys) : createRealMidi();
    s.current.store(s.owned.get());
}

MidiApi &midi()
{
    Selection &s = selection();
    if (MidiApi *api = s.installed.load())
        return *api;
    if (MidiApi *api = s.current.load())
        return *api;
    std::lock_guard lock(s.mutex);
    if (!s.owned) {
        s.owned = createRealMidi();
        s.current.store(s.owned.get());
    }
    return *s.owned;
}

void installMidi(MidiApi *api)
{
    selection().installed.store(api);
}

} // namespace Platform
