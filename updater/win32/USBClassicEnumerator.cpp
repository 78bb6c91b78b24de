#include "updater/win32/USBClassicEnumerator.h"

#include "updater/core/DeviceClass.h"
#include "updater/win32/Win32Device.h"
#include "updater/win32/Win32DeviceRequests.h"
#include "updater/win32/Win32USBClassicDevice.h"

namespace Oxa {

namespace {

bool answersProbe(Platform::DeviceControl &control, const std::wstring &path)
{
    try {
        Win32Device device(control, path);
        return device.request(Win32Requests::probe());
    } catch (const Win32Device::InvalidPathException &) {
        return false;
    }
}

} // namespace

void USBClassicEnumerator::enumerate(std::vector<std::unique_ptr<Device>> &devices)
{
    if (!m_control)
        return;
    for (const Platform::DeviceControl::Interface &present : m_control->presentInterfaces()) {
        if (present.path.empty() || !answersProbe(*m_control, present.path))
            continue;
        auto device = std::make_unique<Win32USBClassicDevice>(deviceClass(), *m_control, present.path);
        if (deviceClass().matches(device->hardwareId()))
            devices.push_back(std::move(device));
    }
}

std::unique_ptr<DeviceEnumerator> USBClassicEnumeratorFactory::create(const std::string &, DeviceClass &deviceClass)
{
    return std::make_unique<USBClassicEnumerator>(deviceClass, m_control);
}

} // namespace Oxa
