#include "driver/LanguageFile.h"

#include <cstring>

namespace Zel {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool equalsIgnoringCase(const std::string &a, const char *b)
{
    const std::size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

void trim(std::string &line)
{
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start]))
        ++start;
    std::size_t end = line.size();
    while (end > start && isBlank(line[end - 1]))
        --end;
    line = line.substr(start, end - start);
}

} // namespace

LanguageFile::LanguageFile(DriverPlatform &platform, const char *path) : m_platform(platform)
{
    if (path && *path)
        m_path = path[0] == '\\' ? std::string(path) : std::string("\\DosDevices\\") + path;
}

// Hands every logical line (comments removed, continuations joined, blanks
// trimmed) to the handler until it returns false or the file ends.
template <class LineHandler>
void LanguageFile::forEachLine(LineHandler &&handler) const
{
    if (m_path.empty())
        return;
    std::uint64_t offset = 0;
    std::string pending;
    bool first = true;
    for (;;) {
        std::uint8_t chunk[ChunkSize];
        std::uint32_t read = 0;
        if (!NT_SUCCESS(m_platform.readFile(m_path.c_str(), offset, chunk, ChunkSize, read)) || read == 0)
            break;
        if (first) {
            first = false;
            std::uint32_t zeros = 0;
            while (zeros < read && zeros < 16 && chunk[zeros] == 0)
                ++zeros;
            if (zeros == 16)
                return;
        }
        std::uint32_t usable = read;
        const bool lastChunk = read < ChunkSize;
        if (!lastChunk) {
            while (usable > 0 && chunk[usable - 1] != '\n')
                --usable;
            if (usable == 0)
                break; // a line of 255 bytes or more ends the reading
        }
        std::uint32_t start = 0;
        while (start < usable) {
            std::uint32_t end = start;
            while (end < usable && chunk[end] != '\n')
                ++end;
            std::string line(reinterpret_cast<const char *>(chunk) + start, end - start);
            start = end + 1;
            if (line == "\x1A" && start >= usable && lastChunk)
                return;
            const std::size_t comment = line.find(';');
            if (comment != std::string::npos)
                line.erase(comment);
            while (!line.empty() && isBlank(line.back()))
                line.pop_back();
            if (!line.empty() && line.back() == '\\') {
                line.pop_back();
                pending += line;
                continue;
            }
            line = pending + line;
            pending.clear();
            trim(line);
            if (!handler(line))
                return;
        }
        if (lastChunk)
            break;
        offset += usable;
    }
    if (!pending.empty()) {
        trim(pending);
        handler(pending);
    }
}

bool LanguageFile::value(const char *section, const char *key, std::string &value) const
{
    enum { Before, Inside, After } where = Before;
    bool found = false;
    forEachLine([&](const std::string &line) {
        if (!line.empty() && line[0] == '[') {
            if (where == Inside) {
                where = After;
                return false;
            }
            const std::size_t close = line.rfind(']');
            const std::string name =
                line.substr(1, close == std::string::npos || close == 0 ? std::string::npos : close - 1);
            if (equalsIgnoringCase(name, section))
                where = Inside;
            return true;
        }
        if (where != Inside)
            return true;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || !equalsIgnoringCase(line.substr(0, equals), key))
            return true;
        value = line.substr(equals + 1);
        found = true;
        return false;
    });
    return found;
}

std::uint32_t LanguageFile::parseHex(const std::string &text)
{
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    std::uint32_t value = 0;
    for (; at < text.size() && hexDigit(text[at]) >= 0; ++at)
        value = value << 4 | static_cast<std::uint32_t>(hexDigit(text[at]));
    return value;
}

std::string LanguageFile::parseBytes(const std::string &text)
{
    std::string bytes;
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    if (at < text.size() && text[at] == '"')
        ++at;
    while (at < text.size() && text[at] == '\\') {
        ++at;
        std::uint32_t value = 0;
        std::size_t digits = 0;
        while (at < text.size() && hexDigit(text[at]) >= 0) {
            value = value << 4 | static_cast<std::uint32_t>(hexDigit(text[at++]));
            ++digits;
        }
        if (digits == 0)
            break;
        bytes += static_cast<char>(value & 0xFF);
    }
    return bytes;
}

bool LanguageFile::hexValue(const char *section, const char *key, std::uint32_t &value) const
{
    std::string text;
    if (!this->value(section, key, text))
        return false;
    value = parseHex(text);
    return true;
}

bool LanguageFile::bytesValue(const char *section, const char *key, std::string &bytes) const
{
    std::string text;
    if (!value(section, key, text))
        return false;
    bytes = parseBytes(text);
    return true;
}

} // namespace Zel
