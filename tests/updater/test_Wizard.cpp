#include "UpdaterTestSupport.h"

#include "updater/core/Log.h"
#include "updater/core/ProcessList.h"
#include "updater/engine/UpdateLog.h"
#include "updater/engine/UpdaterConfiguration.h"
#include "updater/wizard/DevicesModel.h"
#include "updater/wizard/DevicesPage.h"
#include "updater/wizard/IntroPage.h"
#include "updater/wizard/ProgressView.h"
#include "updater/wizard/RunResults.h"
#include "updater/wizard/UpdatePrompts.h"
#include "updater/wizard/UpdaterProgram.h"
#include "updater/wizard/UpdaterWizard.h"

#include "platform/sim/SimDeviceControl.h"
#include "platform/sim/SimMachine.h"
#include "tests/support/RecordingDeviceControl.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace UpdaterTest;
using Oxa::DevicesPage;

namespace {

// Answers the message boxes as scripted and counts them.
class ScriptedPrompts : public Oxa::UpdatePrompts
{
public:
    bool programsRunning(QWidget *, const QString &, const QStringList &names) override
    {
        ++runningShown;
        lastRunning = names;
        if (onRunning)
            onRunning();
        return runningAnswers.isEmpty() ? false : runningAnswers.takeFirst();
    }
    bool confirmUpdate(QWidget *, const QString &) override
    {
        ++warningShown;
        return confirm;
    }
    void updateError(QWidget *, const QString &) override { ++errorShown; }
    void corruptedPackage(const QString &title) override { corruptedTitle = title; }
    void simulatedOnlyPackage(const QString &) override { ++simulatedOnlyShown; }

    QList<bool> runningAnswers;
    std::function<void()> onRunning;
    QStringList lastRunning;
    bool confirm = true;
    int runningShown = 0;
    int warningShown = 0;
    int errorShown = 0;
    int simulatedOnlyShown = 0;
    QString corruptedTitle;
};

class WizardTest : public testing::Test
{
protected:
    WizardTest()
    {
        writeFile(QStringLiteral("readme.txt"), "Read me first.\n");
        writeFile(QStringLiteral("fw.bin"), imageBytes());
        environment.prompts = &prompts;
        environment.processes = &processes;
        environment.updateLog = &updateLog;
    }

