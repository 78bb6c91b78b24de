#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileFeedback.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/FileOperations.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"
#include "tests/support/FileBytes.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/ModelFixture.h"
#include "tests/support/SimulatedWorld.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace Brisel;
using namespace FileBytes;

namespace {

struct RecordingFeedback : FileFeedback {
    void reportInvalidFile(const QString &text) override { reports.push_back(text); }
    void reportNotice(const QString &text) override { notices.push_back(text); }
    void reportLoadFailure(const QString &text) override { failures.push_back(text); }
    bool askToSaveBank() override
    {
        ++bankQuestions;
        return bankSaved;
    }
    std::vector<QString> reports;
    std::vector<QString> notices;
    std::vector<QString> failures;
    int bankQuestions = 0;
    bool bankSaved = true;
};

Bytes bytesOf(const PatchImage &image) { return Bytes(image.begin(), image.end()); }
Bytes bytesOf(const ZonesImage &image) { return Bytes(image.begin(), image.end()); }

class Files : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        manager = std::make_unique<RemoteControlManager>();
        files = std::make_unique<FileOperations>(*manager, feedback);
    }

    QString path(const char *name) const { return m_dir.filePath(name); }
    QString write(const char *name, const Bytes &bytes) const
    {
        const QString p = path(name);
        EXPECT_TRUE(
            SysExFile::writeAll(p, QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()))));
        return p;
    }
    Bytes read(const char *name) const { return SysExFile::readAll(path(name)).value_or(Bytes()); }

    Bank &bank() { return manager->bank(); }
    ActivePatch &active() { return manager->activePatch(); }

    RecordingFeedback feedback;
    std::unique_ptr<RemoteControlManager> manager;
    std::unique_ptr<FileOperations> files;

private:
    QTemporaryDir m_dir;
};

Bytes patchFile(int octave, int zoneChannel)
{
    Bytes out = patchTransfer(defaultPatch(octave));
    append(out, zonesTransfer(defaultZones(zoneChannel)));
    return out;
}

TEST_F(Files, LoadingAPatchFillsTheSlotAndSelectsIt)
{
    active().settings().setting(Octave).setValue(1);
    ASSERT_TRUE(files->loadPatchFile(write("a.vpp", patchFile(6, 9)), 5));
    EXPECT_EQ(bank().patch(5).patchImage()[22], 6);
    EXPECT_EQ(bank().patch(5).zonesImage()[8], 9);
    EXPECT_EQ(manager->currentPosition(), 5);
    EXPECT_EQ(active().patchImage(), bytesOf(bank().patch(5).patchImage()));
    EXPECT_EQ(active().zonesImage(), bytesOf(bank().patch(5).zonesImage()));
    EXPECT_FALSE(manager->isActivePatchModified());
    EXPECT_TRUE(feedback.reports.empty());
}

TEST_F(Files, APatchFileWithoutZonesKeepsTheSlotsZones)
{
    bank().patch(2).setZonesImage(defaultZones(4));
    manager->selectPatch(2);
    ASSERT_TRUE(files->loadPatchFile(write("a.vpp", patchTransfer(defaultPatch(7))), -1));
    EXPECT_EQ(bank().patch(2).patchImage()[22], 7);
    EXPECT_EQ(bank().patch(2).zonesImage()[8], 4);
}

TEST_F(Files, AnInvalidPatchFileIsReportedAndChangesNothing)
{
    const PatchImage before = bank().patch(0).patchImage();
    EXPECT_FALSE(files->loadPatchFile(write("bad.vpp", patchFile(9, 0)), 0));
    ASSERT_EQ(feedback.reports.size(), 1u);
    EXPECT_EQ(feedback.reports[0], "This patch file is invalid");
    EXPECT_EQ(bank().patch(0).patchImage(), before);
    EXPECT_FALSE(bank().hasModifiedPatches());
    EXPECT_FALSE(files->loadPatchFile(path("missing.vpp"), 0));
    EXPECT_EQ(feedback.reports.size(), 2u);
}

TEST_F(Files, OpenFileChoosesByTheExactSuffix)
{
    write("upper.VPP", patchFile(2, 0));
    write("other.txt", patchFile(2, 0));
    EXPECT_FALSE(files->openFile(path("upper.VPP")));
    EXPECT_FALSE(files->openFile(path("other.txt")));
    EXPECT_FALSE(files->openFile(path("missing.vpp")));
    EXPECT_TRUE(feedback.reports.empty());
    EXPECT_FALSE(bank().hasModifiedPatches());

    manager->selectPatch(3);
    EXPECT_TRUE(files->openFile(write("p.vpp", patchFile(2, 0))));
    EXPECT_EQ(bank().patch(3).patchImage()[22], 2);
    EXPECT_TRUE(files->openFile(write("b.vpb", FileBytes::bank(16, 16, 9))));
    EXPECT_EQ(manager->currentPosition(), 8);
}

