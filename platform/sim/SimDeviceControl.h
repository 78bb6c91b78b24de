#pragma once

#include "platform/devicecontrol/ControlHandles.h"
#include "platform/devicecontrol/DeviceControl.h"

namespace Platform {

class SimMachine;
struct SimControlHandle;

// The control interfaces of a simulated machine, served by each device's
// driver instance. The machine has no driver file: no service path is found.
class SimDeviceControl : public DeviceControl
{
public:
    explicit SimDeviceControl(SimMachine &machine);
    ~SimDeviceControl() override;

    std::vector<Interface> presentInterfaces() override;
    Handle open(const std::wstring &path) override;
    Result propertyRequest(Handle handle, const std::uint8_t *input, std::uint32_t inputSize, std::uint8_t *output,
                           std::uint32_t outputSize) override;
    void close(Handle handle) override;
    std::wstring serviceName(const std::wstring &instanceId) override;
    std::wstring serviceBinaryPath(const std::wstring &service) override;
    FileVersion fileVersion(const std::wstring &path) override;

private:
    SimMachine &m_machine;
    ControlHandles<SimControlHandle> m_handles;
};

} // namespace Platform
