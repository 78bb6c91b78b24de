#include "driver/PropertyHandler.h"
#include "tests/driver/AdapterFixture.h"

#include <gtest/gtest.h>

using namespace ZelTest;

namespace {

std::vector<std::string> subdeviceNames(Zel::UsbMidiAdapter &adapter)
{
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < adapter.subdeviceCount(); ++i)
        names.push_back(adapter.subdevice(i).name() + std::string("=") + adapter.subdevice(i).portName());
    return names;
}

// A MIDIStreaming interface with the given endpoints (address, cables), no jacks.
std::vector<std::uint8_t> configurationWith(const std::vector<std::pair<std::uint8_t, std::uint8_t>> &endpoints)
{
    std::vector<std::uint8_t> c = {
        9, 2, 0, 0, 1, 1,    0, 0x80, 50, 9, 4, 0, 0, static_cast<std::uint8_t>(endpoints.size()),
        1, 3, 0, 0, 7, 0x24, 1, 0,    1,  7, 0};
    for (auto [address, cables] : endpoints) {
        c.insert(c.end(), {7, 5, address, 2, 64, 0, 0});
        c.insert(c.end(), {static_cast<std::uint8_t>(4 + cables), 0x25, 1, cables});
        for (std::uint8_t i = 0; i < cables; ++i)
            c.push_back(static_cast<std::uint8_t>(i + 1));
    }
    c[2] = static_cast<std::uint8_t>(c.size());
    c[3] = static_cast<std::uint8_t>(c.size() >> 8);
    return c;
}

class Adapter : public testing::Test, public AdapterFixture
{
};

} // namespace

TEST_F(Adapter, StartPublishesOnePortPerCableAndTheControlObject)
{
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(subdeviceNames(*adapter), (std::vector<std::string>{"OUT00=Vorpad 49", "OUT01=Vorpad 49 MIDI Out",
                                                                  "IN00=Vorpad 49", "DeviceControl="}));
    EXPECT_EQ(adapter->pnpState(), Zel::PnpStarted);
    EXPECT_EQ(fake.pendingIn(), 5u); // the IN endpoint reads from start
    EXPECT_EQ(fake.writes, (std::vector<std::string>{"Device|FriendlyName=Vorpad 49",
                                                     "OUT00\\Device Parameters|FriendlyName=Vorpad 49",
                                                     "OUT01\\Device Parameters|FriendlyName=Vorpad 49 MIDI Out",
                                                     "IN00\\Device Parameters|FriendlyName=Vorpad 49"}));
}

TEST_F(Adapter, CablesAreCountedAcrossEndpointsPerDirection)
{
    fake.descriptors[{0x0200, 0}] = configurationWith({{0x01, 2}, {0x81, 1}, {0x02, 1}, {0x82, 2}});
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(subdeviceNames(*adapter),
              (std::vector<std::string>{"OUT00=Vorpad 49", "OUT01=Vorpad 49", "IN00=Vorpad 49", "OUT02=Vorpad 49",
                                        "IN01=Vorpad 49", "IN02=Vorpad 49", "DeviceControl="}));
}

TEST_F(Adapter, MoreThanSixteenCablesUseTheFirstSixteen)
{
    fake.descriptors[{0x0200, 0}] = configurationWith({{0x01, 20}});
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(adapter->subdeviceCount(), 17u);
    EXPECT_STREQ(adapter->subdevice(15).name(), "OUT0F");
}

TEST_F(Adapter, WithoutProductStringPortsHaveNoName)
{
    fake.descriptors[{0x0100, 0}][Zel::DeviceIProduct] = 0;
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(subdeviceNames(*adapter)[0], "OUT00=");
    EXPECT_TRUE(fake.writes.empty());
}

TEST_F(Adapter, StartFailuresLeaveNothingBehind)
{
    Sim::UsbDescriptorSet broken(3, 7);
    broken.corruptMidiStreamingInterface();
    fake.descriptors[{0x0200, 0}] = broken.configuration();
    EXPECT_EQ(start(), Zel::STATUS_DEVICE_CONFIGURATION_ERROR);
    EXPECT_EQ(adapter->subdeviceCount(), 0u);
    EXPECT_EQ(adapter->pnpState(), Zel::PnpNotStarted);
    EXPECT_EQ(fake.pendingIn(), 0u);

    fake.descriptors[{0x0200, 0}] = configurationWith({});
    EXPECT_EQ(start(), Zel::STATUS_DEVICE_CONFIGURATION_ERROR);
    fake.descriptors.erase({0x0100, 0});
    EXPECT_EQ(start(), Zel::STATUS_UNSUCCESSFUL);
}

TEST_F(Adapter, StartIsRefusedWhenStartedOrGone)
{
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(adapter->start(), Zel::STATUS_UNSUCCESSFUL);
    adapter->surpriseRemoval();
    EXPECT_TRUE(adapter->deviceGone());
    EXPECT_EQ(adapter->pnpState(), Zel::PnpSurpriseRemoved);
}

TEST_F(Adapter, QueryRemoveStopsCountingAsStartedUntilCancelled)
{
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    Zel::MidiStream *stream = nullptr;
    adapter->queryRemoveOrStop();
    EXPECT_EQ(adapter->openStream(*subdevice("OUT00"), false, nullptr, nullptr, stream),
              Zel::STATUS_DEVICE_NOT_CONNECTED);
    adapter->cancelRemoveOrStop();
    ASSERT_EQ(adapter->openStream(*subdevice("OUT00"), false, nullptr, nullptr, stream), Zel::STATUS_SUCCESS);
    EXPECT_EQ(Zel::MidiStream::destroy(stream), Zel::STATUS_SUCCESS);
    adapter->queryRemoveOrStop();
    adapter->remove();
    EXPECT_EQ(adapter->pnpState(), Zel::PnpRemoved);
    EXPECT_TRUE(adapter->deviceGone());
    EXPECT_EQ(fake.pendingIn(), 0u); // removal returned every transfer
}

