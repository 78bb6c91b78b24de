#pragma once

#include "updater/core/OXAException.h"

#include "platform/devicecontrol/DeviceControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Oxa {

// An open handle on a device's control interface, closed on destruction.
class Win32Device
{
public:
    class InvalidPathException : public OXAException
    {
    public:
        InvalidPathException() : OXAException("Win32Device::InvalidPathException") {}
    };

    // Opens the interface path for reading and writing; throws InvalidPathException.
    Win32Device(Platform::DeviceControl &control, const std::wstring &path);
    ~Win32Device();
    Win32Device(const Win32Device &) = delete;
    Win32Device &operator=(const Win32Device &) = delete;

    // One property request; the value buffer is resized to what was asked
    // for. False on any failure of the request.
    bool request(const std::vector<std::uint8_t> &input, std::vector<std::uint8_t> &value, std::uint32_t &returned);
    bool request(const std::vector<std::uint8_t> &input);

private:
    Platform::DeviceControl &m_control;
    Platform::DeviceControl::Handle m_handle;
};

} // namespace Oxa
