#include "simulator/usb/UsbController.h"

#include <algorithm>
#include <cstring>

namespace Sim {

namespace {

enum StandardRequestCode : std::uint8_t { GetDescriptor = 6, SetConfiguration = 9 };
constexpr std::uint8_t UpdateRequestType = std::uint8_t(VendorRequest) | std::uint8_t(RecipientOther);

FirmwareRevision revisionOf(const std::shared_ptr<MidiFirmware> &firmware)
{
    return firmware ? firmware->revision() : ShippedRevision;
}

} // namespace

UsbController::UsbController(int model, std::shared_ptr<MidiFirmware> firmware, int serial, const UsbFaults &faults)
    : m_model(model)
    , m_descriptors(model, serial)
    , m_firmware(std::move(firmware))
    , m_function(m_firmware)
    , m_update(revisionOf(m_firmware).date, revisionOf(m_firmware).version)
{
    setFaults(faults);
}

void UsbController::setFaults(const UsbFaults &faults)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_update.setFaults(faults);
    if (faults.corruptDescriptor)
        m_descriptors.corruptMidiStreamingInterface();
}

UsbResult UsbController::standardRequest(const UsbSetup &setup, std::uint8_t *data, std::uint32_t &transferred)
{
    if (setup.request == SetConfiguration && !setup.deviceToHost()) {
        m_configuration = static_cast<std::uint8_t>(setup.value);
        return UsbResult::Ok;
    }
    if (setup.request != GetDescriptor || !setup.deviceToHost())
        return UsbResult::Stall;
    std::vector<std::uint8_t> descriptor;
    switch (setup.value >> 8) {
    case 1:
        descriptor = m_descriptors.device();
        break;
    case 2:
        descriptor = m_descriptors.configuration();
        break;
    case 3:
        descriptor = m_descriptors.string(static_cast<std::uint8_t>(setup.value), setup.index);
        break;
    default:
        break;
    }
    if (descriptor.empty())
        return UsbResult::Stall;
    transferred = std::min<std::uint32_t>(setup.length, static_cast<std::uint32_t>(descriptor.size()));
    std::memcpy(data, descriptor.data(), transferred);
    return UsbResult::Ok;
}

UsbResult UsbController::control(const UsbSetup &setup, std::uint8_t *data, std::uint32_t &transferred)
{
    std::lock_guard<std::mutex> guard(m_lock);
    transferred = 0;
    if (!m_connected)
        return UsbResult::Disconnected;
    if (setup.type() == StandardRequest)
        return standardRequest(setup, data, transferred);
    if ((setup.requestType & 0x7F) != UpdateRequestType)
        return UsbResult::Stall;
    bool leave = false;
    const int installs = m_update.installCount();
    const UsbResult result = m_update.handle(setup, data, transferred, leave);
    if (leave)
        m_connected = false;
    if (m_update.installCount() != installs && m_firmware)
        m_firmware->installed(FirmwareRevision{m_update.date(), m_update.version()});
    return result;
}

UsbResult UsbController::bulkOut(std::uint8_t endpoint, const std::uint8_t *data, std::size_t size)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_connected)
        return UsbResult::Disconnected;
    if (endpoint != MidiOutEndpoint)
        return UsbResult::Stall;
    m_function.receivePackets(data, size);
    return UsbResult::Ok;
}

UsbResult UsbController::bulkIn(std::uint8_t endpoint, std::uint8_t *data, std::size_t capacity, std::size_t &size)
{
    std::lock_guard<std::mutex> guard(m_lock);
    size = 0;
    if (!m_connected)
        return UsbResult::Disconnected;
    if (endpoint != MidiInEndpoint)
        return UsbResult::Stall;
    size = m_function.takePackets(data, capacity);
    return UsbResult::Ok;
}

bool UsbController::hasInData() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_function.hasPackets();
}

std::optional<UsbMidiFunction::Clock::time_point> UsbController::nextInDue() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_function.nextDue();
}

bool UsbController::connected() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_connected;
}

void UsbController::disconnect()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_connected = false;
}

std::vector<std::uint8_t> UsbController::socketBytes() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_function.socketBytes();
}

std::uint16_t UsbController::firmwareVersion() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_update.version();
}

std::uint16_t UsbController::firmwareDate() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_update.date();
}

FirmwareRevision UsbController::firmwareRevision() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return FirmwareRevision{m_update.date(), m_update.version()};
}

void UsbController::sendFromController(const std::vector<std::uint8_t> &bytes)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_function.send(bytes);
}

} // namespace Sim
