#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"
#include "simulator/Controller.h"
#include "tests/support/FileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

using Bytes = std::vector<Byte>;
using FileBytes::patchTransfer;
using Sim::Controller;

namespace {

const Bytes identityRequest = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};

Bytes request(int command, int patchNumber, Byte deviceId = 0x10)
{
    Bytes out(CBSysExPatch::MaxMessageLength);
    SysExContext context;
    context.message = out.data();
    context.deviceId = deviceId;
    context.patchNumber = Byte(patchNumber);
    const CBSysExPatch &sysEx = CBPatch::instance().sysEx();
    command == CBSysExPatch::BankSettingsRequest ? sysEx.buildBankSettingsRequest(context)
    : command == CBSysExPatch::ZonesRequest      ? sysEx.buildZonesRequest(context)
                                                 : sysEx.buildPatchRequest(context);
    out.resize(std::size_t(context.length));
    return out;
}

PatchImage defaultPatch()
{
    PatchImage image{};
    CBPatch::instance().initPatch(image.data());
    return image;
}

PatchImage distinctPatchImage(char tag)
{
    PatchImage image = defaultPatch();
    image[0] = Byte(tag);
    return image;
}

// Parses a reply as the editor would, expecting the given device ID.
SysExContext parse(Bytes reply, Byte expectedId = 0x10)
{
    static Bytes keep;
    keep = std::move(reply);
    SysExContext context;
    context.message = keep.data();
    context.length = int(keep.size());
    context.deviceId = expectedId;
    CBPatch::instance().sysEx().parse(context);
    return context;
}

std::vector<Sim::Reply> send(Controller &controller, const Bytes &bytes)
{
    return controller.receive(bytes.data(), bytes.size());
}

struct ModelCase {
    int keys;
    int model;
    const char *portName;
};

class ControllerIdentity : public ::testing::TestWithParam<ModelCase>
{
};

TEST_P(ControllerIdentity, AnswersTheIdentityRequestWithItsModel)
{
    Controller controller(GetParam().keys);
    controller.setDeviceId(0x22);
    const auto replies = send(controller, identityRequest);
    ASSERT_EQ(replies.size(), 1u);
    Brisel::IdentityResult result;
    ASSERT_TRUE(CBSysExPatch::checkIdentityReply(replies[0].bytes.data(), int(replies[0].bytes.size()), result));
    EXPECT_EQ(result.model, GetParam().model);
    EXPECT_EQ(result.deviceId, 0x22);
    EXPECT_EQ(result.firmware, Controller::DefaultFirmware);
    EXPECT_EQ(controller.portName(), GetParam().portName);
}

INSTANTIATE_TEST_SUITE_P(Models, ControllerIdentity,
                         ::testing::Values(ModelCase{25, Brisel::Model25, "Vorpad 25"},
                                           ModelCase{49, Brisel::Model49, "Vorpad 49"},
                                           ModelCase{61, Brisel::Model61, "Vorpad 61"}));

TEST(Controller, IgnoresMessagesForOtherDevices)
{
    Controller controller;
    EXPECT_TRUE(send(controller, request(CBSysExPatch::PatchRequest, 1, 0x11)).empty());
    EXPECT_TRUE(send(controller, {0xF0, 0x7E, 0x05, 0x06, 0x01, 0xF7}).empty());
    EXPECT_TRUE(send(controller, {0xF0, 0x43, 0x10, 0x00, 0xF7}).empty());
    EXPECT_EQ(controller.requestCount(), 0);
    EXPECT_EQ(send(controller, request(CBSysExPatch::PatchRequest, 1, 0x7F)).size(), 1u);
}

struct RequestCase {
    int command;
    int patchNumber;
    int replyCommand;
    std::size_t replyLength;
};

class ControllerRequests : public ::testing::TestWithParam<RequestCase>
{
};