TEST_F(Adapter, NewStreamChecksKindAndDirection)
{
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    Zel::MidiStream *stream = nullptr;
    EXPECT_EQ(adapter->openStream(*subdevice("OUT00"), true, nullptr, nullptr, stream),
              Zel::STATUS_INVALID_DEVICE_REQUEST);
    EXPECT_EQ(adapter->openStream(*subdevice("IN00"), false, nullptr, nullptr, stream),
              Zel::STATUS_INVALID_DEVICE_REQUEST);
    EXPECT_EQ(adapter->openStream(*subdevice("DeviceControl"), false, nullptr, nullptr, stream),
              Zel::STATUS_INVALID_DEVICE_REQUEST);
    EXPECT_EQ(subdevice("OUT00")->description(), Zel::FilterKind::Render);
    EXPECT_EQ(subdevice("IN00")->description(), Zel::FilterKind::Capture);
    EXPECT_EQ(subdevice("DeviceControl")->description(), Zel::FilterKind::Control);
    EXPECT_EQ(Zel::MidiMiniport::dataRangeIntersection(), Zel::STATUS_NOT_IMPLEMENTED);
    EXPECT_EQ(adapter->openStreamCount(), 0u);
}

TEST_F(Adapter, LockRefusedWhileAPortIsOpenThenBlocksCreates)
{
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    Zel::MidiStream *stream = nullptr;
    ASSERT_EQ(adapter->openStream(*subdevice("IN00"), true, nullptr, nullptr, stream), Zel::STATUS_SUCCESS);
    EXPECT_EQ(adapter->setExclusiveLock(true), Zel::STATUS_ACCESS_DENIED);
    EXPECT_EQ(Zel::MidiStream::destroy(stream), Zel::STATUS_SUCCESS);
    EXPECT_EQ(adapter->setExclusiveLock(true), Zel::STATUS_SUCCESS);
    EXPECT_EQ(adapter->openStream(*subdevice("OUT00"), false, nullptr, nullptr, stream),
              Zel::STATUS_INVALID_DEVICE_REQUEST);
    EXPECT_EQ(adapter->openFilter(), Zel::STATUS_INVALID_DEVICE_REQUEST);
    EXPECT_EQ(adapter->setExclusiveLock(false), Zel::STATUS_SUCCESS);
    ASSERT_EQ(adapter->openStream(*subdevice("OUT00"), false, nullptr, nullptr, stream), Zel::STATUS_SUCCESS);
    EXPECT_EQ(Zel::MidiStream::destroy(stream), Zel::STATUS_SUCCESS);
}

TEST_F(Adapter, DeviceControlRefusedWhenGoneAndIdle)
{
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    Zel::MidiStream *stream = nullptr;
    ASSERT_EQ(adapter->openStream(*subdevice("IN00"), true, nullptr, nullptr, stream), Zel::STATUS_SUCCESS);
    adapter->surpriseRemoval();
    EXPECT_EQ(adapter->checkDeviceControl(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(Zel::MidiStream::destroy(stream), Zel::STATUS_SUCCESS);
    EXPECT_EQ(adapter->checkDeviceControl(), Zel::STATUS_DEVICE_NOT_CONNECTED);
}

TEST_F(Adapter, FailedRequestReportingDeviceGoneSetsTheFlag)
{
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    fake.vendorStatus = Zel::STATUS_DEVICE_NOT_CONNECTED;
    std::uint32_t transferred = 0;
    Zel::ControlSetup setup;
    setup.function = Zel::FunctionVendorOther;
    EXPECT_EQ(adapter->device()->request(setup, nullptr, 0, transferred), Zel::STATUS_DEVICE_NOT_CONNECTED);
    EXPECT_TRUE(adapter->deviceGone());
}

TEST_F(Adapter, PowerDownStopsReadingAndRequests)
{
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    adapter->setPowerState(Zel::PowerD3);
    EXPECT_EQ(fake.pendingIn(), 0u);
    std::uint32_t transferred = 0;
    Zel::ControlSetup setup;
    setup.function = Zel::FunctionVendorOther;
    EXPECT_EQ(adapter->device()->request(setup, nullptr, 0, transferred), Zel::STATUS_UNSUCCESSFUL);
    adapter->setPowerState(Zel::PowerD0);
    EXPECT_EQ(fake.pendingIn(), 5u);
    EXPECT_EQ(adapter->device()->request(setup, nullptr, 0, transferred), Zel::STATUS_SUCCESS);
}

struct PowerCase {
    Zel::DevicePowerState from;
    Zel::DevicePowerState to;
    bool accepted;
};

class PowerQuery : public testing::TestWithParam<PowerCase>
{
};

TEST_P(PowerQuery, FromD3OnlyD0D1OrD3)
{
    EXPECT_EQ(Zel::UsbMidiAdapter::queryPowerState(GetParam().from, GetParam().to) == Zel::STATUS_SUCCESS,
              GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Adapter, PowerQuery,
    testing::Values(PowerCase{Zel::PowerD0, Zel::PowerD3, true}, PowerCase{Zel::PowerD2, Zel::PowerD0, true},
                    PowerCase{Zel::PowerD3, Zel::PowerD0, true}, PowerCase{Zel::PowerD3, Zel::PowerD1, true},
                    PowerCase{Zel::PowerD3, Zel::PowerD2, false}, PowerCase{Zel::PowerD3, Zel::PowerD3, true}));
