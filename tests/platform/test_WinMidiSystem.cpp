#include "platform/win/WinMidi.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

// Our names for what the system headers below turn into macros.
namespace {
using Platform::MidiResult;
constexpr MidiResult NoError = Platform::MMSYSERR_NOERROR;
constexpr MidiResult Failed = Platform::MMSYSERR_ERROR;
constexpr MidiResult InvalidHandle = Platform::MMSYSERR_INVALHANDLE;
constexpr unsigned Done = Platform::MOM_DONE;
constexpr unsigned DoneFlag = Platform::MHDR_DONE;
constexpr unsigned CallbackFunction = Platform::CALLBACK_FUNCTION;
} // namespace

#include "platform/win/WinMidiSystem.h"

using namespace Platform;

namespace {

// A multimedia system with one output port, scripted by the test: what its
// close answers, and the headers it holds until a reset returns them.
struct FakeSystem {
    static inline std::deque<MMRESULT> closeResults;
    static inline std::vector<MIDIHDR *> queued;
    static inline DWORD_PTR callback = 0;
    static inline DWORD_PTR instance = 0;
    static inline int closes = 0;
    static inline int resets = 0;
    static inline const HMIDIOUT Port = reinterpret_cast<HMIDIOUT>(0x5150);

    static void clear()
    {
        closeResults.clear();
        queued.clear();
        closes = resets = 0;
    }
    static void returnDone(MIDIHDR *header)
    {
        header->dwFlags |= MHDR_DONE;
        reinterpret_cast<void(CALLBACK *)(HMIDIOUT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR)>(callback)(
            Port, MOM_DONE, instance, reinterpret_cast<DWORD_PTR>(header), 0);
    }

    static UINT WINAPI count() { return 1; }
    static MMRESULT WINAPI caps(UINT_PTR, LPMIDIOUTCAPSA, UINT) { return MMSYSERR_NOERROR; }
    static MMRESULT WINAPI open(LPHMIDIOUT handle, UINT, DWORD_PTR c, DWORD_PTR i, DWORD)
    {
        callback = c;
        instance = i;
        *handle = Port;
        return MMSYSERR_NOERROR;
    }
    static MMRESULT WINAPI prepare(HMIDIOUT, LPMIDIHDR header, UINT)
    {
        header->dwFlags |= MHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }
    static MMRESULT WINAPI unprepare(HMIDIOUT, LPMIDIHDR header, UINT)
    {
        header->dwFlags &= ~MHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }
    static MMRESULT WINAPI longMsg(HMIDIOUT, LPMIDIHDR header, UINT)
    {
        queued.push_back(header);
        return MMSYSERR_NOERROR;
    }
    static MMRESULT WINAPI reset(HMIDIOUT)
    {
        ++resets;
        std::vector<MIDIHDR *> returned;
        returned.swap(queued);
        for (MIDIHDR *header : returned)
            returnDone(header);
        return MMSYSERR_NOERROR;
    }
    static MMRESULT WINAPI close(HMIDIOUT)
    {
        ++closes;
        if (closeResults.empty())
            return MMSYSERR_NOERROR;
        const MMRESULT r = closeResults.front();
        closeResults.pop_front();
        return r;
    }

    static WinMidiSystem system()
    {
        WinMidiSystem calls = WinMidiSystem::real();
        calls.out = {&count, &caps, &open, &prepare, &unprepare, &longMsg, &reset, &close};
        return calls;
    }
};

struct Returned {
    std::vector<MidiHeader *> headers;
    static void callback(MidiOutHandle, unsigned message, std::uintptr_t instance, std::uintptr_t p1, std::uintptr_t)
    {
        if (message == Done)
            reinterpret_cast<Returned *>(instance)->headers.push_back(reinterpret_cast<MidiHeader *>(p1));
    }
};

class WinMidiOverAFakeSystem : public ::testing::Test
{
protected:
    WinMidiOverAFakeSystem() : midi(FakeSystem::system())
    {
        FakeSystem::clear();
        EXPECT_EQ(midi.midiOutOpen(&handle, 0, &Returned::callback, reinterpret_cast<std::uintptr_t>(&returned),
                                   CallbackFunction),
                  NoError);
    }

    WinMidi midi;
    Returned returned;
    MidiOutHandle handle = nullptr;
    char data[3] = {char(0xF0), 0x7E, char(0xF7)};
    MidiHeader header{data, sizeof data};
};

TEST_F(WinMidiOverAFakeSystem, AFailedCloseStillReleasesThePortAndACloseAfterItIsRefused)
{
    FakeSystem::closeResults = {MMSYSERR_ERROR};
    EXPECT_EQ(midi.midiOutClose(handle), Failed);
    EXPECT_EQ(midi.midiOutClose(handle), InvalidHandle);
    EXPECT_EQ(midi.midiOutReset(handle), InvalidHandle);
    EXPECT_EQ(FakeSystem::closes, 1) << "the second close never reached the system";

    // The system still holds a header of the port it did not close; returning
    // it later reaches nobody.
    MIDIHDR late{};
    FakeSystem::returnDone(&late);
    EXPECT_TRUE(returned.headers.empty());
}

TEST_F(WinMidiOverAFakeSystem, ACloseThatFindsMessagesPendingReturnsThemAndClosesAfterAll)
{
    ASSERT_EQ(midi.midiOutPrepareHeader(handle, &header), NoError);
    ASSERT_EQ(midi.midiOutLongMsg(handle, &header), NoError);
    FakeSystem::closeResults = {MIDIERR_STILLPLAYING};

    EXPECT_EQ(midi.midiOutClose(handle), NoError);
    EXPECT_EQ(FakeSystem::resets, 1);
    EXPECT_EQ(FakeSystem::closes, 2);
    ASSERT_EQ(returned.headers.size(), 1u);
    EXPECT_EQ(returned.headers[0], &header) << "the system's header came back as ours";
    EXPECT_TRUE(header.dwFlags & DoneFlag);
    EXPECT_EQ(midi.midiOutClose(handle), InvalidHandle);
}

TEST_F(WinMidiOverAFakeSystem, AResetReturnsQueuedMessagesAsDone)
{
    ASSERT_EQ(midi.midiOutPrepareHeader(handle, &header), NoError);
    ASSERT_EQ(midi.midiOutLongMsg(handle, &header), NoError);
    EXPECT_TRUE(returned.headers.empty());
    EXPECT_EQ(midi.midiOutReset(handle), NoError);
    ASSERT_EQ(returned.headers.size(), 1u);
    EXPECT_EQ(returned.headers[0], &header);
    EXPECT_EQ(midi.midiOutUnprepareHeader(handle, &header), NoError);
    EXPECT_EQ(header.reserved, nullptr) << "the shadow header is gone";
    EXPECT_EQ(midi.midiOutClose(handle), NoError);
}

} // namespace