TEST_P(ControllerRequests, AnswersWithTheMatchingTransfer)
{
    Controller controller;
    const auto replies = send(controller, request(GetParam().command, GetParam().patchNumber));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].bytes.size(), GetParam().replyLength);
    const SysExContext context = parse(replies[0].bytes);
    EXPECT_EQ(context.result, CBSysExPatch::Accepted);
    EXPECT_EQ(context.command, GetParam().replyCommand);
    if (GetParam().command != CBSysExPatch::BankSettingsRequest) {
        EXPECT_EQ(context.patchNumber, GetParam().patchNumber);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ControllerRequests,
    ::testing::Values(RequestCase{CBSysExPatch::PatchRequest, 0, CBSysExPatch::PatchTransfer, 361},
                      RequestCase{CBSysExPatch::PatchRequest, 16, CBSysExPatch::PatchTransfer, 361},
                      RequestCase{CBSysExPatch::ZonesRequest, 5, CBSysExPatch::ZonesTransfer, 73},
                      RequestCase{CBSysExPatch::BankSettingsRequest, 0, CBSysExPatch::BankSettingsTransfer, 25}));

TEST(Controller, BadPatchNumberIsAnsweredWithAnError)
{
    Controller controller;
    const auto replies = send(controller, request(CBSysExPatch::PatchRequest, 17));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(parse(replies[0].bytes).result, CBSysExPatch::DeviceError);
}

TEST(Controller, StoresAValidTransferAndAcknowledges)
{
    Controller controller;
    PatchImage image = defaultPatch();
    CBPatch::instance().setScalar(Octave, 7, image.data());
    const auto replies = send(controller, patchTransfer(image, 4, Controller::DefaultDeviceId));
    ASSERT_EQ(replies.size(), 1u);
    const SysExContext ack = parse(replies[0].bytes);
    EXPECT_EQ(ack.result, CBSysExPatch::Accepted);
    EXPECT_EQ(ack.command, CBSysExPatch::Acknowledgement);
    EXPECT_EQ(ack.ackCode, Controller::PatchStored);
    EXPECT_EQ(controller.patch(4), image);
    EXPECT_EQ(controller.patch(5), defaultPatch());
}

TEST(Controller, InvalidTransferChangesNothingAndReportsAnError)
{
    Controller controller;
    PatchImage image = defaultPatch();
    image[22] = 9; // octave out of range
    const auto replies = send(controller, patchTransfer(image, 4, Controller::DefaultDeviceId));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(parse(replies[0].bytes).result, CBSysExPatch::DeviceError);
    EXPECT_NE(replies[0].bytes[6], 0);
    EXPECT_EQ(controller.patch(4), defaultPatch());
}

TEST(Controller, AcceptsAMessageInSinglyDeliveredBytes)
{
    Controller controller;
    PatchImage image = defaultPatch();
    image[0] = 'Z';
    const Bytes transfer = patchTransfer(image, 0, Controller::DefaultDeviceId);
    std::vector<Sim::Reply> replies;
    for (Byte b : transfer) {
        auto some = controller.receive(&b, 1);
        replies.insert(replies.end(), some.begin(), some.end());
    }
    EXPECT_EQ(replies.size(), 1u);
    EXPECT_EQ(controller.patch(0), image);
}

struct FaultCase {
    const char *name;
    Sim::Faults faults;
    int request;         // command sent
    std::size_t replies; // how many replies come back
    int result;          // parse result of the first, expecting device 0x10
    int command;         // its command
};

class ControllerFaults : public ::testing::TestWithParam<FaultCase>
{
};

