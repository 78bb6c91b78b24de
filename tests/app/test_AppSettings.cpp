#include "editor/app/AppSettings.h"
#include "editor/app/StartupDevice.h"
#include "editor/app/StartupOptions.h"
#include "editor/core/DeviceList.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/SimulatedWorld.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// One read rule: what is stored under the key (nothing when invalid) and
// what the getter makes of it.
struct ReadCase {
    const char *name;
    const char *key;
    QVariant stored;
    std::function<QVariant()> read;
    QVariant expected;
};

class SettingsRead : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(SettingsRead, FollowsItsRule)
{
    clearSettings();
    if (GetParam().stored.isValid())
        storeSetting(GetParam().key, GetParam().stored);
    EXPECT_EQ(GetParam().read(), GetParam().expected);
}

QVariant autoSave() { return AppSettings::autoSave(); }
QVariant startupDevice() { return AppSettings::startupDevice(); }
QVariant backups() { return AppSettings::numberOfBackups(); }
QVariant lastDeviceId() { return AppSettings::lastDeviceId(); }
QVariant showEditor() { return AppSettings::showPatchEditor(); }
QVariant backupPath() { return AppSettings::backupPath(); }

INSTANTIATE_TEST_SUITE_P(
    Keys, SettingsRead,
    ::testing::Values(ReadCase{"AutoSaveMissing", "Preferences/Auto Save", {}, autoSave, 1},
                      ReadCase{"AutoSaveZero", "Preferences/Auto Save", 0, autoSave, 0},
                      ReadCase{"AutoSaveOutOfRange", "Preferences/Auto Save", 2, autoSave, 1},
                      ReadCase{"AutoSaveNotANumber", "Preferences/Auto Save", "often", autoSave, 1},
                      ReadCase{"StartupDeviceDefault", "Preferences/Startup Device", 0, startupDevice, 0},
                      ReadCase{"StartupDeviceNegative", "Preferences/Startup Device", -1, startupDevice, 1},
                      ReadCase{"BackupsMissing", "Revert/Number of Backups", {}, backups, 1},
                      ReadCase{"BackupsFour", "Revert/Number of Backups", 4, backups, 4},
                      ReadCase{"BackupsSeven", "Revert/Number of Backups", 7, backups, 1},
                      ReadCase{"LastDeviceIdMissing", "Settings/Last Device ID", {}, lastDeviceId, 127},
                      ReadCase{"LastDeviceIdNone", "Settings/Last Device ID", -1, lastDeviceId, -1},
                      ReadCase{"ShowEditorMissing", "Settings/Show Patch Editor", {}, showEditor, true},
                      ReadCase{"ShowEditorFalse", "Settings/Show Patch Editor", false, showEditor, false},
                      ReadCase{"ShowEditorGarbage", "Settings/Show Patch Editor", "maybe", showEditor, true},
                      ReadCase{"BackupPathGone", "Revert/Backup Path", "/no/such/folder", backupPath, QString()}),
    [](const auto &info) { return std::string(info.param.name); });

// One write rule: the value stored before, the setter's argument, the value
// stored after.
struct WriteCase {
    const char *name;
    const char *key;
    std::function<void(int)> write;
    int before;
    int value;
    int after;
};

class SettingsWrite : public ::testing::TestWithParam<WriteCase>
{
};

