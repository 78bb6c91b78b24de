#pragma once

#include "tools/vorpadctl/CommandLine.h"

#include <ostream>
#include <string>
#include <vector>

enum ExitCode : int {
    ExitOk = 0,
    ExitFailed = 1, // invalid input or a failed operation
    ExitUsage = 2,
};

struct Io {
    std::ostream &out;
    std::ostream &err;
};

struct CommandSpec {
    const char *name;
    const char *synopsis;    // arguments, after the command name
    const char *description; // what --help prints below the synopsis
    unsigned options;        // CommandLine::Option flags
    int minArgs;
    int maxArgs;
    int (*run)(const CommandLine &line, Io &io);
};

// The one reporting path of every command: "vorpadctl COMMAND: text" on
// stderr; returns ExitFailed.
int fail(const CommandLine &line, Io &io, const std::string &text);
// "vorpadctl COMMAND: warning: text" on stderr; the command goes on.
void warn(const CommandLine &line, Io &io, const std::string &text);

const std::vector<CommandSpec> &fileCommands();
const std::vector<CommandSpec> &deviceCommands();
const std::vector<CommandSpec> &usbCommands();
const std::vector<CommandSpec> &slotCommands();
const std::vector<CommandSpec> &libraryCommands();

// Selects the simulated machine when --simulate or VORPAD_SIMULATE asks for it.
void selectSimulationIfAsked(const CommandLine &line);

// The library file the editor of the same session uses: the simulated one
// with --simulate or VORPAD_SIMULATE.
std::string libraryPath(const CommandLine &line);