TEST_P(ControllerFaults, ChangeTheReply)
{
    Controller controller;
    controller.setFaults(GetParam().faults);
    const auto replies = send(controller, request(GetParam().request, 3));
    ASSERT_EQ(replies.size(), GetParam().replies);
    if (replies.empty())
        return;
    const SysExContext context = parse(replies[0].bytes);
    EXPECT_EQ(context.result, GetParam().result);
    EXPECT_EQ(context.command, GetParam().command);
    EXPECT_EQ(replies[0].delay, GetParam().faults.replyDelay);
    EXPECT_EQ(replies[0].chunkSize, GetParam().faults.chunkSize);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ControllerFaults,
    ::testing::Values(
        FaultCase{"None", {}, CBSysExPatch::PatchRequest, 1, CBSysExPatch::Accepted, CBSysExPatch::PatchTransfer},
        FaultCase{"Silent", Sim::Faults{.silent = true}, CBSysExPatch::PatchRequest, 0, 0, 0},
        FaultCase{"Late", Sim::Faults{.replyDelay = std::chrono::milliseconds(1500)}, CBSysExPatch::PatchRequest, 1,
                  CBSysExPatch::Accepted, CBSysExPatch::PatchTransfer},
        FaultCase{"OtherDevice", Sim::Faults{.replyDeviceId = 5}, CBSysExPatch::PatchRequest, 1,
                  CBSysExPatch::OtherDevice, CBSysExPatch::PatchTransfer},
        FaultCase{"ErrorStatus", Sim::Faults{.errorStatus = 3}, CBSysExPatch::ZonesRequest, 1,
                  CBSysExPatch::DeviceError, CBSysExPatch::ZonesTransfer},
        FaultCase{"CorruptPatch", Sim::Faults{.corruptPayload = true}, CBSysExPatch::PatchRequest, 1,
                  CBSysExPatch::InvalidImage, CBSysExPatch::PatchTransfer},
        FaultCase{"CorruptZones", Sim::Faults{.corruptPayload = true}, CBSysExPatch::ZonesRequest, 1,
                  CBSysExPatch::InvalidImage, CBSysExPatch::ZonesTransfer},
        FaultCase{"CorruptBank", Sim::Faults{.corruptPayload = true}, CBSysExPatch::BankSettingsRequest, 1,
                  CBSysExPatch::InvalidImage, CBSysExPatch::BankSettingsTransfer},
        FaultCase{"OtherCommand", Sim::Faults{.replyCommand = CBSysExPatch::BankSettingsRequest},
                  CBSysExPatch::PatchRequest, 1, CBSysExPatch::Accepted, CBSysExPatch::BankSettingsRequest},
        FaultCase{"Stray", Sim::Faults{.strayAfterReply = true}, CBSysExPatch::PatchRequest, 2, CBSysExPatch::Accepted,
                  CBSysExPatch::PatchTransfer},
        FaultCase{"Chunks", Sim::Faults{.chunkSize = 3}, CBSysExPatch::PatchRequest, 1, CBSysExPatch::Accepted,
                  CBSysExPatch::PatchTransfer}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Controller, AnswersOnlyEveryNthRequest)
{
    Controller controller;
    controller.setFaults({.answerEveryNth = 3});
    std::vector<std::size_t> counts;
    for (int i = 0; i < 6; ++i)
        counts.push_back(send(controller, request(CBSysExPatch::BankSettingsRequest, 0)).size());
    EXPECT_EQ(counts, (std::vector<std::size_t>{0, 0, 1, 0, 0, 1}));
}

TEST(Controller, CorruptedIdentityIsNotOfThisFamily)
{
    Controller controller;
    controller.setFaults({.corruptPayload = true});
    const auto replies = send(controller, identityRequest);
    ASSERT_EQ(replies.size(), 1u);
    Brisel::IdentityResult result;
    ASSERT_TRUE(CBSysExPatch::checkIdentityReply(replies[0].bytes.data(), 15, result));
    EXPECT_EQ(result.model, Brisel::NotThisProduct);
}

TEST(Controller, SilentControllerStillStoresWhatItIsSent)
{
    Controller controller;
    controller.setFaults({.silent = true});
    PatchImage image = defaultPatch();
    image[16] = 9;
    EXPECT_TRUE(send(controller, patchTransfer(image, 2, Controller::DefaultDeviceId)).empty());
    EXPECT_EQ(controller.patch(2), image);
}

} // namespace

