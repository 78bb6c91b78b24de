#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Platform {

// The calls the editor and the updater make on the driver's control
// interface: find the present interfaces of its class, open one, send
// kernel-streaming property requests, close; and the service lookups the
// about box needs.
class DeviceControl
{
public:
    using Handle = std::intptr_t;
    static constexpr Handle InvalidHandle = -1;

    struct Interface {
        std::wstring instanceId;
        std::wstring path;
    };
    struct FileVersion {
        std::uint16_t part[4] = {0, 0, 0, 0};
    };
    struct Result {
        bool ok = false;
        std::int32_t status = 0; // the driver's status code (simulated) or the system error
        std::uint32_t returned = 0;
    };

    virtual ~DeviceControl() = default;

    // Present devices exposing the control interface class, in system order.
    virtual std::vector<Interface> presentInterfaces() = 0;
    virtual Handle open(const std::wstring &path) = 0;
    // input: the 24-byte property header and the instance; output: the value.
    virtual Result propertyRequest(Handle handle, const std::uint8_t *input, std::uint32_t inputSize,
                                   std::uint8_t *output, std::uint32_t outputSize) = 0;
    virtual void close(Handle handle) = 0;
    // The driver service of a device instance, and that service's executable.
    virtual std::wstring serviceName(const std::wstring &instanceId) = 0;
    virtual std::wstring serviceBinaryPath(const std::wstring &service) = 0;
    virtual FileVersion fileVersion(const std::wstring &path) = 0;
    // Why the last scan's devices could not be opened, and what the user can
    // do about it (a missing permission); empty when nothing stood in the way.
    virtual std::wstring accessAdvice() { return std::wstring(); }
};

// The platform's implementation (Windows: the set-up API and DeviceIoControl;
// Linux: libusb).
// Null where the platform has none.
std::unique_ptr<DeviceControl> createSystemDeviceControl();

} // namespace Platform
