#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/core/PatchValues.h"
#include "editor/library/LibraryImport.h"
#include "editor/library/LibraryLocation.h"
#include "editor/library/PatchLibrary.h"
#include "platform/MidiSelection.h"
#include "tools/vorpadctl/Commands.h"
#include "tools/vorpadctl/FileValues.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <map>
#include <sstream>
#include <unistd.h>

namespace {

std::string text(const QString &value) { return value.toStdString(); }

std::string when(const QDateTime &time) { return text(time.toString(Qt::ISODate)); }

std::string kindText(EntryKind kind) { return kind == EntryKind::Bank ? "bank" : "patch"; }

std::string sightingText(const Sighting &s)
{
    switch (s.source) {
    case Sighting::Source::Controller:
        return "controller " + text(s.serial) + (s.slot >= 0 ? " slot " + std::to_string(s.slot + 1) : std::string());
    case Sighting::Source::File:
        return "file " + text(s.path) + (s.slot >= 0 ? " position " + std::to_string(s.slot + 1) : std::string());
    case Sighting::Source::Import:
        return "import of " + text(s.path) + (s.slot >= 0 ? " position " + std::to_string(s.slot + 1) : std::string());
    }
    return {};
}

// An ID as the list prints it; nothing (reported) otherwise.
std::optional<qint64> entryId(const CommandLine &line, Io &io, const std::string &arg)
{
    const std::optional<int> id = toInt(arg);
    if (id && *id > 0)
        return *id;
    fail(line, io, "'" + arg + "' is not an entry ID ('vorpadctl library list' shows them)");
    return std::nullopt;
}

std::optional<LibraryEntry> findEntry(const CommandLine &line, Io &io, PatchLibrary &library, const std::string &arg)
{
    const std::optional<qint64> id = entryId(line, io, arg);
    if (!id)
        return std::nullopt;
    QString error;
    std::optional<LibraryEntry> entry = library.entry(*id, &error);
    if (!entry)
        fail(line, io, "no entry " + arg + " in the library");
    return entry;
}

// The parameters of an entry by name, as 'show' prints those of a file.
std::vector<PatchValues::Value> valuesOf(PatchLibrary &library, const LibraryEntry &entry)
{
    if (entry.kind == EntryKind::Patch)
        return PatchValues::ofPatch(entry.images.patch, entry.images.zones);
    std::vector<PatchValues::Value> values = PatchValues::ofBankSettings(entry.settings);
    for (std::size_t p = 0; p < entry.patchIds.size(); ++p) {
        const std::optional<LibraryEntry> patch = library.entry(entry.patchIds[p]);
        if (!patch)
            continue;
        const auto more =
            PatchValues::ofPatch(patch->images.patch, patch->images.zones, "Patch" + std::to_string(p + 1) + ".");
        values.insert(values.end(), more.begin(), more.end());
    }
    return values;
}

QJsonObject summaryJson(const LibraryEntry &e)
{
    return {{"id", e.id},
            {"kind", QString::fromStdString(kindText(e.kind))},
            {"name", e.name},
            {"tags", QJsonArray::fromStringList(e.tags)},
            {"favourite", e.favourite},
            {"note", e.note},
            {"firstSeen", e.firstSeen.toString(Qt::ISODate)},
            {"lastSeen", e.lastSeen.toString(Qt::ISODate)}};
}

int importFolder(const CommandLine &line, Io &io, PatchLibrary &library)
{
    if (line.positional.size() != 2)
        return fail(line, io, "import takes one folder");
    const QString folder = QString::fromStdString(line.positional[1]);
    if (!QFileInfo(folder).isDir())
        return fail(line, io, line.positional[1] + ": no such folder");
    const bool terminal = isatty(STDERR_FILENO) != 0;
    const LibraryImport::Summary summary = LibraryImport::importFolder(library, folder, [&](int done, int total) {
        if (terminal)
            io.err << "\rimporting: " << done << " of " << total << " files" << std::flush;
    });
    if (terminal)
        io.err << '\n';
    io.out << summary.imported << " imported, " << summary.skipped << " skipped (not a valid patch or bank)\n";
    return summary.error.isEmpty() ? ExitOk : fail(line, io, "the library cannot be written: " + text(summary.error));
}

int list(const CommandLine &line, Io &io, PatchLibrary &library)
{
    if (line.positional.size() != 1)
        return fail(line, io, "list takes no arguments");
    QString error;
    LibraryQuery query{QString::fromStdString(line.search), QString::fromStdString(line.tag)};
    query.limit = -1;
    const std::vector<LibraryEntry> entries = library.find(query, &error);
    if (!error.isEmpty())
        return fail(line, io, text(error));
    if (line.json) {
        QJsonArray array;
        for (const LibraryEntry &e : entries)
            array.append(summaryJson(e));
        io.out << QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString();
        return ExitOk;
    }
    for (const LibraryEntry &e : entries) {
        std::ostringstream row;
        row << std::left << std::setw(8) << e.id << std::setw(6) << kindText(e.kind) << std::setw(18)
            << ("\"" + text(e.name) + "\"") << (e.favourite ? "* " : "  ") << text(e.tags.join(","));
        std::string shown = row.str();
        shown.erase(shown.find_last_not_of(' ') + 1); // columns pad only between fields
        io.out << shown << '\n';
    }
    return ExitOk;
}

int show(const CommandLine &line, Io &io, PatchLibrary &library)
{
    if (line.positional.size() != 2)
        return fail(line, io, "show takes one entry ID");
    const std::optional<LibraryEntry> e = findEntry(line, io, library, line.positional[1]);
    if (!e)
        return ExitFailed;
    const std::vector<PatchValues::Value> values = valuesOf(library, *e);
    if (line.json) {
        QJsonObject root = summaryJson(*e);
        QJsonArray seen, parameters;
        for (const Sighting &s : e->sightings)
            seen.append(QString::fromStdString(sightingText(s) + " at " + when(s.seen)));
        for (const PatchValues::Value &v : values)
            parameters.append(
                QJsonObject{{"name", QString::fromStdString(v.name)}, {"value", QString::fromStdString(v.text)}});
        root.insert("seen", seen);
        root.insert("parameters", parameters);
        io.out << QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
        return ExitOk;
    }
    io.out << "entry " << e->id << ": " << kindText(e->kind) << " \"" << text(e->name) << "\"\n"
           << "first seen " << when(e->firstSeen) << ", last seen " << when(e->lastSeen) << '\n';
    if (e->favourite)
        io.out << "favourite\n";
    if (!e->tags.isEmpty())
        io.out << "tags: " << text(e->tags.join(", ")) << '\n';
    if (!e->note.isEmpty())
        io.out << "note: " << text(e->note) << '\n';
    for (const Sighting &s : e->sightings)
        io.out << "seen: " << sightingText(s) << " at " << when(s.seen) << '\n';
    for (const PatchValues::Value &v : values)
        io.out << v.name << " = " << PatchValues::shown(v) << '\n';
    return ExitOk;
}

int exportEntry(const CommandLine &line, Io &io, PatchLibrary &library)
{
    if (line.positional.size() != 3)
        return fail(line, io, "export takes an entry ID and a file");
    const std::optional<LibraryEntry> e = findEntry(line, io, library, line.positional[1]);
    if (!e)
        return ExitFailed;
    const std::string &path = line.positional[2];
    const QString qpath = QString::fromStdString(path);
    QByteArray bytes;
    if (e->kind == EntryKind::Patch) {
        if (!isPatchFile(qpath))
            return fail(line, io, path + ": a patch is exported to a .vpp file");
        bytes = PatchFile::toBytes(e->images.patch, e->images.zones);
    } else {
        if (!isBankFile(qpath))
            return fail(line, io, path + ": a bank is exported to a .vpb file");
        std::vector<std::vector<Byte>> patches, zones;
        for (qint64 id : e->patchIds) {
            const std::optional<LibraryEntry> patch = library.entry(id);
            if (!patch)
                return fail(line, io, "the bank's patch entry " + std::to_string(id) + " is missing");
            patches.push_back(patch->images.patch);
            zones.push_back(patch->images.zones);
        }
        // A bank file has zones for every patch or for none.
        if (std::any_of(zones.begin(), zones.end(), [](const auto &z) { return z.empty(); }))
            zones.clear();
        bytes = BankFile::toBytes(e->settings, patches, zones);
    }
    if (bytes.isEmpty() || !SysExFile::writeAll(qpath, bytes))
        return fail(line, io, path + ": cannot write the file");
    return ExitOk;
}

int tag(const CommandLine &line, Io &io, PatchLibrary &library)
{
    if (line.positional.size() < 3)
        return fail(line, io, "tag takes an entry ID and at least one tag");
    const std::optional<qint64> id = entryId(line, io, line.positional[1]);
    if (!id)
        return ExitFailed;
    QStringList tags;
    for (std::size_t i = 2; i < line.positional.size(); ++i)
        tags << QString::fromStdString(line.positional[i]);
    QString error;
    if (!library.addTags(*id, tags, &error))
        return fail(line, io, "cannot tag entry " + line.positional[1] + ": " + text(error));
    return ExitOk;
}

int compare(const CommandLine &line, Io &io, PatchLibrary &library)
{
    if (line.positional.size() != 3)
        return fail(line, io, "compare takes an entry ID and another ID or a file");
    const std::optional<LibraryEntry> a = findEntry(line, io, library, line.positional[1]);
    if (!a)
        return ExitFailed;
    const std::string &other = line.positional[2];
    std::vector<PatchValues::Value> theirs;
    bool otherIsBank = false;
    if (toInt(other)) {
        const std::optional<LibraryEntry> b = findEntry(line, io, library, other);
        if (!b)
            return ExitFailed;
        theirs = valuesOf(library, *b);
        otherIsBank = b->kind == EntryKind::Bank;
    } else {
        std::string error;
        const std::optional<FileValues> file = FileValues::load(other, error);
        if (!file)
            return fail(line, io, error);
        theirs = file->values();
        otherIsBank = file->isBank();
    }
    if (otherIsBank != (a->kind == EntryKind::Bank))
        return fail(line, io, "cannot compare a patch with a bank");
    const std::vector<std::string> differences = PatchValues::differences(valuesOf(library, *a), theirs);
    for (const std::string &difference : differences)
        io.out << difference << '\n';
    return differences.empty() ? ExitOk : ExitFailed;
}

int library(const CommandLine &line, Io &io)
{
    using Run = int (*)(const CommandLine &, Io &, PatchLibrary &);
    static const std::map<std::string, Run> subcommands{{"import", importFolder}, {"list", list}, {"show", show},
                                                        {"export", exportEntry},  {"tag", tag},   {"compare", compare}};
    const auto it = subcommands.find(line.positional[0]);
    if (it == subcommands.end())
        return fail(line, io, "unknown library command '" + line.positional[0] + "' (see 'vorpadctl library --help')");
    PatchLibrary library(QString::fromStdString(libraryPath(line)));
    const LibraryStatus status = library.status();
    if (status.mode == LibraryStatus::Mode::Unavailable)
        return fail(line, io, "the library cannot be opened: " + text(status.reason));
    if (!status.movedAside.isEmpty())
        io.err << "vorpadctl library: the library was damaged; it was moved to " << text(status.movedAside) << '\n';
    return it->second(line, io, library);
}

} // namespace

