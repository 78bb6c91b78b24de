#include "updater/core/USBClassicFirmware.h"

#include "updater/core/DeviceClass.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace Oxa {

USBClassicFirmware::USBClassicFirmware(const DeviceClass &deviceClass)
{
    const FirmwareDescription *description = deviceClass.firmware();
    if (!description)
        throw InvalidFirmware("InvalidFirmware: no firmwares");
    if (description->blockSize > 0) {
        m_blockSize = description->blockSize;
        m_fixed = true;
    }
    if (description->image)
        m_image = *description->image;
    else
        readImage(description->imagePath);
    // Nothing to write: refuse here, before the device is touched.
    if (m_image.empty())
        throw InvalidFirmware("InvalidFirmware: empty firmware image");
    // The start request announces the size in 32 bits.
    if (m_image.size() > std::numeric_limits<std::uint32_t>::max())
        throw InvalidFirmware("InvalidFirmware: firmware image too large");
}

void USBClassicFirmware::readImage(const std::string &imagePath)
{
    std::error_code error;
    // The path is UTF-8 text; on Windows a narrow path would be read in the ANSI code page.
    const std::filesystem::path path(std::u8string(imagePath.begin(), imagePath.end()));
    if (imagePath.empty() || !std::filesystem::exists(path, error))
        throw InvalidFirmware("InvalidFirmware: invalid firmware description");
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path, error))
        throw InvalidFirmware("InvalidFirmware: cannot open firmware image");
    m_image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad())
        throw InvalidFirmware("InvalidFirmware: cannot read firmware image");
}

void USBClassicFirmware::applyDeviceBlockSize(std::uint32_t size)
{
    if (m_fixed || size == 0 || size > std::uint32_t(std::numeric_limits<int>::max()))
        return;
    m_blockSize = int(size);
}

int USBClassicFirmware::stepCount() const
{
    const std::size_t block = std::size_t(m_blockSize);
    return int((m_image.size() + block - 1) / block);
}

const std::uint8_t *USBClassicFirmware::block(int step, std::size_t &length) const
{
    const std::size_t begin = std::size_t(step) * std::size_t(m_blockSize);
    if (step < 0 || begin >= m_image.size()) {
        length = 0;
        return nullptr;
    }
    length = std::min<std::size_t>(std::size_t(m_blockSize), m_image.size() - begin);
    return m_image.data() + begin;
}

} // namespace Oxa
