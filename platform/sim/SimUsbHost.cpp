#include "platform/sim/SimUsbHost.h"

#include "platform/sim/SimRegistry.h"
#include "simulator/usb/UsbController.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>

namespace Platform {

namespace {

Zel::NTSTATUS statusOf(Sim::UsbResult result)
{
    switch (result) {
    case Sim::UsbResult::Ok:
        return Zel::STATUS_SUCCESS;
    case Sim::UsbResult::Stall:
        return Zel::STATUS_UNSUCCESSFUL;
    case Sim::UsbResult::Disconnected:
        return Zel::STATUS_DEVICE_NOT_CONNECTED;
    }
    return Zel::STATUS_UNSUCCESSFUL;
}

void complete(Zel::BulkRequest &request, Zel::NTSTATUS result, std::uint32_t transferred)
{
    request.result = result;
    request.transferred = transferred;
    request.completion(request, request.context);
}

constexpr Zel::PipeHandle PipeTag = 0x5100;

} // namespace

SimUsbHost::SimUsbHost() : m_thread([this] { run(); }) {}

SimUsbHost::~SimUsbHost()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stop = true;
        m_wake.notify_all();
    }
    m_thread.join();
}

std::unique_ptr<SimUsbHost::Device> SimUsbHost::attach(std::shared_ptr<Sim::UsbController> controller,
                                                       SimRegistry &registry)
{
    return std::make_unique<Device>(*this, std::move(controller), registry);
}

void SimUsbHost::poll()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_kicked = true;
    m_wake.notify_all();
}

SimUsbHost::Traffic SimUsbHost::traffic() const
{
    return Traffic{m_outTransfers.load(), m_outBytes.load(), m_inTransfers.load(), m_inBytes.load()};
}

void SimUsbHost::enqueue(Device *device, Zel::BulkRequest *request)
{
    std::lock_guard<std::mutex> guard(m_lock);
    ((request->flags & Zel::TransferDirectionIn) ? m_in : m_out).push_back(Pending{device, request});
    m_kicked = true;
    m_wake.notify_all();
}

void SimUsbHost::abort(Device *device, Zel::PipeHandle pipe)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_busy)
        m_abortedInRound.emplace_back(device, pipe);
    for (auto *queue : {&m_in, &m_out}) {
        for (auto it = queue->begin(); it != queue->end();) {
            if (it->device == device && it->request->pipe == pipe) {
                m_cancelled.push_back(*it);
                it = queue->erase(it);
            } else {
                ++it;
            }
        }
    }
    m_kicked = true;
    m_wake.notify_all();
}

// Drops what is left of a device that goes away and waits until the host
// thread is done with anything it already took.
void SimUsbHost::forget(Device *device)
{
    std::unique_lock<std::mutex> guard(m_lock);
    auto mine = [device](const Pending &p) { return p.device == device; };
    m_in.erase(std::remove_if(m_in.begin(), m_in.end(), mine), m_in.end());
    m_out.erase(std::remove_if(m_out.begin(), m_out.end(), mine), m_out.end());
    m_cancelled.erase(std::remove_if(m_cancelled.begin(), m_cancelled.end(), mine), m_cancelled.end());
    std::erase_if(m_abortedInRound, [device](const auto &aborted) { return aborted.first == device; });
    if (std::this_thread::get_id() == m_thread.get_id())
        return;
    m_wake.wait(guard, [this] { return !m_busy; });
}

std::uint64_t SimUsbHost::outRounds() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_outRounds;
}

bool SimUsbHost::awaitOutRound(std::uint64_t seen, std::chrono::steady_clock::time_point deadline) const
{
    std::unique_lock<std::mutex> guard(m_lock);
    return m_outRoundDone.wait_until(guard, deadline, [&] { return m_outRounds != seen; });
}

