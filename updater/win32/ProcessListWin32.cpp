#include "updater/core/ProcessList.h"

#include <windows.h>

#include <tlhelp32.h>

namespace Oxa {

namespace {

std::string toUtf8(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return std::string();
    std::string out(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(std::size_t(size - 1));
    return out;
}

// A Toolhelp snapshot of all processes.
class ToolhelpProcessList : public ProcessList
{
public:
    std::vector<std::string> executableNames() override
    {
        std::vector<std::string> names;
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE)
            return names;
        PROCESSENTRY32W entry;
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
            names.push_back(toUtf8(entry.szExeFile));
        CloseHandle(snapshot);
        return names;
    }
    bool namesEndInExtension() const override { return true; }
};

} // namespace

std::unique_ptr<ProcessList> createSystemProcessList() { return std::make_unique<ToolhelpProcessList>(); }

} // namespace Oxa