TEST_F(Files, LoadingABankReplacesEverythingAndSelectsItsCurrentPatch)
{
    ASSERT_TRUE(files->loadBankFile(write("b.vpb", FileBytes::bank(16, 16, 4))));
    for (int p = 0; p < StoredPatchCount; ++p) {
        EXPECT_EQ(bank().patch(p).patchImage()[23], 10 + p);
        EXPECT_EQ(bank().patch(p).zonesImage()[8], p);
    }
    EXPECT_EQ(manager->currentPosition(), 3);
    EXPECT_EQ(active().patchImage()[23], 13);
    EXPECT_FALSE(bank().hasModifiedPatches());
    EXPECT_FALSE(manager->isActivePatchModified());
    EXPECT_EQ(feedback.bankQuestions, 0);
}

TEST_F(Files, ABankWithThreeZonesKeepsAllZones)
{
    for (int p = 0; p < StoredPatchCount; ++p)
        bank().patch(p).setZonesImage(defaultZones(15 - p));
    bank().clearModified();
    ASSERT_TRUE(files->loadBankFile(write("b.vpb", FileBytes::bank(16, 3))));
    for (int p = 0; p < StoredPatchCount; ++p)
        EXPECT_EQ(bank().patch(p).zonesImage()[8], 15 - p);
}

// Whether the bank was kept (saved, or the user declined) decides whether the
// load goes on: a wanted save that was cancelled or failed abandons it.
class LoadOverModifiedPatches : public Files, public ::testing::WithParamInterface<bool>
{
};

TEST_P(LoadOverModifiedPatches, AsksFirstAndLoadsOnlyWhenTheBankIsKept)
{
    const bool kept = GetParam();
    feedback.bankSaved = kept;
    bank().patch(9).setPatchImage(defaultPatch(2));
    EXPECT_EQ(files->loadBankFile(write("b.vpb", FileBytes::bank())), kept);
    EXPECT_EQ(feedback.bankQuestions, 1);
    EXPECT_EQ(bank().patch(9).patchImage()[22], kept ? 4 : 2);
    EXPECT_EQ(bank().hasModifiedPatches(), !kept);
}

INSTANTIATE_TEST_SUITE_P(Files, LoadOverModifiedPatches, ::testing::Bool());

TEST_F(Files, AnInvalidBankFileIsReportedAndChangesNothing)
{
    bank().patch(1).setPatchImage(defaultPatch(3));
    EXPECT_FALSE(files->loadBankFile(write("b.vpb", FileBytes::bank(15, 16))));
    ASSERT_EQ(feedback.reports.size(), 1u);
    EXPECT_EQ(feedback.reports[0], "This bank file is invalid");
    EXPECT_EQ(feedback.bankQuestions, 0);
    EXPECT_EQ(bank().patch(1).patchImage()[22], 3);
    EXPECT_TRUE(bank().hasModifiedPatches());
}

TEST_F(Files, SavingAPatchWritesThatSlot)
{
    bank().patch(7).setPatchImage(defaultPatch(5));
    bank().patch(7).setZonesImage(defaultZones(2));
    ASSERT_TRUE(files->savePatchFile(path("p.vpp"), 7));
    EXPECT_EQ(read("p.vpp"), patchFile(5, 2));
    manager->selectPatch(7);
    ASSERT_TRUE(files->savePatchFile(path("q.vpp")));
    EXPECT_EQ(read("q.vpp"), patchFile(5, 2));
    EXPECT_FALSE(files->savePatchFile(path("r.vpp"), 16));
    EXPECT_FALSE(files->savePatchFile(path("missing/p.vpp"), 7));
}

TEST_F(Files, SavingTheBankStoresTheActivePatchFirst)
{
    manager->selectPatch(2);
    active().settings().setting(Octave).setValue(8);
    bank().patch(11).setPatchImage(defaultPatch(1));
    ASSERT_TRUE(files->saveBankFile(path("b.vpb")));
    const BankFile saved = BankFile::read(path("b.vpb"));
    ASSERT_TRUE(saved.valid);
    EXPECT_EQ(saved.patchImages[2][22], 8);
    EXPECT_EQ(saved.patchImages[11][22], 1);
    EXPECT_EQ(saved.zonesImages.size(), 16u);
    EXPECT_EQ(saved.settings[16], 3);
    EXPECT_EQ(read("b.vpb").size(), 6969u);
    EXPECT_FALSE(bank().hasModifiedPatches());
    EXPECT_FALSE(manager->isActivePatchModified());
}

TEST_F(Files, AFailedBankSaveKeepsThePreviousFileAndTheModifiedMarks)
{
    ASSERT_TRUE(files->saveBankFile(path("b.vpb")));
    const Bytes before = read("b.vpb");
    bank().patch(4).setPatchImage(defaultPatch(2));
    // A bank-settings record that no longer validates (current patch 0).
    BankSettingsRecord broken{};
    CBPatch::instance().copyBankSettings(broken.data(), nullptr);
    broken[16] = 0;
    CBPatch::instance().copyBankSettings(nullptr, broken.data());

    EXPECT_FALSE(files->saveBankFile(path("b.vpb")));
    EXPECT_EQ(read("b.vpb"), before);
    EXPECT_TRUE(bank().patch(4).isModified());
    EXPECT_FALSE(files->saveBankFile(path("missing/b.vpb")));
}

