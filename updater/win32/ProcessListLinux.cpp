#include "updater/core/ProcessList.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

namespace Oxa {

namespace {

// Each process's executable, from /proc/<pid>/exe. The short name in
// /proc/<pid>/comm is cut at 15 characters, so it would miss longer names.
class ProcProcessList : public ProcessList
{
public:
    std::vector<std::string> executableNames() override
    {
        namespace fs = std::filesystem;
        std::vector<std::string> names;
        std::error_code error;
        for (fs::directory_iterator it("/proc", error), end; !error && it != end; it.increment(error)) {
            const std::string pid = it->path().filename().string();
            if (pid.empty() || !std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); }))
                continue;
            std::error_code linkError;
            // Other users' processes cannot be read; they are left out.
            const fs::path target = fs::read_symlink(it->path() / "exe", linkError);
            if (linkError)
                continue;
            std::string name = target.filename().string();
            constexpr std::string_view Deleted = " (deleted)";
            if (name.size() > Deleted.size() &&
                name.compare(name.size() - Deleted.size(), Deleted.size(), Deleted) == 0)
                name.resize(name.size() - Deleted.size());
            names.push_back(std::move(name));
        }
        return names;
    }
    bool namesEndInExtension() const override { return false; }
};

} // namespace

std::unique_ptr<ProcessList> createSystemProcessList() { return std::make_unique<ProcProcessList>(); }

} // namespace Oxa
