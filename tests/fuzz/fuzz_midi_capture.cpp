// Arbitrary packets through the IN completion into capture streams on every
// cable, with reads in between.
#include "driver/MidiEndpoint.h"
#include "driver/MidiStream.h"
#include "tests/support/FuzzDriverPlatform.h"

namespace {

class Owner : public Zel::StreamOwner
{
public:
    explicit Owner(FuzzDriverPlatform &platform) : m_platform(platform)
    {
        m_endpoint.initialise(&platform, 1, 0x81, 0x181, 64, 3);
    }
    void streamOpened() override {}
    void streamClosed() override {}
    bool isStarted() const override { return true; }
    Zel::DriverPlatform &platform() override { return m_platform; }
    Zel::MidiEndpoint *findEndpoint(std::uint8_t, std::uint8_t address) override
    {
        return address == 0x81 ? &m_endpoint : nullptr;
    }
    Zel::MidiEndpoint &endpoint() { return m_endpoint; }

private:
    FuzzDriverPlatform &m_platform;
    Zel::MidiEndpoint m_endpoint;
};

void countNotify(void *context, std::uint32_t available)
{
    if (available > 512)
        __builtin_trap();
    ++*static_cast<int *>(context);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzDriverPlatform platform;
    Owner owner(platform);
    int notifications = 0;
    Zel::MidiStream *streams[3] = {};
    for (std::uint8_t cable = 0; cable < 3; ++cable) {
        if (!Zel::NT_SUCCESS(
                Zel::MidiStream::create(owner, 1, 0x81, cable, true, countNotify, &notifications, streams[cable])))
            return 0;
    }
    owner.endpoint().startReading();
    std::size_t at = 0;
    while (at < size && !platform.pending.empty()) {
        // First byte: length of this transfer and which stream reads after it.
        const std::size_t length = std::min<std::size_t>(data[at] % 80, size - at - 1);
        const std::uint8_t reader = data[at] % 3;
        ++at;
        Zel::BulkRequest *request = platform.pending.front();
        platform.pending.erase(platform.pending.begin());
        const std::size_t copied = std::min<std::size_t>(length, request->length);
        std::memcpy(request->buffer, data + at, copied);
        request->transferred = static_cast<std::uint32_t>(length); // may claim more than the buffer
        request->result = length == 79 ? Zel::STATUS_UNSUCCESSFUL : Zel::STATUS_SUCCESS;
        request->completion(*request, request->context);
        at += length;
        std::uint8_t buffer[100];
        std::uint32_t read = 0;
        streams[reader]->read(buffer, sizeof buffer, read);
    }
    owner.endpoint().stopReading();
    for (Zel::MidiStream *stream : streams)
        Zel::MidiStream::destroy(stream);
    return 0;
}
