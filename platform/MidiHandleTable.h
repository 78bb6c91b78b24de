#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace Platform {

// The open ports of one backend, by handle. A handle is a number that is
// never given out twice, so a closed or foreign handle finds nothing (the
// call answers MMSYSERR_INVALHANDLE) instead of reaching freed memory.
// find() hands out the port without keeping the table locked: a port may be
// used only by calls on its own handle, which the caller does not make
// while closing that handle.
template <typename Port, typename Handle>
class MidiHandleTable
{
public:
    // A fresh handle for a port about to be opened, so that the port can
    // name itself in its callbacks before it is adopted.
    Handle reserve()
    {
        std::lock_guard lock(m_mutex);
        return reinterpret_cast<Handle>(++m_last);
    }

    void adopt(Handle handle, std::unique_ptr<Port> port)
    {
        std::lock_guard lock(m_mutex);
        m_ports[handle] = std::move(port);
    }

    Port *find(Handle handle) const
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_ports.find(handle);
        return found == m_ports.end() ? nullptr : found->second.get();
    }

    // Takes the port out; the caller closes it by destroying it.
    std::unique_ptr<Port> release(Handle handle)
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_ports.find(handle);
        if (found == m_ports.end())
            return nullptr;
        std::unique_ptr<Port> port = std::move(found->second);
        m_ports.erase(found);
        return port;
    }

    std::vector<std::unique_ptr<Port>> releaseAll()
    {
        std::lock_guard lock(m_mutex);
        std::vector<std::unique_ptr<Port>> ports;
        for (auto &entry : m_ports)
            ports.push_back(std::move(entry.second));
        m_ports.clear();
        return ports;
    }

    bool empty() const
    {
        std::lock_guard lock(m_mutex);
        return m_ports.empty();
    }

private:
    mutable std::mutex m_mutex;
    std::uintptr_t m_last = 0;
    std::map<Handle, std::unique_ptr<Port>> m_ports;
};

} // namespace Platform
