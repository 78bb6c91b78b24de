#include "editor/core/DeviceConnection.h"
#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"
#include "tests/support/ModelFixture.h"
#include "tests/support/SimulatedWorld.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Brisel;

namespace {

PatchImage ownPatch()
{
    PatchImage image{};
    CBPatch::instance().copyPatchImage(image.data(), nullptr);
    return image;
}

ZonesImage zonesWithChannel(int channel)
{
    ZonesImage image{};
    CBPatch::instance().initZones(image.data());
    CBPatch::instance().setField(Zone, 0, ZoneChannel, channel, image.data());
    return image;
}

// A manager on one simulated 49-key controller; the transfers the manager
// causes are counted by the controller's firmware.
class Manager : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        manager = std::make_unique<RemoteControlManager>();
    }

    void TearDown() override { manager.reset(); }

    void connect()
    {
        const std::vector<DeviceRecord> found = DeviceList::scan();
        ASSERT_EQ(found.size(), 1u);
        ASSERT_TRUE(manager->selectDevice(found[0]));
        ASSERT_TRUE(manager->isConnected());
    }

    // Requests the controller has seen since the last call.
    int newRequests()
    {
        const int total = world.controller().requestCount();
        const int fresh = total - m_seen;
        m_seen = total;
        return fresh;
    }

    ActivePatch &active() { return manager->activePatch(); }
    Bank &bank() { return manager->bank(); }

    SimulatedWorld world;
    std::unique_ptr<RemoteControlManager> manager;

private:
    int m_seen = 0;
};

TEST_F(Manager, SelectDeviceDownloadsTheWholeBankAndSendsTheActivePatchBack)
{
    for (int n = 1; n <= StoredPatchCount; ++n)
        world.controller().setPatch(n, distinctPatch(char('A' + n)));
    world.controller().setPatch(0, distinctPatch('Z'));
    connect();
    // The scan's and the opening's identity questions, 35 requests, then the
    // active patch, its zones and the bank settings once each.
    EXPECT_EQ(newRequests(), 2 + 35 + 3);
    for (int p = 0; p < StoredPatchCount; ++p) {
        EXPECT_EQ(bank().patch(p).patchImage(), world.controller().patch(p + 1)) << p;
        EXPECT_FALSE(bank().patch(p).isModified()) << p;
    }
    EXPECT_EQ(ownPatch(), world.controller().patch(0));
    EXPECT_EQ(manager->currentDevice().deviceId, 0x10);
    // The active patch differs from the stored patch at the current position.
    EXPECT_TRUE(manager->isActivePatchModified());
    EXPECT_TRUE(manager->isLive());
}

TEST_F(Manager, DownloadFindsAnActivePatchEqualToItsSlotUnmodified)
{
    world.controller().setPatch(1, distinctPatch('Q'));
    world.controller().setPatch(0, distinctPatch('Q'));
    connect();
    EXPECT_FALSE(manager->isActivePatchModified());
    active().settings().setting(Octave).setValue(2);
    EXPECT_TRUE(manager->isActivePatchModified());
    EXPECT_TRUE(manager->downloadAll());
    EXPECT_EQ(manager->lastDownloadAnswered(), RemoteControlManager::DownloadRequestCount);
    EXPECT_EQ(world.controller().patch(0)[22], 2);
    EXPECT_TRUE(manager->isActivePatchModified());
}

TEST_F(Manager, LiveEditsSendOneTransferEach)
{
    connect();
    newRequests();
    active().settings().setting(Octave).setValue(6);
    EXPECT_EQ(newRequests(), 1);
    EXPECT_EQ(world.controller().patch(0)[22], 6);

    // Through a bound parameter: one transfer, not one per notifying parameter.
    active().settings().noteLatchLow().setValue(40);
    EXPECT_EQ(newRequests(), 1);
    active().settings().scalar(NoteLatchHighNote).setValue(70);
    EXPECT_EQ(newRequests(), 1);

    // A refused value is still reported, so the device gets the unchanged image.
    active().settings().noteLatchLow().setValue(90);
    EXPECT_EQ(newRequests(), 1);
    EXPECT_EQ(world.controller().patch(0)[25], 40);

    active().zones().zone(1).binding(ZoneLowNote).setValue(12);
    EXPECT_EQ(newRequests(), 1);
    EXPECT_EQ(world.controller().zones(0)[8 + 14 + 1], 12);

    bank().name().setValue("Live Bank");
    EXPECT_EQ(newRequests(), 1);
    EXPECT_EQ(world.controller().bankSettings()[0], 'L');
}

TEST_F(Manager, RenamingTheActivePatchSendsNothingUntilTheNextEdit)
{
    connect();
    active().modifiedStatus().clearModified();
    newRequests();
    active().name().setValue("Quiet");
    EXPECT_EQ(newRequests(), 0);
    EXPECT_TRUE(manager->isActivePatchModified());
    active().settings().setting(Semitone).setValue(60);
    EXPECT_EQ(newRequests(), 1);
    EXPECT_EQ(world.controller().patch(0)[0], 'Q');
}

