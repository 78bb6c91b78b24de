#include "editor/core/MidiInPort.h"
#include "editor/core/MidiOutPort.h"
#include "platform/MidiSelection.h"
#include "platform/alsa/AlsaInputEvent.h"
#include "platform/alsa/AlsaMidi.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <vector>

using namespace Platform;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Collected {
    std::vector<Bytes> long_;
    std::vector<std::uint32_t> shorts;
    static void callback(MidiInHandle, unsigned message, std::uintptr_t instance, std::uintptr_t p1, std::uintptr_t)
    {
        auto *self = reinterpret_cast<Collected *>(instance);
        if (message == MIM_DATA) {
            self->shorts.push_back(std::uint32_t(p1));
        } else {
            auto *h = reinterpret_cast<MidiHeader *>(p1);
            self->long_.emplace_back(h->lpData, h->lpData + h->dwBytesRecorded);
        }
    }
    static void outCallback(MidiOutHandle, unsigned, std::uintptr_t, std::uintptr_t, std::uintptr_t) {}
};

class AlsaEvents : public ::testing::Test
{
protected:
    AlsaEvents() : queue(nullptr, &Collected::callback, reinterpret_cast<std::uintptr_t>(&collected))
    {
        for (std::size_t i = 0; i < headers.size(); ++i) {
            headers[i].lpData = blocks[i].data();
            headers[i].dwBufferLength = 256;
            headers[i].dwFlags = MHDR_PREPARED;
            queue.add(&headers[i]);
        }
        queue.start();
    }
    Collected collected;
    std::array<std::array<char, 256>, 4> blocks{};
    std::array<MidiHeader, 4> headers{};
    MidiInputQueue queue;
};

TEST_F(AlsaEvents, SysExEventsFillTheQueuedBuffers)
{
    Bytes first = {0xF0, 0x7E, 0x10, 0x06};
    Bytes second = {0x02, 0xF7};
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    snd_seq_ev_set_sysex(&event, first.size(), first.data());
    deliverAlsaEvent(event, queue);
    snd_seq_ev_set_sysex(&event, second.size(), second.data());
    deliverAlsaEvent(event, queue);
    EXPECT_EQ(collected.long_, (std::vector<Bytes>{first, second}));
}

TEST_F(AlsaEvents, EmptySysExAndUnknownEventsAreDropped)
{
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    snd_seq_ev_set_sysex(&event, 0, nullptr);
    deliverAlsaEvent(event, queue);
    event.type = SND_SEQ_EVENT_CLOCK;
    deliverAlsaEvent(event, queue);
    EXPECT_TRUE(collected.long_.empty());
    EXPECT_TRUE(collected.shorts.empty());
}

struct ShortCase {
    const char *name;
    snd_seq_event_type_t type;
    int channel;
    int a;
    int b;
    std::uint32_t packed;
};

class AlsaShortEvents : public AlsaEvents, public ::testing::WithParamInterface<ShortCase>
{
};

TEST_P(AlsaShortEvents, ArePackedAsTheMultimediaLayerPacksThem)
{
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    event.type = GetParam().type;
    if (event.type == SND_SEQ_EVENT_NOTEON || event.type == SND_SEQ_EVENT_NOTEOFF) {
        snd_seq_ev_set_noteon(&event, GetParam().channel, GetParam().a, GetParam().b);
        event.type = GetParam().type;
    } else {
        event.data.control.channel = (unsigned char)GetParam().channel;
        event.data.control.param = unsigned(GetParam().a);
        event.data.control.value = GetParam().b;
    }
    deliverAlsaEvent(event, queue);
    EXPECT_EQ(collected.shorts, std::vector<std::uint32_t>{GetParam().packed});
}

INSTANTIATE_TEST_SUITE_P(Events, AlsaShortEvents,
                         ::testing::Values(ShortCase{"NoteOn", SND_SEQ_EVENT_NOTEON, 2, 60, 100, 0x643C92},
                                           ShortCase{"NoteOff", SND_SEQ_EVENT_NOTEOFF, 0, 60, 0, 0x003C80},
                                           ShortCase{"Controller", SND_SEQ_EVENT_CONTROLLER, 15, 7, 127, 0x7F07BF},
                                           ShortCase{"ProgramChange", SND_SEQ_EVENT_PGMCHANGE, 1, 0, 5, 0x0005C1},
                                           ShortCase{"PitchBendCentre", SND_SEQ_EVENT_PITCHBEND, 0, 0, 0, 0x4000E0},
                                           ShortCase{"PitchBendLowest", SND_SEQ_EVENT_PITCHBEND, 0, 0, -8192,
                                                     0x0000E0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(AlsaMidi, WithoutASequencerThereAreNoDevicesAndOpeningFails)
{
    if (access("/dev/snd/seq", F_OK) == 0)
        GTEST_SKIP() << "this machine has a sequencer";
    AlsaMidi alsa;
    EXPECT_EQ(alsa.midiInGetNumDevs(), 0u);
    EXPECT_EQ(alsa.midiOutGetNumDevs(), 0u);
    std::string name;
    EXPECT_EQ(alsa.midiInGetDevCaps(0, name), MMSYSERR_BADDEVICEID);
    MidiInHandle inHandle = nullptr;
    MidiOutHandle outHandle = nullptr;
    EXPECT_EQ(alsa.midiInOpen(&inHandle, 0, &Collected::callback, 0, CALLBACK_FUNCTION), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(alsa.midiOutOpen(&outHandle, 0, &Collected::outCallback, 0, CALLBACK_FUNCTION), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(inHandle, nullptr);
    EXPECT_EQ(outHandle, nullptr);
    ScopedMidi scope(alsa);
    Midi::MidiInPort input(0);
    Midi::MidiOutPort output(0);
    EXPECT_FALSE(input.open());
    EXPECT_FALSE(output.open());
    EXPECT_FALSE(output.send(Midi::LongMessage(Bytes{0xF0, 0xF7})));
}

} // namespace
