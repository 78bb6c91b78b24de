#pragma once

#include "driver/ZelPlatform.h"
#include "platform/devicecontrol/DeviceControl.h"

#include <map>
#include <memory>
#include <mutex>

namespace Platform {

// The open handles of a device-control backend that answers property requests
// itself (the simulated machine, libusb), and the forwarding of a request to
// a handle's control, so that every such backend answers alike: a closed or
// unknown handle fails as an invalid parameter, and a request in flight keeps
// its control alive while another thread closes the handle.
template <typename Control>
class ControlHandles
{
public:
    using Handle = DeviceControl::Handle;

    Handle add(std::shared_ptr<Control> control)
    {
        std::lock_guard guard(m_mutex);
        const Handle handle = m_next++;
        m_controls[handle] = std::move(control);
        return handle;
    }

    // forward(control, returned) answers the request with the driver's status.
    template <typename Forward>
    DeviceControl::Result request(Handle handle, Forward forward) const
    {
        DeviceControl::Result result;
        const std::shared_ptr<Control> control = find(handle);
        if (!control) {
            result.status = Zel::STATUS_INVALID_PARAMETER;
            return result;
        }
        result.status = forward(*control, result.returned);
        result.ok = Zel::NT_SUCCESS(result.status);
        return result;
    }

    // The control ends outside the lock, once no request holds it.
    void remove(Handle handle)
    {
        std::shared_ptr<Control> closing;
        std::lock_guard guard(m_mutex);
        const auto found = m_controls.find(handle);
        if (found == m_controls.end())
            return;
        closing = std::move(found->second);
        m_controls.erase(found);
    }

    void clear()
    {
        std::map<Handle, std::shared_ptr<Control>> closing;
        std::lock_guard guard(m_mutex);
        closing.swap(m_controls);
    }

private:
    std::shared_ptr<Control> find(Handle handle) const
    {
        std::lock_guard guard(m_mutex);
        const auto found = m_controls.find(handle);
        return found == m_controls.end() ? nullptr : found->second;
    }

    mutable std::mutex m_mutex;
    std::map<Handle, std::shared_ptr<Control>> m_controls;
    Handle m_next = 1;
};

} // namespace Platform
