#include "editor/app/files/FileKinds.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "tests/support/HostileFiles.h"
#include "tests/tools/CtlRun.h"
#include "tools/vorpadctl/VorpadCtl.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class VorpadCtlFiles : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    std::string path(const char *name) const { return m_dir.filePath(name).toStdString(); }
    QByteArray contents(const char *name) const
    {
        const std::vector<Byte> bytes = SysExFile::readAll(m_dir.filePath(name)).value_or(std::vector<Byte>());
        return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
    }
    void writeRaw(const char *name, const QByteArray &bytes) const
    {
        ASSERT_TRUE(SysExFile::writeAll(m_dir.filePath(name), bytes));
    }

    QTemporaryDir m_dir;
};

TEST_F(VorpadCtlFiles, NewFilesHoldTheFactoryDefaultsAndShowThem)
{
    ASSERT_EQ(run({"new-patch", path("a.vpp")}).code, 0);
    ASSERT_EQ(run({"new-bank", path("b.vpb")}).code, 0);
    EXPECT_EQ(contents("a.vpp").size(), 434);
    EXPECT_EQ(contents("b.vpb").size(), 6969);

    const CtlRun patch = run({"show", path("a.vpp")});
    EXPECT_EQ(patch.code, 0);
    EXPECT_NE(patch.out.find("valid patch file"), std::string::npos);
    EXPECT_NE(patch.out.find("PatchName = \"PelinorX PatchXX\"\n"), std::string::npos);
    EXPECT_NE(patch.out.find("Knob13.Channel = 1\n"), std::string::npos);
    EXPECT_NE(patch.out.find("PitchWheel.Value14 = 8192\n"), std::string::npos);
    EXPECT_NE(patch.out.find("Zone4.Channel = 4\n"), std::string::npos);

    const CtlRun bank = run({"show", path("b.vpb"), "--json"});
    EXPECT_EQ(bank.code, 0);
    EXPECT_NE(bank.out.find("\"kind\": \"bank\""), std::string::npos);
    EXPECT_NE(bank.out.find("\"name\": \"Patch16.Zone4.PostZoneOctaveTranspose\""), std::string::npos);
    EXPECT_NE(bank.out.find("\"value\": \"PelinorX Bank 01\""), std::string::npos);
}

