#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "platform/sim/SimulatedPlatform.h"
#include "tests/support/ModelFixture.h"
#include "tests/support/SimulatedWorld.h"
#include "tests/tools/CtlRun.h"
#include "tools/vorpadctl/VorpadCtl.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

PatchImage patchWithSemitone(int semitone)
{
    PatchImage image{};
    CBPatch::instance().initPatch(image.data());
    image[23] = Byte(semitone);
    return image;
}

std::vector<Byte> bytes(const PatchImage &image) { return {image.begin(), image.end()}; }

class VorpadCtlDevices : public ModelFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ModelFixture::SetUp();
    }
    std::string path(const char *name) const { return m_dir.filePath(name).toStdString(); }

    SimulatedWorld world;

private:
    QTemporaryDir m_dir;
};

TEST_F(VorpadCtlDevices, DevicesListsTheControllerAfterNoDevice)
{
    const CtlRun result = run({"devices"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_NE(result.out.find("Vorpad 49"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("49 keys"), std::string::npos);
    EXPECT_NE(result.out.find(" 1.07\n"), std::string::npos) << result.out; // as the updater writes it
    EXPECT_EQ(result.out.find("\n1    "), result.out.find('\n'));
}

TEST_F(VorpadCtlDevices, UsbDevicesReadsTheControllerOverItsControlInterface)
{
    const CtlRun result = run({"usb-devices", "--simulate=61"});
    EXPECT_EQ(result.code, 0) << result.err;
    for (const char *expected : {"Vorpad 61", "USB\\VID_041E&PID_3F06", "VP61-000001", "1.07"})
        EXPECT_NE(result.out.find(expected), std::string::npos) << expected << " in " << result.out;
}

TEST_F(VorpadCtlDevices, BackupThenRestoreRoundTrip)
{
    Sim::Controller &controller = world.controller();
    for (int n = 1; n <= StoredPatchCount; ++n)
        controller.setPatch(n, patchWithSemitone(20 + n));
    controller.setPatch(0, patchWithSemitone(99));

    const CtlRun backup = run({"backup", path("bank.vpb"), path("active.vpp"), "--device", "1"});
    ASSERT_EQ(backup.code, 0) << backup.err;
    const BankFile saved = BankFile::read(QString::fromStdString(path("bank.vpb")));
    ASSERT_TRUE(saved.valid);
    ASSERT_EQ(saved.zonesImages.size(), 16u);
    for (int p = 0; p < StoredPatchCount; ++p)
        EXPECT_EQ(saved.patchImages[std::size_t(p)], bytes(controller.patch(p + 1))) << p;
    EXPECT_EQ(saved.settings, controller.bankSettings());
    const PatchFile activeFile = PatchFile::read(QString::fromStdString(path("active.vpp")));
    ASSERT_TRUE(activeFile.valid);
    EXPECT_EQ(activeFile.patchImage, bytes(patchWithSemitone(99)));

    // The controller forgets its bank; the restore brings it back.
    for (int n = 0; n <= StoredPatchCount; ++n)
        controller.setPatch(n, patchWithSemitone(1));
    const CtlRun restore = run({"restore", path("bank.vpb")});
    ASSERT_EQ(restore.code, 0) << restore.err;
    for (int p = 0; p < StoredPatchCount; ++p)
        EXPECT_EQ(bytes(controller.patch(p + 1)), saved.patchImages[std::size_t(p)]) << p;
    // The bank's current patch (1) became the active patch.
    EXPECT_EQ(bytes(controller.patch(0)), saved.patchImages[0]);
    EXPECT_EQ(controller.bankSettings(), saved.settings);
}

TEST_F(VorpadCtlDevices, RestoreRefusesAnInvalidBankWithoutTouchingTheController)
{
    ASSERT_EQ(run({"new-patch", path("p.vpp")}).code, 0);
    const CtlRun wrongKind = run({"restore", path("p.vpp")});
    EXPECT_EQ(wrongKind.code, 1);
    ASSERT_EQ(run({"new-bank", path("b.vpb")}).code, 0);
    QFile::resize(QString::fromStdString(path("b.vpb")), 25 + 361 * 15);
    const int before = world.controller().requestCount();
    const CtlRun invalid = run({"restore", path("b.vpb")});
    EXPECT_EQ(invalid.code, 1);
    EXPECT_NE(invalid.err.find("This bank file is invalid"), std::string::npos);
    EXPECT_EQ(world.controller().requestCount(), before);
}

// A cut bank still loads, its zones left as the controller has them, and says
// so as show does; the exit status stays that of the restore.
TEST_F(VorpadCtlDevices, RestoreOfACutBankWarnsAndSucceeds)
{
    ASSERT_EQ(run({"new-bank", path("cut.vpb")}).code, 0);
    const QString cut = QString::fromStdString(path("cut.vpb"));
    ASSERT_TRUE(QFile::resize(cut, QFileInfo(cut).size() - 1));
    const CtlRun restore = run({"restore", path("cut.vpb")});
    EXPECT_EQ(restore.code, 0);
    EXPECT_EQ(restore.err, "vorpadctl restore: warning: " + path("cut.vpb") + ": " + ZonesIncompleteText + "\n");
}

TEST_F(VorpadCtlDevices, FilesThatAreMissingOrThereAlreadyAreSaidSo)
{
    const int before = world.controller().requestCount();
    const CtlRun missing = run({"restore", path("nosuch.vpb")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("nosuch.vpb: no such file"), std::string::npos) << missing.err;
    EXPECT_EQ(world.controller().requestCount(), before);

    ASSERT_EQ(run({"new-bank", path("kept.vpb")}).code, 0);
    const auto kept = *SysExFile::readAll(QString::fromStdString(path("kept.vpb")));
    const CtlRun refused = run({"backup", path("kept.vpb")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("exists (--force overwrites it)"), std::string::npos) << refused.err;
    EXPECT_EQ(*SysExFile::readAll(QString::fromStdString(path("kept.vpb"))), kept);
    EXPECT_EQ(run({"backup", path("kept.vpb"), "--force"}).code, 0);
}

TEST_F(VorpadCtlDevices, AMissingOrSilentDeviceFailsClearly)
{
    const CtlRun noSuch = run({"backup", path("b.vpb"), "--device", "2"});
    EXPECT_EQ(noSuch.code, 1);
    EXPECT_NE(noSuch.err.find("no device at position 2"), std::string::npos);

    world.setFaults([](Sim::Faults &f) { f.silent = true; });
    const CtlRun silent = run({"backup", path("b.vpb")});
    EXPECT_EQ(silent.code, 1);
    EXPECT_NE(silent.err.find("no controller found"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("b.vpb"))));
}

TEST_F(VorpadCtlDevices, BackupFailsWhenTheControllerReportsErrors)
{
    // It still answers the identity question but refuses every request, so
    // the download is incomplete and nothing is written.
    world.setFaults([](Sim::Faults &f) { f.errorStatus = 1; });
    const CtlRun partial = run({"backup", path("b.vpb")});
    EXPECT_EQ(partial.code, 1) << partial.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("b.vpb"))));
}

TEST(VorpadCtlSimulate, SimulatedControllerKeepsItsBankBetweenRuns)
{
    QTemporaryDir data; // the simulated controller's state file lives there
    QTemporaryDir files;
    ASSERT_TRUE(data.isValid() && files.isValid());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const CtlRun devices = run({"devices", "--simulate=25"});
    EXPECT_EQ(devices.code, 0) << devices.err;
    EXPECT_NE(devices.out.find("Vorpad 25"), std::string::npos) << devices.out;
    EXPECT_EQ(run({"devices", "--simulate=37"}).code, 2);

    // Each command is a run of its own, as from a shell.
    const std::string edited = files.filePath("edited.vpb").toStdString();
    const std::string back = files.filePath("back.vpb").toStdString();
    ASSERT_EQ(run({"new-bank", edited}).code, 0);
    QFile file(QString::fromStdString(edited));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(25 + 361 * 6 + 8 + 23); // semitone of patch 7
    file.write("\x30", 1);
    file.close();
    ASSERT_EQ(run({"restore", edited, "--simulate=25"}).code, 0);
    ASSERT_EQ(run({"backup", back, "--simulate=25"}).code, 0);
    EXPECT_EQ(run({"diff", edited, back}).code, 0);
    qunsetenv("XDG_DATA_HOME");
}

TEST(VorpadCtlSimulate, BackupFetchesTheWholeBankThroughTheDriver)
{
    QTemporaryDir data;
    QTemporaryDir files;
    ASSERT_TRUE(data.isValid() && files.isValid());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const std::string bank = files.filePath("bank.vpb").toStdString();
    const CtlRun backup = run({"backup", bank, "--simulate=61"});
    qunsetenv("XDG_DATA_HOME");
    ASSERT_EQ(backup.code, 0) << backup.err;

    Platform::SimulatedPlatform *simulated = Platform::simulatedPlatform();
    ASSERT_NE(simulated, nullptr);
    const BankFile saved = BankFile::read(QString::fromStdString(bank));
    ASSERT_TRUE(saved.valid);
    for (int p = 0; p < StoredPatchCount; ++p)
        EXPECT_EQ(saved.patchImages[std::size_t(p)], bytes(simulated->controller().patch(p + 1))) << p;
    // Every reply crossed the bus as packets of three bytes: at least the 17
    // patch transfers (361 bytes, 121 packets each), and every request went
    // out in transfers of its own.
    const Platform::SimUsbHost::Traffic traffic = simulated->machine().traffic();
    EXPECT_GE(traffic.inBytes, 17u * 121u * 4u);
    EXPECT_GE(traffic.outTransfers, 35u);
    EXPECT_EQ(traffic.outBytes % 4, 0u);
}

} // namespace

TEST_F(VorpadCtlDevices, PutSendsAPatchFileIntoOneSlotAndNamesListsThem)
{
    ASSERT_EQ(run({"new-patch", path("a.vpp")}).code, 0);
    ASSERT_EQ(run({"set", path("a.vpp"), "PatchName", "Slot Five"}).code, 0);
    const CtlRun put = run({"put", path("a.vpp"), "5"});
    ASSERT_EQ(put.code, 0) << put.err;
    EXPECT_EQ(bytes(world.controller().patch(5)), PatchFile::read(QString::fromStdString(path("a.vpp"))).patchImage);
    const CtlRun names = run({"names"});
    ASSERT_EQ(names.code, 0) << names.err;
    EXPECT_NE(names.out.find("\n5 Slot Five\n"), std::string::npos) << names.out;
}
