// The Updater program as a user starts it: its command line, exit status and
// terminal output, run as a process against the sample package.
#include "tests/support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString updaterPath() { return QStringLiteral(UPDATER_PATH); }

QString samplePackage() { return QFileInfo(updaterPath()).dir().filePath(QStringLiteral("config.xml")); }

struct CommandCase {
    const char *name;
    QStringList arguments; // %PNG% the picture, %PACKAGE% the sample package, %BROKEN% a broken one
    bool display;
    int code;
    const char *out; // contained in stdout; "" for nothing at all
    const char *err; // contained in stderr; "" for nothing at all
    bool picture;    // a PNG was written
};

std::ostream &operator<<(std::ostream &out, const CommandCase &c) { return out << c.name; }

class UpdaterCommandLine : public testing::TestWithParam<CommandCase>
{
protected:
    ProgramRun start(QStringList arguments, bool display)
    {
        QFile broken(m_dir.filePath(QStringLiteral("broken.xml")));
        EXPECT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("<updaterApp><packager>");
        broken.close();
        arguments.replaceInStrings(QStringLiteral("%PNG%"), picture());
        arguments.replaceInStrings(QStringLiteral("%PACKAGE%"), samplePackage());
        arguments.replaceInStrings(QStringLiteral("%BROKEN%"), broken.fileName());

        ProgramStart start{.environment = withoutDisplay({"VORPAD_SIMULATE", "VORPAD_UPDATER_DEBUG"})};
        if (display)
            start.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        start.environment.insert(QStringLiteral("HOME"), m_dir.path());
        start.environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path()); // as a session has it, mode 0700
        start.environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        const ProgramRun run = runProgram(updaterPath(), arguments, start);
        EXPECT_TRUE(run.finished);
        return run;
    }
    QString picture() const { return m_dir.filePath(QStringLiteral("shot.png")); }

    QTemporaryDir m_dir;
};

void expectOutput(const QByteArray &output, const char *expected)
{
    if (*expected == '\0')
        EXPECT_EQ(output.toStdString(), "");
    else
        EXPECT_TRUE(output.contains(expected)) << output.toStdString();
}

TEST_P(UpdaterCommandLine, exitsAsDocumented)
{
    const CommandCase &c = GetParam();
    const ProgramRun run = start(c.arguments, c.display);
    EXPECT_EQ(run.code, c.code) << run.err.toStdString();
    expectOutput(run.out, c.out);
    expectOutput(run.err, c.err);
    EXPECT_EQ(!QImage(picture()).isNull(), c.picture);
}

const QString Png = QStringLiteral("%PNG%");
const QString Package = QStringLiteral("%PACKAGE%");
const QString Shot = QStringLiteral("--screenshot");
const QString Simulate = QStringLiteral("--simulate");

INSTANTIATE_TEST_SUITE_P(
    Updater, UpdaterCommandLine,
    testing::Values(
        CommandCase{"helpWithoutDisplay", {QStringLiteral("--help")}, false, 0, "usage: Updater", "", false},
        CommandCase{"versionWithoutDisplay",
                    {QStringLiteral("--version")},
                    false,
                    0,
                    "Updater " VORPAD_VERSION "\n",
                    "",
                    false},
        CommandCase{"simulateWithABlank", {Simulate, QStringLiteral("61")}, true, 2, "", "--simulate=61", false},
        CommandCase{"unknownOption", {QStringLiteral("--verbose")}, true, 2, "", "usage: Updater", false},
        CommandCase{"screenshotWithoutFile", {Shot}, true, 2, "", "--screenshot needs", false},
        CommandCase{"noDisplaySaysHowToRun", {Simulate, Package}, false, 1, "", "xvfb-run -a", false},
        // A message box is drawn instead of waiting for an answer.
        CommandCase{"screenshotOfABrokenPackage", {Shot, Png, QStringLiteral("%BROKEN%")}, false, 1, "", "", true},
        // Nothing on the terminal: no debug lines.
        CommandCase{"screenshotOfTheDevices", {Simulate, Shot, Png, Package}, false, 0, "", "", true}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
