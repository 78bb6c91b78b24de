#include "tools/vorpadctl/CommandLine.h"

#include "platform/MidiSelection.h"

#include <charconv>

std::optional<int> toInt(const std::string &text)
{
    int value = 0;
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty())
        return std::nullopt;
    return value;
}

std::optional<std::string> CommandLine::parse(const std::vector<std::string> &args, unsigned allowed, CommandLine &out)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        const std::optional<std::string> inlineValue =
            eq == std::string::npos ? std::nullopt : std::optional(arg.substr(eq + 1));
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--json" && (allowed & Json)) {
            out.json = true;
        } else if (arg == "--raw" && (allowed & Raw)) {
            out.raw = true;
        } else if (name == "--device" && (allowed & Device)) {
            std::string value;
            if (inlineValue)
                value = *inlineValue;
            else if (i + 1 < args.size())
                value = args[++i];
            else
                return "--device needs a number";
            out.device = toInt(value);
            if (!out.device || *out.device < 0)
                return "--device needs a position of 0 or more, not '" + value + "'";
        } else if (name == "--simulate" && (allowed & Simulate)) {
            // The platform knows which sizes it can simulate.
            const char *const argv[] = {"", arg.c_str()};
            out.simulate = Platform::simulatedKeys(2, argv, nullptr);
            if (!out.simulate)
                return "--simulate takes 25, 49 or 61";
        } else if (arg == "--force" && (allowed & Force)) {
            out.force = true;
        } else if ((name == "--search" || name == "--tag") && (allowed & Search)) {
            if (!inlineValue && i + 1 >= args.size())
                return name + " needs a value";
            (name == "--search" ? out.search : out.tag) = inlineValue ? *inlineValue : args[++i];
        } else if (arg.size() > 1 && arg[0] == '-' && !toInt(arg)) { // "-2" is a value
            return "unknown option '" + arg + "'";
        } else {
            out.positional.push_back(arg);
        }
    }
    return std::nullopt;
}

namespace {

std::string hexEscape(unsigned char byte)
{
    static const char digits[] = "0123456789abcdef";
    return {'\\', 'x', digits[byte >> 4], digits[byte & 15]};
}

} // namespace

std::string printable(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c1 = byte == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
        if (byte < 0x20 || byte == 0x7F)
            out += hexEscape(byte);
        else if (c1)
            out += hexEscape(byte) + hexEscape(static_cast<unsigned char>(text[++i]));
        else
            out += text[i];
    }
    return out;
}
