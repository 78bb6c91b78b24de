// The editor as a program: hand-over between processes, a refused channel,
// no display, pictures. These start processes, so they run apart from the
// threaded tests (the thread sanitizer cannot follow a fork).
#include "editor/app/Application.h"
#include "editor/app/SingleInstance.h"
#include "editor/app/files/BankFile.h"
#include "editor/core/model/CBPatch.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/ChannelFolderRules.h"
#include "tests/support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString editorPath() { return QStringLiteral(ZELVORPAD_PATH); }

// A process of the editor, run to its end; its exit code.
int runEditor(const QStringList &arguments) { return runProgram(editorPath(), arguments).code; }

// Whether a starting editor's channel came up within 10 s.
bool channelUp(const SingleInstance &instance)
{
    return QTest::qWaitFor([&] { return QFile::exists(instance.socketPath()); }, 10000);
}

TEST(HandOver, ASecondEditorHandsItsFileOverAndExitsZero)
{
    SingleInstance running{QLatin1String(Application::Identifier)};
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &SingleInstance::messageReceived);

    EXPECT_EQ(runEditor({QStringLiteral("/tmp/my"), QStringLiteral("bank.vpb")}), 0);
    EXPECT_EQ(runEditor({}), 0);
    ASSERT_TRUE(received.count() >= 2 || received.wait(2000));
    EXPECT_EQ(received.at(0).at(0).toString(), QStringLiteral("/tmp/my bank.vpb"));
    EXPECT_EQ(received.at(1).at(0).toString(), QString());
}

TEST(HandOver, AKilledEditorIsReplacedByTheNextStart)
{
    QProcess editor;
    editor.start(editorPath(), {});
    ASSERT_TRUE(editor.waitForStarted());
    SingleInstance next{QLatin1String(Application::Identifier)};
    ASSERT_TRUE(channelUp(next));
    ASSERT_TRUE(sendFromThread(QLatin1String(Application::Identifier), QString(), 5000));
    editor.kill();
    editor.waitForFinished();

    EXPECT_FALSE(next.sendMessage(QString(), 5000));
    EXPECT_TRUE(next.listen());
}

// A bank whose 16 patches are named after the tag.
QByteArray taggedBank(const char *tag)
{
    CBPatch &model = CBPatch::instance();
    std::vector<Byte> settings(BankSettingsSize + 3);
    model.initBankSettings(settings.data());
    settings.resize(BankSettingsSize);
    std::vector<std::vector<Byte>> patches, zones;
    for (int p = 0; p < StoredPatchCount; ++p) {
        std::vector<Byte> patch(PatchImageSize), zone(ZonesImageSize);
        model.initPatch(patch.data());
        model.initZones(zone.data());
        std::string name = tag + std::to_string(p);
        name.resize(NameLength, ' ');
        model.setString(PatchName, name.c_str(), patch.data());
        patches.push_back(patch);
        zones.push_back(zone);
    }
    return BankFile::toBytes(settings, patches, zones);
}

TEST(HandOver, TheRunningEditorOpensTheFileAndSendsItToTheController)
{
    QTemporaryDir folder;
    const QString bank = folder.filePath("handed over.vpb");
    QFile file(bank);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(taggedBank("Handed"));
    file.close();

    QProcess running;
    running.start(editorPath(), {QStringLiteral("--simulate=49")});
    ASSERT_TRUE(running.waitForStarted());
    ASSERT_TRUE(channelUp(SingleInstance{QLatin1String(Application::SimulatedIdentifier)}));

    // The path arrives split at its blank and is rebuilt.
    EXPECT_EQ(runEditor({QStringLiteral("--simulate=49"), folder.filePath("handed"), QStringLiteral("over.vpb")}), 0);
    // The simulated controller keeps what it stores in its state file.
    const QString state = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/vorpad/simulated-49.syx");
    QByteArray stored;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            QFile contents(state);
            stored = contents.open(QIODevice::ReadOnly) ? contents.readAll() : stored;
            return stored.contains("Handed0") && stored.contains("Handed15");
        },
        10000));
    running.kill();
    running.waitForFinished();
}

TEST_F(ChannelFolderRules, TheEditorRunsWithoutARefusedChannelAndSaysSo)
{
    ASSERT_TRUE(QDir().mkdir(folder));
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    QProcess editor;
    editor.setReadChannel(QProcess::StandardError);
    editor.start(editorPath(), {});
    ASSERT_TRUE(editor.waitForStarted());
    QByteArray errors;
    while (!errors.contains("single-instance channel not used") && editor.waitForReadyRead(10000))
        errors += editor.readAllStandardError();
    EXPECT_EQ(editor.state(), QProcess::Running);
    editor.kill();
    editor.waitForFinished();
    EXPECT_TRUE(errors.contains("single-instance channel not used")) << errors.constData();
}

// ---- The program ----------------------------------------------------------------

