#pragma once

#include <string>

namespace Oxa {

// A firmware revision "major.minor[.build]", each part a decimal number.
// Devices report theirs as "%X.%02X", with ".%02d%02d%02d" (the firmware
// date) appended when the package's revision has a build part.
struct Revision {
    int major = -1;
    int minor = -1;
    int build = -1; // -1: none
    bool valid = false;

    static Revision parse(const std::string &text);
    bool hasBuild() const { return build != -1; }
};

// Whether `next` is newer than `current`: (major, minor, build) compared in
// that order, the build only when both have one. Invalid revisions are never
// upgrades.
bool isUpgrade(const std::string &current, const std::string &next);

// Whether a device's version is the one a package installs: major and minor,
// and the build when the package gives one.
bool isSameRevision(const std::string &device, const std::string &package);

// The number of '.' characters tells whether a revision text has a build part.
bool revisionHasBuild(const std::string &text);

} // namespace Oxa
