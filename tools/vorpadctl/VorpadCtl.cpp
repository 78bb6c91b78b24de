#include "tools/vorpadctl/VorpadCtl.h"

#include "platform/MidiSelection.h"
#include "tools/vorpadctl/Commands.h"

#include <algorithm>

namespace {

std::vector<const CommandSpec *> allCommands()
{
    std::vector<const CommandSpec *> out;
    for (const auto *list : {&deviceCommands(), &usbCommands(), &fileCommands(), &slotCommands(), &libraryCommands()}) {
        for (const CommandSpec &spec : *list)
            out.push_back(&spec);
    }
    return out;
}

const CommandSpec *findCommand(const std::string &name)
{
    for (const CommandSpec *spec : allCommands()) {
        if (name == spec->name)
            return spec;
    }
    return nullptr;
}

std::string optionsHelp(unsigned options)
{
    std::string out = "  --help               show this text\n";
    if (options & CommandLine::Json)
        out += "  --json               print JSON instead of text\n";
    if (options & CommandLine::Raw)
        out += "  --raw                numbers as stored (channels 0-15, octave 0-8, semitone 0-127, curve 0-7)\n"
               "                       instead of as the editor shows them\n";
    if (options & CommandLine::Force)
        out += "  --force              overwrite files that exist\n";
    if (options & CommandLine::Device)
        out +=
            "  --device N           use the controller at position N of 'vorpadctl devices' (default 1, the first)\n";
    if (options & CommandLine::Search)
        out += "  --search TEXT        only entries with TEXT in the name, a tag or the note\n"
               "  --tag TAG            only entries tagged TAG\n";
    if (options & CommandLine::Simulate)
        out += "  --simulate[=MODEL]   use a simulated controller: 25, 49 or 61 keys (default " +
               std::to_string(Platform::DefaultSimulatedKeys) + ")\n";
    return out;
}

void printCommandHelp(const CommandSpec &spec, std::ostream &out)
{
    out << "usage: vorpadctl " << spec.name << ' ' << spec.synopsis << "\n\n"
        << spec.description << "\n\noptions:\n"
        << optionsHelp(spec.options);
}

void printOverview(std::ostream &out)
{
    out << "usage: vorpadctl COMMAND [ARGS] [OPTIONS]\n\n"
           "The scripted librarian of the Vorpad controllers.\n\ncommands:\n";
    for (const CommandSpec *spec : allCommands())
        out << "  " << spec->name << ' ' << spec->synopsis << '\n';
    out << "\n'vorpadctl COMMAND --help' describes a command; 'vorpadctl --version' gives the version.\n"
           "Exit codes: 0 success, 1 invalid input or failed operation, 2 usage error.\n";
}

int usageError(const std::string &context, const std::string &text, std::ostream &err)
{
    err << "vorpadctl" << context << ": " << printable(text) << "\n(see 'vorpadctl" << context << " --help')\n";
    return ExitUsage;
}

} // namespace

int fail(const CommandLine &line, Io &io, const std::string &text)
{
    io.err << "vorpadctl " << line.command << ": " << printable(text) << '\n';
    return ExitFailed;
}

void warn(const CommandLine &line, Io &io, const std::string &text)
{
    io.err << "vorpadctl " << line.command << ": warning: " << printable(text) << '\n';
}

int runVorpadCtl(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    if (args.empty())
        return usageError("", "no command given", err);
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printOverview(out);
        return ExitOk;
    }
    if (args[0] == "--version") {
        out << "vorpadctl " VORPAD_VERSION "\n";
        return ExitOk;
    }
    const CommandSpec *spec = findCommand(args[0]);
    if (!spec)
        return usageError("", "unknown command '" + args[0] + "'", err);

    CommandLine line;
    line.command = spec->name;
    const std::string context = std::string(" ") + spec->name;
    if (auto error = CommandLine::parse({args.begin() + 1, args.end()}, spec->options, line))
        return usageError(context, *error, err);
    if (line.help) {
        printCommandHelp(*spec, out);
        return ExitOk;
    }
    const int count = int(line.positional.size());
    if (count < spec->minArgs || count > spec->maxArgs)
        return usageError(context, std::string("expected ") + spec->synopsis, err);
    Io io{out, err};
    return spec->run(line, io);
}
