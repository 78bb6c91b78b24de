#include "platform/linux/LibusbDeviceControl.h"

#include "driver/PropertyHandler.h"
#include "driver/UsbMidiAdapter.h"
#include "editor/core/model/DeviceModel.h"
#include "platform/linux/LibusbControlPipe.h"

#include <libusb.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace Platform {

namespace fs = std::filesystem;

struct LibusbControlHandle {
    LibusbControlHandle(libusb_device_handle *opened, std::string name, const ControllerLock &controllerLock)
        : device(opened, libusb_close), pipe(opened), adapter(pipe), usbName(std::move(name)), lock(controllerLock)
    {
        adapter.setLockDecider(&LibusbControlHandle::decideLock, this);
    }
    ~LibusbControlHandle() { ControllerLock::release(lockFile); }

    // Refused while a MIDI port of the controller is open anywhere, or while
    // another process holds the lock.
    static Zel::NTSTATUS decideLock(bool on, void *context)
    {
        auto &self = *static_cast<LibusbControlHandle *>(context);
        if (!on) {
            ControllerLock::release(self.lockFile);
            self.lockFile = -1;
            return Zel::STATUS_SUCCESS;
        }
        if (self.lockFile >= 0)
            return Zel::STATUS_SUCCESS;
        if (self.lock.portsInUse(self.usbName))
            return Zel::STATUS_ACCESS_DENIED;
        self.lockFile = self.lock.acquire(self.usbName);
        return self.lockFile >= 0 ? Zel::STATUS_SUCCESS : Zel::STATUS_ACCESS_DENIED;
    }

    std::unique_ptr<libusb_device_handle, void (*)(libusb_device_handle *)> device;
    LibusbControlPipe pipe;
    Zel::UsbMidiAdapter adapter;
    std::string usbName;
    ControllerLock lock;
    int lockFile = -1;
    std::mutex requests; // one request at a time on a handle, as on a driver's handle
};

