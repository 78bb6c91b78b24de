#include "editor/core/DeviceConnection.h"
#include "editor/core/DeviceList.h"
#include "tests/support/SimulatedWorld.h"

#include <gtest/gtest.h>

using namespace Brisel;

namespace {

struct Counter : Utils::Observer {
    void update() override { ++count; }
    int count = 0;
};

// A port pair that never answers, with the name it is given.
class MuteEndpoint : public Platform::SimMidiEndpoint
{
public:
    explicit MuteEndpoint(std::string name) : m_name(std::move(name)) {}
    std::string portName() const override { return m_name; }
    bool bytesOut(const std::uint8_t *, std::size_t) override
    {
        ++sent;
        return true;
    }
    Platform::MidiResult openInput(BytesIn) override { return Platform::MMSYSERR_NOERROR; }
    void closeInput() override {}
    int sent = 0;

private:
    std::string m_name;
};

TEST(DeviceList, FindsTheSimulatedControllerAfterTheEmptyRecord)
{
    SimulatedWorld world({25});
    world.controller().setDeviceId(0x12);
    DeviceList list;
    ASSERT_EQ(list.count(), 2);
    EXPECT_TRUE(list.record(0).isEmpty());
    EXPECT_EQ(list.record(0).name, "No device");
    const DeviceRecord &found = list.record(1);
    EXPECT_EQ(found.inputIndex, 0);
    EXPECT_EQ(found.outputIndex, 0);
    EXPECT_EQ(found.name, "Vorpad 25");
    EXPECT_EQ(found.deviceId, 0x12);
    EXPECT_EQ(found.model, Model25);
    EXPECT_EQ(found.firmware, Sim::Controller::DefaultFirmware);
}

TEST(DeviceList, AlikeNamedControllersArePairedWithoutReusingAnInput)
{
    SimulatedWorld world({49, 49});
    world.controller(1).setDeviceId(0x11);
    const std::vector<DeviceRecord> found = DeviceList::scan();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].inputIndex, 0);
    EXPECT_EQ(found[0].outputIndex, 0);
    EXPECT_EQ(found[0].deviceId, 0x10);
    EXPECT_EQ(found[1].inputIndex, 1);
    EXPECT_EQ(found[1].outputIndex, 1);
    EXPECT_EQ(found[1].deviceId, 0x11);
}

TEST(DeviceList, PortsWithEmptyOrDifferentNamesAreNotProbed)
{
    auto unnamed = std::make_shared<MuteEndpoint>("");
    SimulatedWorld world({61}, {unnamed});
    EXPECT_EQ(DeviceList::scan().size(), 1u);
    EXPECT_EQ(unnamed->sent, 0);
    EXPECT_EQ(world.controller().requestCount(), 1);
}

TEST(DeviceList, DeviceOfAnotherFamilyIsNotListed)
{
    SimulatedWorld world;
    world.setFaults([](Sim::Faults &f) { f.corruptPayload = true; });
    EXPECT_TRUE(DeviceList::scan().empty());
}

TEST(DeviceList, RefreshWhileADeviceIsOpenChangesNothing)
{
    SimulatedWorld world;
    DeviceList list;
    Counter counter;
    list.changed().attach(&counter);
    DeviceConnection connection;
    ASSERT_TRUE(connection.open(list.record(1)));
    const int before = world.controller().requestCount();
    list.refresh();
    EXPECT_EQ(counter.count, 0);
    EXPECT_EQ(world.controller().requestCount(), before);
    connection.close();
    world.controller().setDeviceId(0x20);
    list.refresh();
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(list.record(1).deviceId, 0x20);
}

// How each fault of the controller shows in a scan: the probe makes two
// attempts and takes the first identity reply, whatever its device ID.
struct ScanFaultCase {
    const char *name;
    void (*fault)(Sim::Faults &);
    bool listed;
    int deviceId;
};

class ScanWithFaults : public ::testing::TestWithParam<ScanFaultCase>
{
};