std::string libraryPath(const CommandLine &line)
{
    const bool simulated = line.simulate || Platform::simulatedKeys(0, nullptr, std::getenv("VORPAD_SIMULATE"));
    return LibraryLocation::path(simulated).toStdString();
}

const std::vector<CommandSpec> &libraryCommands()
{
    static const std::vector<CommandSpec> commands{
        {"library", "import DIR | list | show ID | export ID FILE | tag ID TAG... | compare ID ID|FILE",
         "The library of every patch and bank the editor has seen ($XDG_DATA_HOME/vorpad/library.sqlite;\n"
         "with --simulate the simulated session's). Safe while the editor runs.\n"
         "  import DIR       add every .vpp, .vpb and .syx file below DIR; invalid files are counted\n"
         "  list             the entries, newest first: ID, kind, name, favourite (*), tags\n"
         "  show ID          an entry: where and when it was seen, its tags, note and parameters\n"
         "  export ID FILE   write a patch entry to a .vpp file, a bank entry to a .vpb file\n"
         "  tag ID TAG...    add tags to an entry\n"
         "  compare ID X     the parameters that differ from another entry or a file; exits 1 when any do",
         CommandLine::Json | CommandLine::Search | CommandLine::Simulate, 1, 64, library},
    };
    return commands;
}
