#include "platform/sim/SimDriverPorts.h"

#include <algorithm>
#include <chrono>

namespace Platform {

namespace {

// Longer than the driver's default SysEx time-out, so a stalled holder loses
// the cable before a writer gives up.
constexpr std::chrono::milliseconds WriteDeadline{1500};
// The driver finds a holder's time-out expired only when someone writes; with
// no OUT transfer completing to wake the writer, it tries again this often.
constexpr std::chrono::milliseconds QuietRetry{50};

Zel::NTSTATUS run(SimDriverStream &stream)
{
    for (Zel::StreamState state : {Zel::StreamState::Acquire, Zel::StreamState::Pause, Zel::StreamState::Run}) {
        const Zel::NTSTATUS result = stream.setState(state);
        if (!Zel::NT_SUCCESS(result))
            return result;
    }
    return Zel::STATUS_SUCCESS;
}

// What the multimedia layer reports when the driver refuses a create request.
MidiResult openResult(Zel::NTSTATUS status)
{
    if (Zel::NT_SUCCESS(status))
        return MMSYSERR_NOERROR;
    if (status == Zel::STATUS_INVALID_DEVICE_REQUEST)
        return MMSYSERR_ALLOCATED; // locked for exclusive use
    if (status == Zel::STATUS_DEVICE_NOT_CONNECTED)
        return MMSYSERR_NODRIVER;
    return MMSYSERR_ERROR;
}

void stop(SimDriverStream &stream)
{
    for (Zel::StreamState state : {Zel::StreamState::Pause, Zel::StreamState::Acquire, Zel::StreamState::Stop})
        stream.setState(state);
}

} // namespace

SimDriverPorts::SimDriverPorts(SimMachine &machine, int device) : m_machine(machine), m_device(device)
{
    for (const SimMachine::Port &port : machine.ports()) {
        if (port.device != device)
            continue;
        if (port.subdevice == "OUT00")
            m_out = port;
        else if (port.subdevice == "IN00")
            m_in = port;
    }
    m_name = m_out.name;
}

SimDriverPorts::~SimDriverPorts()
{
    closeInput();
    closeOutput();
}

bool SimDriverPorts::present() const { return m_machine.device(m_device) != nullptr; }

MidiResult SimDriverPorts::openOutput()
{
    std::lock_guard<std::mutex> guard(m_outputLock);
    if (m_render)
        return MMSYSERR_ALLOCATED;
    std::unique_ptr<SimDriverStream> stream;
    Zel::NTSTATUS result = m_machine.openPort(m_out, nullptr, stream);
    if (Zel::NT_SUCCESS(result))
        result = run(*stream);
    if (Zel::NT_SUCCESS(result))
        m_render = std::move(stream);
    return openResult(result);
}

void SimDriverPorts::closeOutput()
{
    std::lock_guard<std::mutex> guard(m_outputLock);
    if (!m_render)
        return;
    stop(*m_render);
    m_render.reset();
}

bool SimDriverPorts::bytesOut(const std::uint8_t *data, std::size_t length)
{
    std::lock_guard<std::mutex> guard(m_outputLock);
    if (!m_render)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + WriteDeadline;
    std::size_t done = 0;
    while (done < length) {
        // Read before writing, so a round that ends in between is not missed.
        const std::uint64_t rounds = m_render->outRounds();
        std::uint32_t accepted = 0;
        if (!Zel::NT_SUCCESS(m_render->write(data + done, static_cast<std::uint32_t>(length - done), accepted)))
            return false;
        done += accepted;
        if (accepted > 0)
            continue;
        const auto now = std::chrono::steady_clock::now();
        if (now > deadline)
            return false;
        // The cable is held or the backlog is full: wait for OUT transfers to complete.
        m_render->awaitOutRound(rounds, std::min(deadline, now + QuietRetry));
    }
    return true;
}

MidiResult SimDriverPorts::openInput(BytesIn receiver)
{
    std::unique_ptr<SimDriverStream> stream;
    {
        std::lock_guard<std::mutex> guard(m_inputLock);
        if (m_capture)
            return MMSYSERR_ALLOCATED;
        m_receiver = std::move(receiver);
    }
    Zel::NTSTATUS result = m_machine.openPort(
        m_in, [this](std::uint32_t) { received(); }, stream);
    if (Zel::NT_SUCCESS(result))
        result = run(*stream);
    {
        std::lock_guard<std::mutex> guard(m_inputLock);
        if (!Zel::NT_SUCCESS(result)) {
            m_receiver = nullptr;
            return openResult(result);
        }
        m_capture = std::move(stream);
    }
    received(); // bytes that arrived before the stream was handed over
    return MMSYSERR_NOERROR;
}

void SimDriverPorts::closeInput()
{
    std::unique_ptr<SimDriverStream> stream;
    {
        std::lock_guard<std::mutex> guard(m_inputLock);
        stream.swap(m_capture);
    }
    if (!stream)
        return;
    stop(*stream);
    stream.reset(); // after this no notification of the stream runs
    std::lock_guard<std::mutex> guard(m_inputLock);
    m_receiver = nullptr;
}

// On the host thread: drain the capture stream into the receiver.
void SimDriverPorts::received()
{
    std::lock_guard<std::mutex> guard(m_inputLock);
    if (!m_capture || !m_receiver)
        return;
    std::uint8_t buffer[512];
    std::uint32_t read = 0;
    do {
        m_capture->read(buffer, sizeof buffer, read);
        if (read)
            m_receiver(buffer, read);
    } while (read == sizeof buffer);
}

} // namespace Platform
