#include "ViewsTestSupport.h"

#include "editor/app/AppSettings.h"
#include "editor/app/EditorSession.h"
#include "editor/app/revert/PreferencesDialog.h"
#include "editor/app/revert/RevertDialog.h"
#include "editor/app/revert/RevertManager.h"
#include "editor/core/DeviceList.h"
#include "editor/core/model/CBSysExPatch.h"
#include "tests/support/SimulatedWorld.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QSpinBox>
#include <QTest>

namespace {

// A revert manager on a clock the test moves by hand, backing up into a
// folder of its own.
class Reverts : public ViewsFixture
{
protected:
    void SetUp() override
    {
        ViewsFixture::SetUp();
        QSettings().setValue("Revert/Backup Path", dir.path());
    }

    void TearDown() override
    {
        reverts.reset();
        ViewsFixture::TearDown();
    }

    RevertManager &make()
    {
        reverts = std::make_unique<RevertManager>(*manager, [this] { return now; });
        return *reverts;
    }

    void tick(int seconds = 1) { now = now.addSecs(seconds); }
    void retain(int n) { QSettings().setValue("Revert/Number of Backups", n); }
    bool backupExists(const QString &name) const
    {
        return QFile::exists(dir.filePath(name + ".vpb")) && QFile::exists(dir.filePath(name + ".vpp"));
    }
    QStringList names() const
    {
        QStringList out;
        for (int i = 0; i < reverts->count(); ++i)
            out << reverts->name(i);
        return out;
    }
    QStringList filesInFolder() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

