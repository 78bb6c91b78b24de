#include "editor/core/DeviceConnection.h"
#include "editor/core/IdentityProbe.h"
#include "editor/core/SendAlgorithm.h"
#include "editor/core/model/CBSysExPatch.h"
#include "tests/support/SimulatedWorld.h"

#include <gtest/gtest.h>

using namespace Brisel;

namespace {

const DeviceRecord simulated49{0, 0, "Vorpad 49", 0x10, Model49, "0107"};

class Exchanges : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(connection.open(simulated49)); }

    SimulatedWorld world;
    DeviceConnection connection;
};

TEST_F(Exchanges, StoredPatchRequestBringsTheDevicesImage)
{
    world.controller().setPatch(5, distinctPatch('A'));
    TestPatch patch(5);
    connection.requestPatch(patch);
    EXPECT_EQ(patch.patch, distinctPatch('A'));
    EXPECT_EQ(patch.patchUpdates, 1);
}

TEST_F(Exchanges, ActivePatchRequestAsksForPatchZero)
{
    world.controller().setPatch(0, distinctPatch('B'));
    world.controller().setPatch(7, distinctPatch('C'));
    TestPatch active(7); // the active patch asks for 0 whatever its number
    connection.requestActivePatch(active);
    EXPECT_EQ(active.patch, distinctPatch('B'));
}

TEST_F(Exchanges, ZonesRequestsBringZonesImages)
{
    TestPatch stored(9);
    stored.zones.fill(0);
    connection.requestZones(stored);
    connection.requestActiveZones(stored);
    EXPECT_EQ(stored.zones, world.controller().zones(0));
    EXPECT_EQ(stored.zonesUpdates, 2);
}

TEST_F(Exchanges, BankSettingsRequestBringsTheRecord)
{
    TestBank bank;
    connection.requestBankSettings(bank);
    EXPECT_EQ(bank.settings, world.controller().bankSettings());
}

TEST_F(Exchanges, TransfersAreStoredAndAcknowledgedAtTheFirstAttempt)
{
    world.setSetting("retries", 3);
    ASSERT_TRUE(connection.open(simulated49)); // a new link reads the settings anew
    const int before = world.controller().requestCount();
    connection.sendPatch(3, distinctPatch('D'));
    ZonesImage zones = world.controller().zones(0);
    CBPatch::instance().setField(Zone, 2, ZoneChannel, 9, zones.data());
    connection.sendZones(12, zones);
    std::vector<Byte> bank = world.controller().bankSettings();
    bank[16] = 4;
    connection.sendBankSettings(std::span<const Byte, BankSettingsSize>(bank.data(), BankSettingsSize));
    EXPECT_EQ(world.controller().patch(3), distinctPatch('D'));
    EXPECT_EQ(world.controller().zones(12), zones);
    EXPECT_EQ(world.controller().bankSettings(), bank);
    EXPECT_EQ(world.controller().requestCount() - before, 3) << "no repeats after an acknowledgement";
}

TEST_F(Exchanges, WithoutALinkRequestsAreDroppedUnsent)
{
    connection.close();
    const int before = world.controller().requestCount();
    TestPatch patch(1);
    connection.requestPatch(patch);
    connection.sendPatch(1, distinctPatch('E'));
    EXPECT_EQ(world.controller().requestCount(), before);
    EXPECT_EQ(patch.patchUpdates, 0);
}

// Faults that end the exchange at once without an effect: the first SysEx
// that arrives wins, whatever it is, and is not repeated.
struct WrongAnswerCase {
    const char *name;
    void (*fault)(Sim::Faults &);
};

class WrongAnswers : public Exchanges, public ::testing::WithParamInterface<WrongAnswerCase>
{
};