TEST(Program, WithoutADisplaySaysHowToRunIt)
{
    const ProgramRun run = runProgram(editorPath(), {}, {.environment = withoutDisplay()});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains("xvfb-run") && run.err.contains("--screenshot")) << run.err.constData();
}

TEST(Program, ScreenshotDrawsTheConnectedWindowOrFails)
{
    QTemporaryDir folder;
    const QString picture = folder.filePath("window.png");
    EXPECT_EQ(runEditor({"--simulate=25", "--screenshot", picture}), 0);
    EXPECT_GT(QImage(picture).width(), 800);
    EXPECT_EQ(runEditor({"--simulate=25", "--screenshot", folder.filePath("no/such/folder/w.png")}), 1);
}

// ---- The command line ------------------------------------------------------------

// One start of the editor in a folder of its own that holds the files "a.vpp"
// and "bad.vpp", neither a valid patch; "%1" in an argument or expectation stands
// for that folder. With `listening`, a running editor's channel waits for a
// hand-over and `handedOver` is what it must receive.
struct CommandLineCase {
    const char *name;
    QStringList arguments;
    bool display;
    int exitCode;
    const char *output;
    const char *errors;
    bool listening = false;
    const char *handedOver = nullptr;
    const char *picture = nullptr;
};

class CommandLine : public ::testing::TestWithParam<CommandLineCase>
{
};

TEST_P(CommandLine, Runs)
{
    const CommandLineCase &c = GetParam();
    QTemporaryDir folder;
    const auto expand = [&folder](const QString &text) { return QString(text).replace("%1", folder.path()); };
    for (const char *name : {"a.vpp", "bad.vpp"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a patch") > 0);
    }
    ASSERT_EQ(::mkfifo(qPrintable(folder.filePath("pipe.vpp")), 0600), 0);

    SingleInstance running{QLatin1String(Application::Identifier)};
    ASSERT_TRUE(!c.listening || running.listen());
    QSignalSpy received(&running, &SingleInstance::messageReceived);

    QStringList arguments = c.arguments;
    arguments.replaceInStrings("%1", folder.path());
    const ProgramRun run =
        runProgram(editorPath(), arguments,
                   {.environment = c.display ? QProcessEnvironment::systemEnvironment() : withoutDisplay(),
                    .workingDirectory = folder.path()});

    ASSERT_NE(run.code, -1) << "did not end: " << run.err.constData();
    EXPECT_EQ(run.code, c.exitCode) << run.err.constData();
    EXPECT_TRUE(run.out.contains(c.output)) << run.out.constData();
    EXPECT_TRUE(run.err.contains(expand(c.errors).toUtf8())) << run.err.constData();
    if (c.handedOver) {
        ASSERT_TRUE(received.count() > 0 || received.wait(2000));
        EXPECT_EQ(received.at(0).at(0).toString(), expand(c.handedOver));
    }
    if (c.picture) {
        EXPECT_GT(QImage(expand(c.picture)).width(), 800);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Editor, CommandLine,
    ::testing::Values(
        CommandLineCase{"HelpNeedsNoDisplay", {"--help"}, false, 0, "Usage: ZELVorpad", ""},
        CommandLineCase{"VersionNeedsNoDisplay", {"--version"}, false, 0, "ZELVorpad " VORPAD_VERSION "\n", ""},
        CommandLineCase{"HelpWinsOverAnError", {"--simulate=7", "-h"}, false, 0, "--screenshot FILE.png", ""},
        CommandLineCase{
            "SimulateSizeAfterABlankIsAUsageError", {"--simulate", "61"}, true, 2, "", "--simulate=61", true},
        CommandLineCase{"UnknownSizeIsAUsageError", {"--simulate=7"}, true, 2, "", "Usage: ZELVorpad"},
        CommandLineCase{"ScreenshotWithoutAFileIsAUsageError", {"--screenshot"}, true, 2, "", "Usage: ZELVorpad"},
        CommandLineCase{"ScreenshotDrawsTheDialogItWouldWaitFor",
                        {"--simulate=25", "--screenshot", "%1/w.png", "bad.vpp"},
                        true,
                        1,
                        "",
                        "dialog",
                        false,
                        nullptr,
                        "%1/w.png"},
        CommandLineCase{"AFifoIsRefusedAsInvalidNotMissing",
                        {"--simulate=25", "--screenshot", "%1/w.png", "pipe.vpp"},
                        true,
                        1,
                        "",
                        "the picture): This patch file is invalid\n",
                        false,
                        nullptr,
                        "%1/w.png"},
        CommandLineCase{"RelativeFileIsHandedOverWithThisFolder", {"a.vpp"}, true, 0, "", "", true, "%1/a.vpp"},
        CommandLineCase{"MissingFileIsReportedAndHandedOver",
                        {"no", "such.vpp"},
                        true,
                        0,
                        "",
                        "no such file: %1/no such.vpp",
                        true,
                        "%1/no such.vpp"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
