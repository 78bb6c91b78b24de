#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Oxa {

// One `firmware` element of a device class: the image, its revision, and the
// block size when the package fixes one.
struct FirmwareDescription {
    std::string imagePath; // absolute
    std::string revision;
    bool hasBuild = false;
    int blockSize = -1; // -1: not given
    // The image as checked against its digest when the package was loaded;
    // without a digest the image is read from imagePath when an update starts.
    std::optional<std::vector<std::uint8_t>> image;
};

} // namespace Oxa
