#include "platform/sim/SimDeviceControl.h"

#include "platform/sim/SimMachine.h"

namespace Platform {

SimDeviceControl::SimDeviceControl(SimMachine &machine) : m_machine(machine) {}

SimDeviceControl::~SimDeviceControl() = default;

std::vector<DeviceControl::Interface> SimDeviceControl::presentInterfaces()
{
    std::vector<Interface> interfaces;
    for (const SimMachine::ControlInterface &control : m_machine.controlInterfaces())
        interfaces.push_back(Interface{control.instanceId, control.path});
    return interfaces;
}

DeviceControl::Handle SimDeviceControl::open(const std::wstring &path)
{
    std::unique_ptr<SimControlHandle> handle;
    if (!Zel::NT_SUCCESS(m_machine.openControl(path, handle)))
        return InvalidHandle;
    return m_handles.add(std::move(handle));
}

DeviceControl::Result SimDeviceControl::propertyRequest(Handle handle, const std::uint8_t *input,
                                                        std::uint32_t inputSize, std::uint8_t *output,
                                                        std::uint32_t outputSize)
{
    return m_handles.request(handle, [&](SimControlHandle &control, std::uint32_t &returned) {
        return m_machine.property(control, input, inputSize, output, outputSize, returned);
    });
}

void SimDeviceControl::close(Handle handle) { m_handles.remove(handle); }

std::wstring SimDeviceControl::serviceName(const std::wstring &instanceId)
{
    for (const SimMachine::ControlInterface &control : m_machine.controlInterfaces()) {
        if (control.instanceId == instanceId)
            return L"zelumidi";
    }
    return std::wstring();
}

std::wstring SimDeviceControl::serviceBinaryPath(const std::wstring &) { return std::wstring(); }

DeviceControl::FileVersion SimDeviceControl::fileVersion(const std::wstring &) { return FileVersion(); }

} // namespace Platform
