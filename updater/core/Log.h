#pragma once

#include <functional>
#include <string>

// The updater's debug log: printf-style lines naming the class and the
// operation. They go to standard error when VORPAD_UPDATER_DEBUG=1, unless a
// sink is installed (tests collect them); otherwise nowhere.
namespace Oxa {

using LogSink = std::function<void(const std::string &line)>;

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void log(const char *format, ...);

// Installs a sink; an empty one returns to the default. Gives the previous one.
LogSink setLogSink(LogSink sink);

} // namespace Oxa
