#pragma once

#include "driver/ZelPlatform.h"

#include <cstdint>
#include <string>

namespace Zel {

// The optional language file: an INI dialect read in chunks of 255 bytes.
// Every lookup scans the file from the start; it is read at device start and
// for string requests only.
class LanguageFile
{
public:
    static constexpr std::uint32_t ChunkSize = 255;

    LanguageFile(DriverPlatform &platform, const char *path);

    bool present() const { return !m_path.empty(); }
    // The value of `key` in the first section named `section`; false when missing.
    bool value(const char *section, const char *key, std::string &value) const;
    // A hexadecimal value (no digits give 0); false when the key is missing.
    bool hexValue(const char *section, const char *key, std::uint32_t &value) const;
    // A string value: bytes written as "\" + hexadecimal digits, optionally quoted.
    bool bytesValue(const char *section, const char *key, std::string &bytes) const;

    static std::uint32_t parseHex(const std::string &text);
    static std::string parseBytes(const std::string &text);

private:
    template <class LineHandler>
    void forEachLine(LineHandler &&handler) const;

    DriverPlatform &m_platform;
    std::string m_path;
};

} // namespace Zel
