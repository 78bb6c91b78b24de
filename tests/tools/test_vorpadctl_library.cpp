#include "editor/app/files/BankFile.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "tests/support/FileBytes.h"
#include "tests/tools/CtlRun.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

// Each test gets a library of its own under a data folder of its own.
class VorpadCtlLibrary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.filePath("data").toUtf8());
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath("in/sub")));
        ASSERT_EQ(run({"new-bank", path("in/bank.vpb")}).code, 0);
        ASSERT_EQ(run({"new-patch", path("in/sub/a.vpp")}).code, 0);
        ASSERT_EQ(run({"set", path("in/sub/a.vpp"), "PatchName", "Warm Pad"}).code, 0);
        ASSERT_TRUE(SysExFile::writeAll(m_dir.filePath("in/sub/junk.syx"), "\xF0\x01\xF7"));
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }
    std::string path(const char *name) const { return m_dir.filePath(name).toStdString(); }

    // The ID of the first entry the list prints for the search.
    std::string idOf(const std::string &search)
    {
        const CtlRun listed = run({"library", "list", "--search", search});
        return listed.out.substr(0, listed.out.find(' '));
    }

    QTemporaryDir m_dir;
};

TEST_F(VorpadCtlLibrary, ImportListShowTagExportAndCompare)
{
    const CtlRun imported = run({"library", "import", path("in")});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(imported.out, "2 imported, 1 skipped (not a valid patch or bank)\n");
    EXPECT_TRUE(QFile::exists(m_dir.filePath("data/vorpad/library.sqlite")));

    const CtlRun all = run({"library", "list"});
    EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 3) << all.out; // bank, its patch, the pad
    EXPECT_FALSE(contains(all.out, " \n")) << all.out;
    const std::string pad = idOf("warm");
    ASSERT_FALSE(pad.empty());
    EXPECT_EQ(run({"library", "tag", pad, "pads", "live"}).code, 0);
    const CtlRun tagged = run({"library", "list", "--tag", "LIVE", "--json"});
    EXPECT_TRUE(contains(tagged.out, "\"name\": \"Warm Pad\"")) << tagged.out;
    EXPECT_FALSE(contains(tagged.out, "Bank"));

    const CtlRun shown = run({"library", "show", pad});
    ASSERT_EQ(shown.code, 0) << shown.err;
    EXPECT_TRUE(contains(shown.out, "patch \"Warm Pad\"\n"));
    EXPECT_TRUE(contains(shown.out, "tags: live, pads\n"));
    EXPECT_TRUE(contains(shown.out, "seen: import of " + path("in/sub/a.vpp")));
    EXPECT_TRUE(contains(shown.out, "PatchName = \"Warm Pad\"\n"));

    ASSERT_EQ(run({"library", "export", pad, path("out.vpp")}).code, 0);
    EXPECT_EQ(SysExFile::readAll(m_dir.filePath("out.vpp")), SysExFile::readAll(m_dir.filePath("in/sub/a.vpp")));
    const std::string bank = idOf("Bank");
    EXPECT_EQ(run({"library", "export", bank, path("out.vpp")}).code, 1) << "a bank goes to a .vpb file";
    ASSERT_EQ(run({"library", "export", bank, path("out.vpb")}).code, 0);
    EXPECT_EQ(SysExFile::readAll(m_dir.filePath("out.vpb")), SysExFile::readAll(m_dir.filePath("in/bank.vpb")));

    EXPECT_EQ(run({"library", "compare", pad, path("out.vpp")}).code, 0);
    const CtlRun differ = run({"library", "compare", pad, idOf("PatchXX")});
    EXPECT_EQ(differ.code, 1);
    EXPECT_EQ(differ.out, "PatchName: \"Warm Pad\" -> \"PelinorX PatchXX\"\n");
    EXPECT_EQ(run({"library", "compare", pad, bank}).code, 1);
    EXPECT_EQ(run({"library", "show", "999"}).code, 1);
    EXPECT_EQ(run({"library", "shuffle"}).code, 1);
}

TEST_F(VorpadCtlLibrary, SimulatedSessionsKeepALibraryOfTheirOwn)
{
    ASSERT_EQ(run({"library", "import", path("in/sub"), "--simulate"}).code, 0);
    EXPECT_TRUE(QFile::exists(m_dir.filePath("data/vorpad/simulated-library.sqlite")));
    EXPECT_EQ(run({"library", "list"}).out, "");
}

TEST_F(VorpadCtlLibrary, NamesExtractAndPutWorkOnBankFiles)
{
    ASSERT_EQ(run({"library", "import", path("in/sub")}).code, 0);
    const CtlRun names = run({"names", path("in/bank.vpb")});
    ASSERT_EQ(names.code, 0) << names.err;
    EXPECT_TRUE(names.out.starts_with("1 PelinorX PatchXX\n2 PelinorX PatchXX\n"));
    EXPECT_EQ(std::count(names.out.begin(), names.out.end(), '\n'), 16);

    ASSERT_EQ(run({"put", path("in/sub/a.vpp"), "3", path("in/bank.vpb")}).code, 0);
    ASSERT_EQ(run({"put", "library:" + idOf("warm"), "16", path("in/bank.vpb")}).code, 0);
    const CtlRun after = run({"names", path("in/bank.vpb")});
    EXPECT_TRUE(contains(after.out, "\n3 Warm Pad\n4 PelinorX PatchXX\n")) << after.out;
    EXPECT_TRUE(contains(after.out, "\n16 Warm Pad\n"));

    ASSERT_EQ(run({"extract", path("in/bank.vpb"), "16", path("x.vpp")}).code, 0);
    EXPECT_EQ(SysExFile::readAll(m_dir.filePath("x.vpp")), SysExFile::readAll(m_dir.filePath("in/sub/a.vpp")));

    EXPECT_EQ(run({"extract", path("in/bank.vpb"), "17", path("x.vpp")}).code, 1);
    EXPECT_EQ(run({"put", path("in/sub/a.vpp"), "0", path("in/bank.vpb")}).code, 1);
    EXPECT_EQ(run({"put", "library:999", "1", path("in/bank.vpb")}).code, 1);
    EXPECT_EQ(run({"put", path("in/bank.vpb"), "1", path("in/bank.vpb")}).code, 1);
    EXPECT_EQ(run({"names", path("in/sub/a.vpp")}).code, 1);
}

} // namespace
