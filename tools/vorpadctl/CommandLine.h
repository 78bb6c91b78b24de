#pragma once

#include <optional>
#include <string>
#include <vector>

// The parsed arguments of one vorpadctl command.
struct CommandLine {
    std::string command;
    std::vector<std::string> positional;
    bool help = false;
    bool json = false;
    bool raw = false;            // numbers as stored, not as the editor shows them
    bool force = false;          // overwrite existing files
    std::optional<int> device;   // --device N
    std::optional<int> simulate; // --simulate[=25|49|61]
    std::string search;          // --search TEXT
    std::string tag;             // --tag TAG

    // Options a command accepts besides --help.
    enum Option : unsigned { Json = 1, Device = 2, Simulate = 4, Search = 8, Raw = 16, Force = 32 };

    // Parses args (without the program name) for a command that accepts the
    // given options; an error text on a usage error.
    static std::optional<std::string> parse(const std::vector<std::string> &args, unsigned allowed, CommandLine &out);
};

// A whole decimal number and nothing else ("12", "-3"); nothing otherwise.
std::optional<int> toInt(const std::string &text);

// The text with control bytes (C0, DEL, and C1 in UTF-8) shown as \xHH, so
// that a file name printed to the terminal cannot drive it.
std::string printable(const std::string &text);
