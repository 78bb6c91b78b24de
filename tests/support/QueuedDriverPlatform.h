#pragma once

#include "driver/ZelPlatform.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The part the fake driver platforms of tests, fuzz targets and benchmarks
// share: bulk transfers queue in submission order until the owner completes
// them, aborting a pipe completes its queued transfers as cancelled, and a
// completer thread can complete them in the background (stopping a cable
// waits for its transfers).
namespace ZelTest {

class QueuedDriverPlatform : public Zel::DriverPlatform
{
public:
    ~QueuedDriverPlatform() override { stopCompleter(); }

    enum class Direction { Any, In, Out };

    // Queued transfers, oldest first. Single-threaded owners may use it
    // directly; threaded ones go through the calls below.
    std::vector<Zel::BulkRequest *> pending;
    bool failSubmissions = false;

    Zel::NTSTATUS submitBulk(Zel::BulkRequest &request) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (failSubmissions)
            return Zel::STATUS_UNSUCCESSFUL;
        pending.push_back(&request);
        m_changed.notify_all();
        return m_submitResult;
    }

    Zel::NTSTATUS abortPipe(Zel::PipeHandle pipe) override
    {
        std::vector<Zel::BulkRequest *> cancelled;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            const auto first = std::stable_partition(pending.begin(), pending.end(),
                                                     [pipe](const Zel::BulkRequest *r) { return r->pipe != pipe; });
            cancelled.assign(first, pending.end());
            pending.erase(first, pending.end());
        }
        for (Zel::BulkRequest *request : cancelled) {
            request->result = Zel::STATUS_CANCELLED;
            request->transferred = 0;
            request->completion(*request, request->context);
        }
        return Zel::STATUS_SUCCESS;
    }

    Zel::NTSTATUS selectConfiguration(const std::uint8_t *, std::uint32_t) override { return Zel::STATUS_SUCCESS; }
    Zel::NTSTATUS selectInterface(std::uint8_t, Zel::PipeSelection *pipes, std::uint32_t count) override
    {
        for (std::uint32_t i = 0; i < count; ++i)
            pipes[i].handle = 0x100 | pipes[i].endpointAddress;
        return Zel::STATUS_SUCCESS;
    }

    std::size_t pendingCount(Direction direction)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return static_cast<std::size_t>(std::count_if(
            pending.begin(), pending.end(), [direction](const Zel::BulkRequest *r) { return matches(*r, direction); }));
    }

    // The oldest queued transfer of that direction, taken off the queue; null when none.
    Zel::BulkRequest *take(Direction direction)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return takeLocked(direction);
    }

    // Completes the oldest transfer of that direction with everything sent;
    // false when none is queued.
    bool completeOne(Direction direction = Direction::Any)
    {
        Zel::BulkRequest *request = take(direction);
        if (!request)
            return false;
        sent(*request);
        request->transferred = request->length;
        request->result = Zel::STATUS_SUCCESS;
        request->completion(*request, request->context);
        return true;
    }

    // Completes transfers of that direction on a thread of their own until stopped.
    void startCompleter(Direction direction = Direction::Any)
    {
        m_completer = std::thread([this, direction] {
            for (;;) {
                {
                    std::unique_lock<std::mutex> guard(m_lock);
                    m_changed.wait(guard, [&] { return m_stop || hasLocked(direction); });
                    if (m_stop && !hasLocked(direction))
                        return;
                }
                completeOne(direction);
            }
        });
    }
    void stopCompleter()
    {
        if (!m_completer.joinable())
            return;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_stop = true;
            m_changed.notify_all();
        }
        m_completer.join();
    }

protected:
    explicit QueuedDriverPlatform(Zel::NTSTATUS submitResult) : m_submitResult(submitResult) {}

    // Called with every OUT or IN transfer completeOne() completes, before its completion.
    virtual void sent(const Zel::BulkRequest &) {}

    // Serves a read of a file held in memory.
    static Zel::NTSTATUS readFrom(const std::string &file, std::uint64_t offset, std::uint8_t *buffer,
                                  std::uint32_t length, std::uint32_t &read)
    {
        read = 0;
        if (offset >= file.size())
            return Zel::STATUS_END_OF_FILE;
        read = static_cast<std::uint32_t>(std::min<std::uint64_t>(length, file.size() - offset));
        std::memcpy(buffer, file.data() + offset, read);
        return Zel::STATUS_SUCCESS;
    }

    std::mutex m_lock;

private:
    static bool matches(const Zel::BulkRequest &request, Direction direction)
    {
        const bool in = request.flags & Zel::TransferDirectionIn;
        return direction == Direction::Any || in == (direction == Direction::In);
    }
    bool hasLocked(Direction direction) const
    {
        return std::any_of(pending.begin(), pending.end(),
                           [direction](const Zel::BulkRequest *r) { return matches(*r, direction); });
    }
    Zel::BulkRequest *takeLocked(Direction direction)
    {
        const auto it = std::find_if(pending.begin(), pending.end(),
                                     [direction](const Zel::BulkRequest *r) { return matches(*r, direction); });
        if (it == pending.end())
            return nullptr;
        Zel::BulkRequest *request = *it;
        pending.erase(it);
        return request;
    }

    const Zel::NTSTATUS m_submitResult;
    std::condition_variable m_changed;
    std::thread m_completer;
    bool m_stop = false;
};

} // namespace ZelTest