TEST_F(Manager, SuspendedEditsAreSentOnceEachOnResume)
{
    connect();
    newRequests();
    manager->suspendLive();
    for (int octave = 0; octave < 5; ++octave)
        active().settings().setting(Octave).setValue(octave);
    active().zones().masterEnable().setValue(1);
    bank().currentPatch().setValue(7);
    EXPECT_EQ(newRequests(), 0);
    manager->resumeLive();
    EXPECT_EQ(newRequests(), 3);
    EXPECT_EQ(world.controller().patch(0)[22], 4);
    EXPECT_EQ(world.controller().zones(0)[0] & 1, 1);
    EXPECT_EQ(world.controller().bankSettings()[16], 7);
    manager->resumeLive(); // nothing left to resume
    EXPECT_EQ(newRequests(), 0);
}

TEST_F(Manager, NestedSuspensionSendsOnlyWhenTheOutermostResumes)
{
    connect();
    newRequests();
    manager->suspendLive();
    manager->suspendLive();
    active().settings().setting(Octave).setValue(5);
    manager->resumeLive();
    EXPECT_FALSE(manager->isLive());
    EXPECT_EQ(newRequests(), 0);
    manager->resumeLive();
    EXPECT_EQ(newRequests(), 1);
}

TEST_F(Manager, SetLiveSendsWhatWasPendingOnlyOnce)
{
    connect();
    newRequests();
    manager->setLive(false);
    active().settings().control(3)->value.setValue(99);
    active().settings().control(3)->value.setValue(100);
    EXPECT_EQ(newRequests(), 0);
    manager->setLive(true);
    EXPECT_EQ(newRequests(), 1);
    manager->setLive(true);
    EXPECT_EQ(newRequests(), 0);
}

TEST_F(Manager, StoredPatchChangesAreSentLiveAndForgottenWhileSuspended)
{
    connect();
    newRequests();
    const PatchImage image = distinctPatch('S');
    EXPECT_TRUE(bank().patch(3).setPatchImage(image));
    EXPECT_EQ(newRequests(), 1);
    EXPECT_EQ(world.controller().patch(4), image);

    manager->suspendLive();
    EXPECT_TRUE(bank().patch(5).setZonesImage(zonesWithChannel(9)));
    manager->resumeLive();
    EXPECT_EQ(newRequests(), 0);
    EXPECT_NE(world.controller().zones(6), zonesWithChannel(9));
}

TEST_F(Manager, SelectPatchMakesTheStoredPatchActiveAndTellsTheDevice)
{
    connect();
    bank().patch(4).setPatchImage(distinctPatch('F'));
    bank().patch(4).setZonesImage(zonesWithChannel(5));
    active().settings().setting(Octave).setValue(1);
    newRequests();

    EXPECT_TRUE(manager->selectPatch(4));
    EXPECT_EQ(newRequests(), 3); // active patch, active zones, bank settings
    EXPECT_EQ(ownPatch(), bank().patch(4).patchImage());
    EXPECT_EQ(world.controller().patch(0), bank().patch(4).patchImage());
    EXPECT_EQ(world.controller().zones(0), zonesWithChannel(5));
    EXPECT_EQ(bank().currentPatch().value(), 5);
    EXPECT_EQ(manager->currentPosition(), 4);
    EXPECT_FALSE(manager->isActivePatchModified());

    EXPECT_FALSE(manager->selectPatch(16));
    EXPECT_FALSE(manager->selectPatch(-1));
    EXPECT_EQ(newRequests(), 0);
}

TEST_F(Manager, MovingAPatchSwapsSlotsAndTheSelectionFollows)
{
    connect();
    bank().patch(3).setPatchImage(distinctPatch('3'));
    bank().patch(2).setPatchImage(distinctPatch('2'));
    bank().clearModified();
    newRequests();

    manager->movePatchUp(3);
    EXPECT_EQ(newRequests(), 5); // both images of both slots, then the current patch
    EXPECT_EQ(bank().patch(2).patchImage(), distinctPatch('3'));
    EXPECT_EQ(bank().patch(3).patchImage(), distinctPatch('2'));
    EXPECT_EQ(world.controller().patch(3), distinctPatch('3'));
    EXPECT_EQ(world.controller().patch(4), distinctPatch('2'));
    EXPECT_TRUE(bank().patch(2).isModified());
    EXPECT_TRUE(bank().patch(3).isModified());
    EXPECT_EQ(manager->currentPosition(), 2);

    manager->movePatchDown(2);
    EXPECT_EQ(bank().patch(3).patchImage(), distinctPatch('3'));
    EXPECT_EQ(manager->currentPosition(), 3);
    newRequests();

    manager->movePatchUp(0);
    manager->movePatchDown(15);
    manager->movePatchUp(16);
    manager->movePatchDown(-1);
    EXPECT_EQ(newRequests(), 0);
    EXPECT_EQ(manager->currentPosition(), 3);
}

