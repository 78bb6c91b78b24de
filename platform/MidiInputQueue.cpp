#include "platform/MidiInputQueue.h"

#include <cstring>
#include <vector>

namespace Platform {

namespace {
constexpr std::uint8_t SysExEnd = 0xF7;
}

MidiInputQueue::MidiInputQueue(MidiInHandle handle, MidiInCallback callback, std::uintptr_t instance)
    : m_handle(handle), m_callback(callback), m_instance(instance)
{
}

MidiResult MidiInputQueue::add(MidiHeader *header)
{
    if (!header || !header->lpData || header->dwBufferLength == 0)
        return MMSYSERR_INVALPARAM;
    if (!(header->dwFlags & MHDR_PREPARED))
        return MIDIERR_UNPREPARED;
    std::lock_guard lock(m_mutex);
    if (header->dwFlags & MHDR_INQUEUE)
        return MIDIERR_STILLPLAYING;
    header->dwFlags = (header->dwFlags | MHDR_INQUEUE) & ~MHDR_DONE;
    header->dwBytesRecorded = 0;
    m_queue.push_back(header);
    return MMSYSERR_NOERROR;
}

void MidiInputQueue::start()
{
    std::lock_guard lock(m_mutex);
    m_started = true;
}

void MidiInputQueue::stop()
{
    std::unique_lock lock(m_mutex);
    m_started = false;
    m_idle.wait(lock, [this] { return m_delivering == 0; });
}

void MidiInputQueue::reset()
{
    stop();
    std::deque<MidiHeader *> returned;
    {
        std::lock_guard lock(m_mutex);
        returned.swap(m_queue);
    }
    for (MidiHeader *header : returned) {
        header->dwBytesRecorded = 0;
        header->dwFlags = (header->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
        m_callback(m_handle, MIM_LONGDATA, m_instance, reinterpret_cast<std::uintptr_t>(header), 0);
    }
}

bool MidiInputQueue::isEmpty() const
{
    std::lock_guard lock(m_mutex);
    return m_queue.empty();
}

void MidiInputQueue::feedLongData(const std::uint8_t *data, std::size_t length)
{
    std::vector<MidiHeader *> filled;
    {
        std::lock_guard lock(m_mutex);
        if (!m_started)
            return;
        MidiHeader *current = nullptr;
        for (std::size_t i = 0; i < length; ++i) {
            if (!current) {
                if (m_queue.empty())
                    break;
                current = m_queue.front();
                m_queue.pop_front();
            }
            current->lpData[current->dwBytesRecorded++] = char(data[i]);
            if (data[i] == SysExEnd || current->dwBytesRecorded == current->dwBufferLength) {
                filled.push_back(current);
                current = nullptr;
            }
        }
        if (current)
            filled.push_back(current);
        if (filled.empty())
            return;
        ++m_delivering;
    }
    // Called without the lock: the application re-queues from inside the callback.
    for (MidiHeader *header : filled) {
        header->dwFlags = (header->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
        m_callback(m_handle, MIM_LONGDATA, m_instance, reinterpret_cast<std::uintptr_t>(header), 0);
    }
    finishDelivery();
}

void MidiInputQueue::feedShortMessage(std::uint32_t packed)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_started)
            return;
        ++m_delivering;
    }
    m_callback(m_handle, MIM_DATA, m_instance, packed, 0);
    finishDelivery();
}

void MidiInputQueue::finishDelivery()
{
    std::lock_guard lock(m_mutex);
    if (--m_delivering == 0)
        m_idle.notify_all();
}

} // namespace Platform
