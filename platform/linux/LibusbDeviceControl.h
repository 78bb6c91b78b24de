#pragma once

#include "platform/alsa/ControllerLock.h"
#include "platform/devicecontrol/ControlHandles.h"
#include "platform/devicecontrol/DeviceControl.h"

#include <atomic>
#include <string>

struct libusb_context;

namespace Platform {

struct LibusbControlHandle;

// The control interface of controllers plugged into this machine, over
// libusb beside the kernel's USB audio driver, which keeps the MIDI ports.
// Each open handle runs the driver core's property handler over control
// transfers, so it answers like the driver. A path is the device's kernel name
// (bus and port chain, "1-2"); Lock is an advisory lock our programs honour.
// The service is the kernel module bound to the MIDI interface, its version
// the running kernel's release. `root` is where /sys and /proc are read.
class LibusbDeviceControl : public DeviceControl
{
public:
    explicit LibusbDeviceControl(ControllerLock lock = ControllerLock::system(), std::string root = "/");
    ~LibusbDeviceControl() override;
    LibusbDeviceControl(const LibusbDeviceControl &) = delete;
    LibusbDeviceControl &operator=(const LibusbDeviceControl &) = delete;

    std::vector<Interface> presentInterfaces() override;
    Handle open(const std::wstring &path) override;
    Result propertyRequest(Handle handle, const std::uint8_t *input, std::uint32_t inputSize, std::uint8_t *output,
                           std::uint32_t outputSize) override;
    void close(Handle handle) override;
    std::wstring serviceName(const std::wstring &instanceId) override;
    std::wstring serviceBinaryPath(const std::wstring &service) override;
    FileVersion fileVersion(const std::wstring &path) override;
    std::wstring accessAdvice() override;

private:
    libusb_context *m_context = nullptr; // null when libusb cannot start: no devices
    ControllerLock m_lock;
    std::string m_root;
    ControlHandles<LibusbControlHandle> m_handles;
    std::atomic<bool> m_accessDenied{false};
};

} // namespace Platform