TEST_F(Manager, StoreActivePatchWritesTheCurrentSlot)
{
    connect();
    manager->selectPatch(6);
    active().settings().setting(Octave).setValue(7);
    bank().clearModified();
    newRequests();

    manager->storeActivePatch();
    EXPECT_EQ(newRequests(), 2); // that slot's patch and zones
    EXPECT_EQ(world.controller().patch(7)[22], 7);
    EXPECT_EQ(bank().patch(6).patchImage()[22], 7);
    EXPECT_TRUE(bank().patch(6).isModified());
    EXPECT_FALSE(manager->isActivePatchModified());
}

TEST_F(Manager, RefreshReadsTheActivePatchAgain)
{
    connect();
    world.controller().setPatch(0, distinctPatch('R'));
    newRequests();
    manager->refreshActivePatch();
    EXPECT_EQ(ownPatch(), distinctPatch('R'));
    EXPECT_EQ(newRequests(), 2 + 2); // two requests, then both images sent back
    EXPECT_TRUE(manager->isLive());
}

TEST_F(Manager, WithoutADeviceEditsOnlyChangeTheModel)
{
    EXPECT_FALSE(manager->isConnected());
    EXPECT_TRUE(manager->currentDevice().isEmpty());
    active().settings().setting(Octave).setValue(3);
    EXPECT_TRUE(manager->isActivePatchModified());
    EXPECT_TRUE(manager->selectPatch(2));
    EXPECT_FALSE(manager->isActivePatchModified());
    EXPECT_FALSE(manager->downloadAll());
    manager->refreshActivePatch();
    EXPECT_EQ(world.controller().requestCount(), 0);
}

TEST_F(Manager, SilentControllerLeavesTheModelAsItWas)
{
    connect();
    bank().patch(3).setPatchImage(distinctPatch('M'));
    active().settings().setting(Octave).setValue(8);
    const PatchImage activeBefore = ownPatch();
    std::vector<PatchImage> storedBefore;
    for (int p = 0; p < StoredPatchCount; ++p)
        storedBefore.push_back(bank().patch(p).patchImage());
    const std::vector<Byte> settingsBefore = bank().settings();
    world.setFaults([](Sim::Faults &f) { f.silent = true; });
    newRequests();

    EXPECT_FALSE(manager->downloadAll());
    EXPECT_EQ(manager->lastDownloadAnswered(), 0);
    EXPECT_EQ(newRequests(), 35); // nothing to send back
    EXPECT_EQ(ownPatch(), activeBefore);
    for (int p = 0; p < StoredPatchCount; ++p)
        EXPECT_EQ(bank().patch(p).patchImage(), storedBefore[std::size_t(p)]);
    EXPECT_EQ(bank().settings(), settingsBefore);
    EXPECT_TRUE(bank().patch(3).isModified());
    EXPECT_TRUE(manager->isActivePatchModified());
    EXPECT_TRUE(manager->isLive());
}

// Answers relabelled as one kind of transfer: only the requests for that kind
// are accepted, every other one ends without effect.
struct PartialAnswerCase {
    const char *name;
    int replyCommand;
    bool activeModified;
};

class PartialDownload : public Manager, public ::testing::WithParamInterface<PartialAnswerCase>
{
};

TEST_P(PartialDownload, KeepsTheMarksOfWhatWasNotReadWhole)
{
    connect();
    for (int p = 0; p < StoredPatchCount; ++p)
        ASSERT_TRUE(bank().patch(p).setPatchImage(distinctPatch(char('a' + p))));
    ModifiedStatus &status = active().modifiedStatus();
    GetParam().activeModified ? status.setModified() : status.clearModified();
    Sim::Faults faults;
    faults.replyCommand = GetParam().replyCommand;
    world.controller().setFaults(faults);

    EXPECT_FALSE(manager->downloadAll());
    // No slot had both its patch and its zones accepted, and the active patch
    // was not read whole: every mark stays as it was.
    for (int p = 0; p < StoredPatchCount; ++p)
        EXPECT_TRUE(bank().patch(p).isModified()) << p;
    EXPECT_EQ(manager->isActivePatchModified(), GetParam().activeModified);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PartialDownload,
    ::testing::Values(PartialAnswerCase{"OnlyPatchesModified", CBSysExPatch::PatchTransfer, true},
                      PartialAnswerCase{"OnlyPatchesUnmodified", CBSysExPatch::PatchTransfer, false},
                      PartialAnswerCase{"OnlyZonesModified", CBSysExPatch::ZonesTransfer, true},
                      PartialAnswerCase{"OnlyZonesUnmodified", CBSysExPatch::ZonesTransfer, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Manager, ConnectionObserversHearEveryOpen)
{
    NotifyCounter counter(manager->connection().changed());
    connect();
    EXPECT_EQ(counter.count, 1);
    EXPECT_TRUE(manager->selectDevice(DeviceRecord::empty()));
    EXPECT_FALSE(manager->isConnected());
    EXPECT_EQ(counter.count, 2);
}

} // namespace
