#include "platform/alsa/AlsaMidi.h"

#include "platform/MidiInputQueue.h"
#include "platform/alsa/AlsaInputEvent.h"
#include "platform/alsa/ControllerLock.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

namespace Platform {

namespace {

constexpr unsigned InputCapabilities = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr unsigned OutputCapabilities = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr int SystemClient = SND_SEQ_CLIENT_SYSTEM;

// The library prints its own failures (a missing device node, for one);
// ours go through reportAlsaError instead.
void quietAlsa(const char *, int, const char *, int, const char *, ...) {}

// The capabilities a listed port of the direction has: an input is a port we
// can read from, an output one we can write to.
constexpr unsigned listedCapabilities(AlsaMidi::Direction direction)
{
    return direction == AlsaMidi::Direction::Input ? InputCapabilities : OutputCapabilities;
}

// Creates our end of a subscription to the peer port on the client: a port
// the peer writes to for an input, one that writes to the peer for an output.
// Returns our port, or -1 (reported).
int subscribe(snd_seq_t *seq, AlsaMidi::Direction direction, const AlsaMidi::PortAddress &peer, const char *operation)
{
    const bool input = direction == AlsaMidi::Direction::Input;
    const int port =
        snd_seq_create_simple_port(seq, input ? "input" : "output", input ? OutputCapabilities : InputCapabilities,
                                   SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (port < 0) {
        reportAlsaError(operation, port);
        return -1;
    }
    const int error = input ? snd_seq_connect_from(seq, port, peer.client, peer.port)
                            : snd_seq_connect_to(seq, port, peer.client, peer.port);
    if (error < 0) {
        reportAlsaError(operation, error);
        return -1;
    }
    return port;
}

// An open input: a client of its own subscribed to the source port, and a
// reader thread that turns sequencer events into filled buffers.
class AlsaInput : public BackendInput
{
public:
    AlsaInput(snd_seq_t *seq, MidiInHandle handle, MidiInCallback callback, std::uintptr_t instance)
        : BackendInput(handle, callback, instance), m_seq(seq)
    {
    }
    ~AlsaInput() override
    {
        stopReader();
        snd_seq_close(m_seq);
    }

    bool connect(const AlsaMidi::PortAddress &source)
    {
        m_port = subscribe(m_seq, AlsaMidi::Direction::Input, source, "AlsaInput::connect");
        if (m_port < 0)
            return false;
        if (pipe(m_wake) != 0) {
            reportAlsaError("AlsaInput::connect", -errno);
            return false;
        }
        snd_seq_nonblock(m_seq, 1);
        m_reader = std::thread([this] { read(); });
        return true;
    }

private:
    void stopReader()
    {
        if (m_reader.joinable()) {
            m_stopping = true;
            const char byte = 0;
            [[maybe_unused]] const ssize_t written = write(m_wake[1], &byte, 1);
            m_reader.join();
        }
        for (int fd : m_wake) {
            if (fd >= 0)
                ::close(fd);
        }
    }

    void read()
    {
        const int count = snd_seq_poll_descriptors_count(m_seq, POLLIN);
        std::vector<pollfd> fds(std::size_t(count) + 1);
        snd_seq_poll_descriptors(m_seq, fds.data(), unsigned(count), POLLIN);
        fds.back() = {m_wake[0], POLLIN, 0};
        while (!m_stopping) {
            if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
                break;
            snd_seq_event_t *event = nullptr;
            while (!m_stopping && snd_seq_event_input(m_seq, &event) >= 0 && event)
                deliverAlsaEvent(*event, queue);
        }
    }

    snd_seq_t *m_seq;
    int m_port = -1;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_stopping{false};
    std::thread m_reader;
};

class AlsaOutput : public BackendOutput
{
public:
    AlsaOutput(snd_seq_t *seq, MidiOutHandle handle, MidiOutCallback callback, std::uintptr_t instance)
        : BackendOutput(handle, callback, instance), m_seq(seq)
    {
    }
    ~AlsaOutput() override { snd_seq_close(m_seq); }

    bool connect(const AlsaMidi::PortAddress &destination)
    {
        m_port = subscribe(m_seq, AlsaMidi::Direction::Output, destination, "AlsaOutput::connect");
        return m_port >= 0;
    }

    bool send(const std::uint8_t *data, std::size_t length) override
    {
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        snd_seq_ev_set_source(&event, m_port);
        snd_seq_ev_set_subs(&event);
        snd_seq_ev_set_direct(&event);
        snd_seq_ev_set_sysex(&event, length, const_cast<std::uint8_t *>(data));
        const int error = snd_seq_event_output_direct(m_seq, &event);
        if (error < 0)
            reportAlsaError("AlsaOutput::send", error);
        return error >= 0;
    }

private:
    snd_seq_t *m_seq;
    int m_port = -1;
};

} // namespace

void reportAlsaError(const char *operation, int error)
{
    std::fprintf(stderr, "%s: %s\n", operation, snd_strerror(error));
}

snd_seq_t *openSequencer(const char *operation)
{
    snd_lib_error_set_handler(&quietAlsa);
    snd_seq_t *seq = nullptr;
    const int error = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, 0);
    if (error < 0) {
        std::fprintf(stderr, "%s: cannot open the ALSA sequencer (%s); no MIDI ports\n", operation,
                     snd_strerror(error));
        return nullptr;
    }
    snd_seq_set_client_name(seq, "Vorpad");
    return seq;
}

AlsaMidi::AlsaMidi() : m_query(openSequencer("AlsaMidi::AlsaMidi")) {}

AlsaMidi::~AlsaMidi()
{
    closeAll();
    if (m_query)
        snd_seq_close(m_query);
}

std::vector<AlsaMidi::PortAddress> AlsaMidi::listPorts(Direction direction)
{
    std::vector<PortAddress> ports;
    if (!m_query)
        return ports;
    const unsigned capabilities = listedCapabilities(direction);
    snd_seq_client_info_t *client;
    snd_seq_port_info_t *port;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    const int self = snd_seq_client_id(m_query);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(m_query, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == SystemClient || id == self)
            continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(m_query, port) >= 0) {
            if ((snd_seq_port_info_get_capability(port) & capabilities) == capabilities)
                ports.push_back({id, snd_seq_port_info_get_port(port), snd_seq_port_info_get_name(port),
                                 snd_seq_client_info_get_card(client)});
        }
    }
    return ports;
}

