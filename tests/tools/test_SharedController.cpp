#include "platform/sim/SimulatedPlatform.h"
#include "simulator/Controller.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ProgramRun.h"
#include "tests/tools/CtlRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The editor (a simulated machine of this process, running throughout) and
// vorpadctl (a process of its own) on one simulated controller: neither may
// discard what the other wrote.
TEST(SharedSimulatedController, AnEditAfterARestoreByAnotherProgramKeepsTheRestore)
{
    QTemporaryDir data, files;
    ASSERT_TRUE(data.isValid() && files.isValid());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    Platform::SimulatedPlatform editor(25);

    const QString bank = files.filePath("edited.vpb");
    ASSERT_EQ(run({"new-bank", bank.toStdString()}).code, 0);
    QFile file(bank);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(25 + 361 * 6 + 8 + 23); // semitone of patch 7
    file.write("\x30", 1);
    file.close();
    const ProgramRun restore = runProgram(VORPADCTL_PATH, {"restore", bank, "--simulate=25"}, {.timeoutMs = 60000});
    ASSERT_TRUE(restore.finished);
    ASSERT_EQ(restore.code, 0) << restore.err.toStdString();

    FileBytes::Bytes edited = FileBytes::defaultPatch();
    edited[23] = 0x21;
    const FileBytes::Bytes transfer = FileBytes::patchTransfer(edited, 16);
    editor.controller().receive(transfer.data(), transfer.size());

    Sim::Controller later(25);
    later.setStateFile(QDir(data.path()).filePath("vorpad/simulated-25.syx").toStdString());
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(later.patch(7)[23], 0x30);
    EXPECT_EQ(later.patch(16)[23], 0x21);
}

} // namespace
