#include "driver/LanguageFile.h"
#include "tests/driver/AdapterFixture.h"

#include <gtest/gtest.h>

using namespace ZelTest;

namespace {

const char *const FilePath = "C:\\lang.ini";
const char *const StoredPath = "\\DosDevices\\C:\\lang.ini";

std::vector<std::uint8_t> languageList(const std::vector<std::uint16_t> &ids)
{
    std::vector<std::uint8_t> out = {static_cast<std::uint8_t>(2 + 2 * ids.size()), 3};
    for (std::uint16_t id : ids)
        out.insert(out.end(), {static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(id >> 8)});
    return out;
}

struct ChoiceCase {
    const char *name;
    const char *langId; // nullptr: no registry value
    std::vector<std::uint16_t> offered;
    std::uint16_t chosen;
};

class LanguageChoice : public testing::TestWithParam<ChoiceCase>, public AdapterFixture
{
};

} // namespace

TEST_P(LanguageChoice, PicksTheAdapterLanguage)
{
    if (GetParam().langId)
        fake.strings["Language\\LANGID"] = GetParam().langId;
    fake.descriptors[{0x0300, 0}] = languageList(GetParam().offered);
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(adapter->language(), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Adapter, LanguageChoice,
                         testing::Values(ChoiceCase{"exact", "0807", {0x0409, 0x0807}, 0x0807},
                                         ChoiceCase{"sameSublanguageFamily", "0407", {0x0409, 0x0807}, 0x0807},
                                         ChoiceCase{"primaryBeforeSublanguage", "0C07", {0x0807, 0x0007}, 0x0007},
                                         ChoiceCase{"defaultWhenUnset", nullptr, {0x0407, 0x0409}, 0x0409},
                                         ChoiceCase{"shortValueMeansDefault", "407", {0x0407, 0x0409}, 0x0409},
                                         ChoiceCase{"firstWhenDefaultMissing", "0411", {0x0407, 0x040C}, 0x0407},
                                         ChoiceCase{"defaultWhenNothingOffered", "0407", {}, 0x0409},
                                         ChoiceCase{"onlyFirstFourCharacters", "0407xyz", {0x0409, 0x0407}, 0x0407}),
                         [](const auto &info) { return std::string(info.param.name); });

namespace {

class LanguageFileTest : public testing::Test, public AdapterFixture
{
protected:
    void SetUp() override { fake.strings["Language\\LANGFILE"] = FilePath; }
    std::string lookup(std::uint8_t index, std::uint16_t language, std::uint32_t length = 254)
    {
        std::vector<std::uint8_t> buffer(length);
        buffer[0] = static_cast<std::uint8_t>(length);
        const Zel::NTSTATUS result = adapter->device()->lookupString(index, language, buffer.data(), length);
        if (result != Zel::STATUS_SUCCESS)
            return "status " + std::to_string(result);
        return text(Bytes(buffer.begin(), buffer.begin() + buffer[0]));
    }
};

} // namespace

TEST_F(LanguageFileTest, FileLanguagesComeFirstAndServeTheirStrings)
{
    fake.files[StoredPath] = "[USB\\VID_041E&PID_3F01.LANGID]\n1=0411\n2=0407\n3=0\n4=040C\n"
                             "[usb\\vid_041e&pid_3f01.0411]\n2=\"\\41\\00\\42\\00\"\n";
    fake.strings["Language\\LANGID"] = "0411";
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(lookup(0, 0), "08 03 11 04 07 04 09 04");
    EXPECT_EQ(lookup(2, 0x0411), "06 03 41 00 42 00");
    EXPECT_EQ(lookup(3, 0x0411), "02 03"); // missing key: empty string
    EXPECT_EQ(lookup(2, 0x0411, 5), "04 03 41 00");
    EXPECT_EQ(lookup(2, 0x0409), text(stringDescriptor("Vorpad 49")));
    EXPECT_EQ(lookup(2, 0x0407), "02 03"); // the file claimed German: the device's is not asked
    EXPECT_EQ(lookup(2, 0x0C0C), "status " + std::to_string(Zel::STATUS_NOT_SUPPORTED));
    EXPECT_EQ(lookup(0, 0, 4), "04 03 11 04");
    EXPECT_EQ(subdevice("OUT00")->portName(), "AB");
}

TEST_F(LanguageFileTest, FixUpsReplaceStringIndexesAndSkipMismatchedPatches)
{
    const std::uint8_t original = descriptors.configuration()[0x23];
    char line[32];
    std::snprintf(line, sizeof line, "1=0023%02X%02X\n", original + 1, original + 2);
    fake.files[StoredPath] = std::string("[USB\\VID_041E&PID_3F01.FIXUP.100]\niProduct=4\niSerialNumber=0\n") + line;
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    const std::uint8_t *device = adapter->device()->deviceDescriptor();
    EXPECT_EQ(device[Zel::DeviceIProduct], 4);
    EXPECT_EQ(device[Zel::DeviceISerialNumber], 3);
    EXPECT_EQ(adapter->device()->configuration()[0x23], original);
    EXPECT_EQ(subdevice("OUT00")->portName(), "MIDI Out");
}

TEST_F(LanguageFileTest, FixUpPatchesApplyWhenTheExpectedByteIsThere)
{
    const std::uint8_t original = descriptors.configuration()[0x23];
    char line[32];
    std::snprintf(line, sizeof line, "1=0023%02X%02X\n", original, original + 1);
    fake.files[StoredPath] = std::string("[USB\\VID_041E&PID_3F01.FIXUP.100]\n") + line + "2=FFFF0000\n";
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(adapter->device()->configuration()[0x23], original + 1);
}

TEST_F(LanguageFileTest, UnreadableFileMeansTheDevicesOwnStrings)
{
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(lookup(0, 0), "06 03 09 04 07 04");
    EXPECT_EQ(subdevice("OUT00")->portName(), "Vorpad 49");
}

TEST_F(LanguageFileTest, MoreThan126LanguagesIgnoreTheRest)
{
    std::string file = "[USB\\VID_041E&PID_3F01.LANGID]\n";
    for (int i = 1; i <= 130; ++i)
        file += std::to_string(i) + "=" + std::to_string(1000 + i) + "\n";
    fake.files[StoredPath] = file;
    ASSERT_EQ(start(), Zel::STATUS_SUCCESS);
    EXPECT_EQ(adapter->device()->languageCount(), 126u);
}

namespace {

struct SyntaxCase {
    const char *name;
    std::string file;
    const char *section;
    const char *key;
    const char *expected; // nullptr: missing
};

std::ostream &operator<<(std::ostream &out, const SyntaxCase &c) { return out << c.name; }

class LanguageFileSyntax : public testing::TestWithParam<SyntaxCase>
{
};

} // namespace

TEST_P(LanguageFileSyntax, FindsTheValue)
{
    FakeDriverPlatform fake;
    fake.files[StoredPath] = GetParam().file;
    const Zel::LanguageFile file(fake, FilePath);
    std::string value;
    const bool found = file.value(GetParam().section, GetParam().key, value);
    if (!GetParam().expected) {
        EXPECT_FALSE(found) << value;
        return;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    LanguageFile, LanguageFileSyntax,
    testing::Values(SyntaxCase{"plain", "[S]\nkey=value\n", "S", "key", "value"},
                    SyntaxCase{"caseInsensitiveNames", "[Sec]\nKEY=v\n", "sEC", "key", "v"},
                    SyntaxCase{"blankBeforeEqualsDoesNotMatch", "[S]\nkey =v\n", "S", "key", nullptr},
                    SyntaxCase{"blanksAndCarriageReturnsTrimmed", "  [S]  \r\n\t key=v  \r\n", "S", "key", "v"},
                    SyntaxCase{"commentRemoved", "[S] ; section\nkey=v ; note\n;key=w\n", "S", "key", "v"},
                    SyntaxCase{"continuationJoinsLines", "[S]\nkey=ab\\\ncd\n", "S", "key", "abcd"},
                    SyntaxCase{"onlyFirstSectionSearched", "[S]\na=1\n[S]\nkey=2\n", "S", "key", nullptr},
                    SyntaxCase{"sectionEndsAtNextSection", "[S]\n[T]\nkey=1\n", "S", "key", nullptr},
                    SyntaxCase{"sectionNameRunsToLastBracket", "[a]b]\nkey=1\n", "a]b", "key", "1"},
                    SyntaxCase{"lastLineWithoutNewline", "[S]\nkey=v", "S", "key", "v"},
                    SyntaxCase{"ctrlZEndsTheFile", "[S]\nkey=v\n\x1A", "S", "key", "v"},
                    SyntaxCase{"zeroHeaderReadsEmpty", std::string(16, '\0') + "\n[S]\nkey=v\n", "S", "key", nullptr},
                    SyntaxCase{"longLineEndsReading", "[S]\n" + std::string(300, 'x') + "\nkey=v\n", "S", "key",
                               nullptr},
                    SyntaxCase{"linesAcrossChunks", "[S]\n" + std::string(250, ';') + "\nkey=v\n", "S", "key", "v"},
                    SyntaxCase{"firstEqualsSplits", "[S]\nkey=a=b\n", "S", "key", "a=b"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(LanguageFileValues, HexadecimalNumbersAndByteStrings)
{
    EXPECT_EQ(Zel::LanguageFile::parseHex("  1fzz"), 0x1Fu);
    EXPECT_EQ(Zel::LanguageFile::parseHex("xyz"), 0u);
    EXPECT_EQ(Zel::LanguageFile::parseHex("00230304"), 0x00230304u);
    EXPECT_EQ(Zel::LanguageFile::parseBytes("\"\\41\\00\\42\\00\""), std::string("A\0B\0", 4));
    EXPECT_EQ(Zel::LanguageFile::parseBytes("\\41\\0\\x"), std::string("A\0", 2));
}

TEST(LanguageFileValues, RelativePathsGetTheDevicePrefix)
{
    FakeDriverPlatform fake;
    fake.files["\\??\\C:\\abs.ini"] = "[S]\nk=1\n";
    std::string value;
    EXPECT_TRUE(Zel::LanguageFile(fake, "\\??\\C:\\abs.ini").value("S", "k", value));
    EXPECT_FALSE(Zel::LanguageFile(fake, "??\\C:\\abs.ini").value("S", "k", value));
}
