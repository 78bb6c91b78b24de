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
    std::lock_guard<std::mutex> guard(m_lock);
    const Handle id = m_next++;
    m_handles[id] = std::move(handle);
    return id;
}

DeviceControl::Result SimDeviceControl::propertyRequest(Handle handle, const std::uint8_t *input,
                                                        std::uint32_t inputSize, std::uint8_t *output,
                                                        std::uint32_t outputSize)
{
    std::shared_ptr<SimControlHandle> control;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        const auto it = m_handles.find(handle);
        if (it != m_handles.end())
            control = it->second;
    }
    Result result;
    if (!control) {
        result.status = Zel::STATUS_INVALID_PARAMETER;
        return result;
    }
    result.status = m_machine.property(*control, input, inputSize, output, outputSize, result.returned);
    result.ok = Zel::NT_SUCCESS(result.status);
    return result;
}

void SimDeviceControl::close(Handle handle)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_handles.erase(handle);
}

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
