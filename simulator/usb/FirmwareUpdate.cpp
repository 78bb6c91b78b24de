#include "simulator/usb/FirmwareUpdate.h"

#include <algorithm>
#include <cstring>

namespace Sim {

namespace {

void put32(std::vector<std::uint8_t> &out, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr char Magic[4] = {'V', 'P', 'F', 'W'};

} // namespace

std::vector<std::uint8_t> FirmwareUpdate::makeImage(std::uint16_t date, std::uint16_t version, std::size_t size)
{
    std::vector<std::uint8_t> image(std::max<std::size_t>(size, 8));
    std::memcpy(image.data(), Magic, 4);
    image[4] = static_cast<std::uint8_t>(date);
    image[5] = static_cast<std::uint8_t>(date >> 8);
    image[6] = static_cast<std::uint8_t>(version);
    image[7] = static_cast<std::uint8_t>(version >> 8);
    for (std::size_t i = 8; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7);
    return image;
}

void FirmwareUpdate::reply(std::uint8_t *data, std::uint32_t &transferred, std::uint16_t length,
                           const std::vector<std::uint8_t> &bytes) const
{
    transferred = std::min<std::uint32_t>(length, static_cast<std::uint32_t>(bytes.size()));
    if (transferred)
        std::memcpy(data, bytes.data(), transferred);
}

std::uint32_t FirmwareUpdate::finish()
{
    if (!m_updating || m_image.size() != m_expected || m_image.size() < 8 || std::memcmp(m_image.data(), Magic, 4) != 0)
        return 2;
    m_date = static_cast<std::uint16_t>(m_image[4] | m_image[5] << 8);
    m_version = static_cast<std::uint16_t>(m_image[6] | m_image[7] << 8);
    ++m_installs;
    return 0;
}

UsbResult FirmwareUpdate::handle(const UsbSetup &setup, std::uint8_t *data, std::uint32_t &transferred,
                                 bool &disconnect)
{
    transferred = 0;
    disconnect = false;
    if (setup.request == m_faults.stallRequest)
        return UsbResult::Stall;
    std::vector<std::uint8_t> answer;
    switch (setup.request) {
    case Status:
        answer.assign(4, 0);
        put32(answer, 0, m_lastStatus);
        break;
    case Version:
        answer.assign(32, 0);
        answer[4] = static_cast<std::uint8_t>(m_date);
        answer[5] = static_cast<std::uint8_t>(m_date >> 8);
        answer[6] = static_cast<std::uint8_t>(m_version);
        answer[7] = static_cast<std::uint8_t>(m_version >> 8);
        break;
    case Start: {
        m_expected = std::uint32_t(setup.value) << 16 | setup.index;
        const bool refused = m_faults.refuseStart || m_expected == 0 || m_expected > MaxImageSize;
        m_updating = !refused;
        m_image.clear();
        m_blocks = 0;
        m_lastStatus = 0;
        answer.assign(8, 0);
        put32(answer, 0, refused ? 1 : 0);
        put32(answer, 4, BlockSize);
        break;
    }
    case WriteBlock:
        if (!m_updating || setup.deviceToHost())
            return UsbResult::Stall;
        if (m_blocks == m_faults.disconnectAtBlock) {
            disconnect = true;
            return UsbResult::Disconnected;
        }
        m_lastStatus = m_blocks == m_faults.failBlock || m_image.size() + setup.length > m_expected ? 1 : 0;
        if (m_lastStatus == 0)
            m_image.insert(m_image.end(), data, data + setup.length);
        transferred = setup.length;
        ++m_blocks;
        return UsbResult::Ok;
    case End:
        answer.assign(4, 0);
        put32(answer, 0, finish());
        m_updating = false;
        break;
    default:
        return UsbResult::Stall;
    }
    if (!setup.deviceToHost())
        return UsbResult::Stall;
    reply(data, transferred, setup.length, answer);
    return UsbResult::Ok;
}

} // namespace Sim
