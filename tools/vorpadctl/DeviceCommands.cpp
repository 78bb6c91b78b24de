#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileFeedback.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/FileOperations.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/core/DeviceConnection.h"
#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"
#include "platform/MidiSelection.h"
#include "tools/vorpadctl/Commands.h"
#include "tools/vorpadctl/DeviceAccess.h"

#include "editor/core/model/DisplayValues.h"

#include <QFileInfo>
#include <QString>

#include <cstdlib>
#include <iomanip>

namespace {

using Brisel::DeviceRecord;
using Brisel::RemoteControlManager;

// The file layer's messages as text on stderr.
class TextFeedback : public FileFeedback
{
public:
    TextFeedback(const CommandLine &line, Io &io) : m_line(line), m_io(io) {}

    void reportInvalidFile(const QString &text) override { fail(m_line, m_io, text.toStdString()); }
    // Named as show names it: restore reads one file, its first argument.
    void reportNotice(const QString &text) override
    {
        warn(m_line, m_io, m_line.positional[0] + ": " + text.toStdString());
    }
    void reportLoadFailure(const QString &text) override { fail(m_line, m_io, text.toStdString()); }
    bool askToSaveBank() override
    {
        m_io.err << "vorpadctl " << m_line.command << ": the bank's unsaved patches are replaced\n";
        return true;
    }

private:
    const CommandLine &m_line;
    Io &m_io;
};

std::string modelText(int model)
{
    const Brisel::KeyboardRange range = Brisel::keyboardRange(model);
    return range.keyCount > 0 ? std::to_string(range.keyCount) + " keys" : "unknown size";
}

int devices(const CommandLine &line, Io &io)
{
    selectSimulationIfAsked(line);
    const std::vector<DeviceRecord> records = deviceList();
    if (records.size() <= 1) {
        io.out << "no controller found\n";
        return ExitOk;
    }
    io.out << std::left << std::setw(5) << "POS" << std::setw(32) << "NAME" << std::setw(6) << "ID" << std::setw(14)
           << "MODEL"
           << "FIRMWARE\n";
    for (std::size_t i = 1; i < records.size(); ++i) {
        const DeviceRecord &r = records[i];
        io.out << std::left << std::setw(5) << i << std::setw(32) << r.name << std::setw(6) << r.deviceId
               << std::setw(14) << modelText(r.model) << DisplayValues::firmwareText(r.firmware) << '\n';
    }
    return ExitOk;
}

int backup(const CommandLine &line, Io &io)
{
    const std::string &bankPath = line.positional[0];
    const std::string patchPath = line.positional.size() > 1 ? line.positional[1] : std::string();
    if (!isBankFile(QString::fromStdString(bankPath)))
        return fail(line, io, bankPath + ": a bank file name ends in .vpb");
    if (!patchPath.empty() && !isPatchFile(QString::fromStdString(patchPath)))
        return fail(line, io, patchPath + ": a patch file name ends in .vpp");
    // Checked before the controller is asked: a backup never replaces a file unasked.
    for (const std::string &path : {bankPath, patchPath}) {
        if (!path.empty() && !line.force && QFileInfo::exists(QString::fromStdString(path)))
            return fail(line, io, path + ": the file exists (--force overwrites it)");
    }

    selectSimulationIfAsked(line);
    ManagerSession session;
    RemoteControlManager &manager = session.manager;
    if (!connect(line, io, manager) || !downloadComplete(line, io, manager))
        return ExitFailed;
    Brisel::Bank &bank = manager.bank();
    const QByteArray bankBytes =
        BankFile::toBytes(bank.settings(), storedImages(bank, false), storedImages(bank, true));
    if (bankBytes.isEmpty() || !SysExFile::writeAll(QString::fromStdString(bankPath), bankBytes))
        return fail(line, io, bankPath + ": cannot write the file");
    if (!patchPath.empty()) {
        Brisel::ActivePatch &active = manager.activePatch();
        const QByteArray patchBytes = PatchFile::toBytes(active.patchImage(), active.zonesImage());
        if (patchBytes.isEmpty() || !SysExFile::writeAll(QString::fromStdString(patchPath), patchBytes))
            return fail(line, io, patchPath + ": cannot write the file");
    }
    return ExitOk;
}

int restore(const CommandLine &line, Io &io)
{
    const std::string &path = line.positional[0];
    const QString qpath = QString::fromStdString(path);
    if (!isBankFile(qpath))
        return fail(line, io, path + ": a bank file name ends in .vpb");
    // A FIFO or a folder exists: the reader refuses it as an invalid file.
    if (!QFileInfo::exists(qpath))
        return fail(line, io, path + ": no such file");
    const BankFile file = BankFile::read(qpath);
    if (!file.valid)
        return fail(line, io, path + ": " + InvalidBankFileText);

    selectSimulationIfAsked(line);
    ManagerSession session;
    RemoteControlManager &manager = session.manager;
    if (!connect(line, io, manager))
        return ExitFailed;
    TextFeedback feedback(line, io);
    // Loading sends every stored patch, the zones, the bank settings and the
    // active patch as the model changes.
    if (!FileOperations(manager, feedback).loadBankFile(qpath))
        return ExitFailed;
    // Read everything back: the controller has the bank only when it says so.
    if (!downloadComplete(line, io, manager))
        return ExitFailed;
    Brisel::Bank &bank = manager.bank();
    const bool same = bank.settings() == file.settings && storedImages(bank, false) == file.patchImages &&
                      (file.zonesImages.empty() || storedImages(bank, true) == file.zonesImages);
    if (!same)
        return fail(line, io, manager.currentDevice().name + ": the controller did not keep the bank");
    return ExitOk;
}

} // namespace

// Selects the simulated machine when asked for on the command line or in the
// environment; otherwise the implementation in place stays. Each command
// starts a fresh machine whose controller reads its contents back from its
// state file, as a new process would.
void selectSimulationIfAsked(const CommandLine &line)
{
    std::optional<int> keys = line.simulate;
    if (!keys)
        keys = Platform::simulatedKeys(0, nullptr, std::getenv("VORPAD_SIMULATE"));
    if (keys)
        Platform::selectSimulated(*keys);
}

const std::vector<CommandSpec> &deviceCommands()
{
    static const std::vector<CommandSpec> commands{
        {"devices", "[--simulate[=MODEL]]",
         "Scan the MIDI ports and list the controllers found: position, name, device ID, model and firmware.",
         CommandLine::Simulate, 0, 0, devices},
        {"backup", "BANK.vpb [PATCH.vpp] [--force] [--device N] [--simulate[=MODEL]]",
         "Download the whole bank of a controller and write it to a bank file, and its active patch to a patch\n"
         "file when one is given. A file that exists is kept unless --force is given.",
         CommandLine::Force | CommandLine::Device | CommandLine::Simulate, 1, 2, backup},
        {"restore", "BANK.vpb [--device N] [--simulate[=MODEL]]",
         "Load a bank file and send it to a controller: every stored patch, the zones, the bank settings and\n"
         "the active patch (the bank's current patch). The bank is read back to check it.",
         CommandLine::Device | CommandLine::Simulate, 1, 1, restore},
    };
    return commands;
}
