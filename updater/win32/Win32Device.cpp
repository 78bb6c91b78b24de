#include "updater/win32/Win32Device.h"

namespace Oxa {

Win32Device::Win32Device(Platform::DeviceControl &control, const std::wstring &path)
    : m_control(control), m_handle(control.open(path))
{
    if (m_handle == Platform::DeviceControl::InvalidHandle)
        throw InvalidPathException();
}

Win32Device::~Win32Device() { m_control.close(m_handle); }

bool Win32Device::request(const std::vector<std::uint8_t> &input, std::vector<std::uint8_t> &value,
                          std::uint32_t &returned)
{
    const Platform::DeviceControl::Result result =
        m_control.propertyRequest(m_handle, input.data(), std::uint32_t(input.size()),
                                  value.empty() ? nullptr : value.data(), std::uint32_t(value.size()));
    returned = result.returned;
    return result.ok;
}

bool Win32Device::request(const std::vector<std::uint8_t> &input)
{
    std::vector<std::uint8_t> none;
    std::uint32_t returned = 0;
    return request(input, none, returned);
}

} // namespace Oxa