    static QByteArray imageBytes()
    {
        const auto image = Sim::FirmwareUpdate::makeImage(PackageDate, PackageVersion, 300);
        return QByteArray(reinterpret_cast<const char *>(image.data()), qsizetype(image.size()));
    }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    bool load(const char *allowDowngrade = "false", const char *revision = "1.10")
    {
        writeFile(QStringLiteral("config.xml"),
                  QByteArray("<updaterApp><packager><title>Vorpad Update</title><displayImage>none.png</displayImage>"
                             "</packager><database allowDowngrade=\"") +
                      allowDowngrade +
                      "\"><deviceClass name=\"Vorpad\"><enumerator class=\"USBClassicEnumerator\"/>"
                      "<pid>USB\\VID_041E&amp;PID_3F01</pid><pid>USB\\VID_041E&amp;PID_3F06</pid>"
                      "<firmware><image>fw.bin</image><revision>" +
                      revision +
                      "</revision></firmware></deviceClass><processFilter>ZELVorpad</processFilter>"
                      "</database></updaterApp>");
        return configuration.load(m_dir.filePath(QStringLiteral("config.xml")));
    }
    SimulatedController attach(int keys, int serial, const Sim::UsbFaults &faults = {})
    {
        SimulatedController c = simulatedController(keys, serial, {}, faults);
        machine.attach(c.usb);
        return c;
    }
    // The Updater's command line for the package written into the test's folder.
    Oxa::ProgramOptions options(QStringList arguments = {})
    {
        return Oxa::parseOptions(QStringList{QStringLiteral("Updater")} + arguments +
                                 QStringList{m_dir.filePath(QStringLiteral("config.xml"))});
    }
    DevicesPage *devicesPage(Oxa::UpdaterWizard &wizard)
    {
        wizard.next();
        return wizard.devicesPage();
    }
    static QPushButton *button(QWidget *page, const char *name)
    {
        return page->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    // The page's buttons by object name, in no particular order.
    static QStringList buttons(QWidget *page)
    {
        QStringList names;
        for (QPushButton *b : page->findChildren<QPushButton *>())
            if (!b->objectName().isEmpty())
                names << b->objectName();
        names.sort();
        return names;
    }
    static bool enabled(QWidget *page, const char *name)
    {
        QPushButton *b = button(page, name);
        return b && b->isEnabled();
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_logDir;
    Platform::SimMachine machine;
    Platform::SimDeviceControl control{machine};
    Oxa::UpdaterConfiguration configuration{QDir(m_dir.path()), &control};
    ScriptedPrompts prompts;
    Oxa::FixedProcessList processes;
    Oxa::UpdateLog updateLog{m_logDir.filePath(QStringLiteral("updates.log"))};
    Oxa::WizardEnvironment environment;
    QuietLog m_quiet;
};

constexpr const char *SelectText =
    "Please select the devices that you would like to update and then\npress the Update button to begin the process.\n";
constexpr const char *NoDevicesText =
    "No supported devices detected.\nPlease make sure your devices are connected and click the Re-scan button.\n";
constexpr const char *NoUpgradeText = "There are no upgradable devices.\n\n";
const QString SelectLabel = QString::fromUtf8(SelectText);
const QString NoDevicesLabel = QString::fromUtf8(NoDevicesText);

TEST_F(WizardTest, pagesFollowContinueBackAndCancel)
{
    ASSERT_TRUE(load());
    attach(49, 1);
    Oxa::UpdaterWizard wizard(configuration, environment);
    EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Vorpad Update"));
    ASSERT_NE(wizard.introPage(), nullptr);
    EXPECT_EQ(wizard.page(), Oxa::UpdaterWizard::IntroPageShown);
    EXPECT_EQ(wizard.introPage()->findChild<QPlainTextEdit *>()->toPlainText(), QStringLiteral("Read me first.\n"));
    EXPECT_EQ(wizard.introPage()->findChild<QLabel *>(QStringLiteral("Display Image")), nullptr); // picture missing
    EXPECT_EQ(buttons(wizard.introPage()),
              (QStringList{QStringLiteral("Cancel Button"), QStringLiteral("Continue Button")}));

    button(wizard.introPage(), "Continue Button")->click();
    ASSERT_NE(wizard.devicesPage(), nullptr);
    EXPECT_EQ(wizard.page(), Oxa::UpdaterWizard::DevicesPageShown);
    EXPECT_EQ(
        buttons(wizard.devicesPage()),
        (QStringList{QStringLiteral("Back Button"), QStringLiteral("Cancel Button"), QStringLiteral("Update Button")}));

    button(wizard.devicesPage(), "Back Button")->click();
    ASSERT_NE(wizard.introPage(), nullptr);
    EXPECT_EQ(wizard.page(), Oxa::UpdaterWizard::IntroPageShown);

    wizard.show();
    button(wizard.introPage(), "Cancel Button")->click();
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    EXPECT_FALSE(wizard.isVisible());
}

struct ListCase {
    const char *name;
    std::vector<int> keys;
    const char *allowDowngrade;
    const char *revision;
    const char *label;
    const char *action;
    bool actionEnabled;
    bool rowsEnabled;
};

std::ostream &operator<<(std::ostream &out, const ListCase &c) { return out << c.name; }

class DevicesPageStates : public WizardTest, public testing::WithParamInterface<ListCase>
{
};

TEST_P(DevicesPageStates, labelButtonAndRowsFollowTheDevicesFound)
{
    const ListCase &c = GetParam();
    ASSERT_TRUE(load(c.allowDowngrade, c.revision));
    for (std::size_t i = 0; i < c.keys.size(); ++i)
        attach(c.keys[i], int(i) + 1);
    Oxa::UpdaterWizard wizard(configuration, environment);
    DevicesPage *page = devicesPage(wizard);
    EXPECT_EQ(page->labelText().toStdString(), c.label);
    EXPECT_NE(button(page, c.action), nullptr);
    EXPECT_EQ(enabled(page, c.action), c.actionEnabled);
    for (int row = 0; row < page->model()->rowCount(); ++row) {
        const Qt::ItemFlags flags = page->model()->flags(page->model()->index(row, 0));
        EXPECT_EQ(flags.testFlag(Qt::ItemIsEnabled), c.rowsEnabled);
        EXPECT_EQ(flags.testFlag(Qt::ItemIsUserCheckable), c.rowsEnabled);
        EXPECT_FALSE(flags.testFlag(Qt::ItemIsSelectable));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wizard, DevicesPageStates,
    testing::Values(ListCase{"noDevices", {}, "false", "1.10", NoDevicesText, "Rescan Button", true, true},
                    ListCase{"upgradable", {49, 61}, "false", "1.10", SelectText, "Update Button", true, true},
                    ListCase{"currentAlready", {49}, "false", "1.07", NoUpgradeText, "Update Button", false, false},
                    ListCase{"olderWithDowngrade", {49}, "true", "1.05", NoUpgradeText, "Update Button", false, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(WizardTest, checkingRowsEnablesUpdateAndUncheckingAllDisablesIt)
{
    ASSERT_TRUE(load("true", "1.05")); // older than the devices: downgrade allowed, nothing checked
    attach(49, 1);
    attach(61, 2);
    Oxa::UpdaterWizard wizard(configuration, environment);
    DevicesPage *page = devicesPage(wizard);
    Oxa::DevicesModel &model = *page->model();
    EXPECT_FALSE(enabled(page, "Update Button"));
    EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_TRUE(enabled(page, "Update Button"));
    EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(enabled(page, "Update Button"));
    EXPECT_FALSE(model.setData(model.index(1, 0), Qt::Checked, Qt::EditRole));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Current Version"));
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QStringLiteral("1.07"));
    EXPECT_EQ(model.data(model.index(0, 3)).toString(), QStringLiteral("1.05"));
}

TEST_F(WizardTest, rescanFindsAControllerPluggedInLater)
{
    ASSERT_TRUE(load());
    Oxa::UpdaterWizard wizard(configuration, environment);
    DevicesPage *page = devicesPage(wizard);
    ASSERT_NE(button(page, "Rescan Button"), nullptr);
    button(page, "Rescan Button")->click(); // still nothing
    EXPECT_EQ(page->labelText(), NoDevicesLabel);
    attach(49, 1);
    button(page, "Rescan Button")->click();
    EXPECT_EQ(button(page, "Rescan Button"), nullptr);
    EXPECT_TRUE(enabled(page, "Update Button"));
    EXPECT_EQ(page->labelText(), SelectLabel);
    EXPECT_EQ(page->model()->rowCount(), 1);
}

TEST_F(WizardTest, aForbiddenProgramAsksAgainAfterEveryOkUntilCancel)
{
    ASSERT_TRUE(load());
    SimulatedController device = attach(49, 1);
    processes.setNames({"bash", "ZELVorpad"});
    prompts.runningAnswers = {true, true, false};
    Oxa::UpdaterWizard wizard(configuration, environment);
    DevicesPage *page = devicesPage(wizard);
    page->doUpdate();
    EXPECT_EQ(prompts.runningShown, 3);
    EXPECT_EQ(prompts.lastRunning, QStringList{QStringLiteral("ZELVorpad")});
    EXPECT_EQ(prompts.warningShown, 0);
    EXPECT_EQ(page->state(), DevicesPage::State::Choosing);
    EXPECT_TRUE(enabled(page, "Update Button"));
    EXPECT_EQ(device.usb->firmwareVersion(), Sim::ShippedRevision.version);

    // The program quits while the box is up: Ok goes on to the warning, which is cancelled.
    prompts.runningAnswers = {true};
    prompts.onRunning = [this] { processes.setNames({"bash"}); };
    prompts.confirm = false;
    page->doUpdate();
    EXPECT_EQ(prompts.warningShown, 1);
    EXPECT_EQ(page->state(), DevicesPage::State::Choosing);
    EXPECT_TRUE(enabled(page, "Back Button"));
}

struct RunCase {
    const char *name;
    int failBlock; // on the first device
    bool stopOnFirst;
    bool logWritable;
    const char *state; // expected final label, %LOG% for the log path
    int errors;
    const char *firstVersion; // the first device's version afterwards
    int updated;
    const char *results; // the final page's table: device, before->after, result
};

// The results table as one line, each result without its details.
std::string resultsText(const Oxa::RunResultsView &view)
{
    std::string text;
    for (int i = 0; i < view.topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = view.topLevelItem(i);
        text += (i ? "; " : "") + item->text(0).toStdString() + " " + item->text(2).toStdString() + "->" +
                item->text(3).toStdString() + " " + item->text(4).section(QStringLiteral(" ("), 0, 0).toStdString();
    }
    return text;
}

std::ostream &operator<<(std::ostream &out, const RunCase &c) { return out << c.name; }

class UpdateEnd : public WizardTest, public testing::WithParamInterface<RunCase>
{
};

TEST_P(UpdateEnd, leavesOnlyExitAndSaysWhatHappened)
{
    const RunCase &c = GetParam();
    ASSERT_TRUE(load());
    attach(49, 1, {{.failBlock = c.failBlock}});
    attach(61, 2);
    if (!c.logWritable) {
        ASSERT_TRUE(QDir().mkpath(updateLog.path())); // a folder where the log should be
    }
    Oxa::UpdaterWizard wizard(configuration, environment);
    wizard.show();
    DevicesPage *page = devicesPage(wizard);
    QObject::connect(page, &DevicesPage::deviceUpdateStarted, page, [&wizard] {
        wizard.reject(); // closing the window while firmware is written does nothing
        EXPECT_TRUE(wizard.isVisible());
    });
    if (c.stopOnFirst) {
        QObject::connect(page, &DevicesPage::deviceUpdateStarted, page, [page] {
            // Stop pressed on the progress dialog while the first device is written.
            if (auto *progress = page->findChild<QProgressDialog *>())
                emit progress->canceled();
        });
    }
    page->doUpdate();
    QString expected = QString::fromUtf8(c.state);
    expected.replace(QStringLiteral("%LOG%"), updateLog.path());
    EXPECT_EQ(page->labelText(), expected);
    EXPECT_EQ(buttons(page), QStringList{QStringLiteral("Exit Button")});
    EXPECT_FALSE(page->view()->isEnabled());
    EXPECT_EQ(prompts.errorShown, c.errors);
    EXPECT_EQ(page->findChild<QProgressDialog *>(), nullptr); // closed with the run
    // The list shows what the devices report after the run.
    ASSERT_EQ(page->model()->rowCount(), 2);
    EXPECT_EQ(page->model()->data(page->model()->index(0, 2)).toString(), QString::fromUtf8(c.firstVersion));
    EXPECT_EQ(resultsText(*page->results()), c.results);
    EXPECT_TRUE(page->results()->isVisibleTo(page));
    EXPECT_EQ(page->findChild<QProgressBar *>(QStringLiteral("Run Progress"))->value(), c.updated);
}

INSTANTIATE_TEST_SUITE_P(
    Wizard, UpdateEnd,
    testing::Values(
        RunCase{"complete", -1, false, true, "The update is complete.\nClick the Exit button to quit the application.",
                0, "1.10", 2, "Vorpad 49 1.07->1.10 updated; Vorpad 61 1.07->1.10 updated"},
        RunCase{
            "failed", 1, false, true,
            "The update failed for Vorpad 49.\nDetails are in %LOG%.\nClick the Exit button to quit the application.",
            1, "1.07", 0, "Vorpad 49 1.07->1.07 failed; Vorpad 61 1.07->1.07 not started"},
        // The log is named only when the failure's line is in it.
        RunCase{"failedUnlogged", 1, false, false,
                "The update failed for Vorpad 49.\nThe update log could not be written.\nClick the Exit button to quit "
                "the application.",
                1, "1.07", 0, "Vorpad 49 1.07->1.07 failed; Vorpad 61 1.07->1.07 not started"},
        RunCase{"stopped", -1, true, true,
                "The update was stopped: 1 of 2 selected devices were updated.\nClick the Exit button to quit the "
                "application.",
                0, "1.10", 1, "Vorpad 49 1.07->1.10 updated; Vorpad 61 1.07->1.07 not started"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(WizardTest, withoutAControlInterfaceThePageSaysWhy)
{
    ASSERT_TRUE(load());
    environment.hasDeviceControl = false;
    Oxa::UpdaterWizard wizard(configuration, environment);
    DevicesPage *page = devicesPage(wizard);
    auto *note = page->findChild<QLabel *>(QStringLiteral("Driver Note"));
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().contains(QStringLiteral("Windows driver")));
    EXPECT_EQ(page->labelText(), NoDevicesLabel);
}

TEST_F(WizardTest, controllersThatCannotBeOpenedAreExplainedInsteadOfListingNothing)
{
    ASSERT_TRUE(load());
    environment.accessAdvice = [] { return QStringLiteral("Install the udev rule 70-vorpad.rules."); };
    Oxa::UpdaterWizard wizard(configuration, environment);
    DevicesPage *page = devicesPage(wizard);
    EXPECT_TRUE(page->labelText().contains(QStringLiteral("70-vorpad.rules"))) << page->labelText().toStdString();
}

TEST_F(WizardTest, aPackageThatDoesNotLoadEndsWithTheCorruptedMessageAndStatusOne)
{
    writeFile(QStringLiteral("config.xml"), "<updaterApp><packager><title>T</title>");
    EXPECT_EQ(Oxa::runUpdater(configuration, options(), environment), 1);
    EXPECT_EQ(prompts.corruptedTitle, QStringLiteral("Zel Firmware Updater"));
}

TEST_F(WizardTest, exitOnTheFinalPageEndsTheProgramWithStatusZero)
{
    ASSERT_TRUE(load());
    attach(49, 1);
    bool timedOut = false;
    QTimer::singleShot(0, [&] {
        Oxa::UpdaterWizard *wizard = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            wizard = wizard ? wizard : qobject_cast<Oxa::UpdaterWizard *>(widget);
        ASSERT_NE(wizard, nullptr);
        DevicesPage *page = devicesPage(*wizard);
        page->doUpdate();
        ASSERT_EQ(page->state(), DevicesPage::State::Complete);
        QTimer::singleShot(5000, wizard, [&timedOut, wizard] {
            timedOut = true;
            wizard->reject();
        });
        QTest::mouseClick(button(page, "Exit Button"), Qt::LeftButton);
    });
    EXPECT_EQ(Oxa::runUpdater(configuration, options(), environment), 0);
    EXPECT_FALSE(timedOut);
}

// The sample package, changed by a row and copied into a folder of its own
// (not the program's), then loaded and drawn as --screenshot does.
struct PackageCase {
    const char *name;
    void (*change)(QByteArray &config, QByteArray &image);
    bool simulated;
    int code;
    const char *prompt; // "corrupted", "simulatedOnly" or "" for none
    int devices;        // listed after loading
    bool upgradable;
};

std::ostream &operator<<(std::ostream &out, const PackageCase &c) { return out << c.name; }

class SamplePackage : public WizardTest, public testing::WithParamInterface<PackageCase>
{
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_P(SamplePackage, loadsOrIsRefusedBeforeAnyDeviceIsTouched)
{
    const PackageCase &c = GetParam();
    const QDir sample(QStringLiteral(SAMPLE_PACKAGE_DIR));
    QByteArray config = readAll(sample.filePath(QStringLiteral("config.xml")));
    QByteArray image = readAll(sample.filePath(QStringLiteral("vorpad-1.10.bin")));
    ASSERT_FALSE(image.isEmpty());
    c.change(config, image);
    writeFile(QStringLiteral("config.xml"), config);
    writeFile(QStringLiteral("vorpad-1.10.bin"), image);
    attach(49, 1);
    TestSupport::RecordingDeviceControl recording(control);
    Oxa::UpdaterConfiguration loaded(QDir(QCoreApplication::applicationDirPath()), &recording);
    environment.simulated = c.simulated;
    EXPECT_EQ(Oxa::runUpdater(loaded,
                              options({QStringLiteral("--screenshot"), m_dir.filePath(QStringLiteral("shot.png"))}),
                              environment),
              c.code);
    EXPECT_EQ(prompts.corruptedTitle.isEmpty(), std::string(c.prompt) != "corrupted");
    EXPECT_EQ(prompts.simulatedOnlyShown, std::string(c.prompt) == "simulatedOnly" ? 1 : 0);
    if (c.code != 0) {
        EXPECT_TRUE(recording.requests().empty());
        EXPECT_EQ(recording.opened(), 0);
        return;
    }
    const Oxa::UpdaterServices &services = *loaded.services();
    EXPECT_EQ(services.deviceCount(), c.devices);
    EXPECT_EQ(services.anyUpgradable(), c.upgradable);
    EXPECT_EQ(services.processFilter(), std::vector<std::string>{"ZELVorpad"});
}

void unchanged(QByteArray &, QByteArray &) {}
void truncated(QByteArray &, QByteArray &image) { image.chop(64); }
void replaceDigest(QByteArray &config, const QString &attribute)
{
    config =
        QString::fromUtf8(config).replace(QRegularExpression(QStringLiteral(" sha256=\"[^\"]*\"")), attribute).toUtf8();
}
void truncatedWithoutDigest(QByteArray &config, QByteArray &image)
{
    replaceDigest(config, {});
    image.chop(64);
}
void digestNotHex(QByteArray &config, QByteArray &) { replaceDigest(config, QStringLiteral(" sha256=\"1234\"")); }
void prettyPrinted(QByteArray &config, QByteArray &)
{
    for (const char *tag : {"revision", "image", "pid", "processFilter"}) {
        const QRegularExpression element(QStringLiteral("(<%1[^>]*>)([^<]*)(</%1>)").arg(QLatin1String(tag)));
        config = QString::fromUtf8(config).replace(element, QStringLiteral("\\1\n      \\2\n    \\3")).toUtf8();
    }
}
void twoClassesMatchOneDevice(QByteArray &config, QByteArray &)
{
    const qsizetype begin = config.indexOf("<deviceClass");
    const qsizetype end = config.indexOf("</deviceClass>") + qsizetype(sizeof "</deviceClass>" - 1);
    config.insert(end, config.mid(begin, end - begin));
}

INSTANTIATE_TEST_SUITE_P(
    Wizard, SamplePackage,
    testing::Values(PackageCase{"loadsFromItsOwnFolder", unchanged, true, 0, "", 1, true},
                    PackageCase{"truncatedImageRefusedAtLoad", truncated, true, 1, "corrupted", 0, false},
                    PackageCase{"withoutDigestLoadsAsBefore", truncatedWithoutDigest, true, 0, "", 1, true},
                    PackageCase{"digestNotHex", digestNotHex, true, 1, "corrupted", 0, false},
                    PackageCase{"simulatedOnlyWithoutSimulate", unchanged, false, 1, "simulatedOnly", 0, false},
                    PackageCase{"prettyPrintedTexts", prettyPrinted, true, 0, "", 1, true},
                    PackageCase{"twoClassesMatchOneDevice", twoClassesMatchOneDevice, true, 0, "", 1, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(UpdaterOptions, parseTheSimulatedSizeScreenshotAndConfigPath)
{
    struct Case {
        QStringList arguments;
        QString config;
        QString screenshot;
        std::optional<int> simulate;
        bool error;
    };
    const Case cases[] = {
        {{}, {}, {}, std::nullopt, false},
        {{QStringLiteral("--simulate")}, {}, {}, 49, false},
        {{QStringLiteral("--simulate=61"), QStringLiteral("p/config.xml")},
         QStringLiteral("p/config.xml"),
         {},
         61,
         false},
        {{QStringLiteral("--simulate=30")}, {}, {}, std::nullopt, true},
        {{QStringLiteral("--screenshot"), QStringLiteral("a.png")}, {}, QStringLiteral("a.png"), std::nullopt, false},
        {{QStringLiteral("--screenshot=b.png")}, {}, QStringLiteral("b.png"), std::nullopt, false},
        {{QStringLiteral("a.xml"), QStringLiteral("b.xml")}, QStringLiteral("a.xml"), {}, std::nullopt, true},
    };
    for (const Case &c : cases) {
        const Oxa::ProgramOptions o = Oxa::parseOptions(QStringList{QStringLiteral("Updater")} + c.arguments);
        const std::string text = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(o.configPath, c.config) << text;
        EXPECT_EQ(o.screenshot, c.screenshot) << text;
        EXPECT_EQ(o.simulate, c.simulate) << text;
        EXPECT_EQ(!o.error.isEmpty(), c.error) << text;
    }
    EXPECT_EQ(Oxa::parseOptions({QStringLiteral("Updater")}).configFile(QStringLiteral("/opt/updater")),
              QStringLiteral("/opt/updater/config.xml"));
}

} // namespace
