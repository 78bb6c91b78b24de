#include "driver/MidiMiniport.h"

#include "driver/PortNaming.h"
#include "driver/UsbMidiAdapter.h"

#include <cstring>

namespace Zel {

MidiMiniport::MidiMiniport(UsbMidiAdapter &adapter, const char *name, MiniportKind kind, std::uint8_t interfaceNumber,
                           std::uint8_t endpointAddress, std::uint8_t cableIndex)
    : m_adapter(adapter)
    , m_kind(kind)
    , m_interfaceNumber(interfaceNumber)
    , m_endpointAddress(endpointAddress)
    , m_cableIndex(cableIndex)
{
    std::strncpy(m_name, name, MaxNameLength);
}

FilterKind MidiMiniport::description() const
{
    if (m_kind == MiniportKind::Control)
        return FilterKind::Control;
    return (m_endpointAddress & 0x80) ? FilterKind::Capture : FilterKind::Render;
}

NTSTATUS MidiMiniport::init()
{
    if (m_kind != MiniportKind::MidiData || !m_adapter.device())
        return STATUS_SUCCESS;
    m_portName = Zel::portName(*m_adapter.device(), m_endpointAddress, m_cableIndex, m_adapter.language());
    if (m_portName.empty())
        return STATUS_SUCCESS;
    const std::string key = std::string(m_name) + "\\Device Parameters";
    // A failed write leaves the port unnamed but working.
    m_adapter.platform().writeRegistryString(key.c_str(), "FriendlyName", m_portName.c_str());
    return STATUS_SUCCESS;
}

NTSTATUS MidiMiniport::newStream(bool capture, StreamNotify notify, void *notifyContext, MidiStream *&stream)
{
    stream = nullptr;
    if (!m_adapter.isStarted())
        return STATUS_DEVICE_NOT_CONNECTED;
    if (m_kind == MiniportKind::Control || capture != ((m_endpointAddress & 0x80) != 0))
        return STATUS_INVALID_DEVICE_REQUEST;
    return MidiStream::create(m_adapter, m_interfaceNumber, m_endpointAddress, m_cableIndex, capture, notify,
                              notifyContext, stream);
}

void MidiMiniport::powerChange(std::uint32_t deviceState)
{
    if (m_kind != MiniportKind::MidiData)
        return;
    MidiEndpoint *endpoint = m_adapter.findEndpoint(m_interfaceNumber, m_endpointAddress);
    if (!endpoint)
        return;
    if (deviceState == PowerD0)
        endpoint->startReading();
    else
        endpoint->stopReading();
}

} // namespace Zel