TEST_P(ScanWithFaults, ListTheControllerOrNot)
{
    SimulatedWorld world;
    world.setFaults(GetParam().fault);
    const std::vector<DeviceRecord> found = DeviceList::scan();
    ASSERT_EQ(found.size(), GetParam().listed ? 1u : 0u);
    if (GetParam().listed) {
        EXPECT_EQ(found[0].deviceId, GetParam().deviceId);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ScanWithFaults,
    ::testing::Values(ScanFaultCase{"Silent", [](Sim::Faults &f) { f.silent = true; }, false, 0},
                      ScanFaultCase{"EverySecond", [](Sim::Faults &f) { f.answerEveryNth = 2; }, true, 0x10},
                      ScanFaultCase{"EveryThird", [](Sim::Faults &f) { f.answerEveryNth = 3; }, false, 0},
                      ScanFaultCase{"LateForTheFirstAttempt",
                                    [](Sim::Faults &f) { f.replyDelay = std::chrono::milliseconds(1300); }, true, 0x10},
                      ScanFaultCase{"OtherDeviceId", [](Sim::Faults &f) { f.replyDeviceId = 0x05; }, true, 0x05},
                      ScanFaultCase{"ErrorStatus", [](Sim::Faults &f) { f.errorStatus = 1; }, true, 0x10},
                      ScanFaultCase{"Corrupt", [](Sim::Faults &f) { f.corruptPayload = true; }, false, 0},
                      ScanFaultCase{"OtherCommand", [](Sim::Faults &f) { f.replyCommand = 0x13; }, true, 0x10},
                      ScanFaultCase{"Stray", [](Sim::Faults &f) { f.strayAfterReply = true; }, true, 0x10},
                      ScanFaultCase{"Chunks", [](Sim::Faults &f) { f.chunkSize = 2; }, true, 0x10}),
    [](const auto &info) { return std::string(info.param.name); });

class Opening : public ::testing::Test
{
protected:
    Opening() { connection.changed().attach(&counter); }

    SimulatedWorld world;
    DeviceList list;
    DeviceConnection connection;
    Counter counter;
};

TEST_F(Opening, OpensTheRecordAndNotifies)
{
    EXPECT_TRUE(connection.open(list.record(1)));
    EXPECT_TRUE(connection.isOpen());
    EXPECT_EQ(connection.currentDevice(), list.record(1));
    EXPECT_EQ(counter.count, 1);
    TestBank bank;
    connection.requestBankSettings(bank);
    EXPECT_EQ(bank.updates, 1);
}

TEST_F(Opening, EmptyRecordClosesTheLinkAndSucceeds)
{
    ASSERT_TRUE(connection.open(list.record(1)));
    EXPECT_TRUE(connection.open(DeviceRecord::empty()));
    EXPECT_FALSE(connection.isOpen());
    EXPECT_TRUE(connection.currentDevice().isEmpty());
    EXPECT_EQ(counter.count, 2);
}

TEST_F(Opening, UnidentifiedRecordIsRefusedWithoutProbing)
{
    DeviceRecord record = list.record(1);
    record.deviceId = NotIdentifiedDeviceId;
    const int before = world.controller().requestCount();
    EXPECT_FALSE(connection.open(record));
    EXPECT_EQ(world.controller().requestCount(), before);
    EXPECT_EQ(counter.count, 1);
}

TEST_F(Opening, DeviceAnsweringWithAnotherIdIsRefusedAndThePreviousLinkClosed)
{
    ASSERT_TRUE(connection.open(list.record(1)));
    world.controller().setDeviceId(0x33);
    EXPECT_FALSE(connection.open(list.record(1)));
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(counter.count, 2);
}

TEST_F(Opening, DeviceNoLongerAnsweringIsRefused)
{
    world.setFaults([](Sim::Faults &f) { f.silent = true; });
    EXPECT_FALSE(connection.open(list.record(1)));
    EXPECT_EQ(world.controller().requestCount(), 1 + 2) << "the scan's probe, then two attempts";
}

TEST_F(Opening, SecondConnectionToAnOpenDeviceIsRefused)
{
    ASSERT_TRUE(connection.open(list.record(1)));
    // A second connection to the same device cannot open the taken input.
    DeviceConnection second;
    EXPECT_FALSE(second.open(list.record(1)));
    EXPECT_TRUE(connection.isOpen());
}

TEST(DeviceListInstance, IsCreatedOnceAndScansAtCreation)
{
    SimulatedWorld world;
    DeviceList &list = DeviceList::instance();
    EXPECT_EQ(&list, &DeviceList::instance());
    EXPECT_EQ(list.count(), 2);
}

} // namespace