TEST_P(WrongAnswers, EndTheExchangeWithoutEffectOrRepeat)
{
    world.setSetting("retries", 2);
    ASSERT_TRUE(connection.open(simulated49));
    world.controller().setPatch(5, distinctPatch('F'));
    world.setFaults(GetParam().fault);
    const int before = world.controller().requestCount();
    TestPatch patch(5);
    connection.requestPatch(patch);
    EXPECT_EQ(patch.patchUpdates, 0);
    EXPECT_EQ(world.controller().requestCount() - before, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WrongAnswers,
    ::testing::Values(WrongAnswerCase{"OtherDevice", [](Sim::Faults &f) { f.replyDeviceId = 5; }},
                      WrongAnswerCase{"ErrorStatus", [](Sim::Faults &f) { f.errorStatus = 2; }},
                      WrongAnswerCase{"CorruptPayload", [](Sim::Faults &f) { f.corruptPayload = true; }},
                      WrongAnswerCase{"OtherCommand",
                                      [](Sim::Faults &f) { f.replyCommand = CBSysExPatch::BankSettingsTransfer; }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Exchanges, SilentDeviceIsAskedOncePlusTheConfiguredRetries)
{
    world.setSetting("retries", 2);
    ASSERT_TRUE(connection.open(simulated49));
    world.setFaults([](Sim::Faults &f) { f.silent = true; });
    const int before = world.controller().requestCount();
    TestPatch patch(2);
    connection.requestPatch(patch);
    EXPECT_EQ(world.controller().requestCount() - before, 3);
    EXPECT_EQ(patch.patchUpdates, 0);
}

TEST_F(Exchanges, DeviceAnsweringEverySecondRequestIsReachedByTheRepeat)
{
    world.setSetting("retries", 1);
    ASSERT_TRUE(connection.open(simulated49));
    world.setFaults([](Sim::Faults &f) { f.answerEveryNth = 2; });
    world.controller().setPatch(6, distinctPatch('G'));
    // Make the next request the first of a pair, so it goes unanswered.
    while (world.controller().requestCount() % 2 != 0) {
        TestBank bank;
        connection.requestBankSettings(bank);
    }
    const int before = world.controller().requestCount();
    TestPatch patch(6);
    connection.requestPatch(patch);
    EXPECT_EQ(world.controller().requestCount() - before, 2);
    EXPECT_EQ(patch.patch, distinctPatch('G'));
}

TEST_F(Exchanges, LateReplyIsLostAndDoesNotDisturbTheNextExchange)
{
    world.controller().setPatch(4, distinctPatch('H'));
    world.setFaults([](Sim::Faults &f) { f.replyDelay = std::chrono::milliseconds(1300); });
    TestPatch patch(4);
    connection.requestPatch(patch);
    EXPECT_EQ(patch.patchUpdates, 0) << "the wait ends after one second";
    ASSERT_TRUE(world.settle()); // the late reply arrives with nothing pending
    world.controller().setFaults({});
    TestBank bank;
    connection.requestBankSettings(bank);
    EXPECT_EQ(bank.updates, 1);
    EXPECT_EQ(patch.patchUpdates, 0);
}

TEST_F(Exchanges, StraySysExAfterEveryReplyNeverReplacesTheReply)
{
    world.setFaults([](Sim::Faults &f) { f.strayAfterReply = true; });
    TestBank bank;
    for (int n = 1; n <= 16; ++n) {
        world.controller().setPatch(n, distinctPatch(char('a' + n)));
        TestPatch patch(n);
        connection.requestPatch(patch);
        EXPECT_EQ(patch.patch, distinctPatch(char('a' + n))) << "patch " << n;
        ASSERT_TRUE(world.settle()); // the stray arrives while nothing is pending
    }
    EXPECT_EQ(bank.updates, 0);
}

TEST_F(Exchanges, ReplyInManySmallChunksIsAssembled)
{
    world.setFaults([](Sim::Faults &f) { f.chunkSize = 3; });
    world.controller().setPatch(16, distinctPatch('I'));
    TestPatch patch(16);
    connection.requestPatch(patch);
    EXPECT_EQ(patch.patch, distinctPatch('I'));
}

TEST(SendAlgorithm, RequestForAnyDeviceAcceptsEveryDeviceId)
{
    SimulatedWorld world;
    world.controller().setDeviceId(0x05);
    world.controller().setPatch(2, distinctPatch('J'));
    Midi::MidiOutPort output(0);
    Midi::MidiInPort input(0);
    ASSERT_TRUE(output.open() && input.open());
    SynchronousSendAlgorithm algorithm(output, input);
    TestPatch patch(2);
    algorithm.send(std::make_unique<PatchRequest>(0x03, patch), 0);
    EXPECT_EQ(patch.patchUpdates, 0) << "built for device 3, answered by 5";
    algorithm.send(std::make_unique<PatchRequest>(0x7F, patch), 0);
    EXPECT_EQ(patch.patch, distinctPatch('J'));
}

// Delivers the device's replies on the sending thread, inside the send: the
// answer is there before the algorithm starts to wait.
class InlineEndpoint : public Platform::SimMidiEndpoint
{
public:
    std::string portName() const override { return "Inline"; }
    bool bytesOut(const std::uint8_t *data, std::size_t length) override
    {
        for (const Sim::Reply &reply : controller.receive(data, length)) {
            if (m_receiver)
                m_receiver(reply.bytes.data(), reply.bytes.size());
        }
        return true;
    }
    Platform::MidiResult openInput(BytesIn receiver) override
    {
        m_receiver = std::move(receiver);
        return Platform::MMSYSERR_NOERROR;
    }
    void closeInput() override { m_receiver = nullptr; }
    Sim::Controller controller;

private:
    BytesIn m_receiver;
};

TEST(SendAlgorithm, ReplyArrivingBeforeTheWaitIsNotLost)
{
    auto endpoint = std::make_shared<InlineEndpoint>();
    endpoint->controller.setPatch(8, distinctPatch('K'));
    SimulatedWorld world({}, {endpoint});
    Midi::MidiOutPort output(0);
    Midi::MidiInPort input(0);
    ASSERT_TRUE(output.open() && input.open());
    SynchronousSendAlgorithm algorithm(output, input);
    TestPatch patch(8);
    algorithm.send(std::make_unique<PatchRequest>(0x10, patch), 0);
    EXPECT_EQ(patch.patch, distinctPatch('K'));
    EXPECT_EQ(endpoint->controller.requestCount(), 1);
}

struct SettingsCase {
    const char *name;
    QVariant retries;
    QVariant interval;
    int expectedRetries;
    unsigned expectedInterval;
};

class ExchangeSettingsTest : public ::testing::TestWithParam<SettingsCase>
{
};

TEST_P(ExchangeSettingsTest, AreReadFromTheMachineWideStore)
{
    SimulatedWorld world;
    if (GetParam().retries.isValid())
        world.setSetting("retries", GetParam().retries);
    if (GetParam().interval.isValid())
        world.setSetting("interval", GetParam().interval);
    const ExchangeSettings settings = ExchangeSettings::read();
    EXPECT_EQ(settings.retries, GetParam().expectedRetries);
    EXPECT_EQ(settings.interval, GetParam().expectedInterval);
}

INSTANTIATE_TEST_SUITE_P(Values, ExchangeSettingsTest,
                         ::testing::Values(SettingsCase{"Defaults", {}, {}, 0, 0u},
                                           SettingsCase{"Numbers", 2, 50, 2, 50u},
                                           SettingsCase{"Texts", "3", "75", 3, 75u},
                                           SettingsCase{"Garbage", "many", "soon", 0, 0u},
                                           SettingsCase{"NegativeRetries", -4, 10, 0, 10u}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SendAlgorithm, RepeatsArePausedByTheInterval)
{
    SimulatedWorld world;
    world.setSetting("retries", 2);
    world.setSetting("interval", 50);
    world.setFaults([](Sim::Faults &f) { f.silent = true; });
    Midi::MidiOutPort output(0);
    Midi::MidiInPort input(0);
    ASSERT_TRUE(output.open() && input.open());
    SynchronousSendAlgorithm algorithm(output, input);
    EXPECT_EQ(algorithm.defaultRetries(), 2);
    EXPECT_EQ(algorithm.interval(), 50u);
    TestBank bank;
    algorithm.send(std::make_unique<BankSettingsRequest>(0x10, bank), 0);
    EXPECT_EQ(world.controller().requestCount(), 3);
    algorithm.send(std::make_unique<BankSettingsRequest>(0x10, bank), 1);
    EXPECT_EQ(world.controller().requestCount(), 5) << "an explicit count wins over the setting";
}

TEST(IdentityProbe, SilentDeviceIsAskedTwiceEvenWithoutRetries)
{
    SimulatedWorld world;
    world.setFaults([](Sim::Faults &f) { f.silent = true; });
    const IdentityResult result = probeIdentity(0, 0);
    EXPECT_EQ(result.deviceId, NotIdentifiedDeviceId);
    EXPECT_EQ(result.model, NotThisProduct);
    EXPECT_EQ(world.controller().requestCount(), 2);
}

TEST(IdentityProbe, AnsweringDeviceTellsModelIdAndFirmware)
{
    SimulatedWorld world({61});
    world.controller().setDeviceId(0x2A);
    world.controller().setFirmware("2.10");
    const IdentityResult result = probeIdentity(0, 0);
    EXPECT_EQ(result.deviceId, 0x2A);
    EXPECT_EQ(result.model, Model61);
    EXPECT_EQ(result.firmware, "2.10");
    EXPECT_EQ(probeIdentity(1, 0).deviceId, NotIdentifiedDeviceId) << "invalid index";
}

} // namespace
