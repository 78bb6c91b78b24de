#pragma once

#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimUsbHost.h"

#include "driver/MidiStream.h"
#include "driver/UsbMidiAdapter.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Sim {
class UsbController;
}

namespace Platform {

// One started driver instance with its simulated USB device.
struct SimAttachedDevice {
    ~SimAttachedDevice();

    int id = 0;
    // Shared with the machine so that a stream left open outlives it safely.
    std::shared_ptr<SimUsbHost> host;
    std::shared_ptr<SimRegistry> registry;
    std::unique_ptr<SimUsbHost::Device> usb;
    std::unique_ptr<Zel::UsbMidiAdapter> adapter;
    std::wstring instanceId;
    std::wstring controlPath;
};

// An open render or capture stream of a published MIDI port. Capture data is
// announced on the host thread; read it from the callback or later.
class SimDriverStream
{
public:
    using Notify = std::function<void(std::uint32_t available)>;

    SimDriverStream(std::shared_ptr<SimAttachedDevice> device, Zel::MidiStream *stream, std::unique_ptr<Notify> notify);
    ~SimDriverStream();
    SimDriverStream(const SimDriverStream &) = delete;
    SimDriverStream &operator=(const SimDriverStream &) = delete;

    Zel::NTSTATUS setState(Zel::StreamState state) { return m_stream->setState(state); }
    Zel::NTSTATUS write(const std::uint8_t *bytes, std::uint32_t count, std::uint32_t &accepted)
    {
        return m_stream->write(bytes, count, accepted);
    }
    Zel::NTSTATUS read(std::uint8_t *buffer, std::uint32_t size, std::uint32_t &read)
    {
        return m_stream->read(buffer, size, read);
    }
    // The bus's rounds that completed OUT transfers (SimUsbHost::outRounds).
    std::uint64_t outRounds() const { return m_device->host->outRounds(); }
    bool awaitOutRound(std::uint64_t seen, std::chrono::steady_clock::time_point deadline) const
    {
        return m_device->host->awaitOutRound(seen, deadline);
    }

private:
    std::shared_ptr<SimAttachedDevice> m_device;
    Zel::MidiStream *m_stream;
    std::unique_ptr<Notify> m_notify;
};

// A handle on a device's DeviceControl object.
struct SimControlHandle {
    std::shared_ptr<SimAttachedDevice> device;
};

// The simulated machine: controllers on a simulated USB bus, one driver
// instance each, started as the start routine does; their MIDI subdevices
// become ports named by the driver, their control objects device interfaces.
class SimMachine
{
public:
    struct Port {
        int device = 0;
        std::string name;      // the driver's port name (the subdevice name when it has none)
        std::string subdevice; // "OUT00", "IN00", ...
        bool capture = false;
    };
    struct ControlInterface {
        int device = 0;
        std::wstring instanceId;
        std::wstring path;
    };

    SimMachine();
    ~SimMachine();

    SimRegistry &registry() { return *m_registry; }
    SimUsbHost::Traffic traffic() const { return m_host->traffic(); }

    // Attaches and starts; the device number, or -1 when the start failed
    // (its status in `status`).
    int attach(std::shared_ptr<Sim::UsbController> controller, Zel::NTSTATUS *status = nullptr);
    // Surprise removal: the ports and the control interface disappear; open
    // streams keep the driver instance until they are closed.
    void detach(int device);

    std::vector<Port> ports() const;
    std::vector<ControlInterface> controlInterfaces() const;
    std::shared_ptr<SimAttachedDevice> device(int id) const;

    // The create request of a port: refused while the device is locked.
    Zel::NTSTATUS openPort(const Port &port, SimDriverStream::Notify notify, std::unique_ptr<SimDriverStream> &stream);
    Zel::NTSTATUS openControl(const std::wstring &path, std::unique_ptr<SimControlHandle> &handle);
    Zel::NTSTATUS property(SimControlHandle &handle, const std::uint8_t *input, std::uint32_t inputSize,
                           std::uint8_t *output, std::uint32_t outputSize, std::uint32_t &returned);

private:
    static void notifyTrampoline(void *context, std::uint32_t available);

    std::shared_ptr<SimRegistry> m_registry;
    std::shared_ptr<SimUsbHost> m_host;
    mutable std::mutex m_lock;
    std::map<int, std::shared_ptr<SimAttachedDevice>> m_devices;
    int m_nextId = 1;
};

} // namespace Platform
