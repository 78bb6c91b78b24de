#include "simulator/usb/UsbMidiFunction.h"

#include <algorithm>

namespace Sim {

namespace {

constexpr std::uint8_t bytesPerCin[16] = {0, 0, 2, 3, 3, 1, 2, 3, 3, 3, 3, 3, 2, 2, 3, 1};

// Length of a message that starts with this status byte (SysEx: 0).
std::size_t messageLength(std::uint8_t status)
{
    if (status >= 0xF8 || status == 0xF6)
        return 1;
    if (status == 0xF1 || status == 0xF3 || (status & 0xE0) == 0xC0)
        return 2;
    if (status == 0xF0)
        return 0;
    return 3;
}

constexpr std::uint8_t cinFor(std::uint8_t status, std::size_t length)
{
    if (status < 0xF0)
        return status >> 4;
    if (status >= 0xF8)
        return 0x0F;
    return length == 1 ? 0x05 : length == 2 ? 0x02 : 0x03;
}

} // namespace

UsbMidiFunction::UsbMidiFunction(std::shared_ptr<MidiFirmware> firmware) : m_firmware(std::move(firmware)) {}

void UsbMidiFunction::receivePackets(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::uint8_t> firmwareBytes;
    for (std::size_t at = 0; at + 4 <= size; at += 4) {
        const std::uint8_t cable = data[at] >> 4;
        const std::uint8_t count = bytesPerCin[data[at] & 0x0F];
        std::vector<std::uint8_t> &target = cable == 0 ? firmwareBytes : m_socket;
        if (cable > 1)
            continue;
        target.insert(target.end(), data + at + 1, data + at + 1 + count);
    }
    if (firmwareBytes.empty() || !m_firmware)
        return;
    for (const FirmwareReply &reply : m_firmware->receive(firmwareBytes))
        send(reply.bytes, reply.delay);
}

void UsbMidiFunction::send(const std::vector<std::uint8_t> &bytes, std::chrono::milliseconds delay)
{
    Queued queued{Clock::now() + delay, toPackets(bytes, 0), 0};
    if (!m_in.empty() && m_in.back().due > queued.due)
        queued.due = m_in.back().due;
    if (!queued.packets.empty())
        m_in.push_back(std::move(queued));
}

bool UsbMidiFunction::hasPackets() const { return !m_in.empty() && m_in.front().due <= Clock::now(); }

std::optional<UsbMidiFunction::Clock::time_point> UsbMidiFunction::nextDue() const
{
    if (m_in.empty())
        return std::nullopt;
    return m_in.front().due;
}

std::size_t UsbMidiFunction::takePackets(std::uint8_t *data, std::size_t capacity)
{
    const Clock::time_point now = Clock::now();
    std::size_t n = 0;
    capacity = capacity / 4 * 4;
    while (n < capacity && !m_in.empty() && m_in.front().due <= now) {
        Queued &front = m_in.front();
        const std::size_t count = std::min(capacity - n, front.packets.size() - front.taken);
        std::copy(front.packets.begin() + static_cast<std::ptrdiff_t>(front.taken),
                  front.packets.begin() + static_cast<std::ptrdiff_t>(front.taken + count), data + n);
        front.taken += count;
        n += count;
        if (front.taken == front.packets.size())
            m_in.pop_front();
    }
    return n;
}

// The controller only ever sends whole messages.
std::vector<std::uint8_t> UsbMidiFunction::toPackets(const std::vector<std::uint8_t> &bytes, std::uint8_t cable)
{
    std::vector<std::uint8_t> out;
    const std::uint8_t head = static_cast<std::uint8_t>(cable << 4);
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::uint8_t status = bytes[at];
        if (status == 0xF0) {
            std::size_t end = at;
            while (end < bytes.size() && bytes[end] != 0xF7)
                ++end;
            end = std::min(end + 1, bytes.size());
            while (end - at > 3) {
                out.insert(out.end(),
                           {static_cast<std::uint8_t>(head | 0x04), bytes[at], bytes[at + 1], bytes[at + 2]});
                at += 3;
            }
            const std::size_t rest = end - at;
            std::uint8_t packet[4] = {static_cast<std::uint8_t>(head | (0x04 + rest)), 0, 0, 0};
            for (std::size_t i = 0; i < rest; ++i)
                packet[1 + i] = bytes[at + i];
            out.insert(out.end(), packet, packet + 4);
            at = end;
            continue;
        }
        const std::size_t length = std::min(messageLength(status), bytes.size() - at);
        if (!(status & 0x80) || length == 0) {
            ++at; // stray data byte
            continue;
        }
        std::uint8_t packet[4] = {static_cast<std::uint8_t>(head | cinFor(status, length)), 0, 0, 0};
        for (std::size_t i = 0; i < length; ++i)
            packet[1 + i] = bytes[at + i];
        out.insert(out.end(), packet, packet + 4);
        at += length;
    }
    return out;
}

} // namespace Sim
