#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileFeedback.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/FileOperations.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/core/Bank.h"
#include "editor/core/PatchValues.h"
#include "editor/library/PatchLibrary.h"
#include "tools/vorpadctl/Commands.h"
#include "tools/vorpadctl/DeviceAccess.h"

#include <QTemporaryDir>

namespace {

constexpr char LibraryPrefix[] = "library:";

QString qpath(const std::string &path) { return QString::fromStdString(path); }

// A slot as users count them, 1..16; nothing (reported) otherwise.
std::optional<int> slotIndex(const CommandLine &line, Io &io, const std::string &arg)
{
    const std::optional<int> slot = toInt(arg);
    if (slot && *slot >= 1 && *slot <= StoredPatchCount)
        return *slot - 1;
    fail(line, io, "'" + arg + "' is not a slot (1..16)");
    return std::nullopt;
}

std::optional<BankFile> readBank(const CommandLine &line, Io &io, const std::string &path)
{
    if (!isBankFile(qpath(path))) {
        fail(line, io, path + ": a bank file name ends in .vpb");
        return std::nullopt;
    }
    BankFile file = BankFile::read(qpath(path));
    if (!file.valid) {
        fail(line, io, path + ": " + InvalidBankFileText);
        return std::nullopt;
    }
    return file;
}

// The patch to put: a patch file, or "library:ID" for a library entry.
std::optional<PatchFile> readSource(const CommandLine &line, Io &io, const std::string &source)
{
    if (source.rfind(LibraryPrefix, 0) == 0) {
        const std::optional<int> id = toInt(source.substr(sizeof LibraryPrefix - 1));
        PatchLibrary library(qpath(libraryPath(line)));
        const std::optional<LibraryEntry> entry = id ? library.entry(*id) : std::nullopt;
        if (!entry || entry->kind != EntryKind::Patch) {
            fail(line, io, source + ": no such patch entry in the library");
            return std::nullopt;
        }
        return PatchFile{true, entry->images.patch, entry->images.zones};
    }
    if (!isPatchFile(qpath(source))) {
        fail(line, io, source + ": a patch file name ends in .vpp, a library entry is library:ID");
        return std::nullopt;
    }
    PatchFile file = PatchFile::read(qpath(source));
    if (!file.valid) {
        fail(line, io, source + ": " + InvalidPatchFileText);
        return std::nullopt;
    }
    return file;
}

// The patch was checked before it is loaded, and a failed load is reported
// by the command; what the load notices is passed on as a warning.
class PutFeedback : public FileFeedback
{
public:
    PutFeedback(const CommandLine &line, Io &io) : m_line(line), m_io(io) {}

