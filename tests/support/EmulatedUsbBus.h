#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Sim {
class UsbController;
}

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace UsbEmulation {

struct EmulatedPort;

// A USB bus below the real libusb: umockdev emulates each device's sysfs
// entry and usbfs node, and its control transfers are answered by a simulated
// controller's USB side. Any request that would take the device from the
// kernel's audio driver (a configuration, an interface, a claim, a detach, a
// bulk transfer) is refused, and fails the running test when the bus ends.
// Needs the umockdev preload library linked first. Plug devices before libusb
// starts: it lists them once.
class EmulatedUsbBus
{
public:
    // The calling thread's access to a device taken away for the guard's life,
    // as for a user the udev rule does not cover: the node has no permission
    // bits, and the thread (when root's) does not override them.
    class AccessDenied
    {
    public:
        explicit AccessDenied(const std::string &node);
        ~AccessDenied();
        AccessDenied(const AccessDenied &) = delete;
        AccessDenied &operator=(const AccessDenied &) = delete;
    };

    EmulatedUsbBus();
    ~EmulatedUsbBus();
    EmulatedUsbBus(const EmulatedUsbBus &) = delete;
    EmulatedUsbBus &operator=(const EmulatedUsbBus &) = delete;

    // The testbed's root: its sys/ holds the emulated devices.
    const std::string &root() const { return m_root; }

    // Plugs a controller in at port `port` of bus 1 ("1-<port>"). With a sound
    // card number, its MIDI interface is bound to the kernel's USB audio module
    // and the card's /proc/asound entry is made.
    void plug(std::shared_ptr<Sim::UsbController> controller, int port, int soundCard = -1);
    // A device of another maker.
    void plugForeign(int port);
    // Marks a MIDI substream of the card open (a port in use) or closed.
    void setPortOpen(int soundCard, bool open);
    [[nodiscard]] AccessDenied denyAccess(int port) const;

    // Control transfers that reached a device.
    int controlTransfers() const;

private:
    std::string node(int port) const;
    void addDevice(const std::string &name, const std::string &descriptors, int port,
                   std::shared_ptr<Sim::UsbController> controller);

    UMockdevTestbed *m_testbed = nullptr;
    std::string m_root;
    std::vector<std::unique_ptr<EmulatedPort>> m_ports;
    mutable std::mutex m_lock; // the ports answer on umockdev's thread
    std::vector<std::string> m_violations;
    int m_controlTransfers = 0;
    friend struct EmulatedPort;
};

} // namespace UsbEmulation
