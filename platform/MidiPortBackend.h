#pragma once

#include "platform/MidiApi.h"
#include "platform/MidiHandleTable.h"
#include "platform/MidiInputQueue.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// What the backends that run their own ports (ALSA, the simulated machine)
// share: the handle tables, header preparation, the input buffer queue and
// the output's done notification. A backend opens its ports and says how
// bytes go out; every call on an open handle is answered here.
namespace Platform {

// An open input. Its reader feeds `queue`; destroying it closes the port,
// and no callback of it runs afterwards.
class BackendInput
{
public:
    BackendInput(MidiInHandle handle, MidiInCallback callback, std::uintptr_t instance)
        : queue(handle, callback, instance)
    {
    }
    virtual ~BackendInput() = default;
    BackendInput(const BackendInput &) = delete;
    BackendInput &operator=(const BackendInput &) = delete;

    MidiInputQueue queue;
};

// An open output; destroying it closes the port.
class BackendOutput
{
public:
    BackendOutput(MidiOutHandle handle, MidiOutCallback callback, std::uintptr_t instance)
        : m_handle(handle), m_callback(callback), m_instance(instance)
    {
    }
    virtual ~BackendOutput() = default;
    BackendOutput(const BackendOutput &) = delete;
    BackendOutput &operator=(const BackendOutput &) = delete;

    // Sends the bytes whole before returning; false when they could not be sent.
    virtual bool send(const std::uint8_t *data, std::size_t length) = 0;

    // A long message: sent, then its header goes back done.
    MidiResult longMessage(MidiHeader &header);

private:
    MidiOutHandle m_handle;
    MidiOutCallback m_callback;
    std::uintptr_t m_instance;
};

class MidiPortBackend : public MidiApi
{
public:
    MidiResult midiInPrepareHeader(MidiInHandle handle, MidiHeader *header) final;
    MidiResult midiInUnprepareHeader(MidiInHandle handle, MidiHeader *header) final;
    MidiResult midiInAddBuffer(MidiInHandle handle, MidiHeader *header) final;
    MidiResult midiInStart(MidiInHandle handle) final;
    MidiResult midiInStop(MidiInHandle handle) final;
    MidiResult midiInReset(MidiInHandle handle) final;
    MidiResult midiInClose(MidiInHandle handle) final;

    MidiResult midiOutPrepareHeader(MidiOutHandle handle, MidiHeader *header) final;
    MidiResult midiOutUnprepareHeader(MidiOutHandle handle, MidiHeader *header) final;
    MidiResult midiOutLongMsg(MidiOutHandle handle, MidiHeader *header) final;
    // Sends finish before midiOutLongMsg returns: nothing is ever queued.
    MidiResult midiOutReset(MidiOutHandle handle) final;
    MidiResult midiOutClose(MidiOutHandle handle) final;

protected:
    // Checks the arguments every open shares, reserves a handle and lets
    // `open(handle, port)` open the backend's port; publishes it on success.
    template <typename Open>
    MidiResult openInput(MidiInHandle *handle, MidiInCallback callback, unsigned flags, Open &&open)
    {
        return openPort(m_inputs, handle, callback != nullptr, flags, open);
    }
    template <typename Open>
    MidiResult openOutput(MidiOutHandle *handle, MidiOutCallback callback, unsigned flags, Open &&open)
    {
        return openPort(m_outputs, handle, callback != nullptr, flags, open);
    }

    // Closes the ports still open. A backend calls it from its destructor,
    // while what its ports refer to still exists.
    void closeAll();

private:
    template <typename Port, typename Handle, typename Open>
    static MidiResult openPort(MidiHandleTable<Port, Handle> &table, Handle *handle, bool hasCallback, unsigned flags,
                               Open &open)
    {
        if (flags != CALLBACK_FUNCTION || !hasCallback || !handle)
            return MMSYSERR_INVALFLAG;
        const Handle fresh = table.reserve();
        std::unique_ptr<Port> port;
        const MidiResult result = open(fresh, port);
        if (result != MMSYSERR_NOERROR)
            return result;
        if (!port)
            return MMSYSERR_ERROR;
        table.adopt(fresh, std::move(port));
        *handle = fresh;
        return MMSYSERR_NOERROR;
    }

    MidiHandleTable<BackendInput, MidiInHandle> m_inputs;
    MidiHandleTable<BackendOutput, MidiOutHandle> m_outputs;
};

// Header preparation as the backends without a system header to shadow do it.
MidiResult prepareHeader(MidiHeader *header);
MidiResult unprepareHeader(MidiHeader *header);

} // namespace Platform