namespace {

constexpr wchar_t InstancePrefix[] = L"USB\\VID_%04X&PID_%04X\\";

bool isController(const libusb_device_descriptor &descriptor)
{
    if (descriptor.idVendor != Brisel::VendorId)
        return false;
    for (int model : {Brisel::Model25, Brisel::Model49, Brisel::Model61}) {
        if (descriptor.idProduct == Brisel::usbProductId(model))
            return true;
    }
    return false;
}

// The kernel's name of a device: bus, then the port chain ("1-2.4").
std::string kernelName(libusb_device *device)
{
    std::uint8_t ports[8];
    const int count = libusb_get_port_numbers(device, ports, sizeof ports);
    if (count <= 0)
        return std::string();
    std::string name = std::to_string(libusb_get_bus_number(device)) + "-";
    for (int i = 0; i < count; ++i)
        name += (i ? "." : "") + std::to_string(ports[i]);
    return name;
}

std::wstring widen(const std::string &text) { return std::wstring(text.begin(), text.end()); }

std::string narrow(const std::wstring &text)
{
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::string firstLine(const fs::path &file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

struct Present {
    libusb_device *device;
    std::uint8_t bus;
    std::vector<std::uint8_t> ports;
    std::uint16_t product;
};

// The present controllers in bus order; the list holds a reference to each.
class ControllerList
{
public:
    explicit ControllerList(libusb_context *context)
    {
        libusb_device **all = nullptr;
        const ssize_t count = context ? libusb_get_device_list(context, &all) : 0;
        for (ssize_t i = 0; i < count; ++i) {
            libusb_device_descriptor descriptor;
            if (libusb_get_device_descriptor(all[i], &descriptor) != LIBUSB_SUCCESS || !isController(descriptor))
                continue;
            std::uint8_t ports[8];
            const int depth = libusb_get_port_numbers(all[i], ports, sizeof ports);
            m_present.push_back({libusb_ref_device(all[i]), libusb_get_bus_number(all[i]),
                                 std::vector<std::uint8_t>(ports, ports + std::max(depth, 0)), descriptor.idProduct});
        }
        if (all)
            libusb_free_device_list(all, 1);
        std::sort(m_present.begin(), m_present.end(), [](const Present &a, const Present &b) {
            return std::tie(a.bus, a.ports) < std::tie(b.bus, b.ports);
        });
    }
    ~ControllerList()
    {
        for (const Present &present : m_present)
            libusb_unref_device(present.device);
    }
    ControllerList(const ControllerList &) = delete;
    ControllerList &operator=(const ControllerList &) = delete;

    const std::vector<Present> &present() const { return m_present; }

private:
    std::vector<Present> m_present;
};

} // namespace

LibusbDeviceControl::LibusbDeviceControl(ControllerLock lock, std::string root)
    : m_lock(std::move(lock)), m_root(std::move(root))
{
    if (libusb_init(&m_context) != LIBUSB_SUCCESS)
        m_context = nullptr;
}

LibusbDeviceControl::~LibusbDeviceControl()
{
    m_handles.clear();
    if (m_context)
        libusb_exit(m_context);
}

std::vector<DeviceControl::Interface> LibusbDeviceControl::presentInterfaces()
{
    m_accessDenied = false;
    std::vector<Interface> interfaces;
    const ControllerList list(m_context);
    for (const Present &present : list.present()) {
        const std::wstring name = widen(kernelName(present.device));
        wchar_t prefix[64];
        std::swprintf(prefix, sizeof prefix / sizeof prefix[0], InstancePrefix, unsigned(Brisel::VendorId),
                      unsigned(present.product));
        interfaces.push_back(Interface{prefix + name, name});
    }
    return interfaces;
}

DeviceControl::Handle LibusbDeviceControl::open(const std::wstring &path)
{
    const std::string name = narrow(path);
    const ControllerList list(m_context);
    const auto found = std::find_if(list.present().begin(), list.present().end(),
                                    [&](const Present &present) { return kernelName(present.device) == name; });
    if (name.empty() || found == list.present().end())
        return InvalidHandle;
    libusb_device_handle *opened = nullptr;
    const int error = libusb_open(found->device, &opened);
    if (error != LIBUSB_SUCCESS) {
        if (error == LIBUSB_ERROR_ACCESS)
            m_accessDenied = true;
        return InvalidHandle;
    }
    auto handle = std::make_shared<LibusbControlHandle>(opened, name, m_lock);
    if (!Zel::NT_SUCCESS(handle->adapter.startControlOnly()))
        return InvalidHandle;
    return m_handles.add(std::move(handle));
}

DeviceControl::Result LibusbDeviceControl::propertyRequest(Handle handle, const std::uint8_t *input,
                                                           std::uint32_t inputSize, std::uint8_t *output,
                                                           std::uint32_t outputSize)
{
    return m_handles.request(handle, [&](LibusbControlHandle &control, std::uint32_t &returned) {
        std::lock_guard<std::mutex> guard(control.requests);
        return Zel::handleKsProperty(control.adapter, input, inputSize, output, outputSize, returned);
    });
}

void LibusbDeviceControl::close(Handle handle) { m_handles.remove(handle); }

// The module of the driver bound to the device's MIDI interface (audio class,
// MIDI streaming subclass), as lsmod names it; empty when none is bound.
std::wstring LibusbDeviceControl::serviceName(const std::wstring &instanceId)
{
    const std::size_t slash = instanceId.rfind(L'\\');
    const std::string name = narrow(slash == std::wstring::npos ? instanceId : instanceId.substr(slash + 1));
    const fs::path device = fs::path(m_root) / "sys/bus/usb/devices" / name;
    std::error_code error;
    for (const fs::directory_entry &interface : fs::directory_iterator(device, error)) {
        const fs::path at = interface.path();
        if (at.filename().string().rfind(name + ":", 0) != 0 || firstLine(at / "bInterfaceClass") != "01" ||
            firstLine(at / "bInterfaceSubClass") != "03")
            continue;
        std::error_code linkError;
        fs::path module = fs::read_symlink(at / "driver/module", linkError);
        if (linkError)
            module = fs::read_symlink(at / "driver", linkError);
        if (!linkError)
            return widen(module.filename().string());
    }
    return std::wstring();
}

// In-tree modules carry the kernel's release: the module's folder stands for its file.
std::wstring LibusbDeviceControl::serviceBinaryPath(const std::wstring &service)
{
    return service.empty() ? std::wstring() : L"/sys/module/" + service;
}

// The running kernel's release, "6.1.0-18-amd64" as 6.1.0.18.
DeviceControl::FileVersion LibusbDeviceControl::fileVersion(const std::wstring &path)
{
    FileVersion version;
    if (path.empty())
        return version;
    const std::string release = firstLine(fs::path(m_root) / "proc/sys/kernel/osrelease");
    unsigned part[4] = {0, 0, 0, 0};
    std::sscanf(release.c_str(), "%u.%u.%u-%u", &part[0], &part[1], &part[2], &part[3]);
    for (int i = 0; i < 4; ++i)
        version.part[i] = static_cast<std::uint16_t>(part[i]);
    return version;
}

std::wstring LibusbDeviceControl::accessAdvice()
{
    if (!m_accessDenied)
        return std::wstring();
    return L"This user may not open the controller's USB device. Install the udev rule 70-vorpad.rules "
           L"(cmake --install puts it in lib/udev/rules.d; or copy it to /etc/udev/rules.d), run "
           L"\"sudo udevadm control --reload\" and plug the controller in again.";
}

std::unique_ptr<DeviceControl> createSystemDeviceControl() { return std::make_unique<LibusbDeviceControl>(); }

} // namespace Platform