void SimUsbHost::run()
{
    std::unique_lock<std::mutex> guard(m_lock);
    for (;;) {
        const auto wake = [this] { return m_stop || m_kicked; };
        if (m_nextDue && !m_wake.wait_until(guard, *m_nextDue, wake))
            m_kicked = true; // a delayed answer fell due
        else if (!m_nextDue)
            m_wake.wait(guard, wake);
        if (m_stop)
            return;
        m_kicked = false;
        m_busy = true;
        Round round = gather();
        guard.unlock();
        completeCancelled(round);
        completeOuts(round);
        completeIns(round);
        guard.lock();
        const bool progressed = settle(round);
        m_busy = false;
        m_wake.notify_all();
        if (progressed)
            m_kicked = true; // completions resubmit; more packets may be waiting
    }
}

// Takes what this round will complete: every cancellation and OUT transfer,
// and the IN transfers that have data or whose controller left. The others
// stay queued; the earliest delayed answer among them sets the next wake-up.
SimUsbHost::Round SimUsbHost::gather()
{
    Round round;
    round.cancelled.swap(m_cancelled);
    round.outs.swap(m_out);
    m_nextDue.reset();
    for (auto it = m_in.begin(); it != m_in.end();) {
        Sim::UsbController &controller = it->device->controller();
        if (!controller.connected() || controller.hasInData()) {
            (controller.connected() ? round.ins : round.gone).push_back(*it);
            it = m_in.erase(it);
            continue;
        }
        const auto due = controller.nextInDue();
        if (due && (!m_nextDue || *due < *m_nextDue))
            m_nextDue = due;
        ++it;
    }
    return round;
}

void SimUsbHost::completeCancelled(Round &round)
{
    for (Pending &p : round.cancelled)
        complete(*p.request, Zel::STATUS_CANCELLED, 0);
}

void SimUsbHost::completeOuts(Round &round)
{
    for (Pending &p : round.outs) {
        const Sim::UsbResult result =
            p.device->controller().bulkOut(Device::endpointOf(p.request->pipe), p.request->buffer, p.request->length);
        const std::uint32_t sent = result == Sim::UsbResult::Ok ? p.request->length : 0;
        if (sent) {
            ++m_outTransfers;
            m_outBytes += sent;
        }
        complete(*p.request, statusOf(result), sent);
    }
}

void SimUsbHost::completeIns(Round &round)
{
    for (Pending &p : round.gone)
        complete(*p.request, Zel::STATUS_DEVICE_NOT_CONNECTED, 0);
    for (Pending &p : round.ins) {
        std::size_t size = 0;
        const Sim::UsbResult result = p.device->controller().bulkIn(Device::endpointOf(p.request->pipe),
                                                                    p.request->buffer, p.request->length, size);
        if (result == Sim::UsbResult::Ok && size == 0) {
            round.empty.push_back(p); // another transfer took the packets: wait again
            continue;
        }
        if (size) {
            ++m_inTransfers;
            m_inBytes += size;
        }
        complete(*p.request, statusOf(result), static_cast<std::uint32_t>(size));
    }
}

bool SimUsbHost::settle(Round &round)
{
    // An abort that ran during the round could not see these.
    const auto aborted = [this](const Pending &p) {
        return std::find(m_abortedInRound.begin(), m_abortedInRound.end(), std::make_pair(p.device, p.request->pipe)) !=
               m_abortedInRound.end();
    };
    const auto keep =
        std::stable_partition(round.empty.begin(), round.empty.end(), [&](const Pending &p) { return !aborted(p); });
    m_cancelled.insert(m_cancelled.end(), keep, round.empty.end());
    m_in.insert(m_in.begin(), round.empty.begin(), keep);
    m_abortedInRound.clear();
    if (!round.outs.empty()) {
        ++m_outRounds;
        m_outRoundDone.notify_all();
    }
    const std::size_t completedIns = round.ins.size() + round.gone.size() - round.empty.size();
    return !round.cancelled.empty() || !round.outs.empty() || completedIns > 0;
}

SimUsbHost::Device::Device(SimUsbHost &host, std::shared_ptr<Sim::UsbController> controller, SimRegistry &registry)
    : m_host(host), m_controller(std::move(controller)), m_registry(registry)
{
}

SimUsbHost::Device::~Device() { m_host.forget(this); }

void SimUsbHost::Device::advanceClock(std::uint64_t milliseconds) { m_clockOffset += milliseconds * 10000; }

void SimUsbHost::Device::unplug()
{
    m_controller->disconnect();
    m_host.poll();
}

