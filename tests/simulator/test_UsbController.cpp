#include "simulator/usb/UsbController.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Sim;

namespace {

// Answers every chunk with itself, so the replies show what arrived.
class EchoFirmware : public MidiFirmware
{
public:
    std::vector<std::uint8_t> received;
    std::chrono::milliseconds delay{0};
    std::vector<FirmwareReply> receive(const std::vector<std::uint8_t> &bytes) override
    {
        received.insert(received.end(), bytes.begin(), bytes.end());
        return {{bytes, delay}};
    }
};

UsbSetup vendor(std::uint8_t request, bool in, std::uint16_t length, std::uint16_t value = 0, std::uint16_t index = 0)
{
    UsbSetup setup;
    setup.requestType = static_cast<std::uint8_t>((in ? 0x80 : 0x00) | 0x40 | 0x03);
    setup.request = request;
    setup.value = value;
    setup.index = index;
    setup.length = length;
    return setup;
}

std::uint32_t u32(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::vector<std::uint8_t> descriptor(UsbController &controller, std::uint8_t type, std::uint8_t index,
                                     std::uint16_t language = 0, std::uint16_t length = 255)
{
    UsbSetup setup;
    setup.requestType = 0x80;
    setup.request = 6;
    setup.value = static_cast<std::uint16_t>(type << 8 | index);
    setup.index = language;
    setup.length = length;
    std::vector<std::uint8_t> data(length);
    std::uint32_t transferred = 0;
    if (controller.control(setup, data.data(), transferred) != UsbResult::Ok)
        return {};
    data.resize(transferred);
    return data;
}

struct ModelCase {
    int model;
    std::uint16_t productId;
    const char *product;
};

class Descriptors : public testing::TestWithParam<ModelCase>
{
};

} // namespace

TEST_P(Descriptors, IdentifyTheModel)
{
    UsbController controller(GetParam().model, nullptr, 42);
    const auto device = descriptor(controller, 1, 0);
    ASSERT_EQ(device.size(), 18u);
    EXPECT_EQ(device[8] | device[9] << 8, 0x041E);
    EXPECT_EQ(device[10] | device[11] << 8, GetParam().productId);
    EXPECT_EQ(controller.descriptors().productName(), GetParam().product);
    const auto product = descriptor(controller, 3, device[15], 0x0409);
    ASSERT_GE(product.size(), 2u);
    EXPECT_EQ(product[0], product.size());
    EXPECT_EQ(product[2], 'V');
}

INSTANTIATE_TEST_SUITE_P(UsbController, Descriptors,
                         testing::Values(ModelCase{2, 0x3F00, "Vorpad 25"}, ModelCase{3, 0x3F01, "Vorpad 49"},
                                         ModelCase{4, 0x3F06, "Vorpad 61"}));

TEST(UsbDescriptors, ConfigurationIsConsistent)
{
    UsbController controller(3, nullptr);
    const auto header = descriptor(controller, 2, 0, 0, 9);
    ASSERT_EQ(header.size(), 9u);
    const auto config = descriptor(controller, 2, 0, 0, header[2] | header[3] << 8);
    ASSERT_EQ(config.size(), std::size_t(header[2] | header[3] << 8));
    // Every descriptor's length adds up to the total; the MIDIStreaming header
    // counts its class-specific part.
    std::size_t at = 0;
    std::size_t msHeader = 0;
    while (at < config.size()) {
        ASSERT_GE(config[at], 2);
        if (config[at + 1] == 0x24 && config[at + 2] == 1 && config[at] == 7)
            msHeader = at;
        at += config[at];
    }
    EXPECT_EQ(at, config.size());
    ASSERT_NE(msHeader, 0u);
    EXPECT_EQ(std::size_t(config[msHeader + 5] | config[msHeader + 6] << 8), config.size() - msHeader);
}

TEST(UsbDescriptors, StringsInTwoLanguages)
{
    UsbController controller(3, nullptr);
    EXPECT_EQ(descriptor(controller, 3, 0), (std::vector<std::uint8_t>{6, 3, 0x09, 0x04, 0x07, 0x04}));
    EXPECT_EQ(descriptor(controller, 3, 4, 0x0409).size(), 2u + 2 * 8);  // "MIDI Out"
    EXPECT_EQ(descriptor(controller, 3, 4, 0x0407).size(), 2u + 2 * 12); // "MIDI-Ausgang"
    EXPECT_TRUE(descriptor(controller, 3, 4, 0x0411).empty());           // stalls
    EXPECT_EQ(descriptor(controller, 3, 2, 0x0409, 6).size(), 6u);
}

TEST(UsbDescriptors, CorruptDescriptorFault)
{
    UsbFaults faults;
    faults.corruptDescriptor = true;
    UsbController controller(3, nullptr, 1, faults);
    const auto config = descriptor(controller, 2, 0);
    EXPECT_EQ(config[controller.descriptors().midiStreamingInterfaceOffset()], 0);
}

TEST(UsbMidiFunction, CablesSplitAndRepliesBecomePackets)
{
    auto firmware = std::make_shared<EchoFirmware>();
    UsbController controller(3, firmware);
    const std::vector<std::uint8_t> packets = {0x04, 0xF0, 0x7E, 0x7F, 0x19, 0x90, 0x3C, 0x40,
                                               0x07, 0x06, 0x01, 0xF7, 0x0F, 0xF8, 0x00, 0x00};
    EXPECT_EQ(controller.bulkOut(MidiOutEndpoint, packets.data(), packets.size()), UsbResult::Ok);
    EXPECT_EQ(firmware->received, (std::vector<std::uint8_t>{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7, 0xF8}));
    EXPECT_EQ(controller.socketBytes(), (std::vector<std::uint8_t>{0x90, 0x3C, 0x40}));
    ASSERT_TRUE(controller.hasInData());
    std::uint8_t in[64];
    std::size_t size = 0;
    EXPECT_EQ(controller.bulkIn(MidiInEndpoint, in, 6, size), UsbResult::Ok);
    EXPECT_EQ(size, 4u); // whole packets only
    EXPECT_EQ(controller.bulkIn(MidiInEndpoint, in + 4, sizeof in - 4, size), UsbResult::Ok);
    EXPECT_EQ(std::vector<std::uint8_t>(in, in + 4 + size),
              (std::vector<std::uint8_t>{0x04, 0xF0, 0x7E, 0x7F, 0x07, 0x06, 0x01, 0xF7, 0x0F, 0xF8, 0x00, 0x00}));
    EXPECT_FALSE(controller.hasInData());
}

TEST(UsbMidiFunction, DelayedAnswersWaitUntilDueAndKeepTheirOrder)
{
    auto firmware = std::make_shared<EchoFirmware>();
    UsbController controller(3, firmware);
    firmware->delay = std::chrono::milliseconds(60000);
    const std::uint8_t late[] = {0x0F, 0xF8, 0x00, 0x00};
    controller.bulkOut(MidiOutEndpoint, late, sizeof late);
    firmware->delay = std::chrono::milliseconds(0);
    const std::uint8_t prompt[] = {0x0F, 0xFA, 0x00, 0x00};
    controller.bulkOut(MidiOutEndpoint, prompt, sizeof prompt);
    // The prompt answer may not overtake the late one.
    EXPECT_FALSE(controller.hasInData());
    std::uint8_t in[8];
    std::size_t size = 9;
    EXPECT_EQ(controller.bulkIn(MidiInEndpoint, in, sizeof in, size), UsbResult::Ok);
    EXPECT_EQ(size, 0u);
    ASSERT_TRUE(controller.nextInDue().has_value());
    EXPECT_GT(*controller.nextInDue(), UsbMidiFunction::Clock::now() + std::chrono::seconds(30));
}

TEST(UsbMidiFunction, PacketsForEveryMessageKind)
{
    EXPECT_EQ(UsbMidiFunction::toPackets({0xF0, 0xF7, 0xC1, 0x05, 0xF0, 0x01, 0x02, 0x03, 0xF7}, 0),
              (std::vector<std::uint8_t>{0x06, 0xF0, 0xF7, 0x00, 0x0C, 0xC1, 0x05, 0x00, 0x04, 0xF0, 0x01, 0x02, 0x06,
                                         0x03, 0xF7, 0x00}));
}

namespace {

class FirmwareUpdateTest : public testing::Test
{
protected:
    UsbResult request(std::uint8_t code, bool in, std::vector<std::uint8_t> &data, std::uint16_t value = 0,
                      std::uint16_t index = 0)
    {
        std::uint32_t transferred = 0;
        const UsbResult result = controller.control(
            vendor(code, in, static_cast<std::uint16_t>(data.size()), value, index), data.data(), transferred);
        data.resize(transferred);
        return result;
    }
    std::uint32_t status(std::uint8_t code)
    {
        std::vector<std::uint8_t> data(code == FirmwareUpdate::Start ? 8 : 4);
        EXPECT_EQ(request(code, true, data, static_cast<std::uint16_t>(image.size() >> 16),
                          static_cast<std::uint16_t>(image.size())),
                  UsbResult::Ok);
        return data.size() >= 4 ? u32(data.data()) : 99;
    }
    // Writes every block and checks each status; the index of the first failure or -1.
    int writeAll()
    {
        for (std::size_t at = 0, block = 0; at < image.size(); at += FirmwareUpdate::BlockSize, ++block) {
            std::vector<std::uint8_t> data(image.begin() + at,
                                           image.begin() + std::min(image.size(), at + FirmwareUpdate::BlockSize));
            if (request(FirmwareUpdate::WriteBlock, false, data) != UsbResult::Ok ||
                status(FirmwareUpdate::Status) != 0)
                return static_cast<int>(block);
        }
        return -1;
    }
    void setFaults(UsbFaults faults) { controller.setFaults(faults); }