unsigned AlsaMidi::portCount(Direction direction)
{
    std::lock_guard lock(m_mutex);
    return unsigned(listPorts(direction).size());
}

bool AlsaMidi::findPort(Direction direction, unsigned index, PortAddress &address)
{
    std::lock_guard lock(m_mutex);
    const std::vector<PortAddress> ports = listPorts(direction);
    if (index >= ports.size())
        return false;
    address = ports[index];
    return true;
}

MidiResult AlsaMidi::portName(Direction direction, unsigned index, std::string &name)
{
    PortAddress address;
    if (!findPort(direction, index, address))
        return MMSYSERR_BADDEVICEID;
    name = address.name;
    return MMSYSERR_NOERROR;
}

// Finds the port and connects a sequencer client of the new port's own to it.
template <typename Port, typename Base, typename Handle, typename Callback>
MidiResult AlsaMidi::openPort(Direction direction, unsigned index, std::unique_ptr<Base> &port, Handle fresh,
                              Callback callback, std::uintptr_t instance)
{
    PortAddress address;
    if (!findPort(direction, index, address))
        return MMSYSERR_BADDEVICEID;
    if (ControllerLock::system().cardLocked(address.card))
        return MMSYSERR_ALLOCATED; // the Updater is writing this controller's firmware
    snd_seq_t *seq = openSequencer("AlsaMidi::openPort");
    if (!seq)
        return MMSYSERR_ERROR;
    auto opened = std::make_unique<Port>(seq, fresh, callback, instance);
    if (!opened->connect(address))
        return MMSYSERR_ERROR;
    port = std::move(opened);
    return MMSYSERR_NOERROR;
}

unsigned AlsaMidi::midiInGetNumDevs() { return portCount(Direction::Input); }

MidiResult AlsaMidi::midiInGetDevCaps(unsigned index, std::string &name)
{
    return portName(Direction::Input, index, name);
}

MidiResult AlsaMidi::midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback, std::uintptr_t instance,
                                unsigned flags)
{
    return openInput(handle, callback, flags, [&](MidiInHandle fresh, std::unique_ptr<BackendInput> &port) {
        return openPort<AlsaInput>(Direction::Input, index, port, fresh, callback, instance);
    });
}

unsigned AlsaMidi::midiOutGetNumDevs() { return portCount(Direction::Output); }

MidiResult AlsaMidi::midiOutGetDevCaps(unsigned index, std::string &name)
{
    return portName(Direction::Output, index, name);
}

MidiResult AlsaMidi::midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback,
                                 std::uintptr_t instance, unsigned flags)
{
    return openOutput(handle, callback, flags, [&](MidiOutHandle fresh, std::unique_ptr<BackendOutput> &port) {
        return openPort<AlsaOutput>(Direction::Output, index, port, fresh, callback, instance);
    });
}

std::unique_ptr<MidiApi> createRealMidi() { return std::make_unique<AlsaMidi>(); }

} // namespace Platform
