#pragma once

#include "driver/ZelPlatform.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace Sim {
class UsbController;
}

namespace Platform {

class SimRegistry;

// The simulated USB host: one thread that completes the bulk transfers of
// every attached controller. OUT transfers complete once the controller took
// the packets; IN transfers wait until the controller has packets to send.
class SimUsbHost
{
public:
    SimUsbHost();
    ~SimUsbHost();
    SimUsbHost(const SimUsbHost &) = delete;
    SimUsbHost &operator=(const SimUsbHost &) = delete;

    class Device;
    // The driver platform of one attached controller.
    std::unique_ptr<Device> attach(std::shared_ptr<Sim::UsbController> controller, SimRegistry &registry);

    // Wakes the host thread: a controller has something to send on its own.
    void poll();

    // What the bus carried so far: completed bulk transfers and their bytes.
    struct Traffic {
        std::uint64_t outTransfers = 0;
        std::uint64_t outBytes = 0;
        std::uint64_t inTransfers = 0;
        std::uint64_t inBytes = 0;
    };
    Traffic traffic() const;

    // Rounds that completed OUT transfers so far. A writer that found no
    // room reads it before writing and waits for it to move on.
    std::uint64_t outRounds() const;
    // Waits until a round after `seen` completed OUT transfers, or until the
    // deadline; true when one did.
    bool awaitOutRound(std::uint64_t seen, std::chrono::steady_clock::time_point deadline) const;

private:
    friend class Device;
    struct Pending {
        Device *device;
        Zel::BulkRequest *request;
    };

    // One round of the host thread. Ownership: gather() moves transfers out
    // of the queues into the round under the host lock; from then until
    // settle() the round alone holds them, so their completions run without
    // the lock, and an abort or a device going away cannot reach them (abort
    // notes the pipe in m_abortedInRound; forget waits for the round to end).
    // settle() puts back under the lock what found nothing to read, or
    // cancels it when its pipe was aborted meanwhile.
    struct Round {
        std::vector<Pending> cancelled; // aborted before the round: complete as cancelled
        std::deque<Pending> outs;       // every queued OUT transfer
        std::vector<Pending> ins;       // IN transfers whose controller has data
        std::vector<Pending> gone;      // IN transfers whose controller left the bus
        std::vector<Pending> empty;     // IN transfers that found nothing after all
    };

    void enqueue(Device *device, Zel::BulkRequest *request);
    void abort(Device *device, Zel::PipeHandle pipe);
    void forget(Device *device);
    void run();
    // The round's phases: gather and settle under the lock, the rest without.
    Round gather();
    void completeCancelled(Round &round);
    void completeOuts(Round &round);
    void completeIns(Round &round);
    // True when the round completed anything.
    bool settle(Round &round);

    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Pending> m_out;
    std::deque<Pending> m_in;
    std::vector<Pending> m_cancelled;
    // Pipes aborted while a round ran unlocked: what that round puts back is cancelled.
    std::vector<std::pair<Device *, Zel::PipeHandle>> m_abortedInRound;
    bool m_kicked = false;
    // The earliest time a controller's delayed answer falls due for a waiting IN transfer.
    std::optional<std::chrono::steady_clock::time_point> m_nextDue;
    bool m_busy = false;
    bool m_stop = false;
    std::uint64_t m_outRounds = 0;
    mutable std::condition_variable m_outRoundDone; // signalled when m_outRounds moves
    std::atomic<std::uint64_t> m_outTransfers{0};
    std::atomic<std::uint64_t> m_outBytes{0};
    std::atomic<std::uint64_t> m_inTransfers{0};
    std::atomic<std::uint64_t> m_inBytes{0};
    std::thread m_thread;
};

class SimUsbHost::Device : public Zel::DriverPlatform
{
public:
    Device(SimUsbHost &host, std::shared_ptr<Sim::UsbController> controller, SimRegistry &registry);
    ~Device() override;

    Sim::UsbController &controller() { return *m_controller; }
    // Moves this device's clock forward (arbitration time-outs in tests).
    void advanceClock(std::uint64_t milliseconds);
    // Surprise removal: the controller leaves the bus; every transfer fails.
    void unplug();

    std::uint64_t now100ns() override;
    Zel::NTSTATUS submitBulk(Zel::BulkRequest &request) override;
    Zel::NTSTATUS abortPipe(Zel::PipeHandle pipe) override;
    Zel::NTSTATUS controlTransfer(const Zel::ControlSetup &setup, std::uint8_t *data, std::uint32_t length,
                                  std::uint32_t &transferred) override;
    Zel::NTSTATUS selectConfiguration(const std::uint8_t *configuration, std::uint32_t length) override;
    Zel::NTSTATUS selectInterface(std::uint8_t interfaceNumber, Zel::PipeSelection *pipes,
                                  std::uint32_t count) override;
    Zel::NTSTATUS readRegistryDword(const char *subkey, const char *name, std::uint32_t &value) override;
    Zel::NTSTATUS readRegistryString(const char *subkey, const char *name, char *value,
                                     std::uint32_t capacity) override;
    Zel::NTSTATUS writeRegistryString(const char *key, const char *name, const char *value) override;
    Zel::NTSTATUS readFile(const char *path, std::uint64_t offset, std::uint8_t *buffer, std::uint32_t length,
                           std::uint32_t &read) override;

    static std::uint8_t endpointOf(Zel::PipeHandle pipe) { return static_cast<std::uint8_t>(pipe & 0xFF); }

private:
    SimUsbHost &m_host;
    std::shared_ptr<Sim::UsbController> m_controller;
    SimRegistry &m_registry;
    std::atomic<std::uint64_t> m_clockOffset{0};
};

} // namespace Platform