    void reportInvalidFile(const QString &) override {}
    void reportNotice(const QString &text) override { warn(m_line, m_io, text.toStdString()); }
    void reportLoadFailure(const QString &text) override { warn(m_line, m_io, text.toStdString()); }
    bool askToSaveBank() override { return true; }

private:
    const CommandLine &m_line;
    Io &m_io;
};

int names(const CommandLine &line, Io &io)
{
    std::vector<std::vector<Byte>> patches;
    if (!line.positional.empty()) {
        const std::optional<BankFile> file = readBank(line, io, line.positional[0]);
        if (!file)
            return ExitFailed;
        patches = file->patchImages;
    } else {
        selectSimulationIfAsked(line);
        ManagerSession session;
        if (!connect(line, io, session.manager) || !downloadComplete(line, io, session.manager))
            return ExitFailed;
        patches = storedImages(session.manager.bank(), false);
    }
    for (std::size_t p = 0; p < patches.size(); ++p)
        io.out << p + 1 << ' ' << PatchValues::patchName(patches[p]) << '\n';
    return ExitOk;
}

int extract(const CommandLine &line, Io &io)
{
    const std::optional<BankFile> bank = readBank(line, io, line.positional[0]);
    const std::optional<int> slot = bank ? slotIndex(line, io, line.positional[1]) : std::nullopt;
    if (!slot)
        return ExitFailed;
    const std::string &path = line.positional[2];
    if (!isPatchFile(qpath(path)))
        return fail(line, io, path + ": a patch file name ends in .vpp");
    const std::size_t p = std::size_t(*slot);
    const QByteArray bytes = PatchFile::toBytes(bank->patchImages[p],
                                                bank->zonesImages.empty() ? std::vector<Byte>{} : bank->zonesImages[p]);
    if (!SysExFile::writeAll(qpath(path), bytes))
        return fail(line, io, path + ": cannot write the file");
    return ExitOk;
}

int putIntoBankFile(const CommandLine &line, Io &io, const PatchFile &patch, int slot, const std::string &path)
{
    std::optional<BankFile> bank = readBank(line, io, path);
    if (!bank)
        return ExitFailed;
    bank->patchImages[std::size_t(slot)] = patch.patchImage;
    // A bank file has zones for all its patches or for none.
    if (!bank->zonesImages.empty() && !patch.zonesImage.empty())
        bank->zonesImages[std::size_t(slot)] = patch.zonesImage;
    const QByteArray bytes = BankFile::toBytes(bank->settings, bank->patchImages, bank->zonesImages);
    if (bytes.isEmpty() || !SysExFile::writeAll(qpath(path), bytes))
        return fail(line, io, path + ": cannot write the file");
    return ExitOk;
}

int putIntoController(const CommandLine &line, Io &io, const PatchFile &patch, int slot)
{
    // The file layer's load is the one way a patch reaches a controller's slot.
    QTemporaryDir dir;
    const QString temporary = dir.filePath("put.vpp");
    if (!SysExFile::writeAll(temporary, PatchFile::toBytes(patch.patchImage, patch.zonesImage)))
        return fail(line, io, "cannot write a temporary file");
    selectSimulationIfAsked(line);
    ManagerSession session;
    Brisel::RemoteControlManager &manager = session.manager;
    if (!connect(line, io, manager) || !downloadComplete(line, io, manager))
        return ExitFailed;
    PutFeedback feedback(line, io);
    if (!FileOperations(manager, feedback).loadPatchFile(temporary, slot))
        return fail(line, io, manager.currentDevice().name + ": the patch was not sent");
    if (!downloadComplete(line, io, manager))
        return ExitFailed;
    if (storedImages(manager.bank(), false)[std::size_t(slot)] != patch.patchImage)
        return fail(line, io, manager.currentDevice().name + ": the controller did not keep the patch");
    return ExitOk;
}

int put(const CommandLine &line, Io &io)
{
    const std::optional<PatchFile> patch = readSource(line, io, line.positional[0]);
    const std::optional<int> slot = patch ? slotIndex(line, io, line.positional[1]) : std::nullopt;
    if (!slot)
        return ExitFailed;
    if (line.positional.size() == 3)
        return putIntoBankFile(line, io, *patch, *slot, line.positional[2]);
    return putIntoController(line, io, *patch, *slot);
}

} // namespace

const std::vector<CommandSpec> &slotCommands()
{
    static const std::vector<CommandSpec> commands{
        {"names", "[BANK.vpb] [--device N] [--simulate[=MODEL]]",
         "Print the 16 patch names of a bank file, or of a controller when no file is given: slot and name,\n"
         "one line each.",
         CommandLine::Device | CommandLine::Simulate, 0, 1, names},
        {"extract", "BANK.vpb SLOT PATCH.vpp", "Write the patch in slot SLOT (1..16) of a bank file to a patch file.",
         0, 3, 3, extract},
        {"put", "PATCH.vpp|library:ID SLOT [BANK.vpb] [--device N] [--simulate[=MODEL]]",
         "Put a patch file or a library entry into slot SLOT (1..16) of a bank file, or of a controller when\n"
         "no bank file is given (the controller's bank is read back to check it).",
         CommandLine::Device | CommandLine::Simulate, 2, 3, put},
    };
    return commands;
}
