#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/core/model/CBPatch.h"
#include "tools/vorpadctl/Commands.h"
#include "tools/vorpadctl/FileValues.h"

#include <QString>

#include <algorithm>
#include <map>

namespace {

QString qpath(const std::string &path) { return QString::fromStdString(path); }

bool write(const std::string &path, const QByteArray &bytes) { return SysExFile::writeAll(qpath(path), bytes); }

int newPatch(const CommandLine &line, Io &io)
{
    const std::string &path = line.positional[0];
    if (!isPatchFile(qpath(path)))
        return fail(line, io, path + ": a patch file name ends in .vpp");
    std::vector<Byte> patch(PatchImageSize), zones(ZonesImageSize);
    CBPatch::instance().initPatch(patch.data());
    CBPatch::instance().initZones(zones.data());
    if (!write(path, PatchFile::toBytes(patch, zones)))
        return fail(line, io, path + ": cannot write the file");
    return ExitOk;
}

int newBank(const CommandLine &line, Io &io)
{
    const std::string &path = line.positional[0];
    if (!isBankFile(qpath(path)))
        return fail(line, io, path + ": a bank file name ends in .vpb");
    std::vector<Byte> settings(sizeof(BankSettingsRecord));
    std::vector<Byte> patch(PatchImageSize), zones(ZonesImageSize);
    CBPatch &model = CBPatch::instance();
    model.initBankSettings(settings.data());
    settings.resize(BankSettingsSize);
    model.initPatch(patch.data());
    model.initZones(zones.data());
    const std::vector<std::vector<Byte>> patches(StoredPatchCount, patch), allZones(StoredPatchCount, zones);
    if (!write(path, BankFile::toBytes(settings, patches, allZones)))
        return fail(line, io, path + ": cannot write the file");
    return ExitOk;
}

int show(const CommandLine &line, Io &io)
{
    std::string error;
    const std::optional<FileValues> values = FileValues::load(line.positional[0], error, line.raw);
    if (!values)
        return fail(line, io, error);
    if (!values->notice().empty())
        warn(line, io, line.positional[0] + ": " + values->notice());
    io.out << (line.json ? values->toJson() : values->toText());
    return ExitOk;
}

int diff(const CommandLine &line, Io &io)
{
    std::string error;
    const std::optional<FileValues> a = FileValues::load(line.positional[0], error, line.raw);
    if (!a)
        return fail(line, io, error);
    const std::optional<FileValues> b = FileValues::load(line.positional[1], error, line.raw);
    if (!b)
        return fail(line, io, error);
    if (a->isBank() != b->isBank())
        return fail(line, io, "cannot compare a patch file with a bank file");
    const std::vector<std::string> differences = FileValues::differences(*a, *b);
    for (const std::string &text : differences)
        io.out << text << '\n';
    return differences.empty() ? ExitOk : ExitFailed;
}

int set(const CommandLine &line, Io &io)
{
    const std::string &path = line.positional[0];
    if (!isPatchFile(qpath(path)))
        return fail(line, io, path + ": set changes patch files (.vpp) only");
    PatchFile file = PatchFile::read(qpath(path));
    if (!file.valid)
        return fail(line, io, path + ": " + InvalidPatchFileText);
    std::string error;
    if (!FileValues::setPatchValue(file, line.positional[1], line.positional[2], line.raw, error))
        return fail(line, io, error);
    if (!write(path, PatchFile::toBytes(file.patchImage, file.zonesImage)))
        return fail(line, io, path + ": cannot write the file");
    return ExitOk;
}

} // namespace

const std::vector<CommandSpec> &fileCommands()
{
    static const std::vector<CommandSpec> commands{
        {"new-patch", "FILE.vpp", "Write a patch file holding the factory default patch and zones.", 0, 1, 1, newPatch},
        {"new-bank", "FILE.vpb", "Write a bank file holding the factory default bank settings and 16 patches.", 0, 1, 1,
         newBank},
        {"show", "FILE [--json] [--raw]",
         "Check a patch (.vpp) or bank (.vpb) file and print every parameter by name, the numbers as the\n"
         "editor shows them: channels 1-16, octave -4..+4, semitone -64..+63, curve 1-8, notes with their\n"
         "names (\"36 (C2)\"). Exits 1 with the file's invalid message when it does not load.",
         CommandLine::Json | CommandLine::Raw, 1, 1, show},
        {"diff", "A B [--raw]",
         "Print the parameters that differ between two patch files or two bank files.\n"
         "Exits 0 when they are equal, 1 when they differ.",
         CommandLine::Raw, 2, 2, diff},
        {"set", "FILE.vpp NAME VALUE [--raw]",
         "Change one parameter of a patch file (names and numbers as 'show' prints them).\n"
         "A value the model refuses leaves the file unchanged and exits 1.",
         CommandLine::Raw, 3, 3, set},
    };
    return commands;
}
