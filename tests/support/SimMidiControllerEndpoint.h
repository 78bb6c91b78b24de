#pragma once

#include "platform/sim/SimMidiEndpoint.h"
#include "simulator/Controller.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace Platform {

// Connects a port pair straight to a simulated controller's firmware, with no
// driver or bus between them. The transport's tests use it for what only the
// MIDI layer shows (replies in many small pieces); programs go through the
// driver (SimDriverPorts). The firmware answers on the sender's thread; its
// replies are delivered on the endpoint's own thread, each when it falls due
// and in the pieces it asks for.
class SimMidiControllerEndpoint : public SimMidiEndpoint
{
public:
    explicit SimMidiControllerEndpoint(std::shared_ptr<Sim::Controller> controller);
    ~SimMidiControllerEndpoint() override;

    std::string portName() const override;
    bool bytesOut(const std::uint8_t *data, std::size_t length) override;
    MidiResult openInput(BytesIn receiver) override;
    void closeInput() override;

    Sim::Controller &controller() { return *m_controller; }
    // Waits until everything the controller has sent so far is delivered.
    bool waitUntilDelivered(std::chrono::milliseconds timeout);

    SimMidiControllerEndpoint(const SimMidiControllerEndpoint &) = delete;
    SimMidiControllerEndpoint &operator=(const SimMidiControllerEndpoint &) = delete;

private:
    using Clock = std::chrono::steady_clock;
    using Key = std::pair<Clock::time_point, std::uint64_t>; // due time, then sending order

    void run();

    std::shared_ptr<Sim::Controller> m_controller;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<Key, std::vector<std::uint8_t>> m_pending;
    std::uint64_t m_sequence = 0;
    bool m_delivering = false;
    bool m_stopping = false;
    std::mutex m_receiverMutex;
    BytesIn m_receiver;
    std::thread m_thread;
};

} // namespace Platform
