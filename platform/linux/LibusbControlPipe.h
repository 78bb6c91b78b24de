#pragma once

#include "driver/ZelPlatform.h"

struct libusb_device_handle;

namespace Platform {

// The driver core's platform for a controller opened through libusb beside
// the kernel's USB audio driver: control transfers to the device and to the
// "other" recipient only. Selecting a configuration or an interface, bulk
// transfers and requests to an interface or endpoint (which usbfs would claim
// the interface for) are refused: taking any interface from the kernel shuts
// the controller's sound card down until it is plugged in again.
class LibusbControlPipe : public Zel::DriverPlatform
{
public:
    static constexpr unsigned TimeoutMs = 10000;
    static constexpr unsigned UpdateStartTimeoutMs = 30000; // the controller erases its flash first

    explicit LibusbControlPipe(libusb_device_handle *device) : m_device(device) {}

    // A libusb error as the driver's status.
    static Zel::NTSTATUS statusOf(int libusbError);

    std::uint64_t now100ns() override;
    Zel::NTSTATUS submitBulk(Zel::BulkRequest &) override { return Zel::STATUS_NOT_SUPPORTED; }
    Zel::NTSTATUS abortPipe(Zel::PipeHandle) override { return Zel::STATUS_NOT_SUPPORTED; }
    Zel::NTSTATUS controlTransfer(const Zel::ControlSetup &setup, std::uint8_t *data, std::uint32_t length,
                                  std::uint32_t &transferred) override;
    Zel::NTSTATUS selectConfiguration(const std::uint8_t *, std::uint32_t) override
    {
        return Zel::STATUS_NOT_SUPPORTED;
    }
    Zel::NTSTATUS selectInterface(std::uint8_t, Zel::PipeSelection *, std::uint32_t) override
    {
        return Zel::STATUS_NOT_SUPPORTED;
    }
    // No registry and no language file: the device's own languages.
    Zel::NTSTATUS readRegistryDword(const char *, const char *, std::uint32_t &) override
    {
        return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
    }
    Zel::NTSTATUS readRegistryString(const char *, const char *, char *, std::uint32_t) override
    {
        return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
    }
    Zel::NTSTATUS writeRegistryString(const char *, const char *, const char *) override
    {
        return Zel::STATUS_NOT_SUPPORTED;
    }
    Zel::NTSTATUS readFile(const char *, std::uint64_t, std::uint8_t *, std::uint32_t, std::uint32_t &) override
    {
        return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
    }

private:
    libusb_device_handle *m_device;
};

} // namespace Platform
