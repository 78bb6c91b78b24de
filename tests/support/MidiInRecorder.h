#pragma once

#include "editor/core/MidiMessage.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Records what an input port hands its observers, and on which thread, so a
// test can await a count of messages instead of sleeping. With a log, each
// message also appends the recorder's tag there: the order in which several
// observers heard it.
class MidiInRecorder : public Midi::MidiInObserver
{
public:
    using Bytes = std::vector<Byte>;

    explicit MidiInRecorder(std::vector<std::string> *log = nullptr, std::string tag = {})
        : m_log(log), m_tag(std::move(tag))
    {
    }

    void received(const Midi::LongMessage &message) override
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(message.bytes());
        m_threads.push_back(std::this_thread::get_id());
        if (m_log)
            m_log->push_back(m_tag);
        m_changed.notify_all();
    }

    // True when `count` messages arrived within five seconds.
    bool waitFor(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return m_messages.size() >= count; });
    }
    // The messages there are once `count` arrived or five seconds passed.
    std::vector<Bytes> await(std::size_t count)
    {
        waitFor(count);
        return messages();
    }

    std::vector<Bytes> messages() const
    {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }
    std::vector<std::thread::id> threads() const
    {
        std::lock_guard lock(m_mutex);
        return m_threads;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Bytes> m_messages;
    std::vector<std::thread::id> m_threads;
    std::vector<std::string> *m_log;
    std::string m_tag;
};