std::uint64_t SimUsbHost::Device::now100ns()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100) +
           m_clockOffset.load();
}

Zel::NTSTATUS SimUsbHost::Device::submitBulk(Zel::BulkRequest &request)
{
    if ((request.pipe & ~Zel::PipeHandle(0xFF)) != PipeTag || !request.completion)
        return Zel::STATUS_INVALID_PARAMETER;
    m_host.enqueue(this, &request);
    return Zel::STATUS_PENDING;
}

Zel::NTSTATUS SimUsbHost::Device::abortPipe(Zel::PipeHandle pipe)
{
    m_host.abort(this, pipe);
    return Zel::STATUS_SUCCESS;
}

Zel::NTSTATUS SimUsbHost::Device::controlTransfer(const Zel::ControlSetup &setup, std::uint8_t *data,
                                                  std::uint32_t length, std::uint32_t &transferred)
{
    transferred = 0;
    const int type = Zel::requestTypeOf(setup.function);
    if (type < 0 || length > 0xFFFF)
        return Zel::STATUS_INVALID_PARAMETER;
    Sim::UsbSetup usb;
    usb.requestType = static_cast<std::uint8_t>(type | (setup.directionIn ? 0x80 : 0x00));
    usb.request = setup.request;
    usb.value = setup.value;
    usb.index = setup.index;
    usb.length = static_cast<std::uint16_t>(length);
    std::uint8_t none = 0;
    return statusOf(m_controller->control(usb, data ? data : &none, transferred));
}

Zel::NTSTATUS SimUsbHost::Device::selectConfiguration(const std::uint8_t *configuration, std::uint32_t length)
{
    if (length < 9)
        return Zel::STATUS_INVALID_PARAMETER;
    Sim::UsbSetup usb;
    usb.request = 9; // SET_CONFIGURATION
    usb.value = configuration[5];
    std::uint32_t transferred = 0;
    std::uint8_t none = 0;
    return statusOf(m_controller->control(usb, &none, transferred));
}

Zel::NTSTATUS SimUsbHost::Device::selectInterface(std::uint8_t, Zel::PipeSelection *pipes, std::uint32_t count)
{
    for (std::uint32_t i = 0; i < count; ++i)
        pipes[i].handle = PipeTag | pipes[i].endpointAddress;
    return m_controller->connected() ? Zel::STATUS_SUCCESS : Zel::STATUS_DEVICE_NOT_CONNECTED;
}

Zel::NTSTATUS SimUsbHost::Device::readRegistryDword(const char *subkey, const char *name, std::uint32_t &value)
{
    const auto found = m_registry.dword(subkey, name);
    if (!found)
        return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
    value = *found;
    return Zel::STATUS_SUCCESS;
}

Zel::NTSTATUS SimUsbHost::Device::readRegistryString(const char *subkey, const char *name, char *value,
                                                     std::uint32_t capacity)
{
    const auto found = m_registry.string(subkey, name);
    if (!found || capacity == 0)
        return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
    if (found->size() >= capacity)
        return Zel::STATUS_BUFFER_TOO_SMALL;
    std::memcpy(value, found->c_str(), found->size() + 1);
    return Zel::STATUS_SUCCESS;
}

Zel::NTSTATUS SimUsbHost::Device::writeRegistryString(const char *key, const char *name, const char *value)
{
    m_registry.recordWrite(key, name, value);
    return Zel::STATUS_SUCCESS;
}

Zel::NTSTATUS SimUsbHost::Device::readFile(const char *path, std::uint64_t offset, std::uint8_t *buffer,
                                           std::uint32_t length, std::uint32_t &read)
{
    read = 0;
    std::string file(path);
    static const std::string prefix = "\\DosDevices\\";
    if (file.rfind(prefix, 0) == 0)
        file.erase(0, prefix.size());
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return Zel::STATUS_OBJECT_NAME_NOT_FOUND;
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in)
        return Zel::STATUS_END_OF_FILE;
    in.read(reinterpret_cast<char *>(buffer), length);
    read = static_cast<std::uint32_t>(in.gcount());
    return read ? Zel::STATUS_SUCCESS : Zel::STATUS_END_OF_FILE;
}

} // namespace Platform
