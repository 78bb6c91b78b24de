#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace Platform {

// The simulated machine's registry: the driver's software-key values it
// reads ("Settings", "Language") and a record of the values it writes.
class SimRegistry
{
public:
    struct Write {
        std::string key;
        std::string name;
        std::string value;
    };

    void setString(const std::string &subkey, const std::string &name, const std::string &value);
    void setDword(const std::string &subkey, const std::string &name, std::uint32_t value);
    void remove(const std::string &subkey, const std::string &name);
    std::optional<std::string> string(const std::string &subkey, const std::string &name) const;
    std::optional<std::uint32_t> dword(const std::string &subkey, const std::string &name) const;

    void recordWrite(const std::string &key, const std::string &name, const std::string &value);
    std::vector<Write> writes() const;

private:
    mutable std::mutex m_lock;
    std::map<std::string, std::string> m_strings;
    std::map<std::string, std::uint32_t> m_dwords;
    std::vector<Write> m_writes;
};

} // namespace Platform