TEST_P(SettingsWrite, FollowsItsRule)
{
    clearSettings();
    storeSetting(GetParam().key, GetParam().before);
    GetParam().write(GetParam().value);
    EXPECT_EQ(QSettings().value(QLatin1String(GetParam().key)).toInt(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SettingsWrite,
    ::testing::Values(WriteCase{"AutoSaveZero", "Preferences/Auto Save", AppSettings::setAutoSave, 1, 0, 0},
                      WriteCase{"AutoSaveTwoIgnored", "Preferences/Auto Save", AppSettings::setAutoSave, 0, 2, 0},
                      WriteCase{"StartupDeviceMinusOneIgnored", "Preferences/Startup Device",
                                AppSettings::setStartupDevice, 0, -1, 0},
                      WriteCase{"BackupsFour", "Revert/Number of Backups", AppSettings::setNumberOfBackups, 1, 4, 4},
                      WriteCase{"BackupsFiveIgnored", "Revert/Number of Backups", AppSettings::setNumberOfBackups, 2, 5,
                                2}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Settings, BackupPathReadsWithNativeSeparatorsWhileTheFolderExists)
{
    QTemporaryDir folder;
    clearSettings();
    AppSettings::setBackupPath(folder.path());
    EXPECT_EQ(AppSettings::backupPath(), QDir::toNativeSeparators(folder.path()));
    folder.remove();
    EXPECT_EQ(AppSettings::backupPath(), QString());
}

TEST(Settings, LastFolderIsTheChosenFilesFolderAndFallsBackToHome)
{
    QTemporaryDir folder;
    clearSettings();
    AppSettings::setLastFolderFromFile(folder.filePath("bank.vpb"));
    EXPECT_EQ(AppSettings::dialogStartFolder(), QDir(folder.path()).absolutePath());
    AppSettings::setLastFolderFromFile(QStringLiteral("/no/such/folder/bank.vpb"));
    EXPECT_EQ(AppSettings::lastFolder(), QDir(folder.path()).absolutePath());
    folder.remove();
    EXPECT_EQ(AppSettings::dialogStartFolder(), QDir::homePath());
}

struct OptionsCase {
    const char *name;
    QStringList arguments;
    std::optional<int> simulate;
    QString screenshot;
    QString message;
    bool error;
};

class Options : public ::testing::TestWithParam<OptionsCase>
{
};

TEST_P(Options, AreTakenOutOfTheStartMessage)
{
    const StartupOptions options = StartupOptions::parse(QStringList{"ZELVorpad"} + GetParam().arguments);
    EXPECT_EQ(options.simulate, GetParam().simulate);
    EXPECT_EQ(options.screenshot, GetParam().screenshot);
    EXPECT_EQ(options.startMessage(), GetParam().message);
    EXPECT_EQ(!options.error.isEmpty(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Options,
    ::testing::Values(OptionsCase{"Nothing", {}, std::nullopt, {}, {}, false},
                      OptionsCase{
                          "PathSplitAtBlanks", {"/tmp/my", "bank.vpb"}, std::nullopt, {}, "/tmp/my bank.vpb", false},
                      OptionsCase{"SimulateDefault", {"--simulate", "/tmp/a.vpp"}, 49, {}, "/tmp/a.vpp", false},
                      OptionsCase{"SimulateSize", {"/tmp/a.vpp", "--simulate=61"}, 61, {}, "/tmp/a.vpp", false},
                      OptionsCase{"SimulateBadSize", {"--simulate=88"}, std::nullopt, {}, {}, true},
                      OptionsCase{"Screenshot", {"--screenshot", "w.png", "--simulate=25"}, 25, "w.png", {}, false},
                      OptionsCase{"ScreenshotInline", {"--screenshot=w.png"}, std::nullopt, "w.png", {}, false},
                      OptionsCase{"ScreenshotWithoutFile", {"--screenshot"}, std::nullopt, {}, {}, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(OptionsEnvironment, SimulatesFromTheEnvironmentUnlessTheCommandLineSays)
{
    EXPECT_EQ(StartupOptions::parse({"ZELVorpad"}, "25").simulate, 25);
    EXPECT_EQ(StartupOptions::parse({"ZELVorpad", "--simulate=61"}, "25").simulate, 61);
    EXPECT_EQ(StartupOptions::parse({"ZELVorpad"}, "12").simulate, std::nullopt);
}

// The device chosen at start from what is attached and what is stored.
struct StartupCase {
    const char *name;
    std::vector<int> attached;
    int startupDevice;
    QVariant lastDevice;
    QVariant lastDeviceId;
    bool simulated;
    int expected;
};

class StartupRules : public ::testing::TestWithParam<StartupCase>
{
};

TEST_P(StartupRules, ChooseTheEntry)
{
    const StartupCase &c = GetParam();
    SimulatedWorld world(c.attached);
    clearSettings();
    storeSetting("Preferences/Startup Device", c.startupDevice);
    if (c.lastDevice.isValid())
        storeSetting("Settings/Last Device", c.lastDevice);
    if (c.lastDeviceId.isValid())
        storeSetting("Settings/Last Device ID", c.lastDeviceId);
    Brisel::DeviceList devices;
    EXPECT_EQ(StartupDevice::choose(devices, c.simulated), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, StartupRules,
                         ::testing::Values(StartupCase{"LastWithNoLastDeviceId", {49}, 1, "Vorpad 49", -1, false, 0},
                                           StartupCase{"LastPresent", {25, 49}, 1, "Vorpad 49", {}, false, 2},
                                           StartupCase{"LastNotPresent", {49}, 1, "Vorpad 61", {}, false, 0},
                                           StartupCase{"LastNeverStored", {49}, 1, {}, {}, false, 0},
                                           StartupCase{"DefaultNothingAttached", {}, 0, {}, {}, false, 0},
                                           StartupCase{
                                               "DefaultTakesTheFirstFound", {61, 25}, 0, "Vorpad 25", {}, false, 1},
                                           StartupCase{"SimulatedAlwaysConnects", {49}, 1, {}, -1, true, 1}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
