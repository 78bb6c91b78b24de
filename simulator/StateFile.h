#pragma once

#include "editor/core/model/PatchTypes.h"

#include <string>
#include <vector>

namespace Sim {

// A simulated controller's contents on disk, shared by every process that
// simulates the same controller (the editor and vorpadctl at once): a change
// is made under the file's lock on what the file holds then, and written back
// whole by renaming a new file over it, so no writer discards another's.
class StateFile
{
public:
    // Held for its lifetime; between processes (and between controllers of one
    // process), through a lock file beside the state file.
    class Lock
    {
    public:
        explicit Lock(const std::string &statePath);
        ~Lock();
        Lock(const Lock &) = delete;
        Lock &operator=(const Lock &) = delete;

    private:
        long long m_handle;
    };

    explicit StateFile(std::string path);
    const std::string &path() const { return m_path; }

    // Empty when there is no file yet, or it is not a plausible state file.
    std::vector<Byte> read() const;
    // Atomic: an interrupted write leaves the previous state.
    void write(const std::vector<Byte> &bytes) const;

private:
    std::string m_path;
};

} // namespace Sim
