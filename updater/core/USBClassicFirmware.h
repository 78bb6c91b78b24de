#pragma once

#include "updater/core/OXAException.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Oxa {

class DeviceClass;

// The image of a class's first firmware description, in memory, cut into
// blocks. The block size is 64 unless the description or the device says
// otherwise; a size the description gives is never replaced.
class USBClassicFirmware
{
public:
    class InvalidFirmware : public OXAException
    {
    public:
        using OXAException::OXAException;
    };

    static constexpr int DefaultBlockSize = 64;

    explicit USBClassicFirmware(const DeviceClass &deviceClass);

    const std::vector<std::uint8_t> &image() const { return m_image; }
    std::size_t size() const { return m_image.size(); }
    int blockSize() const { return m_blockSize; }
    bool blockSizeFixed() const { return m_fixed; }
    // A size the device reports at start: used when the description gave none and it is above 0.
    void applyDeviceBlockSize(std::uint32_t size);

    int stepCount() const;
    // Step i's bytes: [i * block size, (i + 1) * block size) cut at the end of the image.
    const std::uint8_t *block(int step, std::size_t &length) const;

private:
    void readImage(const std::string &imagePath);

    std::vector<std::uint8_t> m_image;
    int m_blockSize = DefaultBlockSize;
    bool m_fixed = false;
};

} // namespace Oxa
