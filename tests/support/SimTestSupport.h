#pragma once

#include "driver/contract/DeviceControlProperties.h"
#include "platform/devicecontrol/DeviceControl.h"
#include "platform/sim/SimMachine.h"
#include "simulator/usb/UsbController.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace PlatformTest {

using Bytes = std::vector<std::uint8_t>;

// Answers the universal identity request with a fixed reply and echoes
// every other complete message.
class ScriptedFirmware : public Sim::MidiFirmware
{
public:
    static Bytes identityRequest() { return {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}; }
    static Bytes identityReply()
    {
        return {0xF0, 0x7E, 0x10, 0x06, 0x02, 0x18, 0x42, 0x00, 0x02, 0x00, 0x31, 0x2E, 0x30, 0x30, 0xF7};
    }

    // Answers fall due this long after the request.
    std::chrono::milliseconds delay{0};

    std::vector<Sim::FirmwareReply> receive(const Bytes &bytes) override
    {
        std::vector<Sim::FirmwareReply> replies;
        for (std::uint8_t byte : bytes) {
            if (byte == 0xF0)
                m_message.clear();
            m_message.push_back(byte);
            if (byte != 0xF7)
                continue;
            replies.push_back({m_message == identityRequest() ? identityReply() : m_message, delay});
            m_message.clear();
        }
        return replies;
    }

private:
    Bytes m_message;
};

inline std::shared_ptr<Sim::UsbController> controller(int model = 3, int serial = 1,
                                                      const Sim::UsbFaults &faults = Sim::UsbFaults(),
                                                      std::chrono::milliseconds delay = {})
{
    auto firmware = std::make_shared<ScriptedFirmware>();
    firmware->delay = delay;
    return std::make_shared<Sim::UsbController>(model, firmware, serial, faults);
}

// Collects what a capture stream delivers: the notification drains the
// stream on the host thread, as a port's service routine would, and the test
// waits for the bytes with a deadline.
class Collector
{
public:
    Platform::SimDriverStream::Notify notify()
    {
        return [this](std::uint32_t) {
            std::lock_guard<std::mutex> guard(m_lock);
            drain();
            m_changed.notify_all();
        };
    }
    void attach(Platform::SimDriverStream *stream)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stream = stream;
    }
    // The bytes received once `count` arrived or five seconds passed.
    Bytes await(std::size_t count)
    {
        std::unique_lock<std::mutex> guard(m_lock);
        m_changed.wait_for(guard, std::chrono::seconds(5), [&] {
            drain();
            return m_bytes.size() >= count;
        });
        Bytes out;
        out.swap(m_bytes);
        return out;
    }

private:
    void drain()
    {
        if (!m_stream)
            return;
        std::uint8_t buffer[512];
        std::uint32_t read = 0;
        do {
            m_stream->read(buffer, sizeof buffer, read);
            m_bytes.insert(m_bytes.end(), buffer, buffer + read);
        } while (read == sizeof buffer);
    }

    std::mutex m_lock;
    std::condition_variable m_changed;
    Platform::SimDriverStream *m_stream = nullptr;
    Bytes m_bytes;
};

// Writes everything, retrying while the driver accepts nothing.
inline bool writeAll(Platform::SimDriverStream &stream, const Bytes &bytes)
{
    std::size_t done = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (done < bytes.size()) {
        std::uint32_t accepted = 0;
        if (!Zel::NT_SUCCESS(
                stream.write(bytes.data() + done, static_cast<std::uint32_t>(bytes.size() - done), accepted)))
            return false;
        done += accepted;
        if (accepted == 0 && std::chrono::steady_clock::now() > deadline)
            return false;
    }
    return true;
}

struct Reply {
    Platform::DeviceControl::Result result;
    Bytes value;
};

inline Reply property(Platform::DeviceControl &control, Platform::DeviceControl::Handle handle, std::uint32_t id,
                      std::uint32_t flags, const Bytes &instance = {}, std::uint32_t valueSize = 0)
{
    Bytes input(Zel::PropertyHeaderSize);
    Zel::writePropertyHeader(input.data(), id, flags);
    input.insert(input.end(), instance.begin(), instance.end());
    Reply reply;
    reply.value.assign(valueSize, 0);
    reply.result = control.propertyRequest(handle, input.data(), static_cast<std::uint32_t>(input.size()),
                                           valueSize ? reply.value.data() : nullptr, valueSize);
    return reply;
}

// The instance of a firmware vendor request as the updater lays it out.
inline Bytes vendorInstance(std::uint8_t request, std::uint16_t value = 0, std::uint16_t index = 0,
                            const Bytes &data = {})
{
    // GET: 24 instance bytes; SET: 23 + n, the block from offset 16.
    Bytes instance(data.empty() ? 24 : 23 + data.size(), 0);
    instance[0] = 0x20;
    instance[1] = request;
    instance[2] = static_cast<std::uint8_t>(value);
    instance[3] = static_cast<std::uint8_t>(value >> 8);
    instance[4] = static_cast<std::uint8_t>(index);
    instance[5] = static_cast<std::uint8_t>(index >> 8);
    const std::uint32_t n = static_cast<std::uint32_t>(data.size());
    for (int i = 0; i < 4; ++i)
        instance[12 + i] = static_cast<std::uint8_t>(n >> (8 * i));
    std::copy(data.begin(), data.end(), instance.begin() + 16);
    return instance;
}

} // namespace PlatformTest
