#include "updater/core/ProcessList.h"

#include "updater/core/Log.h"

#include <algorithm>

namespace Oxa {

std::vector<std::string> filterProcesses(ProcessList &processes, const std::vector<std::string> &filter)
{
    std::vector<std::string> running;
    const bool dropExtension = processes.namesEndInExtension();
    for (std::string name : processes.executableNames()) {
        log("filterProcesses - %s", name.c_str());
        if (dropExtension)
            name.resize(name.size() > 4 ? name.size() - 4 : 0);
        if (!name.empty() && std::find(filter.begin(), filter.end(), name) != filter.end() &&
            std::find(running.begin(), running.end(), name) == running.end())
            running.push_back(name);
    }
    return running;
}

} // namespace Oxa
