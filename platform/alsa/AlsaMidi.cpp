#include "platform/alsa/AlsaMidi.h"

#include "platform/MidiInputQueue.h"
#include "platform/alsa/AlsaInputEvent.h"

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
        m_port = snd_seq_create_simple_port(m_seq, "input", OutputCapabilities,
                                            SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
        if (m_port < 0) {
            reportAlsaError("AlsaInput::connect", m_port);
            return false;
        }
        const int error = snd_seq_connect_from(m_seq, m_port, source.client, source.port);
        if (error < 0) {
            reportAlsaError("AlsaInput::connect", error);
            return false;
        }
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
        m_port = snd_seq_create_simple_port(m_seq, "output", InputCapabilities,
                                            SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
        if (m_port < 0) {
            reportAlsaError("AlsaOutput::connect", m_port);
            return false;
        }
        const int error = snd_seq_connect_to(m_seq, m_port, destination.client, destination.port);
        if (error < 0)
            reportAlsaError("AlsaOutput::connect", error);
        return error >= 0;
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

std::vector<AlsaMidi::PortAddress> AlsaMidi::listPorts(unsigned capabilities)
{
    std::vector<PortAddress> ports;
    if (!m_query)
        return ports;
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
                ports.push_back({id, snd_seq_port_info_get_port(port), snd_seq_port_info_get_name(port)});
        }
    }
    return ports;
}

bool AlsaMidi::portAt(unsigned capabilities, unsigned index, PortAddress &address)
{
    const std::vector<PortAddress> ports = listPorts(capabilities);
    if (index >= ports.size())
        return false;
    address = ports[index];
    return true;
}

unsigned AlsaMidi::midiInGetNumDevs()
{
    std::lock_guard lock(m_mutex);
    return unsigned(listPorts(InputCapabilities).size());
}

MidiResult AlsaMidi::midiInGetDevCaps(unsigned index, std::string &name)
{
    std::lock_guard lock(m_mutex);
    PortAddress address;
    if (!portAt(InputCapabilities, index, address))
        return MMSYSERR_BADDEVICEID;
    name = address.name;
    return MMSYSERR_NOERROR;
}

MidiResult AlsaMidi::midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback, std::uintptr_t instance,
                                unsigned flags)
{
    return openInput(handle, callback, flags, [&](MidiInHandle fresh, std::unique_ptr<BackendInput> &port) {
        PortAddress address;
        {
            std::lock_guard lock(m_mutex);
            if (!portAt(InputCapabilities, index, address))
                return MMSYSERR_BADDEVICEID;
        }
        snd_seq_t *seq = openSequencer("AlsaMidi::midiInOpen");
        if (!seq)
            return MMSYSERR_ERROR;
        auto input = std::make_unique<AlsaInput>(seq, fresh, callback, instance);
        if (!input->connect(address))
            return MMSYSERR_ERROR;
        port = std::move(input);
        return MMSYSERR_NOERROR;
    });
}

unsigned AlsaMidi::midiOutGetNumDevs()
{
    std::lock_guard lock(m_mutex);
    return unsigned(listPorts(OutputCapabilities).size());
}

MidiResult AlsaMidi::midiOutGetDevCaps(unsigned index, std::string &name)
{
    std::lock_guard lock(m_mutex);
    PortAddress address;
    if (!portAt(OutputCapabilities, index, address))
        return MMSYSERR_BADDEVICEID;
    name = address.name;
    return MMSYSERR_NOERROR;
}

MidiResult AlsaMidi::midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback,
                                 std::uintptr_t instance, unsigned flags)
{
    return openOutput(handle, callback, flags, [&](MidiOutHandle fresh, std::unique_ptr<BackendOutput> &port) {
        PortAddress address;
        {
            std::lock_guard lock(m_mutex);
            if (!portAt(OutputCapabilities, index, address))
                return MMSYSERR_BADDEVICEID;
        }
        snd_seq_t *seq = openSequencer("AlsaMidi::midiOutOpen");
        if (!seq)
            return MMSYSERR_ERROR;
        auto output = std::make_unique<AlsaOutput>(seq, fresh, callback, instance);
        if (!output->connect(address))
            return MMSYSERR_ERROR;
        port = std::move(output);
        return MMSYSERR_NOERROR;
    });
}

std::unique_ptr<MidiApi> createRealMidi() { return std::make_unique<AlsaMidi>(); }

} // namespace Platform
