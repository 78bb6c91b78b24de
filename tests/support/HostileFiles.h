#pragma once

#include "tests/support/FileBytes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

// Files named like patch and bank files that are not what their names say.
// Every reader must refuse each with the file's invalid message, at once and
// without reading it whole; the editor's file layer and vorpadctl run the
// same table.
namespace HostileFiles {

struct Case {
    const char *name;
    bool (*make)(const std::string &path);
};

inline bool sized(const std::string &path, std::uintmax_t size)
{
    if (!std::filesystem::exists(path))
        std::ofstream(path, std::ios::binary).put(char(0xF0));
    std::error_code error;
    std::filesystem::resize_file(path, size, error); // sparse: no disk used
    return !error;
}

// A valid file of the kind its suffix names, padded with zeros (which a
// reader ignores) to one byte over the cap.
inline bool validPastTheCap(const std::string &path)
{
    using namespace FileBytes;
    Bytes bytes = bank();
    if (path.ends_with(".vpp")) {
        bytes = patchTransfer(defaultPatch());
        append(bytes, zonesTransfer(defaultZones()));
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return sized(path, (1u << 20) + 1);
}

inline const std::vector<Case> &cases()
{
    static const std::vector<Case> all{
        {"hundredMegabytes", [](const std::string &p) { return sized(p, 100u << 20); }},
        {"validPastTheCap", validPastTheCap},
        {"fifo", [](const std::string &p) { return ::mkfifo(p.c_str(), 0600) == 0; }},
        {"endlessDevice", [](const std::string &p) { return ::symlink("/dev/zero", p.c_str()) == 0; }},
        {"folder", [](const std::string &p) { return std::filesystem::create_directory(p); }},
    };
    return all;
}

// Suffix and case for the test's parameters.
using Param = std::tuple<const char *, Case>;

inline std::string paramName(const Param &param)
{
    return std::string(std::get<0>(param)) + "_" + std::get<1>(param).name;
}

} // namespace HostileFiles
