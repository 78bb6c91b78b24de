#include "UpdaterTestSupport.h"

#include "updater/core/DeviceClass.h"
#include "updater/core/ProcessList.h"
#include "updater/core/USBClassicFirmware.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace Oxa;

namespace {

namespace fs = std::filesystem;

class FirmwareTest : public testing::Test
{
protected:
    std::string image(std::size_t size, const char *name = "image.bin")
    {
        const fs::path path = m_dir / name;
        std::ofstream out(path, std::ios::binary);
        for (std::size_t i = 0; i < size; ++i)
            out.put(char(i & 0xFF));
        return path.string();
    }
    DeviceClass classWith(const std::string &path, int blockSize = -1)
    {
        DeviceClass deviceClass("Vorpad");
        FirmwareDescription description;
        description.imagePath = path;
        description.revision = "1.10";
        description.blockSize = blockSize;
        deviceClass.addFirmware(description);
        return deviceClass;
    }

    UpdaterTest::ScratchDirectory m_scratch;
    const fs::path &m_dir = m_scratch.path();
};

TEST_F(FirmwareTest, stepsCutTheImageIntoBlocks)
{
    const USBClassicFirmware firmware(classWith(image(130)));
    ASSERT_EQ(firmware.stepCount(), 3);
    std::size_t lengths[3] = {};
    const std::uint8_t *last = nullptr;
    for (int i = 0; i < 3; ++i)
        last = firmware.block(i, lengths[i]);
    EXPECT_EQ(lengths[0], 64u);
    EXPECT_EQ(lengths[1], 64u);
    EXPECT_EQ(lengths[2], 2u);
    EXPECT_EQ(last[0], 128);
    std::size_t past = 1;
    EXPECT_EQ(firmware.block(3, past), nullptr);
    EXPECT_EQ(past, 0u);
}

struct BlockSizeCase {
    int described; // -1: none
    std::uint32_t reported;
    int expected;
};

class BlockSizeTest : public FirmwareTest, public testing::WithParamInterface<BlockSizeCase>
{
};

TEST_P(BlockSizeTest, theDescriptionWinsOverTheDeviceAndZeroKeepsTheSize)
{
    USBClassicFirmware firmware(classWith(image(1000), GetParam().described));
    firmware.applyDeviceBlockSize(GetParam().reported);
    EXPECT_EQ(firmware.blockSize(), GetParam().expected);
    EXPECT_EQ(firmware.stepCount(), (1000 + GetParam().expected - 1) / GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Firmware, BlockSizeTest,
                         testing::Values(BlockSizeCase{-1, 0, 64}, BlockSizeCase{-1, 32, 32},
                                         BlockSizeCase{100, 32, 100}, BlockSizeCase{100, 0, 100},
                                         BlockSizeCase{-1, 0x80000000u, 64}));

TEST_F(FirmwareTest, unusableImagesFailBeforeAnythingIsWritten)
{
    struct Case {
        std::string path;
        const char *message;
    };
    const Case cases[] = {
        {(m_dir / "missing.bin").string(), "InvalidFirmware: invalid firmware description"},
        {"", "InvalidFirmware: invalid firmware description"},
        {m_dir.string(), "InvalidFirmware: cannot open firmware image"},
        {image(0, "empty.bin"), "InvalidFirmware: empty firmware image"},
    };
    for (const Case &c : cases) {
        try {
            USBClassicFirmware firmware(classWith(c.path));
            ADD_FAILURE() << "loaded " << c.path;
        } catch (const USBClassicFirmware::InvalidFirmware &e) {
            EXPECT_STREQ(e.what(), c.message) << c.path;
        }
    }
    try {
        USBClassicFirmware firmware{DeviceClass("none")};
        ADD_FAILURE() << "a class without firmware loaded";
    } catch (const USBClassicFirmware::InvalidFirmware &e) {
        EXPECT_STREQ(e.what(), "InvalidFirmware: no firmwares");
    }
}

TEST(DeviceClassTest, hardwareIdsMatchCharacterForCharacter)
{
    DeviceClass deviceClass;
    deviceClass.addHardwareId("USB\\VID_041E&PID_3F01");
    deviceClass.addHardwareId("");
    EXPECT_TRUE(deviceClass.matches("USB\\VID_041E&PID_3F01"));
    EXPECT_FALSE(deviceClass.matches("USB\\VID_041e&PID_3f01"));
    EXPECT_FALSE(deviceClass.matches("")); // a device whose descriptor could not be read
}

struct FilterCase {
    const char *name;
    std::vector<std::string> running;
    bool extensions;
    std::vector<std::string> expected;
};

class ProcessFilterTest : public testing::TestWithParam<FilterCase>
{
};

TEST_P(ProcessFilterTest, namesTheForbiddenProgramsInSnapshotOrder)
{
    UpdaterTest::QuietLog quiet;
    FixedProcessList processes(GetParam().running, GetParam().extensions);
    EXPECT_EQ(filterProcesses(processes, {"ZELVorpad", "Other"}), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    ProcessList, ProcessFilterTest,
    testing::Values(
        FilterCase{
            "windowsDropsTheExtension", {"explorer.exe", "ZELVorpad.exe", "Other.exe"}, true, {"ZELVorpad", "Other"}},
        FilterCase{"linuxComparesWhole", {"bash", "ZELVorpad", "ZELVorpad.exe"}, false, {"ZELVorpad"}},
        FilterCase{"caseSensitive", {"zelvorpad.exe", "ZELVORPAD.exe"}, true, {}},
        // One name per program, however many processes it has.
        FilterCase{"eachNameOnce", {"ZELVorpad", "bash", "ZELVorpad", "Other"}, false, {"ZELVorpad", "Other"}},
        FilterCase{"shortNames", {".exe", "exe", ""}, true, {}}),
    [](const auto &info) { return std::string(info.param.name); });

#ifdef __linux__
TEST(SystemProcessListTest, findsThisProgramByItsWholeName)
{
    UpdaterTest::QuietLog quiet;
    const std::string self = fs::read_symlink("/proc/self/exe").filename().string();
    const auto processes = createSystemProcessList();
    EXPECT_EQ(filterProcesses(*processes, {self}).empty(), false);
    EXPECT_TRUE(filterProcesses(*processes, {self.substr(0, self.size() - 1)}).empty());
}
#endif

} // namespace
