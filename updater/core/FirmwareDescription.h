#pragma once

#include <string>

namespace Oxa {

// One `firmware` element of a device class: the image, its revision, and the
// block size when the package fixes one.
struct FirmwareDescription {
    std::string imagePath; // absolute
    std::string revision;
    bool hasBuild = false;
    int blockSize = -1; // -1: not given
};

} // namespace Oxa
