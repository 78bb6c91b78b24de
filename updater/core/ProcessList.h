#pragma once

#include <memory>
#include <string>
#include <vector>

namespace Oxa {

// The running programs, as the package's process filter names them.
class ProcessList
{
public:
    virtual ~ProcessList() = default;
    // The executable file name of every running process, in snapshot order.
    virtual std::vector<std::string> executableNames() = 0;
    // Windows names end in ".exe", which the filter leaves out.
    virtual bool namesEndInExtension() const = 0;
};

// A settable list (tests, and platforms without a process list).
class FixedProcessList : public ProcessList
{
public:
    explicit FixedProcessList(std::vector<std::string> names = {}, bool extensions = false)
        : m_names(std::move(names)), m_extensions(extensions)
    {
    }
    void setNames(std::vector<std::string> names) { m_names = std::move(names); }
    std::vector<std::string> executableNames() override { return m_names; }
    bool namesEndInExtension() const override { return m_extensions; }

private:
    std::vector<std::string> m_names;
    bool m_extensions;
};

// The names of running programs that the filter forbids, in snapshot order,
// each once however many processes it runs. Comparison is case-sensitive.
std::vector<std::string> filterProcesses(ProcessList &processes, const std::vector<std::string> &filter);

// The platform's own list (Toolhelp on Windows, /proc on Linux; empty elsewhere).
std::unique_ptr<ProcessList> createSystemProcessList();

} // namespace Oxa
