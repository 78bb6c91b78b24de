#include "driver/MidiInterface.h"

#include <new>

namespace Zel {

namespace {

constexpr std::uint8_t AudioClass = 1;
constexpr std::uint8_t MidiStreamingSubclass = 3;

struct EndpointInfo {
    std::uint8_t address;
    std::uint16_t maxPacketSize;
    std::uint8_t cables;
    bool midi;
};

} // namespace

MidiInterface::~MidiInterface()
{
    for (std::uint32_t i = 0; i < m_count; ++i)
        delete m_endpoints[i];
}

NTSTATUS MidiInterface::create(UsbMidiDevice &device)
{
    const DescriptorWalker walker(device.configuration(), device.configurationLength());
    const std::uint32_t interface = walker.findInterfaceClass(AudioClass, MidiStreamingSubclass);
    if (interface >= walker.length())
        return STATUS_DEVICE_CONFIGURATION_ERROR;
    m_interfaceNumber = walker.at(interface)[2];

    EndpointInfo endpoints[MaxEndpoints] = {};
    std::uint32_t found = 0;
    const std::uint32_t end = walker.interfaceEnd(interface);
    bool afterEndpoint = false;
    for (std::uint32_t at = walker.next(interface); at < end && found < MaxEndpoints; at = walker.next(at)) {
        const std::uint8_t *d = walker.at(at);
        const bool endpoint = d[1] == EndpointDescriptorType && d[0] >= EndpointDescriptorLength;
        if (endpoint) {
            endpoints[found++] = EndpointInfo{d[2], readU16(d + 4), 0, false};
        } else if (afterEndpoint && d[1] == ClassEndpointDescriptorType && d[0] >= 4 && d[2] == MsGeneral) {
            endpoints[found - 1].midi = true;
            endpoints[found - 1].cables = d[3];
        }
        afterEndpoint = endpoint;
    }

    PipeSelection pipes[MaxEndpoints];
    for (std::uint32_t i = 0; i < found; ++i) {
        pipes[i].endpointAddress = endpoints[i].address;
        pipes[i].maximumTransferSize = endpoints[i].maxPacketSize;
    }
    const NTSTATUS result = device.platform().selectInterface(m_interfaceNumber, pipes, found);
    if (!NT_SUCCESS(result))
        return result;

    for (std::uint32_t i = 0; i < found; ++i) {
        // A transfer must hold at least one packet.
        if (!endpoints[i].midi || endpoints[i].maxPacketSize < PacketSize)
            continue;
        MidiEndpoint *endpoint = new (std::nothrow) MidiEndpoint;
        if (!endpoint)
            return STATUS_INSUFFICIENT_RESOURCES;
        endpoint->initialise(&device.platform(), m_interfaceNumber, endpoints[i].address, pipes[i].handle,
                             endpoints[i].maxPacketSize, endpoints[i].cables);
        m_endpoints[m_count++] = endpoint;
    }
    return m_count ? STATUS_SUCCESS : STATUS_DEVICE_CONFIGURATION_ERROR;
}

MidiEndpoint *MidiInterface::find(std::uint8_t interfaceNumber, std::uint8_t address)
{
    for (std::uint32_t i = 0; i < m_count; ++i) {
        if (m_endpoints[i]->interfaceNumber() == interfaceNumber && m_endpoints[i]->address() == address)
            return m_endpoints[i];
    }
    return nullptr;
}

void MidiInterface::startReading()
{
    for (std::uint32_t i = 0; i < m_count; ++i)
        m_endpoints[i]->startReading();
}

void MidiInterface::stopReading()
{
    for (std::uint32_t i = 0; i < m_count; ++i)
        m_endpoints[i]->stopReading();
}

} // namespace Zel
