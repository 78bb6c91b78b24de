#include "platform/MidiPortBackend.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

using namespace Platform;
using Bytes = std::vector<std::uint8_t>;

// An input handle reaches only input calls, an output handle only output calls.
static_assert(!std::is_convertible_v<MidiOutHandle, MidiInHandle>);
static_assert(!std::is_convertible_v<MidiInHandle, MidiOutHandle>);
static_assert(!std::is_invocable_v<decltype(&MidiApi::midiInStart), MidiApi &, MidiOutHandle>);
static_assert(!std::is_invocable_v<decltype(&MidiApi::midiOutClose), MidiApi &, MidiInHandle>);

namespace {

// A backend with one port pair whose output records what it sends and whose
// input the test feeds; it counts the ports that are open.
class LoopBackend : public MidiPortBackend
{
public:
    ~LoopBackend() override { closeAll(); }

    unsigned midiInGetNumDevs() override { return 1; }
    MidiResult midiInGetDevCaps(unsigned, std::string &) override { return MMSYSERR_NOERROR; }
    MidiResult midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback, std::uintptr_t instance,
                          unsigned flags) override
    {
        return openInput(handle, callback, flags, [&](MidiInHandle fresh, std::unique_ptr<BackendInput> &port) {
            if (index != 0)
                return MMSYSERR_BADDEVICEID;
            auto input = std::make_unique<Input>(*this, fresh, callback, instance);
            port = std::move(input);
            return MMSYSERR_NOERROR;
        });
    }
    unsigned midiOutGetNumDevs() override { return 1; }
    MidiResult midiOutGetDevCaps(unsigned, std::string &) override { return MMSYSERR_NOERROR; }
    MidiResult midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback, std::uintptr_t instance,
                           unsigned flags) override
    {
        return openOutput(handle, callback, flags, [&](MidiOutHandle fresh, std::unique_ptr<BackendOutput> &port) {
            if (index != 0)
                return MMSYSERR_BADDEVICEID;
            port = std::make_unique<Output>(*this, fresh, callback, instance);
            return MMSYSERR_NOERROR;
        });
    }

    struct Input : BackendInput {
        Input(LoopBackend &b, MidiInHandle h, MidiInCallback c, std::uintptr_t i) : BackendInput(h, c, i), open(b.open)
        {
            ++*open;
        }
        ~Input() override { --*open; }
        std::shared_ptr<int> open;
    };
    struct Output : BackendOutput {
        Output(LoopBackend &b, MidiOutHandle h, MidiOutCallback c, std::uintptr_t i)
            : BackendOutput(h, c, i), owner(b), open(b.open)
        {
            ++*open;
        }
        ~Output() override { --*open; }
        bool send(const std::uint8_t *data, std::size_t length) override
        {
            owner.sent.emplace_back(data, data + length);
            return owner.sendWorks;
        }
        LoopBackend &owner;
        std::shared_ptr<int> open;
    };

    std::shared_ptr<int> open = std::make_shared<int>(0); // ports that are open; they keep it alive
    bool sendWorks = true;
    std::vector<Bytes> sent;
};

struct Returns {
    std::vector<std::pair<unsigned, MidiHeader *>> seen;
    static void in(MidiInHandle, unsigned message, std::uintptr_t instance, std::uintptr_t p1, std::uintptr_t)
    {
        reinterpret_cast<Returns *>(instance)->seen.emplace_back(message, reinterpret_cast<MidiHeader *>(p1));
    }
    static void out(MidiOutHandle, unsigned message, std::uintptr_t instance, std::uintptr_t p1, std::uintptr_t)
    {
        reinterpret_cast<Returns *>(instance)->seen.emplace_back(message, reinterpret_cast<MidiHeader *>(p1));
    }
    std::uintptr_t instance() { return reinterpret_cast<std::uintptr_t>(this); }
};

struct Buffer {
    char data[16] = {1, 2, 3};
    MidiHeader header{data, sizeof data};
};

class MidiPortBackendTest : public ::testing::Test
{
protected:
    MidiInHandle openIn()
    {
        MidiInHandle handle = nullptr;
        EXPECT_EQ(backend.midiInOpen(&handle, 0, &Returns::in, returns.instance(), CALLBACK_FUNCTION),
                  MMSYSERR_NOERROR);
        return handle;
    }
    MidiOutHandle openOut()
    {
        MidiOutHandle handle = nullptr;
        EXPECT_EQ(backend.midiOutOpen(&handle, 0, &Returns::out, returns.instance(), CALLBACK_FUNCTION),
                  MMSYSERR_NOERROR);
        return handle;
    }

    LoopBackend backend;
    Returns returns;
    Buffer buffer;
};

