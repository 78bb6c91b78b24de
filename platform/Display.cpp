#include "platform/Display.h"

#include <cstdlib>

namespace Platform {

#ifdef __linux__
namespace {

bool isSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

} // namespace

bool hasDisplay() { return isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY"); }
#else
bool hasDisplay() { return true; }
#endif

std::string howToRunWithoutDisplay(const WindowedProgram &program)
{
    const std::string name = program.name;
    const std::string simulated = name + " --simulate=49";
    return name + ": no display found (neither DISPLAY nor WAYLAND_DISPLAY is set, and no QT_QPA_PLATFORM).\n" +
           "  Run it on a desktop, or under a virtual display:\n" + "    xvfb-run -a " + simulated + program.arguments +
           "\n" + "  or let it draw " + program.drawn + " into a picture and exit:\n" + "    " + simulated +
           " --screenshot " + program.picture + program.arguments + "\n";
}

} // namespace Platform
