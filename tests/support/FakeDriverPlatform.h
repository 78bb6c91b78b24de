#pragma once

#include "driver/MidiEndpoint.h"
#include "driver/MidiStream.h"
#include "driver/ZelPlatform.h"
#include "tests/support/QueuedDriverPlatform.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <string>
#include <vector>

// A driver platform for unit tests: a clock the test sets, bulk transfers that
// wait until the test (or, in threaded tests, a completer thread) completes
// them, and registry values in maps.
namespace ZelTest {

class FakeDriverPlatform : public QueuedDriverPlatform
{
public:
    FakeDriverPlatform() : QueuedDriverPlatform(Zel::STATUS_SUCCESS) {}
    // The completer calls back into this class: stop it while it is whole.
    ~FakeDriverPlatform() override { stopCompleter(); }

    std::atomic<std::uint64_t> clock{1'000'000'000};
    std::map<std::string, std::uint32_t> dwords;
    std::map<std::string, std::string> strings;
    std::map<std::string, std::string> files;
    std::vector<std::string> writes;

    void advanceMs(std::uint64_t ms) { clock += ms * 10000; }

    std::uint64_t now100ns() override { return clock.load(); }

    // Descriptors by (type << 8 | index, language); other requests are recorded
    // and answered with `vendorReply`.
    std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<std::uint8_t>> descriptors;
    std::vector<Zel::ControlSetup> requests;
    std::vector<std::vector<std::uint8_t>> requestData;
    std::vector<std::uint8_t> vendorReply;
    Zel::NTSTATUS vendorStatus = Zel::STATUS_SUCCESS;

    Zel::NTSTATUS controlTransfer(const Zel::ControlSetup &setup, std::uint8_t *data, std::uint32_t length,
                                  std::uint32_t &transferred) override
    {
        transferred = 0;
        if (setup.function == Zel::FunctionGetDescriptorFromDevice) {
            const std::uint16_t language = (setup.value >> 8) == 3 && (setup.value & 0xFF) != 0 ? setup.index : 0;
            auto it = descriptors.find({setup.value, language});
            if (it == descriptors.end())
                return Zel::STATUS_UNSUCCESSFUL;
            transferred = static_cast<std::uint32_t>(std::min<std::size_t>(length, it->second.size()));
            std::memcpy(data, it->second.data(), transferred);
            return Zel::STATUS_SUCCESS;
        }
        requests.push_back(setup);
        requestData.emplace_back(data, data + (setup.directionIn ? 0 : length));
        if (!Zel::NT_SUCCESS(vendorStatus))
            return vendorStatus;
        if (setup.directionIn) {
            transferred = static_cast<std::uint32_t>(std::min<std::size_t>(length, vendorReply.size()));
            if (transferred)
                std::memcpy(data, vendorReply.data(), transferred);
        } else {
            transferred = length;
        }
        return Zel::STATUS_SUCCESS;
    }

    Zel::NTSTATUS readRegistryDword(const char *subkey, const char *name, std::uint32_t &value) override
    {
        auto it = dwords.find(std::string(subkey) + "\\" + name);
        if (it == dwords.end())
            return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
        value = it->second;
        return Zel::STATUS_SUCCESS;
    }
    Zel::NTSTATUS readRegistryString(const char *subkey, const char *name, char *value, std::uint32_t capacity) override
    {
        auto it = strings.find(std::string(subkey) + "\\" + name);
        if (it == strings.end() || capacity == 0)
            return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
        const std::size_t n = std::min<std::size_t>(it->second.size(), capacity - 1);
        std::memcpy(value, it->second.data(), n);
        value[n] = 0;
        return Zel::STATUS_SUCCESS;
    }
    Zel::NTSTATUS writeRegistryString(const char *key, const char *name, const char *value) override
    {
        writes.push_back(std::string(key) + "|" + name + "=" + value);
        return Zel::STATUS_SUCCESS;
    }
    Zel::NTSTATUS readFile(const char *path, std::uint64_t offset, std::uint8_t *buffer, std::uint32_t length,
                           std::uint32_t &read) override
    {
        read = 0;
        auto it = files.find(path);
        if (it == files.end())
            return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
        return readFrom(it->second, offset, buffer, length, read);
    }

    std::size_t pendingOut() { return pendingCount(Direction::Out); }
    std::size_t pendingIn() { return pendingCount(Direction::In); }

    // Completes the oldest OUT transfer; its bytes join sentBytes().
    bool completeOut() { return completeOne(Direction::Out); }
    void completeAllOut()
    {
        while (completeOut()) {}
    }

    // Completes the oldest IN transfer with these packet bytes.
    bool completeIn(const std::vector<std::uint8_t> &bytes, Zel::NTSTATUS result = Zel::STATUS_SUCCESS)
    {
        Zel::BulkRequest *request = take(Direction::In);
        if (!request)
            return false;
        const std::size_t n = std::min<std::size_t>(bytes.size(), request->length);
        if (n)
            std::memcpy(request->buffer, bytes.data(), n);
        request->transferred = static_cast<std::uint32_t>(n);
        request->result = result;
        request->completion(*request, request->context);
        return true;
    }

    std::vector<std::uint8_t> sentBytes()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_sent;
    }
    std::vector<std::uint32_t> transferSizes()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_transferSizes;
    }

    // Threaded tests: OUT transfers complete on a thread of their own.
    void startCompleter() { QueuedDriverPlatform::startCompleter(Direction::Out); }

private:
    void sent(const Zel::BulkRequest &request) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_sent.insert(m_sent.end(), request.buffer, request.buffer + request.length);
        m_transferSizes.push_back(request.length);
    }

    std::vector<std::uint8_t> m_sent;
    std::vector<std::uint32_t> m_transferSizes;
};

// A stream owner with one OUT endpoint (0x01) and one IN endpoint (0x81).
class FakeStreamOwner : public Zel::StreamOwner
{
public:
    explicit FakeStreamOwner(std::uint32_t transferSize = 16, std::uint8_t outCables = 2)
    {
        out.initialise(&fake, 1, 0x01, 0x101, transferSize, outCables);
        in.initialise(&fake, 1, 0x81, 0x181, transferSize, 1);
    }
    ~FakeStreamOwner() override
    {
        fake.stopCompleter();
        in.stopReading();
    }

    void streamOpened() override { ++openStreams; }
    void streamClosed() override { --openStreams; }
    bool isStarted() const override { return started; }
    Zel::DriverPlatform &platform() override { return fake; }
    Zel::MidiEndpoint *findEndpoint(std::uint8_t interfaceNumber, std::uint8_t address) override
    {
        if (interfaceNumber != 1)
            return nullptr;
        return address == 0x01 ? &out : address == 0x81 ? &in : nullptr;
    }

    Zel::MidiStream *open(bool capture, std::uint8_t cable = 0, Zel::StreamNotify notify = nullptr,
                          void *context = nullptr)
    {
        Zel::MidiStream *stream = nullptr;
        const Zel::NTSTATUS status =
            Zel::MidiStream::create(*this, 1, capture ? 0x81 : 0x01, cable, capture, notify, context, stream);
        return Zel::NT_SUCCESS(status) ? stream : nullptr;
    }

    FakeDriverPlatform fake;
    Zel::MidiEndpoint out;
    Zel::MidiEndpoint in;
    std::atomic<int> openStreams{0};
    bool started = true;
};

} // namespace ZelTest