namespace {

class ControllerState : public ::testing::Test
{
protected:
    // A folder of the test's own under the system's temporary folder.
    ControllerState()
        : m_directory(std::filesystem::temp_directory_path() /
                      ("vorpad-sim-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                       "-" + std::to_string(std::random_device{}())))
    {
        std::filesystem::create_directories(m_directory);
        path = (m_directory / "simulated.syx").string();
    }
    ~ControllerState() override { std::filesystem::remove_all(m_directory); }
    std::string path;

private:
    std::filesystem::path m_directory;
};

TEST_F(ControllerState, StateRestoresIntoAnotherController)
{
    Controller first;
    send(first, patchTransfer(distinctPatchImage('S'), 9, Controller::DefaultDeviceId));
    Controller second;
    EXPECT_TRUE(second.restore(first.state()));
    EXPECT_EQ(second.patch(9), distinctPatchImage('S'));
    EXPECT_EQ(second.state(), first.state());
}

TEST_F(ControllerState, StoredTransfersSurviveARestart)
{
    {
        Controller controller;
        controller.setStateFile(path);
        send(controller, patchTransfer(distinctPatchImage('T'), 2, Controller::DefaultDeviceId));
    }
    Controller restarted;
    restarted.setStateFile(path);
    EXPECT_EQ(restarted.patch(2), distinctPatchImage('T'));
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

// Two controllers on one state file stand for the editor and vorpadctl in two
// processes, each with its own copy in memory.
TEST_F(ControllerState, ControllersSharingAStateFileKeepEachOthersChanges)
{
    Controller editor;
    Controller tool;
    editor.setStateFile(path);
    tool.setStateFile(path);
    send(tool, patchTransfer(distinctPatchImage('R'), 7, Controller::DefaultDeviceId));    // a restore
    send(editor, patchTransfer(distinctPatchImage('E'), 16, Controller::DefaultDeviceId)); // then an edit
    EXPECT_EQ(editor.patch(7), distinctPatchImage('R'));
    Controller restarted;
    restarted.setStateFile(path);
    EXPECT_EQ(restarted.patch(7), distinctPatchImage('R'));
    EXPECT_EQ(restarted.patch(16), distinctPatchImage('E'));
}

TEST_F(ControllerState, InvalidStateChangesNothing)
{
    Controller controller;
    Bytes bytes = patchTransfer(distinctPatchImage('U'), 3, Controller::DefaultDeviceId);
    bytes[8 + 22] = 9; // invalid octave
    bytes.insert(bytes.end(), {0x01, 0xF0, 0x7E});
    EXPECT_FALSE(controller.restore(bytes));
    EXPECT_EQ(controller.patch(3), defaultPatch());
    EXPECT_FALSE(controller.restore({}));
}

TEST_F(ControllerState, UnwritableStateFileKeepsTheControllerWorking)
{
    Controller controller;
    controller.setStateFile(path + "/missing/simulated.syx");
    const auto replies = send(controller, patchTransfer(distinctPatchImage('V'), 4, Controller::DefaultDeviceId));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(parse(replies[0].bytes).result, CBSysExPatch::Accepted);
    EXPECT_EQ(controller.patch(4), distinctPatchImage('V'));
}

} // namespace

namespace {

TEST_F(ControllerState, InstalledFirmwareLeadsTheIdentityReplyAndSurvivesARestart)
{
    const Sim::FirmwareRevision updated{(26 << 9) | (1 << 5) | 15, 0x0110};
    {
        Controller controller;
        EXPECT_EQ(controller.installedFirmware(), Sim::ShippedRevision);
        controller.setStateFile(path);
        controller.installFirmware(updated);
        const auto replies = send(controller, identityRequest);
        ASSERT_EQ(replies.size(), 1u);
        Brisel::IdentityResult result;
        ASSERT_TRUE(CBSysExPatch::checkIdentityReply(replies[0].bytes.data(), int(replies[0].bytes.size()), result));
        EXPECT_EQ(result.firmware, "0110");
    }
    Controller restarted;
    restarted.setStateFile(path);
    EXPECT_EQ(restarted.installedFirmware(), updated);
    EXPECT_EQ(restarted.firmware(), "0110");
}

TEST_F(ControllerState, AStateWithoutOrWithABrokenFirmwareRecordKeepsTheShippedFirmware)
{
    Controller updated;
    updated.installFirmware({0x1234, 0x0203});
    Bytes state = updated.state();
    Controller plain;
    EXPECT_EQ(plain.state().size() + 13, state.size()); // an untouched controller writes no record
    state[state.size() - 4] = 0x04;                     // a version past the 16 bits the record holds
    Controller restored;
    EXPECT_TRUE(restored.restore(state)); // the transfers still count
    EXPECT_EQ(restored.installedFirmware(), Sim::ShippedRevision);
    EXPECT_EQ(restored.firmware(), Controller::DefaultFirmware);
}

} // namespace
