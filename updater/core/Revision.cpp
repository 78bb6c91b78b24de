#include "updater/core/Revision.h"

#include <charconv>

namespace Oxa {

namespace {

// A whole decimal number: optional sign, at least one digit, nothing else.
bool toInt(const std::string &text, int &value)
{
    const char *begin = text.data();
    const char *end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    if (begin == end)
        return false;
    const auto [ptr, error] = std::from_chars(begin, end, value);
    return error == std::errc() && ptr == end;
}

} // namespace

Revision Revision::parse(const std::string &text)
{
    Revision revision;
    const std::size_t first = text.find('.');
    if (first == std::string::npos)
        return revision;
    const std::size_t second = text.find('.', first + 1);
    bool ok = toInt(text.substr(0, first), revision.major);
    ok = toInt(text.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1),
               revision.minor) &&
         ok;
    if (second != std::string::npos)
        ok = toInt(text.substr(second + 1), revision.build) && ok;
    else
        revision.build = -1;
    revision.valid = ok && revision.major >= 0 && revision.minor >= 0;
    return revision;
}

bool isUpgrade(const std::string &current, const std::string &next)
{
    const Revision from = Revision::parse(current);
    const Revision to = Revision::parse(next);
    if (!from.valid || !to.valid)
        return false;
    if (from.major != to.major)
        return from.major < to.major;
    if (from.minor != to.minor)
        return from.minor < to.minor;
    return from.hasBuild() && to.hasBuild() && from.build < to.build;
}

bool isSameRevision(const std::string &device, const std::string &package)
{
    const Revision have = Revision::parse(device);
    const Revision want = Revision::parse(package);
    if (!have.valid || !want.valid)
        return false;
    return have.major == want.major && have.minor == want.minor && (!want.hasBuild() || have.build == want.build);
}

bool revisionHasBuild(const std::string &text)
{
    const std::size_t first = text.find('.');
    return first != std::string::npos && text.find('.', first + 1) != std::string::npos;
}

} // namespace Oxa
