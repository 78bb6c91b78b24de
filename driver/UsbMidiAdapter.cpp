#include "driver/UsbMidiAdapter.h"

#include <cstdio>
#include <new>

namespace Zel {

UsbMidiAdapter::UsbMidiAdapter(DriverPlatform &platform) : m_platform(platform) {}

UsbMidiAdapter::~UsbMidiAdapter() { release(); }

void UsbMidiAdapter::release()
{
    if (m_interface)
        m_interface->stopReading();
    for (std::uint32_t i = 0; i < m_subdeviceCount; ++i)
        delete m_subdevices[i];
    m_subdeviceCount = 0;
    m_interface.reset();
    m_device.reset();
}

void UsbMidiAdapter::deviceWentAway(void *context)
{
    static_cast<UsbMidiAdapter *>(context)->m_flags |= FlagDeviceGone;
}

bool UsbMidiAdapter::isStarted() const
{
    const std::uint32_t state = m_pnpState.load();
    return state == PnpStarted || state == PnpStopped;
}

NTSTATUS UsbMidiAdapter::start()
{
    const std::uint32_t state = m_pnpState.load();
    if (state != PnpNotStarted && state != PnpStopped)
        return STATUS_UNSUCCESSFUL;
    if (deviceGone())
        return STATUS_DEVICE_NOT_CONNECTED;
    if (m_openStreams.load() != 0)
        return STATUS_UNSUCCESSFUL; // a restart must not pull cables from under open streams
    release();
    NTSTATUS result = init();
    if (NT_SUCCESS(result))
        result = installSubdevices();
    if (NT_SUCCESS(result) && deviceGone())
        result = STATUS_DEVICE_NOT_CONNECTED;
    if (!NT_SUCCESS(result)) {
        release();
        return result;
    }
    m_power = PowerD0;
    m_pnpState = PnpStarted;
    return STATUS_SUCCESS;
}

NTSTATUS UsbMidiAdapter::startControlOnly()
{
    if (m_pnpState.load() != PnpNotStarted)
        return STATUS_UNSUCCESSFUL;
    NTSTATUS result = createDevice();
    if (NT_SUCCESS(result))
        result = m_device->readDescriptors();
    if (!NT_SUCCESS(result)) {
        release();
        return result;
    }
    m_device->applyLanguages();
    m_pnpState = PnpStarted;
    return STATUS_SUCCESS;
}

NTSTATUS UsbMidiAdapter::createDevice()
{
    m_device.reset(new (std::nothrow) UsbMidiDevice(m_platform));
    if (!m_device)
        return STATUS_INSUFFICIENT_RESOURCES;
    m_device->setGoneCallback(&UsbMidiAdapter::deviceWentAway, this);
    return STATUS_SUCCESS;
}

NTSTATUS UsbMidiAdapter::init()
{
    NTSTATUS result = createDevice();
    if (NT_SUCCESS(result))
        result = m_device->initialise();
    if (!NT_SUCCESS(result))
        return result;
    m_interface.reset(new (std::nothrow) MidiInterface);
    if (!m_interface)
        return STATUS_INSUFFICIENT_RESOURCES;
    result = m_interface->create(*m_device);
    if (!NT_SUCCESS(result))
        return result;
    m_interface->startReading();
    m_device->applyLanguages();
    const std::uint8_t product = m_device->deviceDescriptor()[DeviceIProduct];
    if (product != 0) {
        const std::string name = m_device->readString(product, m_device->adapterLanguage());
        if (!name.empty())
            m_platform.writeRegistryString("Device", "FriendlyName", name.c_str());
    }
    return STATUS_SUCCESS;
}

NTSTATUS UsbMidiAdapter::addSubdevice(const char *name, MiniportKind kind, std::uint8_t interfaceNumber,
                                      std::uint8_t address, std::uint8_t cable)
{
    if (m_subdeviceCount == MaxSubdevices)
        return STATUS_INSUFFICIENT_RESOURCES;
    MidiMiniport *miniport = new (std::nothrow) MidiMiniport(*this, name, kind, interfaceNumber, address, cable);
    if (!miniport)
        return STATUS_INSUFFICIENT_RESOURCES;
    m_subdevices[m_subdeviceCount++] = miniport;
    return miniport->init();
}

// One port per cable, "OUT%02X"/"IN%02X" counted separately, then "DeviceControl".
NTSTATUS UsbMidiAdapter::installSubdevices()
{
    std::uint32_t outs = 0;
    std::uint32_t ins = 0;
    for (std::uint32_t e = 0; e < m_interface->endpointCount(); ++e) {
        MidiEndpoint &endpoint = m_interface->endpoint(e);
        for (std::uint8_t cable = 0; cable < endpoint.cableCount(); ++cable) {
            char name[16];
            if (endpoint.isIn())
                std::snprintf(name, sizeof name, "IN%02X", ins++ & 0xFF);
            else
                std::snprintf(name, sizeof name, "OUT%02X", outs++ & 0xFF);
            const NTSTATUS result =
                addSubdevice(name, MiniportKind::MidiData, endpoint.interfaceNumber(), endpoint.address(), cable);
            if (!NT_SUCCESS(result))
                return result;
        }
    }
    return addSubdevice("DeviceControl", MiniportKind::Control, 0, 0, 0);
}

void UsbMidiAdapter::queryRemoveOrStop() { m_pnpState |= PnpQueryPending; }

void UsbMidiAdapter::cancelRemoveOrStop() { m_pnpState &= ~std::uint32_t(PnpQueryPending); }

void UsbMidiAdapter::stop() { m_pnpState = PnpStopped; }

void UsbMidiAdapter::remove()
{
    const std::uint32_t state = m_pnpState.load();
    if ((state & PnpQueryPending) || state == PnpNotStarted || state == PnpStarted || state == PnpStopped ||
        state == PnpSurpriseRemoved) {
        m_pnpState = PnpRemoved;
        m_flags |= FlagDeviceGone;
    }
    // Removal waits until the aborted pipes have returned every transfer.
    if (m_interface)
        m_interface->stopReading();
}

void UsbMidiAdapter::surpriseRemoval()
{
    const std::uint32_t state = m_pnpState.load();
    if ((state & PnpQueryPending) || state == PnpNotStarted || state == PnpStarted || state == PnpStopped) {
        m_pnpState = PnpSurpriseRemoved;
        m_flags |= FlagDeviceGone;
    }
}

NTSTATUS UsbMidiAdapter::openStream(MidiMiniport &miniport, bool capture, StreamNotify notify, void *notifyContext,
                                    MidiStream *&stream)
{
    stream = nullptr;
    Locked<KernelMutex> guard(m_mutex);
    if (locked())
        return STATUS_INVALID_DEVICE_REQUEST;
    return miniport.newStream(capture, notify, notifyContext, stream);
}

NTSTATUS UsbMidiAdapter::openFilter()
{
    Locked<KernelMutex> guard(m_mutex);
    return locked() ? STATUS_INVALID_DEVICE_REQUEST : STATUS_SUCCESS;
}

NTSTATUS UsbMidiAdapter::checkDeviceControl() const
{
    return deviceGone() && m_openStreams.load() == 0 ? STATUS_DEVICE_NOT_CONNECTED : STATUS_SUCCESS;
}

NTSTATUS UsbMidiAdapter::setExclusiveLock(bool on)
{
    Locked<KernelMutex> guard(m_mutex);
    if (m_lockDecider) {
        const NTSTATUS result = m_lockDecider(on, m_lockDeciderContext);
        if (NT_SUCCESS(result) && on)
            m_flags |= FlagExclusiveLock;
        else if (NT_SUCCESS(result))
            m_flags &= ~std::uint32_t(FlagExclusiveLock);
        return result;
    }
    if (!on) {
        m_flags &= ~std::uint32_t(FlagExclusiveLock);
        return STATUS_SUCCESS;
    }
    if (m_openStreams.load() != 0)
        return STATUS_ACCESS_DENIED;
    m_flags |= FlagExclusiveLock;
    return STATUS_SUCCESS;
}

NTSTATUS UsbMidiAdapter::queryPowerState(DevicePowerState from, DevicePowerState to)
{
    if (from != PowerD3)
        return STATUS_SUCCESS;
    return to == PowerD0 || to == PowerD1 || to == PowerD3 ? STATUS_SUCCESS : STATUS_UNSUCCESSFUL;
}

void UsbMidiAdapter::setPowerState(DevicePowerState state)
{
    if (!m_device || state == m_power)
        return;
    m_power = state;
    m_device->setPoweredDown(state != PowerD0);
    for (std::uint32_t i = 0; i < m_subdeviceCount; ++i)
        m_subdevices[i]->powerChange(state);
}

MidiEndpoint *UsbMidiAdapter::findEndpoint(std::uint8_t interfaceNumber, std::uint8_t address)
{
    return m_interface ? m_interface->find(interfaceNumber, address) : nullptr;
}

} // namespace Zel
