#pragma once

#include "driver/MidiStreamContext.h"
#include "driver/ZelPlatform.h"

#include <cstdint>

namespace Zel {

class MidiEndpoint;

// What a stream needs of its adapter.
class StreamOwner
{
public:
    virtual ~StreamOwner() = default;
    virtual void streamOpened() = 0;
    virtual void streamClosed() = 0;
    virtual bool isStarted() const = 0;
    virtual DriverPlatform &platform() = 0;
    virtual MidiEndpoint *findEndpoint(std::uint8_t interfaceNumber, std::uint8_t address) = 0;
};

// An open pin stream on one cable: render streams write, capture streams read.
class MidiStream
{
public:
    static constexpr std::uint32_t DefaultSysExTimeoutMs = 1000;

    static NTSTATUS create(StreamOwner &owner, std::uint8_t interfaceNumber, std::uint8_t endpointAddress,
                           std::uint8_t cableIndex, bool capture, StreamNotify notify, void *notifyContext,
                           MidiStream *&stream);
    // Stops the cable when this was its last running stream, then frees the stream.
    static NTSTATUS destroy(MidiStream *stream);

    NTSTATUS write(const std::uint8_t *bytes, std::uint32_t count, std::uint32_t &accepted);
    NTSTATUS read(std::uint8_t *buffer, std::uint32_t size, std::uint32_t &read);
    NTSTATUS setState(StreamState state);

    bool capture() const { return m_context->capture; }

private:
    MidiStream(StreamOwner &owner, MidiStreamContext *context) : m_owner(owner), m_context(context) {}
    ~MidiStream() = default;

    StreamOwner &m_owner;
    MidiStreamContext *m_context;
};

} // namespace Zel
