#include "platform/linux/LibusbControlPipe.h"

#include <libusb.h>

#include <chrono>

namespace Platform {

namespace {

constexpr int RecipientMask = 0x1F;
constexpr int RecipientInterface = 1;
constexpr int RecipientEndpoint = 2;
constexpr std::uint8_t UpdateStartRequest = 4;

} // namespace

Zel::NTSTATUS LibusbControlPipe::statusOf(int libusbError)
{
    switch (libusbError) {
    case LIBUSB_SUCCESS:
        return Zel::STATUS_SUCCESS;
    case LIBUSB_ERROR_NO_DEVICE:
        return Zel::STATUS_DEVICE_NOT_CONNECTED;
    case LIBUSB_ERROR_ACCESS:
        return Zel::STATUS_ACCESS_DENIED;
    case LIBUSB_ERROR_NO_MEM:
        return Zel::STATUS_INSUFFICIENT_RESOURCES;
    default: // a stall, a time-out, an I/O error
        return Zel::STATUS_UNSUCCESSFUL;
    }
}

std::uint64_t LibusbControlPipe::now100ns()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100);
}

Zel::NTSTATUS LibusbControlPipe::controlTransfer(const Zel::ControlSetup &setup, std::uint8_t *data,
                                                 std::uint32_t length, std::uint32_t &transferred)
{
    transferred = 0;
    const int type = Zel::requestTypeOf(setup.function);
    if (type < 0 || length > 0xFFFF)
        return Zel::STATUS_INVALID_PARAMETER;
    if ((type & RecipientMask) == RecipientInterface || (type & RecipientMask) == RecipientEndpoint)
        return Zel::STATUS_NOT_SUPPORTED;
    const unsigned timeout = setup.function == Zel::FunctionVendorOther && setup.request == UpdateStartRequest
                                 ? UpdateStartTimeoutMs
                                 : TimeoutMs;
    const int done = libusb_control_transfer(m_device, static_cast<std::uint8_t>(type | (setup.directionIn ? 0x80 : 0)),
                                             setup.request, setup.value, setup.index, data,
                                             static_cast<std::uint16_t>(length), timeout);
    if (done < 0)
        return statusOf(done);
    transferred = static_cast<std::uint32_t>(done);
    return Zel::STATUS_SUCCESS;
}

} // namespace Platform
