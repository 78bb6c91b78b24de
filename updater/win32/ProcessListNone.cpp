#include "updater/core/ProcessList.h"

namespace Oxa {

// No process list on this platform: nothing counts as running.
std::unique_ptr<ProcessList> createSystemProcessList() { return std::make_unique<FixedProcessList>(); }

} // namespace Oxa
