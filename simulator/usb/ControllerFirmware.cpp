#include "simulator/usb/ControllerFirmware.h"

namespace Sim {

std::vector<FirmwareReply> ControllerFirmware::receive(const std::vector<std::uint8_t> &bytes)
{
    std::vector<FirmwareReply> replies;
    for (Reply &reply : m_controller->receive(bytes.data(), bytes.size()))
        replies.push_back(FirmwareReply{std::move(reply.bytes), reply.delay});
    return replies;
}

} // namespace Sim
