#include "tests/support/EmulatedUsbBus.h"

#include "simulator/usb/UsbController.h"

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <sys/syscall.h>
#include <umockdev.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

namespace UsbEmulation {

namespace fs = std::filesystem;

namespace {

constexpr const char *BusFolder = "/devices/pci0000:00/0000:00:14.0/usb1/";
constexpr std::uint8_t SetConfiguration = 9;
constexpr std::uint8_t SetInterface = 11;

std::string hex(const std::vector<std::uint8_t> &bytes)
{
    std::string text;
    char two[3];
    for (std::uint8_t byte : bytes) {
        std::snprintf(two, sizeof two, "%02x", byte);
        text += two;
    }
    return text;
}

// Root's override of file permissions, in the calling thread's effective set.
void setFileOverrides(bool on)
{
    constexpr std::uint32_t overrides = 1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return;
    data[0].effective = on ? data[0].effective | (data[0].permitted & overrides) : data[0].effective & ~overrides;
    syscall(SYS_capset, &header, data);
}

std::string ioctlName(unsigned long request)
{
    char text[32];
    std::snprintf(text, sizeof text, "ioctl 0x%lx", request);
    return text;
}

} // namespace

// One emulated device: its usbfs node's ioctls, answered on umockdev's thread.
struct EmulatedPort {
    EmulatedPort(EmulatedUsbBus &owner, std::shared_ptr<Sim::UsbController> device)
        : bus(owner), controller(std::move(device)), handler(umockdev_ioctl_base_new())
    {
        g_signal_connect(handler, "handle-ioctl", G_CALLBACK(&EmulatedPort::onIoctl), this);
    }
    ~EmulatedPort()
    {
        for (const auto &[client, urbs] : done) {
            for (UMockdevIoctlData *urb : urbs)
                umockdev_ioctl_data_unref(urb);
        }
        g_object_unref(handler);
    }

    static gboolean onIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self)
    {
        static_cast<EmulatedPort *>(self)->handle(client);
        return TRUE;
    }

    void handle(UMockdevIoctlClient *client)
    {
        const unsigned long request = umockdev_ioctl_client_get_request(client);
        UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
        std::lock_guard<std::mutex> guard(bus.m_lock);
        if (request == USBDEVFS_GET_CAPABILITIES) {
            UMockdevIoctlData *caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(std::uint32_t), nullptr);
            *reinterpret_cast<std::uint32_t *>(caps->data) = 0;
            umockdev_ioctl_data_unref(caps);
            umockdev_ioctl_client_complete(client, 0, 0);
        } else if (request == USBDEVFS_SUBMITURB) {
            submit(client, arg);
        } else if (request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY) {
            reap(client, arg);
        } else {
            // Claims, configurations, interfaces, detaching a driver, resets.
            bus.m_violations.push_back(ioctlName(request));
            umockdev_ioctl_client_complete(client, -1, EPERM);
        }
    }

    void submit(UMockdevIoctlClient *client, UMockdevIoctlData *arg)
    {
        UMockdevIoctlData *urbData = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
        auto *urb = reinterpret_cast<usbdevfs_urb *>(urbData->data);
        const int error = urb->type == USBDEVFS_URB_TYPE_CONTROL && urb->buffer_length >= 8 ? control(urbData, *urb)
                                                                                            : forbidden("bulk");
        if (error != 0) {
            umockdev_ioctl_data_unref(urbData);
            umockdev_ioctl_client_complete(client, -1, error);
            return;
        }
        done[client].push_back(urbData);
        umockdev_ioctl_client_complete(client, 0, 0);
    }

    int forbidden(const std::string &what)
    {
        bus.m_violations.push_back(what);
        return EPERM;
    }

    // The 8-byte setup, then the data stage: answered by the controller now,
    // reaped by libusb next.
    int control(UMockdevIoctlData *urbData, usbdevfs_urb &urb)
    {
        UMockdevIoctlData *buffer = umockdev_ioctl_data_resolve(urbData, offsetof(usbdevfs_urb, buffer),
                                                                static_cast<gsize>(urb.buffer_length), nullptr);
        std::uint8_t *bytes = buffer->data;
        Sim::UsbSetup setup;
        setup.requestType = bytes[0];
        setup.request = bytes[1];
        setup.value = static_cast<std::uint16_t>(bytes[2] | bytes[3] << 8);
        setup.index = static_cast<std::uint16_t>(bytes[4] | bytes[5] << 8);
        setup.length = static_cast<std::uint16_t>(bytes[6] | bytes[7] << 8);
        int error = 0;
        if (!controller)
            error = forbidden("request to a foreign device");
        else if (setup.type() == Sim::StandardRequest &&
                 (setup.request == SetConfiguration || setup.request == SetInterface))
            error = forbidden("configuration or interface request");
        else if (setup.recipient() == Sim::RecipientInterface || setup.recipient() == Sim::RecipientEndpoint)
            error = forbidden("request to an interface or endpoint");
        std::uint32_t transferred = 0;
        const Sim::UsbResult result =
            error ? Sim::UsbResult::Stall : controller->control(setup, bytes + 8, transferred);
        ++bus.m_controlTransfers;
        umockdev_ioctl_data_unref(buffer);
        if (error)
            return error;
        if (result == Sim::UsbResult::Disconnected)
            return ENODEV;
        urb.actual_length = result == Sim::UsbResult::Ok ? static_cast<int>(transferred) : 0;
        urb.status = result == Sim::UsbResult::Ok ? 0 : -EPIPE;
        return 0;
    }

    void reap(UMockdevIoctlClient *client, UMockdevIoctlData *arg)
    {
        std::deque<UMockdevIoctlData *> &answered = done[client];
        if (answered.empty()) {
            umockdev_ioctl_client_complete(client, -1, EAGAIN);
            return;
        }
        UMockdevIoctlData *urbData = answered.front();
        answered.pop_front();
        UMockdevIoctlData *pointer = umockdev_ioctl_data_resolve(arg, 0, sizeof(void *), nullptr);
        umockdev_ioctl_data_set_ptr(pointer, 0, urbData);
        umockdev_ioctl_client_complete(client, 0, 0);
        umockdev_ioctl_data_unref(pointer);
        umockdev_ioctl_data_unref(urbData);
    }

    EmulatedUsbBus &bus;
    std::shared_ptr<Sim::UsbController> controller;
    UMockdevIoctlBase *handler;
    // Answered, not yet reaped, for each open file of the node.
    std::map<UMockdevIoctlClient *, std::deque<UMockdevIoctlData *>> done;
};