struct CutCase {
    const char *name;
    Bytes bytes;
    const char *notice; // nullptr: none
};

class CutFile : public Files, public ::testing::WithParamInterface<CutCase>
{
};

// Such files load, their zones left as they were, and the user is told.
TEST_P(CutFile, LoadsAndSaysTheZonesWereLeftUnchanged)
{
    const CutCase &c = GetParam();
    const int slot = manager->currentPosition();
    const ZonesImage zonesBefore = bank().patch(slot).zonesImage();
    const bool bankFile = c.bytes.size() > 1000;
    ASSERT_TRUE(files->openFile(write(bankFile ? "cut.vpb" : "cut.vpp", c.bytes)));
    EXPECT_TRUE(feedback.reports.empty());
    EXPECT_EQ(feedback.notices, c.notice ? std::vector<QString>{c.notice} : std::vector<QString>{});
    if (c.notice) {
        EXPECT_EQ(bank().patch(slot).zonesImage(), zonesBefore);
    }
}

Bytes cut(Bytes bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Files, CutFile,
                         ::testing::Values(CutCase{"wholePatch", patchFile(6, 9), nullptr},
                                           CutCase{"patchOnly", patchTransfer(defaultPatch()), ZonesMissingText},
                                           CutCase{"patchCutAt400", cut(patchFile(6, 9), 400), ZonesIncompleteText},
                                           CutCase{"wholeBank", bank(16, 16, 1), nullptr},
                                           CutCase{"bankWithoutZones", bank(16, 0, 1), ZonesMissingText},
                                           CutCase{"bankMissingItsFinalF7", cut(bank(16, 16, 1), 6968),
                                                   ZonesIncompleteText}),
                         [](const auto &info) { return std::string(info.param.name); });

struct ControllerCase {
    const char *name;
    void (*fault)(Sim::Faults &);
    const char *failure; // how the load failed; nullptr: it did not
};

class LoadToAController : public Files, public ::testing::WithParamInterface<ControllerCase>
{
protected:
    SimulatedWorld world;
};

// A load is done when the controller took every transfer, not when they
// were sent; a failed one leaves the bank marked modified.
TEST_P(LoadToAController, SucceedsOnlyWhenTheControllerTookEveryTransfer)
{
    const ControllerCase &c = GetParam();
    const std::vector<DeviceRecord> found = DeviceList::scan();
    ASSERT_EQ(found.size(), 1u);
    ASSERT_TRUE(manager->selectDevice(found[0]));
    world.setFaults(c.fault);
    EXPECT_EQ(files->loadBankFile(write("b.vpb", FileBytes::bank(16, 16, 2))), c.failure == nullptr);
    EXPECT_EQ(bank().hasModifiedPatches(), c.failure != nullptr);
    if (c.failure) {
        ASSERT_EQ(feedback.failures.size(), 1u);
        EXPECT_TRUE(feedback.failures[0].startsWith(QLatin1String(c.failure))) << feedback.failures[0].toStdString();
    } else {
        EXPECT_TRUE(feedback.failures.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Files, LoadToAController,
                         ::testing::Values(ControllerCase{"healthy", [](Sim::Faults &) {}, nullptr},
                                           ControllerCase{"errorStatus", [](Sim::Faults &f) { f.errorStatus = 1; },
                                                          "The controller took 0 of the 37 "},
                                           ControllerCase{"answersEveryOther",
                                                          [](Sim::Faults &f) { f.answerEveryNth = 2; },
                                                          "The controller took 18 of the 37 "}),
                         [](const auto &info) { return std::string(info.param.name); });

class HostileFile : public Files, public ::testing::WithParamInterface<HostileFiles::Param>
{
};

TEST_P(HostileFile, IsRefusedWithTheInvalidMessageAndChangesNothing)
{
    const auto &[suffix, hostile] = GetParam();
    const QString name = path("hostile.") + QLatin1String(suffix);
    ASSERT_TRUE(hostile.make(name.toStdString()));
    const PatchImage before = bank().patch(0).patchImage();
    EXPECT_FALSE(files->openFile(name));
    const bool bankFile = std::string(suffix) == "vpb";
    EXPECT_EQ(feedback.reports, std::vector<QString>{bankFile ? InvalidBankFileText : InvalidPatchFileText});
    EXPECT_EQ(bank().patch(0).patchImage(), before);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFile,
                         ::testing::Combine(::testing::Values("vpp", "vpb"),
                                            ::testing::ValuesIn(HostileFiles::cases())),
                         [](const auto &info) { return HostileFiles::paramName(info.param); });

} // namespace
