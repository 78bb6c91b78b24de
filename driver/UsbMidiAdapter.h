#pragma once

#include "driver/MidiInterface.h"
#include "driver/MidiMiniport.h"
#include "driver/MidiStream.h"
#include "driver/UsbMidiDevice.h"
#include "driver/ZelPlatform.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace Zel {

enum PnpState : std::uint32_t {
    PnpNotStarted = 0,
    PnpStarted = 1,
    PnpStopped = 2,
    PnpRemoved = 3,
    PnpSurpriseRemoved = 4,
    PnpQueryPending = 0x8000,
};

enum AdapterFlag : std::uint32_t { FlagDeviceGone = 0x1, FlagExclusiveLock = 0x2 };

enum DevicePowerState : std::uint32_t { PowerD0 = 1, PowerD1 = 2, PowerD2 = 3, PowerD3 = 4 };

// One controller: the device extension's state, the start routine, the
// subdevices, the create and device-control gates, the exclusive lock and power.
class UsbMidiAdapter : public StreamOwner
{
public:
    static constexpr std::uint32_t MaxSubdevices = 33;

    explicit UsbMidiAdapter(DriverPlatform &platform);
    ~UsbMidiAdapter() override;
    UsbMidiAdapter(const UsbMidiAdapter &) = delete;
    UsbMidiAdapter &operator=(const UsbMidiAdapter &) = delete;

    // Plug and play.
    NTSTATUS start();
    // Starts beside another driver that owns the device (its configuration,
    // interfaces and endpoints): reads the descriptors and languages for the
    // control interface and creates no MIDI ports.
    NTSTATUS startControlOnly();
    void queryRemoveOrStop();
    void cancelRemoveOrStop();
    void stop();
    void remove();
    void surpriseRemoval();
    std::uint32_t pnpState() const { return m_pnpState.load(); }
    bool deviceGone() const { return (m_flags.load() & FlagDeviceGone) != 0; }
    bool locked() const { return (m_flags.load() & FlagExclusiveLock) != 0; }
    std::uint32_t openStreamCount() const { return m_openStreams.load(); }

    // Dispatch gates. A create (stream or filter handle) fails while locked.
    NTSTATUS openStream(MidiMiniport &miniport, bool capture, StreamNotify notify, void *notifyContext,
                        MidiStream *&stream);
    NTSTATUS openFilter();
    NTSTATUS checkDeviceControl() const;
    // Refused while any MIDI stream is open.
    NTSTATUS setExclusiveLock(bool on);
    // Where the MIDI ports belong to another driver, that driver's owner decides the lock.
    using LockDecider = NTSTATUS (*)(bool on, void *context);
    void setLockDecider(LockDecider decider, void *context)
    {
        m_lockDecider = decider;
        m_lockDeciderContext = context;
    }

    // Power.
    static NTSTATUS queryPowerState(DevicePowerState from, DevicePowerState to);
    void setPowerState(DevicePowerState state);

    UsbMidiDevice *device() { return m_device.get(); }
    std::uint16_t language() const { return m_device ? m_device->adapterLanguage() : DefaultLanguage; }
    std::uint32_t subdeviceCount() const { return m_subdeviceCount; }
    MidiMiniport &subdevice(std::uint32_t i) { return *m_subdevices[i]; }

    // StreamOwner
    void streamOpened() override { ++m_openStreams; }
    void streamClosed() override { --m_openStreams; }
    bool isStarted() const override;
    DriverPlatform &platform() override { return m_platform; }
    MidiEndpoint *findEndpoint(std::uint8_t interfaceNumber, std::uint8_t address) override;

private:
    NTSTATUS init();
    NTSTATUS createDevice();
    NTSTATUS installSubdevices();
    NTSTATUS addSubdevice(const char *name, MiniportKind kind, std::uint8_t interfaceNumber, std::uint8_t address,
                          std::uint8_t cable);
    void release();
    static void deviceWentAway(void *context);

    DriverPlatform &m_platform;
    std::atomic<std::uint32_t> m_pnpState{PnpNotStarted};
    std::atomic<std::uint32_t> m_flags{0};
    std::atomic<std::uint32_t> m_openStreams{0};
    KernelMutex m_mutex;
    std::unique_ptr<UsbMidiDevice> m_device;
    std::unique_ptr<MidiInterface> m_interface;
    MidiMiniport *m_subdevices[MaxSubdevices] = {};
    std::uint32_t m_subdeviceCount = 0;
    DevicePowerState m_power = PowerD0;
    LockDecider m_lockDecider = nullptr;
    void *m_lockDeciderContext = nullptr;
};

} // namespace Zel
