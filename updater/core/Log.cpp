#include "updater/core/Log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

namespace Oxa {

namespace {

std::mutex &sinkLock()
{
    static std::mutex lock;
    return lock;
}

LogSink &currentSink()
{
    static LogSink sink;
    return sink;
}

// A normal run keeps the terminal quiet; VORPAD_UPDATER_DEBUG=1 shows the log.
bool debugOnTerminal()
{
    static const bool wanted = [] {
        const char *value = std::getenv("VORPAD_UPDATER_DEBUG");
        return value && std::strcmp(value, "1") == 0;
    }();
    return wanted;
}

} // namespace

void log(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line;
    if (length > 0) {
        std::vector<char> buffer(std::size_t(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
        line.assign(buffer.data(), std::size_t(length));
    }
    va_end(arguments);

    std::lock_guard<std::mutex> guard(sinkLock());
    if (currentSink())
        currentSink()(line);
    else if (debugOnTerminal())
        std::fprintf(stderr, "%s\n", line.c_str());
}

LogSink setLogSink(LogSink sink)
{
    std::lock_guard<std::mutex> guard(sinkLock());
    return std::exchange(currentSink(), std::move(sink));
}

} // namespace Oxa
