#pragma once

#include <string>

// Whether a windowed program can open its window, and what to tell a user
// who started one where it cannot: both programs with windows answer alike.
namespace Platform {

// On Linux a window needs a display server or a Qt platform named in the
// environment; elsewhere there is always a desktop.
bool hasDisplay();

// How a windowed program that found no display is run instead.
struct WindowedProgram {
    const char *name;      // "Updater"
    const char *arguments; // after --simulate=49, e.g. " config.xml"; may be empty
    const char *drawn;     // what --screenshot draws, e.g. "its devices page"
    const char *picture;   // an example picture file, e.g. "devices.png"
};

// The lines for standard error: no display, run it under xvfb-run, or let it draw into a picture.
std::string howToRunWithoutDisplay(const WindowedProgram &program);

} // namespace Platform