TEST_F(VorpadCtlFiles, NewFileRefusesTheWrongSuffixAndAnUnwritablePlace)
{
    EXPECT_EQ(run({"new-patch", path("a.vpb")}).code, 1);
    EXPECT_EQ(run({"new-bank", path("a.VPB")}).code, 1);
    const CtlRun missing = run({"new-patch", path("missing/a.vpp")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("cannot write"), std::string::npos);
}

TEST_F(VorpadCtlFiles, ShowReportsTheInvalidMessageOfEachKind)
{
    writeRaw("bad.vpp", QByteArray(434, '\x01'));
    writeRaw("bad.vpb", QByteArray(100, '\xF0'));
    const CtlRun badPatch = run({"show", path("bad.vpp")});
    EXPECT_EQ(badPatch.code, 1);
    EXPECT_NE(badPatch.err.find("This patch file is invalid"), std::string::npos);
    EXPECT_TRUE(badPatch.out.empty());
    const CtlRun badBank = run({"show", path("bad.vpb")});
    EXPECT_EQ(badBank.code, 1);
    EXPECT_NE(badBank.err.find("This bank file is invalid"), std::string::npos);
    EXPECT_EQ(run({"show", path("none.vpp")}).code, 1);
    EXPECT_EQ(run({"show", path("a.txt")}).code, 1);
}

TEST_F(VorpadCtlFiles, DiffListsChangedParametersAndExitsByEquality)
{
    run({"new-patch", path("a.vpp")});
    run({"new-patch", path("b.vpp")});
    EXPECT_EQ(run({"diff", path("a.vpp"), path("b.vpp")}).code, 0);
    ASSERT_EQ(run({"set", path("b.vpp"), "Octave", "+2"}).code, 0);
    ASSERT_EQ(run({"set", path("b.vpp"), "Knob1.Name", "Cutoff"}).code, 0);
    const CtlRun diff = run({"diff", path("a.vpp"), path("b.vpp")});
    EXPECT_EQ(diff.code, 1);
    EXPECT_EQ(diff.out, "Octave: 0 -> +2\nKnob1.Name: \"Tone\" -> \"Cutoff\"\n");

    run({"new-bank", path("c.vpb")});
    EXPECT_EQ(run({"diff", path("a.vpp"), path("c.vpb")}).code, 1);
}

TEST_F(VorpadCtlFiles, DiffOfBanksNamesThePatchPosition)
{
    run({"new-bank", path("a.vpb")});
    QByteArray bytes = contents("a.vpb");
    bytes[25 + 361 * 4 + 8 + 22] = 2; // octave of patch 5
    writeRaw("b.vpb", bytes);
    const CtlRun diff = run({"diff", path("a.vpb"), path("b.vpb")});
    EXPECT_EQ(diff.code, 1);
    EXPECT_EQ(diff.out, "Patch5.Octave: 0 -> -2\n");
}

// Numbers as the editor shows them; with raw, as stored.
struct SetCase {
    const char *name;
    const char *value;
    bool accepted;
    const char *reason;      // refused: part of the reason; accepted: the start of what show prints
    const char *stored = ""; // accepted: what show --raw prints, "" for no check
    bool raw = false;        // set with --raw
};

class VorpadCtlSet : public VorpadCtlFiles, public ::testing::WithParamInterface<SetCase>
{
};

TEST_P(VorpadCtlSet, AppliesTheModelsChecksAndLeavesARefusedFileAlone)
{
    const SetCase &c = GetParam();
    run({"new-patch", path("a.vpp")});
    const QByteArray before = contents("a.vpp");
    std::vector<std::string> set{"set", path("a.vpp"), c.name, c.value};
    if (c.raw)
        set.push_back("--raw");
    const CtlRun result = run(set);
    EXPECT_EQ(result.code, c.accepted ? 0 : 1) << result.err;
    if (c.accepted) {
        EXPECT_NE(contents("a.vpp"), before);
        const std::string shown = std::string(c.name) + " = " + c.reason,
                          stored = std::string(c.name) + " = " + c.stored;
        EXPECT_NE(run({"show", path("a.vpp")}).out.find(shown), std::string::npos) << shown;
        if (*c.stored) {
            EXPECT_NE(run({"show", path("a.vpp"), "--raw"}).out.find(stored + "\n"), std::string::npos) << stored;
        }
    } else {
        EXPECT_EQ(contents("a.vpp"), before);
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, VorpadCtlSet,
    ::testing::Values(
        SetCase{"Octave", "+4", true, ""}, SetCase{"Octave", "5", false, "outside -4..4"},
        SetCase{"Octave", "4x", false, "not a whole number"},
        SetCase{"NoteLatchLowNote", "70", false, "must not be above NoteLatchHighNote (60 (C4))"},
        SetCase{"NoteLatchHighNote", "30", false, "must not be below NoteLatchLowNote (36 (C2))"},
        SetCase{"Knob1.Channel", "0", false, "outside 1..16"}, SetCase{"VelocityCurve", "9", false, "outside 1..8"},
        SetCase{"Semitone", "-65", false, "outside -64..63"}, SetCase{"NoteLatchHighNote", "100", true, ""},
        SetCase{"Zone1.LowVelocity", "0", false, "outside 1..127"}, SetCase{"Zone1.HighNote", "100", true, ""},
        SetCase{"PitchWheel.Value14", "16384", false, "outside"},
        SetCase{"PatchName", "Lead/Pad", false, "not a legal name"},
        SetCase{"PatchName", "A name that is far too long", false, "not a legal name"},
        SetCase{"PatchName", "Warm Pad", true, ""}, SetCase{"Knob2.Name", "Resonance", false, "not a control name"},
        SetCase{"Program16.BankMsb", "127", true, ""}, SetCase{"Nothing", "1", false, "unknown parameter"},
        SetCase{"Knob1.Channel", "9", true, "9\n", "8"}, SetCase{"Knob1.Channel", "5", true, "6\n", "5", true},
        SetCase{"Octave", "-2", true, "-2\n", "2"}, SetCase{"Semitone", "+63", true, "+63\n", "127"},
        SetCase{"VelocityCurve", "6", true, "6\n", "5"}, SetCase{"Zone1.LowNote", "1", true, "1 (C#-1)\n", "1"},
        SetCase{"Zone2.Transpose", "-12", true, "-12\n", "116"},
        SetCase{"ChannelModeChannel", "16", true, "16\n", "15"}));

TEST_F(VorpadCtlFiles, SetRefusesBankFilesAndZonesOfAPatchOnlyFile)
{
    run({"new-bank", path("a.vpb")});
    EXPECT_EQ(run({"set", path("a.vpb"), "Octave", "3"}).code, 1);
    run({"new-patch", path("a.vpp")});
    writeRaw("p.vpp", contents("a.vpp").left(361));
    EXPECT_EQ(run({"set", path("p.vpp"), "Zone1.Channel", "3"}).code, 1);
    EXPECT_EQ(run({"set", path("p.vpp"), "Octave", "3"}).code, 0);
    EXPECT_EQ(contents("p.vpp").size(), 361);
}

TEST_F(VorpadCtlFiles, ShowWarnsOfAMissingOrIncompleteZonesPart)
{
    run({"new-patch", path("a.vpp")});
    run({"new-bank", path("a.vpb")});
    const struct {
        const char *name;
        QByteArray bytes;
        const char *warning;
    } cases[] = {{"whole.vpp", contents("a.vpp"), nullptr},
                 {"patchOnly.vpp", contents("a.vpp").left(361), ZonesMissingText},
                 {"cut.vpp", contents("a.vpp").left(400), ZonesIncompleteText},
                 {"cut.vpb", contents("a.vpb").chopped(1), ZonesIncompleteText}};
    for (const auto &c : cases) {
        writeRaw(c.name, c.bytes);
        const CtlRun shown = run({"show", path(c.name)});
        EXPECT_EQ(shown.code, 0) << c.name;
        EXPECT_EQ(shown.err, c.warning ? "vorpadctl show: warning: " + path(c.name) + ": " + c.warning + "\n" : "")
            << c.name;
    }
}

// A file name can hold any byte but "/" and NUL: none reaches the terminal raw.
TEST_F(VorpadCtlFiles, FileNamesArePrintedWithControlBytesEscaped)
{
    const std::string name = path("a\x1b]0;owned\x07\xc2\x9b.vpp");
    ASSERT_EQ(run({"new-patch", name}).code, 0);
    const std::string escaped = path("a\\x1b]0;owned\\x07\\xc2\\x9b.vpp");
    EXPECT_EQ(run({"show", name}).out.rfind(escaped + ": valid patch file\n", 0), 0u);
    const CtlRun missing = run({"show", name + ".vpp"});
    EXPECT_EQ(missing.err, "vorpadctl show: " + escaped + ".vpp: no such file\n");
    const CtlRun unknown = run({"\x1b[2J"});
    EXPECT_EQ(unknown.err.find('\x1b'), std::string::npos) << unknown.err;
}

struct UsageCase {
    std::vector<std::string> args;
    int code;
};

class VorpadCtlUsage : public ::testing::TestWithParam<UsageCase>
{
};

TEST_P(VorpadCtlUsage, ExitCodes)
{
    const CtlRun result = run(GetParam().args);
    EXPECT_EQ(result.code, GetParam().code) << result.err;
    if (result.code == 2) {
        EXPECT_FALSE(result.err.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, VorpadCtlUsage,
                         ::testing::Values(UsageCase{{}, 2}, UsageCase{{"frobnicate"}, 2}, UsageCase{{"--help"}, 0},
                                           UsageCase{{"show"}, 2}, UsageCase{{"show", "a", "b"}, 2},
                                           UsageCase{{"show", "--help"}, 0},
                                           UsageCase{{"show", "a.vpp", "--device", "1"}, 2},
                                           UsageCase{{"diff", "a.vpp", "--json"}, 2},
                                           UsageCase{{"set", "a.vpp", "Octave"}, 2},
                                           UsageCase{{"new-bank", "--bogus"}, 2}, UsageCase{{"new-patch", "--help"}, 0},
                                           UsageCase{{"--version"}, 0}, UsageCase{{"new-patch", "--raw"}, 2}));

class VorpadCtlHostile : public VorpadCtlFiles, public ::testing::WithParamInterface<HostileFiles::Param>
{
};

// show reads either kind; set reads patch files, restore bank files, both
// before reaching for a controller.
TEST_P(VorpadCtlHostile, RefusesTheFileWithItsInvalidMessage)
{
    const auto &[suffix, hostile] = GetParam();
    const std::string name = path("hostile.") + suffix;
    ASSERT_TRUE(hostile.make(name));
    const bool bankFile = std::string(suffix) == "vpb";
    const std::string invalid = bankFile ? InvalidBankFileText : InvalidPatchFileText;
    const std::vector<std::string> second =
        bankFile ? std::vector<std::string>{"restore", name} : std::vector<std::string>{"set", name, "Octave", "3"};
    for (const auto &args : {std::vector<std::string>{"show", name}, second}) {
        const CtlRun result = run(args);
        EXPECT_EQ(result.code, 1) << args[0];
        EXPECT_NE(result.err.find(invalid), std::string::npos) << args[0] << ": " << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, VorpadCtlHostile,
                         ::testing::Combine(::testing::Values("vpp", "vpb"),
                                            ::testing::ValuesIn(HostileFiles::cases())),
                         [](const auto &info) { return HostileFiles::paramName(info.param); });

} // namespace