// Every call on a handle that is not open answers MMSYSERR_INVALHANDLE and
// touches nothing: one never handed out, one already closed.
TEST_F(MidiPortBackendTest, CallsOnAHandleThatIsNotOpenAreRefused)
{
    const MidiInHandle closedIn = openIn();
    const MidiOutHandle closedOut = openOut();
    ASSERT_EQ(backend.midiInClose(closedIn), MMSYSERR_NOERROR);
    ASSERT_EQ(backend.midiOutClose(closedOut), MMSYSERR_NOERROR);
    ASSERT_EQ(*backend.open, 0);

    MidiHeader *header = &buffer.header;
    const std::vector<std::function<MidiResult(MidiInHandle)>> inputCalls = {
        [&](MidiInHandle h) { return backend.midiInPrepareHeader(h, header); },
        [&](MidiInHandle h) { return backend.midiInUnprepareHeader(h, header); },
        [&](MidiInHandle h) { return backend.midiInAddBuffer(h, header); },
        [&](MidiInHandle h) { return backend.midiInStart(h); },
        [&](MidiInHandle h) { return backend.midiInStop(h); },
        [&](MidiInHandle h) { return backend.midiInReset(h); },
        [&](MidiInHandle h) { return backend.midiInClose(h); },
    };
    const std::vector<std::function<MidiResult(MidiOutHandle)>> outputCalls = {
        [&](MidiOutHandle h) { return backend.midiOutPrepareHeader(h, header); },
        [&](MidiOutHandle h) { return backend.midiOutUnprepareHeader(h, header); },
        [&](MidiOutHandle h) { return backend.midiOutLongMsg(h, header); },
        [&](MidiOutHandle h) { return backend.midiOutReset(h); },
        [&](MidiOutHandle h) { return backend.midiOutClose(h); },
    };
    for (MidiInHandle handle : {MidiInHandle(nullptr), closedIn}) {
        for (std::size_t i = 0; i < inputCalls.size(); ++i)
            EXPECT_EQ(inputCalls[i](handle), MMSYSERR_INVALHANDLE) << "input call " << i;
    }
    for (MidiOutHandle handle : {MidiOutHandle(nullptr), closedOut}) {
        for (std::size_t i = 0; i < outputCalls.size(); ++i)
            EXPECT_EQ(outputCalls[i](handle), MMSYSERR_INVALHANDLE) << "output call " << i;
    }
    EXPECT_EQ(buffer.header.dwFlags, 0u);
    EXPECT_TRUE(backend.sent.empty());
    EXPECT_TRUE(returns.seen.empty());
}

TEST_F(MidiPortBackendTest, RefusedOpensLeaveNothingOpen)
{
    MidiInHandle in = nullptr;
    MidiOutHandle out = nullptr;
    EXPECT_EQ(backend.midiInOpen(&in, 0, &Returns::in, 0, 0), MMSYSERR_INVALFLAG);
    EXPECT_EQ(backend.midiInOpen(&in, 0, nullptr, 0, CALLBACK_FUNCTION), MMSYSERR_INVALFLAG);
    EXPECT_EQ(backend.midiInOpen(nullptr, 0, &Returns::in, 0, CALLBACK_FUNCTION), MMSYSERR_INVALFLAG);
    EXPECT_EQ(backend.midiInOpen(&in, 1, &Returns::in, 0, CALLBACK_FUNCTION), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(backend.midiOutOpen(&out, 1, &Returns::out, 0, CALLBACK_FUNCTION), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(*backend.open, 0);
}

TEST_F(MidiPortBackendTest, AnInputWithQueuedBuffersClosesOnlyAfterAReset)
{
    const MidiInHandle in = openIn();
    ASSERT_EQ(backend.midiInPrepareHeader(in, &buffer.header), MMSYSERR_NOERROR);
    ASSERT_EQ(backend.midiInAddBuffer(in, &buffer.header), MMSYSERR_NOERROR);
    EXPECT_EQ(backend.midiInUnprepareHeader(in, &buffer.header), MIDIERR_STILLPLAYING);
    EXPECT_EQ(backend.midiInClose(in), MIDIERR_STILLPLAYING);
    EXPECT_EQ(*backend.open, 1);

    ASSERT_EQ(backend.midiInReset(in), MMSYSERR_NOERROR);
    ASSERT_EQ(returns.seen.size(), 1u);
    EXPECT_EQ(returns.seen[0], std::make_pair(unsigned(MIM_LONGDATA), &buffer.header));
    EXPECT_EQ(backend.midiInUnprepareHeader(in, &buffer.header), MMSYSERR_NOERROR);
    EXPECT_EQ(backend.midiInClose(in), MMSYSERR_NOERROR);
    EXPECT_EQ(*backend.open, 0);
}

TEST_F(MidiPortBackendTest, ALongMessageIsSentWholeAndComesBackDone)
{
    const MidiOutHandle out = openOut();
    EXPECT_EQ(backend.midiOutLongMsg(out, &buffer.header), MIDIERR_UNPREPARED);
    Buffer empty;
    empty.header.lpData = nullptr;
    EXPECT_EQ(backend.midiOutPrepareHeader(out, &empty.header), MMSYSERR_INVALPARAM);

    ASSERT_EQ(backend.midiOutPrepareHeader(out, &buffer.header), MMSYSERR_NOERROR);
    ASSERT_EQ(backend.midiOutLongMsg(out, &buffer.header), MMSYSERR_NOERROR);
    ASSERT_EQ(backend.sent.size(), 1u);
    EXPECT_EQ(backend.sent[0].size(), sizeof buffer.data);
    ASSERT_EQ(returns.seen.size(), 1u);
    EXPECT_EQ(returns.seen[0], std::make_pair(unsigned(MOM_DONE), &buffer.header));
    EXPECT_TRUE(buffer.header.dwFlags & MHDR_DONE);

    backend.sendWorks = false;
    EXPECT_EQ(backend.midiOutLongMsg(out, &buffer.header), MMSYSERR_ERROR);
    EXPECT_EQ(returns.seen.size(), 1u) << "a failed send returns no header";
}

TEST(MidiPortBackend, PortsLeftOpenCloseWithTheBackend)
{
    std::shared_ptr<int> open;
    {
        LoopBackend backend;
        open = backend.open;
        MidiInHandle in = nullptr;
        MidiOutHandle out = nullptr;
        backend.midiInOpen(&in, 0, &Returns::in, 0, CALLBACK_FUNCTION);
        backend.midiOutOpen(&out, 0, &Returns::out, 0, CALLBACK_FUNCTION);
        ASSERT_EQ(*open, 2);
    }
    EXPECT_EQ(*open, 0);
}

} // namespace
