#include "platform/sim/SimRegistry.h"

namespace Platform {

namespace {

std::string path(const std::string &subkey, const std::string &name) { return subkey + "\\" + name; }

} // namespace

void SimRegistry::setString(const std::string &subkey, const std::string &name, const std::string &value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_strings[path(subkey, name)] = value;
}

void SimRegistry::setDword(const std::string &subkey, const std::string &name, std::uint32_t value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_dwords[path(subkey, name)] = value;
}

void SimRegistry::remove(const std::string &subkey, const std::string &name)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_strings.erase(path(subkey, name));
    m_dwords.erase(path(subkey, name));
}

std::optional<std::string> SimRegistry::string(const std::string &subkey, const std::string &name) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_strings.find(path(subkey, name));
    return it == m_strings.end() ? std::nullopt : std::optional<std::string>(it->second);
}

std::optional<std::uint32_t> SimRegistry::dword(const std::string &subkey, const std::string &name) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    const auto it = m_dwords.find(path(subkey, name));
    return it == m_dwords.end() ? std::nullopt : std::optional<std::uint32_t>(it->second);
}

void SimRegistry::recordWrite(const std::string &key, const std::string &name, const std::string &value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_writes.push_back(Write{key, name, value});
}

std::vector<SimRegistry::Write> SimRegistry::writes() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_writes;
}

} // namespace Platform
