#include "driver/MidiStream.h"

#include "driver/MidiEndpoint.h"

#include <new>

namespace Zel {

NTSTATUS MidiStream::create(StreamOwner &owner, std::uint8_t interfaceNumber, std::uint8_t endpointAddress,
                            std::uint8_t cableIndex, bool capture, StreamNotify notify, void *notifyContext,
                            MidiStream *&stream)
{
    stream = nullptr;
    owner.streamOpened();
    MidiStreamContext *context = new (std::nothrow) MidiStreamContext;
    if (!context) {
        owner.streamClosed();
        return STATUS_NO_MEMORY;
    }
    MidiEndpoint *endpoint = owner.findEndpoint(interfaceNumber, endpointAddress);
    if (!endpoint || cableIndex >= endpoint->cableCount()) {
        delete context;
        owner.streamClosed();
        return STATUS_DEVICE_CONFIGURATION_ERROR;
    }
    MidiStream *created = new (std::nothrow) MidiStream(owner, context);
    if (!created) {
        delete context;
        owner.streamClosed();
        return STATUS_INSUFFICIENT_RESOURCES;
    }
    context->cable = &endpoint->cable(cableIndex);
    context->capture = endpoint->isIn();
    context->cableNumber = cableIndex;
    context->sysExTimeoutMs = DefaultSysExTimeoutMs;
    if (capture) {
        context->notify = notify;
        context->notifyContext = notifyContext;
    }
    context->cable->addStream(*context);
    if (!context->capture) {
        std::uint32_t timeout = 0;
        if (NT_SUCCESS(owner.platform().readRegistryDword("Settings", "SysExTimeOutPeriod", timeout))) {
            Locked<SpinLock> list(context->cable->listLock());
            context->sysExTimeoutMs = timeout;
        }
    }
    stream = created;
    return STATUS_SUCCESS;
}

NTSTATUS MidiStream::destroy(MidiStream *stream)
{
    if (!stream)
        return STATUS_INVALID_PARAMETER;
    const NTSTATUS result = stream->m_context->cable->closeStream(*stream->m_context);
    if (!NT_SUCCESS(result))
        return result;
    StreamOwner &owner = stream->m_owner;
    delete stream->m_context;
    delete stream;
    owner.streamClosed();
    return STATUS_SUCCESS;
}

NTSTATUS MidiStream::write(const std::uint8_t *bytes, std::uint32_t count, std::uint32_t &accepted)
{
    accepted = 0;
    if (m_context->capture)
        return STATUS_INVALID_DEVICE_REQUEST;
    accepted = m_context->cable->write(*m_context, bytes, count);
    return STATUS_SUCCESS;
}

NTSTATUS MidiStream::read(std::uint8_t *buffer, std::uint32_t size, std::uint32_t &read)
{
    read = 0;
    if (!m_context->capture)
        return STATUS_INVALID_DEVICE_REQUEST;
    Locked<SpinLock> guard(m_context->lock);
    read = m_context->fifo.read(buffer, size);
    return STATUS_SUCCESS;
}

NTSTATUS MidiStream::setState(StreamState state)
{
    return m_context->cable->setState(*m_context, state, m_owner.isStarted());
}

} // namespace Zel
