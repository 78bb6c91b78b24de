#include "platform/sim/SimMachine.h"

#include "driver/PropertyHandler.h"
#include "driver/contract/DeviceControlProperties.h"
#include "simulator/usb/UsbController.h"

#include <cstdio>

namespace Platform {

namespace {

std::wstring widen(const std::string &text) { return std::wstring(text.begin(), text.end()); }

std::string guidText(const Zel::Guid &g)
{
    char text[40];
    std::snprintf(text, sizeof text, "{%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}", unsigned(g.data1),
                  unsigned(g.data2), unsigned(g.data3), g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4],
                  g.data4[5], g.data4[6], g.data4[7]);
    return text;
}

} // namespace

SimAttachedDevice::~SimAttachedDevice()
{
    if (adapter)
        adapter->remove(); // waits until every IN transfer is back
    usb.reset();           // the host is done with this device afterwards
    adapter.reset();
}

SimDriverStream::SimDriverStream(std::shared_ptr<SimAttachedDevice> device, Zel::MidiStream *stream,
                                 std::unique_ptr<Notify> notify)
    : m_device(std::move(device)), m_stream(stream), m_notify(std::move(notify))
{
}

SimDriverStream::~SimDriverStream() { Zel::MidiStream::destroy(m_stream); }

SimMachine::SimMachine() : m_registry(std::make_shared<SimRegistry>()), m_host(std::make_shared<SimUsbHost>()) {}

SimMachine::~SimMachine()
{
    std::map<int, std::shared_ptr<SimAttachedDevice>> devices;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        devices.swap(m_devices);
    }
    devices.clear();
}

int SimMachine::attach(std::shared_ptr<Sim::UsbController> controller, Zel::NTSTATUS *status)
{
    auto device = std::make_shared<SimAttachedDevice>();
    const Sim::UsbDescriptorSet &descriptors = controller->descriptors();
    const std::vector<std::uint8_t> &d = descriptors.device();
    char hardware[64];
    std::snprintf(hardware, sizeof hardware, "USB\\VID_%04X&PID_%04X", d[8] | d[9] << 8, d[10] | d[11] << 8);
    const std::string serial = descriptors.serialNumber();
    device->host = m_host;
    device->registry = m_registry;
    device->usb = m_host->attach(std::move(controller), *m_registry);
    device->adapter = std::make_unique<Zel::UsbMidiAdapter>(*device->usb);
    const Zel::NTSTATUS started = device->adapter->start();
    if (status)
        *status = started;
    if (!Zel::NT_SUCCESS(started))
        return -1;
    std::string hardwareInPath = hardware;
    for (char &c : hardwareInPath) {
        if (c == '\\')
            c = '#';
    }
    const std::string reference = std::string(hardware) + "\\" + serial;
    const std::string interfacePath = "\\\\?\\" + hardwareInPath + "#" + serial + "#" +
                                      guidText(Zel::DeviceControlInterfaceClass) + "\\DeviceControl";
    device->instanceId = widen(reference);
    device->controlPath = widen(interfacePath);
    std::lock_guard<std::mutex> guard(m_lock);
    device->id = m_nextId++;
    m_devices[device->id] = device;
    return device->id;
}

void SimMachine::detach(int id)
{
    std::shared_ptr<SimAttachedDevice> device;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        const auto it = m_devices.find(id);
        if (it == m_devices.end())
            return;
        device = it->second;
        m_devices.erase(it);
    }
    device->adapter->surpriseRemoval();
    device->usb->unplug();
}

std::shared_ptr<SimAttachedDevice> SimMachine::device(int id) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_devices.find(id);
    return it == m_devices.end() ? nullptr : it->second;
}

std::vector<SimMachine::Port> SimMachine::ports() const
{
    std::vector<Port> ports;
    std::lock_guard<std::mutex> guard(m_lock);
    for (const auto &[id, device] : m_devices) {
        Zel::UsbMidiAdapter &adapter = *device->adapter;
        for (std::uint32_t i = 0; i < adapter.subdeviceCount(); ++i) {
            const Zel::MidiMiniport &miniport = adapter.subdevice(i);
            if (miniport.kind() != Zel::MiniportKind::MidiData)
                continue;
            Port port;
            port.device = id;
            port.subdevice = miniport.name();
            port.name = miniport.portName().empty() ? port.subdevice : miniport.portName();
            port.capture = miniport.description() == Zel::FilterKind::Capture;
            ports.push_back(port);
        }
    }
    return ports;
}

std::vector<SimMachine::ControlInterface> SimMachine::controlInterfaces() const
{
    std::vector<ControlInterface> interfaces;
    std::lock_guard<std::mutex> guard(m_lock);
    for (const auto &[id, device] : m_devices)
        interfaces.push_back(ControlInterface{id, device->instanceId, device->controlPath});
    return interfaces;
}

void SimMachine::notifyTrampoline(void *context, std::uint32_t available)
{
    (*static_cast<SimDriverStream::Notify *>(context))(available);
}

Zel::NTSTATUS SimMachine::openPort(const Port &port, SimDriverStream::Notify notify,
                                   std::unique_ptr<SimDriverStream> &stream)
{
    stream.reset();
    std::shared_ptr<SimAttachedDevice> attached = device(port.device);
    if (!attached)
        return Zel::STATUS_DEVICE_NOT_CONNECTED;
    Zel::UsbMidiAdapter &adapter = *attached->adapter;
    for (std::uint32_t i = 0; i < adapter.subdeviceCount(); ++i) {
        Zel::MidiMiniport &miniport = adapter.subdevice(i);
        if (port.subdevice != miniport.name())
            continue;
        auto callback = notify ? std::make_unique<SimDriverStream::Notify>(std::move(notify)) : nullptr;
        Zel::MidiStream *opened = nullptr;
        const Zel::NTSTATUS result =
            adapter.openStream(miniport, port.capture, callback ? &notifyTrampoline : nullptr, callback.get(), opened);
        if (!Zel::NT_SUCCESS(result))
            return result;
        stream = std::make_unique<SimDriverStream>(attached, opened, std::move(callback));
        return Zel::STATUS_SUCCESS;
    }
    return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
}

Zel::NTSTATUS SimMachine::openControl(const std::wstring &path, std::unique_ptr<SimControlHandle> &handle)
{
    handle.reset();
    std::shared_ptr<SimAttachedDevice> found;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (const auto &[id, device] : m_devices) {
            if (device->controlPath == path)
                found = device;
        }
    }
    if (!found)
        return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
    const Zel::NTSTATUS result = found->adapter->openFilter();
    if (Zel::NT_SUCCESS(result))
        handle = std::make_unique<SimControlHandle>(SimControlHandle{found});
    return result;
}

Zel::NTSTATUS SimMachine::property(SimControlHandle &handle, const std::uint8_t *input, std::uint32_t inputSize,
                                   std::uint8_t *output, std::uint32_t outputSize, std::uint32_t &returned)
{
    return Zel::handleKsProperty(*handle.device->adapter, input, inputSize, output, outputSize, returned);
}

} // namespace Platform