    QDateTime now{QDate(2006, 3, 14), QTime(9, 30, 15)};
    std::unique_ptr<RevertManager> reverts;
};

TEST_F(Reverts, NamesAreTheLocalTimeOfWriting)
{
    make();
    EXPECT_EQ(reverts->saveNow(), "2006-03-14_093015");
    EXPECT_TRUE(backupExists("2006-03-14_093015"));
    EXPECT_EQ(QFileInfo(dir.filePath("2006-03-14_093015.vpb")).size(), 6969);
    EXPECT_EQ(QFileInfo(dir.filePath("2006-03-14_093015.vpp")).size(), 434);
}

struct RetentionCase {
    int retained;
    int saves;
    QStringList kept;
};

class Retention : public Reverts, public ::testing::WithParamInterface<RetentionCase>
{
};

TEST_P(Retention, KeepsTheNewestBackups)
{
    const RetentionCase c = GetParam();
    retain(c.retained);
    make();
    for (int i = 0; i < c.saves; ++i) {
        reverts->saveNow();
        tick();
    }
    EXPECT_EQ(names(), c.kept);
    QStringList expectedFiles;
    for (const QString &name : c.kept)
        expectedFiles << name + ".vpb" << name + ".vpp";
    expectedFiles.sort();
    EXPECT_EQ(filesInFolder(), expectedFiles);

    // A new manager finds the same backups in the same order.
    make();
    EXPECT_EQ(names(), c.kept);
}

INSTANTIATE_TEST_SUITE_P(Counts, Retention,
                         ::testing::Values(RetentionCase{2, 3, {"2006-03-14_093017", "2006-03-14_093016"}},
                                           RetentionCase{1, 2, {"2006-03-14_093016"}},
                                           RetentionCase{
                                               4, 3, {"2006-03-14_093017", "2006-03-14_093016", "2006-03-14_093015"}},
                                           RetentionCase{0, 2, {}}));

TEST_F(Reverts, LoweringTheNumberRetainedTakesEffectAtTheNextSave)
{
    retain(4);
    make();
    for (int i = 0; i < 4; ++i, tick())
        reverts->saveNow();
    retain(2);
    EXPECT_EQ(reverts->count(), 4);
    reverts->saveNow();
    EXPECT_EQ(names(), QStringList({"2006-03-14_093019", "2006-03-14_093018"}));
}

TEST_F(Reverts, SameSecondReplacesTheBackupAndListsItOnce)
{
    retain(1);
    make();
    reverts->saveNow();
    manager->bank().patch(0).name().setValue("Second");
    EXPECT_EQ(reverts->saveNow(), "2006-03-14_093015");
    EXPECT_EQ(names(), QStringList{"2006-03-14_093015"});
    ASSERT_TRUE(backupExists("2006-03-14_093015")) << "pruning to one must keep the only backup";
    EXPECT_EQ(BankFile::read(dir.filePath("2006-03-14_093015.vpb")).patchImages.at(0), namedPatch("Second"));
}

TEST_F(Reverts, PruningTouchesOnlyTimestampedPairs)
{
    const QByteArray bank = bankBytes("X"), patch = patchBytes("X");
    const QStringList strangers{
        "notes",           "2006-03-14_093015.old", "2006-13-14_093015", "2006-03-14_250000", "2006-03-14-093015",
        "2006-03-14_09301"};
    for (const QString &name : strangers) {
        write(name + ".vpb", bank);
        write(name + ".vpp", patch);
    }
    write("2006-03-13_120000.vpb", bank); // no patch partner
    retain(0);
    make();
    EXPECT_EQ(reverts->count(), 0);
    reverts->saveNow();
    EXPECT_EQ(filesInFolder().size(), strangers.size() * 2 + 1) << filesInFolder().join(' ').toStdString();
}

struct LeftoverCase {
    const char *name;
    bool partner; // its partner of the pair is there too
    bool old;     // last modified two minutes ago
    bool removed;
};

class RevertLeftovers : public Reverts, public ::testing::WithParamInterface<LeftoverCase>
{
};

// What a killed backup left: half a pair or a temporary of our own naming,
// over a minute old. The next backup removes that and nothing else.
TEST_P(RevertLeftovers, TheNextBackupRemovesOnlyOldLeftoversOfItsOwn)
{
    const LeftoverCase &c = GetParam();
    const QString path = write(c.name, bankBytes("X"));
    if (c.partner)
        write(QString(c.name).replace(".vpb", ".vpp"), patchBytes("X"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    if (c.old) {
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
    }
    file.close();
    retain(AppSettings::MaxBackups); // no pruning: only the leftovers go
    make();
    ASSERT_FALSE(reverts->saveNow().isEmpty());
    EXPECT_EQ(QFile::exists(path), !c.removed);
}

INSTANTIATE_TEST_SUITE_P(Files, RevertLeftovers,
                         ::testing::Values(LeftoverCase{"2006-03-13_120000.vpb", false, true, true},
                                           LeftoverCase{"2006-03-13_120000.vpp", false, true, true},
                                           LeftoverCase{"2006-03-13_120000.vpb", false, false, false},
                                           LeftoverCase{"2006-03-13_120000.vpb", true, true, false},
                                           LeftoverCase{"2006-03-13_120000.vpb.AbCdEf", false, true, true},
                                           LeftoverCase{"2006-03-13_120000.vpp.Xy12Zq", false, true, true},
                                           LeftoverCase{"2006-03-13_120000.vpb.AbCdEf", false, false, false},
                                           LeftoverCase{"2006-03-13_120000.vpb.AbCdE", false, true, false},
                                           LeftoverCase{"notes.vpb", false, true, false},
                                           LeftoverCase{"notes.vpb.AbCdEf", false, true, false}),
                         [](const auto &info) {
                             QString name =
                                 QString::fromLatin1(info.param.name).replace(QRegularExpression("[^A-Za-z0-9]"), "_");
                             return name.toStdString() + (info.param.partner ? "_paired" : "") +
                                    (info.param.old ? "_old" : "_fresh");
                         });

TEST_F(Reverts, BankWithoutItsPatchPartnerIsNotListed)
{
    write("2006-03-13_120000.vpb", bankBytes("X"));
    write("2006-03-12_120000.vpb", bankBytes("X"));
    write("2006-03-12_120000.vpp", patchBytes("X"));
    make();
    EXPECT_EQ(names(), QStringList{"2006-03-12_120000"});
}

TEST_F(Reverts, MissingFolderFallsBackToHomeAndIsStored)
{
    QDir(dir.path()).mkdir("gone");
    QSettings().setValue("Revert/Backup Path", dir.filePath("gone"));
    QDir(dir.path()).rmdir("gone");
    EXPECT_EQ(AppSettings::backupPath(), QString()) << "the preferences show a vanished folder as empty";

    make();
    const QString name = reverts->saveNow();
    ASSERT_FALSE(name.isEmpty());
    EXPECT_TRUE(QFile::exists(QDir::home().filePath(name + ".vpb")));
    EXPECT_EQ(QSettings().value("Revert/Backup Path").toString(), QDir::toNativeSeparators(QDir::homePath()));
    reverts->deleteBackup(0);
    EXPECT_FALSE(QFile::exists(QDir::home().filePath(name + ".vpb")));
}

TEST_F(Reverts, DeleteRemovesBothFilesAndTheEntry)
{
    retain(3);
    make();
    reverts->saveNow();
    tick();
    reverts->saveNow();
    reverts->deleteBackup(1);
    EXPECT_EQ(names(), QStringList{"2006-03-14_093016"});
    EXPECT_FALSE(QFile::exists(dir.filePath("2006-03-14_093015.vpb")));
    EXPECT_FALSE(QFile::exists(dir.filePath("2006-03-14_093015.vpp")));
    reverts->deleteBackup(5);
    EXPECT_EQ(reverts->count(), 1);
}

TEST_F(Reverts, RestoreBringsBackTheBankAndTheActivePatch)
{
    make();
    for (int p = 0; p < StoredPatchCount; ++p)
        manager->bank().patch(p).setPatchImage(namedPatch("Saved" + std::to_string(p)));
    manager->bank().name().setValue("Saved Bank");
    manager->activePatch().name().setValue("Active");
    reverts->saveNow();

    for (int p = 0; p < StoredPatchCount; ++p)
        manager->bank().patch(p).setPatchImage(namedPatch("Later"));
    manager->bank().name().setValue("Later");
    manager->activePatch().name().setValue("Later");

    ASSERT_TRUE(reverts->restore(0));
    EXPECT_EQ(slotName(9), "Saved9");
    EXPECT_EQ(manager->bank().name().value(), "Saved Bank");
    EXPECT_EQ(manager->activePatch().name().value(), "Active");
}

struct BrokenCase {
    const char *name;
    const char *suffix;
    QByteArray bytes; // empty: remove the file
};

class RestoreBroken : public Reverts, public ::testing::WithParamInterface<BrokenCase>
{
};

TEST_P(RestoreBroken, ChangesNothing)
{
    const BrokenCase c = GetParam();
    make();
    nameSlots("Kept");
    const QString name = reverts->saveNow();
    const QString path = dir.filePath(name + c.suffix);
    if (c.bytes.isEmpty())
        QFile::remove(path);
    else
        write(QFileInfo(path).fileName(), c.bytes);

    for (int p = 0; p < StoredPatchCount; ++p)
        manager->bank().patch(p).setPatchImage(namedPatch("Now"));
    manager->activePatch().name().setValue("Now");
    EXPECT_FALSE(reverts->restore(0));
    EXPECT_EQ(slotName(0), "Now");
    EXPECT_EQ(manager->activePatch().name().value(), "Now");
}

INSTANTIATE_TEST_SUITE_P(Files, RestoreBroken,
                         ::testing::Values(BrokenCase{"BankMissing", ".vpb", {}},
                                           BrokenCase{"PatchMissing", ".vpp", {}},
                                           BrokenCase{"BankTruncated", ".vpb", bankBytes("T").left(3000)},
                                           BrokenCase{"PatchGarbage", ".vpp", QByteArray(434, '\x55')}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Reverts, ConnectingWritesOneBackupAtOnce)
{
    SimulatedWorld world;
    Brisel::DeviceList devices;
    ASSERT_EQ(devices.count(), 2);
    make();
    ASSERT_TRUE(reverts->selectDeviceAndBackUp(devices.record(1)));
    EXPECT_EQ(reverts->count(), 1);
    // Choosing no device is a success that leaves nothing to back up.
    tick();
    ASSERT_TRUE(reverts->selectDeviceAndBackUp(devices.record(0)));
    EXPECT_EQ(reverts->count(), 1);
    EXPECT_EQ(reverts->name(0), "2006-03-14_093015");

    // A connection whose download misses answers keeps the stale model out of
    // the folder, where with one retained it would replace the last true copy.
    tick();
    world.setFaults([](Sim::Faults &f) { f.replyCommand = CBSysExPatch::PatchTransfer; });
    ASSERT_TRUE(reverts->selectDeviceAndBackUp(devices.record(1)));
    ASSERT_TRUE(manager->isConnected());
    EXPECT_EQ(names(), QStringList{"2006-03-14_093015"});
}

TEST_F(Reverts, ASimulatedSessionNeverTouchesTheRealBackups)
{
    const QString home = QDir::homePath();
    for (const char *suffix : {".vpb", ".vpp"})
        ASSERT_TRUE(SysExFile::writeAll(QDir(home).filePath(QStringLiteral("2001-01-01_000000") + suffix), "real"));
    EditorSession::setSimulated(true);
    const auto real = qScopeGuard([] {
        QSettings().clear();
        EditorSession::setSimulated(false);
    });
    retain(1);
    make();
    EXPECT_FALSE(reverts->saveNow().isEmpty());

    EXPECT_TRUE(QFile::exists(QDir(home).filePath("2001-01-01_000000.vpb")));
    EXPECT_TRUE(QFile::exists(QDir(home).filePath("2001-01-01_000000.vpp")));
    EXPECT_EQ(reverts->folder(),
              QDir::toNativeSeparators(qEnvironmentVariable("XDG_DATA_HOME") + "/vorpad/simulated-backups"));
    EXPECT_EQ(reverts->count(), 1);
}

// ---- dialogs -------------------------------------------------------------

class FolderPickingPreferences : public PreferencesDialog
{
public:
    using PreferencesDialog::PreferencesDialog;
    QString picked;
    QString offeredStart;

protected:
    QString chooseFolder(const QString &start) override
    {
        offeredStart = start;
        return picked;
    }
};

TEST_F(Reverts, PreferencesShowTheSettingsAndOkWritesThem)
{
    QSettings settings;
    settings.setValue("Preferences/Auto Save", 0);
    settings.setValue("Preferences/Startup Device", 7); // out of range: reads as 1
    settings.setValue("Revert/Number of Backups", 3);

    FolderPickingPreferences dialog;
    auto *startup = dialog.findChild<QComboBox *>("startupDeviceType");
    auto *autoStore = dialog.findChild<QComboBox *>("autoStorePatches");
    auto *count = dialog.findChild<QSpinBox *>("numBackups");
    auto *folder = dialog.findChild<QLineEdit *>("backupsFolderPath");
    ASSERT_TRUE(startup && autoStore && count && folder);
    EXPECT_EQ(autoStore->currentData().toInt(), 0);
    EXPECT_EQ(autoStore->currentText(), "Ask Always");
    EXPECT_EQ(startup->currentText(), "Last");
    EXPECT_EQ(count->value(), 3);
    EXPECT_EQ(folder->text(), QDir::toNativeSeparators(dir.path()));
    EXPECT_FALSE(folder->isEnabled());
    EXPECT_EQ(count->maximum(), 4);

    QDir(dir.path()).mkdir("elsewhere");
    dialog.picked = dir.filePath("elsewhere");
    QTest::mouseClick(dialog.findChild<QPushButton *>("browseBackupsButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.offeredStart, QDir::toNativeSeparators(dir.path()));
    dialog.picked.clear();
    QTest::mouseClick(dialog.findChild<QPushButton *>("browseBackupsButton"), Qt::LeftButton);
    EXPECT_EQ(folder->text(), QDir::toNativeSeparators(dir.filePath("elsewhere"))) << "cancelling keeps the choice";

    autoStore->setCurrentIndex(1);
    startup->setCurrentIndex(0);
    count->setValue(0);
    QTest::mouseClick(dialog.findChild<QPushButton *>("okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(AppSettings::autoSave(), 1);
    EXPECT_EQ(AppSettings::startupDevice(), 0);
    EXPECT_EQ(AppSettings::numberOfBackups(), 0);
    EXPECT_EQ(AppSettings::backupPath(), QDir::toNativeSeparators(dir.filePath("elsewhere")));
}

TEST_F(Reverts, PreferencesCancelWritesNothing)
{
    PreferencesDialog dialog;
    dialog.findChild<QSpinBox *>("numBackups")->setValue(4);
    QTest::mouseClick(dialog.findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(QSettings().contains("Revert/Number of Backups"));
}

TEST_F(Reverts, RevertDialogListsRestoresAndDeletes)
{
    retain(3);
    make();
    nameSlots("Old");
    reverts->saveNow();
    tick();
    nameSlots("New");
    reverts->saveNow();
    write("2006-03-10_100000.vpb", bankBytes("Hand")); // without its partner: not listed

    RevertDialog dialog(*reverts);
    auto *list = dialog.findChild<QListWidget *>("revertList");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "2006-03-14_093016");

    // Nothing selected: nothing happens.
    QTest::mouseClick(dialog.findChild<QPushButton *>("deleteButton"), Qt::LeftButton);
    EXPECT_EQ(list->count(), 2);

    list->setCurrentRow(1);
    QTest::mouseClick(dialog.findChild<QPushButton *>("revertButton"), Qt::LeftButton);
    EXPECT_EQ(slotName(0), "Old1");
    EXPECT_FALSE(dialog.isHidden() && dialog.result() == QDialog::Accepted);

    QTest::mouseClick(dialog.findChild<QPushButton *>("deleteButton"), Qt::LeftButton);
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(names(), QStringList{"2006-03-14_093016"});
    EXPECT_FALSE(QFile::exists(dir.filePath("2006-03-14_093015.vpp")));
}

} // namespace