    UsbController controller{3, nullptr};
    std::vector<std::uint8_t> image = FirmwareUpdate::makeImage(0x3A6F, 0x0203, 65536 + 5);
};

} // namespace

TEST_F(FirmwareUpdateTest, CompletedUpdateInstallsTheImagesVersion)
{
    std::vector<std::uint8_t> version(32);
    ASSERT_EQ(request(FirmwareUpdate::Version, true, version), UsbResult::Ok);
    EXPECT_EQ(version[6] | version[7] << 8, Sim::ShippedRevision.version);
    std::vector<std::uint8_t> start(8);
    ASSERT_EQ(request(FirmwareUpdate::Start, true, start, 1, 5), UsbResult::Ok);
    EXPECT_EQ(u32(start.data()), 0u);
    EXPECT_EQ(u32(start.data() + 4), FirmwareUpdate::BlockSize);
    EXPECT_EQ(writeAll(), -1);
    EXPECT_EQ(status(FirmwareUpdate::End), 0u);
    EXPECT_EQ(controller.firmwareVersion(), 0x0203);
    EXPECT_EQ(controller.firmwareDate(), 0x3A6F);
}

TEST_F(FirmwareUpdateTest, ImageWithoutHeaderIsNotInstalled)
{
    image.assign(100, 0x55);
    EXPECT_EQ(status(FirmwareUpdate::Start), 0u);
    EXPECT_EQ(writeAll(), -1);
    EXPECT_EQ(status(FirmwareUpdate::End), 2u);
    EXPECT_EQ(controller.firmwareVersion(), Sim::ShippedRevision.version);
}

TEST_F(FirmwareUpdateTest, FailedBlockReportsStatusOne)
{
    setFaults({{.failBlock = 3}});
    EXPECT_EQ(status(FirmwareUpdate::Start), 0u);
    EXPECT_EQ(writeAll(), 3);
    EXPECT_EQ(status(FirmwareUpdate::End), 2u);
    EXPECT_EQ(controller.firmwareVersion(), Sim::ShippedRevision.version);
}

TEST_F(FirmwareUpdateTest, RefusedStart)
{
    setFaults({{.refuseStart = true}});
    EXPECT_EQ(status(FirmwareUpdate::Start), 1u);
    std::vector<std::uint8_t> block(64);
    EXPECT_EQ(request(FirmwareUpdate::WriteBlock, false, block), UsbResult::Stall);
}

TEST_F(FirmwareUpdateTest, StalledRequest)
{
    setFaults({{.stallRequest = FirmwareUpdate::Version}});
    std::vector<std::uint8_t> version(32);
    EXPECT_EQ(request(FirmwareUpdate::Version, true, version), UsbResult::Stall);
    EXPECT_EQ(status(FirmwareUpdate::Status), 0u);
}

TEST_F(FirmwareUpdateTest, DisconnectMidUpdate)
{
    setFaults({{.disconnectAtBlock = 2}});
    EXPECT_EQ(status(FirmwareUpdate::Start), 0u);
    EXPECT_EQ(writeAll(), 2);
    EXPECT_FALSE(controller.connected());
    std::vector<std::uint8_t> data(4);
    EXPECT_EQ(request(FirmwareUpdate::Status, true, data), UsbResult::Disconnected);
    std::size_t size = 0;
    std::uint8_t in[4];
    EXPECT_EQ(controller.bulkIn(MidiInEndpoint, in, 4, size), UsbResult::Disconnected);
}

TEST_F(FirmwareUpdateTest, WrongDirectionsAndUnknownRequestsStall)
{
    std::vector<std::uint8_t> data(4);
    EXPECT_EQ(request(FirmwareUpdate::Status, false, data), UsbResult::Stall);
    data.resize(4);
    EXPECT_EQ(request(9, true, data), UsbResult::Stall);
}
