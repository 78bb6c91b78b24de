#include "platform/sim/SimMidi.h"

namespace Platform {

// An endpoint's input side; it accepts one open at a time.
class SimMidi::Input : public BackendInput
{
public:
    Input(SimMidi &owner, unsigned index, MidiInHandle handle, MidiInCallback callback, std::uintptr_t instance)
        : BackendInput(handle, callback, instance), m_owner(owner), m_index(index)
    {
    }
    ~Input() override
    {
        if (m_connected)
            m_owner.m_endpoints[m_index]->closeInput();
        m_owner.inputClosed(m_index);
    }

    MidiResult connect()
    {
        const MidiResult opened = m_owner.m_endpoints[m_index]->openInput(
            [this](const std::uint8_t *data, std::size_t length) { queue.feedLongData(data, length); });
        m_connected = opened == MMSYSERR_NOERROR;
        return opened;
    }

private:
    SimMidi &m_owner;
    unsigned m_index;
    bool m_connected = false;
};

class SimMidi::Output : public BackendOutput
{
public:
    Output(SimMidiEndpoint &endpoint, MidiOutHandle handle, MidiOutCallback callback, std::uintptr_t instance)
        : BackendOutput(handle, callback, instance), m_endpoint(endpoint)
    {
    }
    ~Output() override { m_endpoint.closeOutput(); }

    bool send(const std::uint8_t *data, std::size_t length) override { return m_endpoint.bytesOut(data, length); }

private:
    SimMidiEndpoint &m_endpoint;
};

SimMidi::SimMidi(std::vector<std::shared_ptr<SimMidiEndpoint>> endpoints)
    : m_endpoints(std::move(endpoints)), m_inputOpen(m_endpoints.size(), false)
{
}

SimMidi::~SimMidi() { closeAll(); }

MidiResult SimMidi::name(unsigned index, std::string &name) const
{
    if (index >= m_endpoints.size())
        return MMSYSERR_BADDEVICEID;
    name = m_endpoints[index]->portName();
    return MMSYSERR_NOERROR;
}

void SimMidi::inputClosed(unsigned index)
{
    std::lock_guard lock(m_mutex);
    m_inputOpen[index] = false;
}

unsigned SimMidi::midiInGetNumDevs() { return unsigned(m_endpoints.size()); }

MidiResult SimMidi::midiInGetDevCaps(unsigned index, std::string &name) { return this->name(index, name); }

MidiResult SimMidi::midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback, std::uintptr_t instance,
                               unsigned flags)
{
    return openInput(handle, callback, flags, [&](MidiInHandle fresh, std::unique_ptr<BackendInput> &port) {
        if (index >= m_endpoints.size())
            return MMSYSERR_BADDEVICEID;
        {
            std::lock_guard lock(m_mutex);
            if (m_inputOpen[index])
                return MMSYSERR_ALLOCATED;
            m_inputOpen[index] = true;
        }
        auto input = std::make_unique<Input>(*this, index, fresh, callback, instance);
        const MidiResult opened = input->connect();
        if (opened == MMSYSERR_NOERROR)
            port = std::move(input);
        return opened;
    });
}

unsigned SimMidi::midiOutGetNumDevs() { return unsigned(m_endpoints.size()); }

MidiResult SimMidi::midiOutGetDevCaps(unsigned index, std::string &name) { return this->name(index, name); }

MidiResult SimMidi::midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback,
                                std::uintptr_t instance, unsigned flags)
{
    return openOutput(handle, callback, flags, [&](MidiOutHandle fresh, std::unique_ptr<BackendOutput> &port) {
        if (index >= m_endpoints.size())
            return MMSYSERR_BADDEVICEID;
        const MidiResult opened = m_endpoints[index]->openOutput();
        if (opened == MMSYSERR_NOERROR)
            port = std::make_unique<Output>(*m_endpoints[index], fresh, callback, instance);
        return opened;
    });
}

} // namespace Platform