EmulatedUsbBus::EmulatedUsbBus() : m_testbed(umockdev_testbed_new())
{
    if (!umockdev_in_mock_environment())
        throw std::runtime_error("the umockdev preload library is not loaded first");
    gchar *root = umockdev_testbed_get_root_dir(m_testbed);
    m_root = root;
    g_free(root);
}

EmulatedUsbBus::~EmulatedUsbBus()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        EXPECT_EQ(m_violations, std::vector<std::string>()) << "requests that take a device from the kernel's driver";
    }
    g_object_unref(m_testbed);
    m_ports.clear();
}

std::string EmulatedUsbBus::node(int port) const
{
    char name[32];
    std::snprintf(name, sizeof name, "bus/usb/001/%03d", port + 1);
    return name;
}

void EmulatedUsbBus::addDevice(const std::string &name, const std::string &descriptors, int port,
                               std::shared_ptr<Sim::UsbController> controller)
{
    const std::string node = this->node(port);
    m_ports.push_back(std::make_unique<EmulatedPort>(*this, std::move(controller)));
    GError *error = nullptr;
    if (!umockdev_testbed_attach_ioctl(m_testbed, ("/dev/" + node).c_str(), m_ports.back()->handler, &error))
        throw std::runtime_error(error ? error->message : "attach_ioctl");
    const std::string text = std::string("P: ") + BusFolder + name + "\nN: " + node +
                             "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DEVNAME=/dev/" + node +
                             "\nE: BUSNUM=001\nE: DEVNUM=" + std::to_string(port + 1) +
                             "\nA: busnum=1\\n\nA: devnum=" + std::to_string(port + 1) +
                             "\\n\nA: speed=12\\n\nA: bConfigurationValue=1\\n\nH: descriptors=" + descriptors + "\n";
    if (!umockdev_testbed_add_from_string(m_testbed, text.c_str(), &error))
        throw std::runtime_error(error ? error->message : "add_from_string");
}

void EmulatedUsbBus::plug(std::shared_ptr<Sim::UsbController> controller, int port, int soundCard)
{
    const std::string name = "1-" + std::to_string(port);
    std::vector<std::uint8_t> descriptors = controller->descriptors().device();
    const std::vector<std::uint8_t> configuration = controller->descriptors().configuration();
    descriptors.insert(descriptors.end(), configuration.begin(), configuration.end());
    addDevice(name, hex(descriptors), port, std::move(controller));
    if (soundCard < 0)
        return;
    const std::string interface = std::string(BusFolder) + name + "/" + name + ":1.1";
    const std::string card = "card" + std::to_string(soundCard);
    const std::string text =
        "P: " + interface +
        "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceClass=01\\n\n"
        "A: bInterfaceSubClass=03\\n\nL: driver=../../../../../../bus/usb/drivers/snd-usb-audio\n\n"
        "P: " +
        interface + "/sound/" + card + "\nE: SUBSYSTEM=sound\nL: device=../../../" + name + ":1.1\n";
    GError *error = nullptr;
    if (!umockdev_testbed_add_from_string(m_testbed, text.c_str(), &error))
        throw std::runtime_error(error ? error->message : "add_from_string");
    setPortOpen(soundCard, false);
}

void EmulatedUsbBus::plugForeign(int port)
{
    // A mass-storage stick: vendor 0x1234, product 0x0001, one interface.
    addDevice("1-" + std::to_string(port),
              "120100020000004034120100000101020301"
              "09021200010100800a090400000008065000",
              port, nullptr);
}

void EmulatedUsbBus::setPortOpen(int soundCard, bool open)
{
    const fs::path folder = fs::path(m_root) / "proc/asound" / ("card" + std::to_string(soundCard));
    fs::create_directories(folder);
    std::ofstream(folder / "midi0") << "Vorpad\n\nOutput 0\n  Tx bytes     : 0\n"
                                    << (open ? "  Owner PID    : 4242\n" : "") << "Input 0\n  Rx bytes     : 0\n";
}

EmulatedUsbBus::AccessDenied EmulatedUsbBus::denyAccess(int port) const
{
    return AccessDenied(m_root + "/dev/" + node(port));
}

EmulatedUsbBus::AccessDenied::AccessDenied(const std::string &node)
{
    fs::permissions(node, fs::perms::none);
    setFileOverrides(false);
}

EmulatedUsbBus::AccessDenied::~AccessDenied() { setFileOverrides(true); }

int EmulatedUsbBus::controlTransfers() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_controlTransfers;
}

} // namespace UsbEmulation
