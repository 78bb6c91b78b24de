// Arbitrary MIDI bytes through the byte parser and the packetiser, directly
// and through a render stream whose transfers complete as the input says.
#include "driver/MidiEndpoint.h"
#include "driver/MidiPacketiser.h"
#include "driver/MidiStream.h"
#include "tests/support/FuzzDriverPlatform.h"

#include <cstdlib>

namespace {

struct CheckingSink {
    std::uint8_t cable;
    std::uint8_t packet[4] = {};
    std::uint8_t *at = packet;
    std::uint8_t *end = packet + 4;
    void full()
    {
        at = packet;
        // The cable nibble is the stream's; unused trailing bytes are zero.
        if (Zel::packetCable(packet) != cable)
            std::abort();
        const std::uint8_t count = Zel::cinByteCount[Zel::packetCin(packet)];
        for (std::uint8_t i = count + 1; i < 4; ++i) {
            if (packet[i] != 0)
                std::abort();
        }
    }
    void submitNow() {}
};

class Owner : public Zel::StreamOwner
{
public:
    explicit Owner(FuzzDriverPlatform &platform) : m_platform(platform)
    {
        m_endpoint.initialise(&platform, 1, 0x01, 0x101, 16, 2);
    }
    void streamOpened() override {}
    void streamClosed() override {}
    bool isStarted() const override { return true; }
    Zel::DriverPlatform &platform() override { return m_platform; }
    Zel::MidiEndpoint *findEndpoint(std::uint8_t, std::uint8_t address) override
    {
        return address == 0x01 ? &m_endpoint : nullptr;
    }

private:
    FuzzDriverPlatform &m_platform;
    Zel::MidiEndpoint m_endpoint;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Zel::MidiByteParser parser;
    bool idle = true;
    CheckingSink sink{static_cast<std::uint8_t>(size ? data[0] & 0x0F : 0)};
    if (Zel::packetise(parser, idle, sink.cable, data, static_cast<std::uint32_t>(size), sink) != size)
        std::abort();

    FuzzDriverPlatform platform;
    Owner owner(platform);
    Zel::MidiStream *streams[2] = {};
    for (int i = 0; i < 2; ++i) {
        if (!Zel::NT_SUCCESS(Zel::MidiStream::create(owner, 1, 0x01, 0, false, nullptr, nullptr, streams[i])))
            return 0;
        streams[i]->setState(Zel::StreamState::Run);
    }
    // Bytes go to stream (byte & 1) in runs; 0xFD completes a transfer.
    std::size_t at = 0;
    while (at < size) {
        std::size_t run = 1 + data[at] % 16;
        run = std::min(run, size - at);
        std::uint32_t accepted = 0;
        streams[data[at] & 1]->write(data + at, static_cast<std::uint32_t>(run), accepted);
        if (data[at] == 0xFD)
            platform.completeOne();
        at += run;
    }
    platform.startCompleter();
    for (Zel::MidiStream *stream : streams) {
        stream->setState(Zel::StreamState::Pause);
        stream->setState(Zel::StreamState::Acquire);
        stream->setState(Zel::StreamState::Stop);
        Zel::MidiStream::destroy(stream);
    }
    platform.stopCompleter();
    return 0;
}
