#pragma once

#include "platform/devicecontrol/DeviceControl.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace TestSupport {

// Forwards every call to another device-control implementation and keeps
// each property request as sent (input bytes, value size) with its result.
class RecordingDeviceControl : public Platform::DeviceControl
{
public:
    struct Request {
        Handle handle;
        std::vector<std::uint8_t> input;
        std::uint32_t outputSize;
        Result result;

        std::uint32_t id() const { return word(16); }
        std::uint32_t flags() const { return word(20); }
        // The instance's first bytes: function code and bRequest of a control request.
        std::uint8_t instance(std::size_t offset) const { return input.at(24 + offset); }

    private:
        std::uint32_t word(std::size_t at) const
        {
            return input.size() < at + 4 ? 0xFFFFFFFF
                                         : std::uint32_t(input[at]) | std::uint32_t(input[at + 1]) << 8 |
                                               std::uint32_t(input[at + 2]) << 16 | std::uint32_t(input[at + 3]) << 24;
        }
    };

    explicit RecordingDeviceControl(Platform::DeviceControl &target) : m_target(target) {}

    std::vector<Interface> presentInterfaces() override { return m_target.presentInterfaces(); }
    Handle open(const std::wstring &path) override
    {
        const Handle handle = m_target.open(path);
        std::lock_guard<std::mutex> guard(m_lock);
        if (handle != InvalidHandle)
            ++m_opened;
        return handle;
    }
    Result propertyRequest(Handle handle, const std::uint8_t *input, std::uint32_t inputSize, std::uint8_t *output,
                           std::uint32_t outputSize) override
    {
        const Result result = m_target.propertyRequest(handle, input, inputSize, output, outputSize);
        std::lock_guard<std::mutex> guard(m_lock);
        m_requests.push_back({handle, std::vector<std::uint8_t>(input, input + inputSize), outputSize, result});
        return result;
    }
    void close(Handle handle) override
    {
        m_target.close(handle);
        std::lock_guard<std::mutex> guard(m_lock);
        ++m_closed;
    }
    std::wstring serviceName(const std::wstring &instanceId) override { return m_target.serviceName(instanceId); }
    std::wstring serviceBinaryPath(const std::wstring &service) override { return m_target.serviceBinaryPath(service); }
    FileVersion fileVersion(const std::wstring &path) override { return m_target.fileVersion(path); }

    std::vector<Request> requests() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_requests;
    }
    void clear()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_requests.clear();
    }
    // Handles opened and closed so far: equal when none was leaked.
    int opened() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_opened;
    }
    int closed() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_closed;
    }

private:
    Platform::DeviceControl &m_target;
    mutable std::mutex m_lock;
    std::vector<Request> m_requests;
    int m_opened = 0;
    int m_closed = 0;
};

} // namespace TestSupport
