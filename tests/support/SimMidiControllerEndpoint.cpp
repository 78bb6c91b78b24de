#include "tests/support/SimMidiControllerEndpoint.h"

#include <algorithm>

namespace Platform {

SimMidiControllerEndpoint::SimMidiControllerEndpoint(std::shared_ptr<Sim::Controller> controller)
    : m_controller(std::move(controller)), m_thread([this] { run(); })
{
}

SimMidiControllerEndpoint::~SimMidiControllerEndpoint()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::string SimMidiControllerEndpoint::portName() const { return m_controller->portName(); }

bool SimMidiControllerEndpoint::bytesOut(const std::uint8_t *data, std::size_t length)
{
    const std::vector<Sim::Reply> replies = m_controller->receive(data, length);
    if (replies.empty())
        return true;
    const Clock::time_point now = Clock::now();
    {
        std::lock_guard lock(m_mutex);
        for (const Sim::Reply &reply : replies) {
            const std::size_t chunk = reply.chunkSize ? reply.chunkSize : reply.bytes.size();
            for (std::size_t offset = 0; offset < reply.bytes.size(); offset += chunk) {
                const auto first = reply.bytes.begin() + std::ptrdiff_t(offset);
                const auto last = first + std::ptrdiff_t(std::min(chunk, reply.bytes.size() - offset));
                m_pending.emplace(Key{now + reply.delay, m_sequence++}, std::vector<std::uint8_t>(first, last));
            }
        }
    }
    m_changed.notify_all();
    return true;
}

MidiResult SimMidiControllerEndpoint::openInput(BytesIn receiver)
{
    std::lock_guard lock(m_receiverMutex);
    m_receiver = std::move(receiver);
    return MMSYSERR_NOERROR;
}

void SimMidiControllerEndpoint::closeInput()
{
    std::lock_guard lock(m_receiverMutex);
    m_receiver = nullptr;
}

bool SimMidiControllerEndpoint::waitUntilDelivered(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [this] { return m_pending.empty() && !m_delivering; });
}

void SimMidiControllerEndpoint::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (m_pending.empty()) {
            m_changed.wait(lock);
            continue;
        }
        const Clock::time_point due = m_pending.begin()->first.first;
        if (Clock::now() < due) {
            m_changed.wait_until(lock, due);
            continue;
        }
        std::vector<std::uint8_t> bytes = std::move(m_pending.begin()->second);
        m_pending.erase(m_pending.begin());
        m_delivering = true;
        lock.unlock();
        {
            std::lock_guard receiverLock(m_receiverMutex);
            if (m_receiver)
                m_receiver(bytes.data(), bytes.size());
        }
        lock.lock();
        m_delivering = false;
        m_changed.notify_all();
    }
}

} // namespace Platform
