#include "updater/core/Log.h"

#include <cstdarg>
#include <cstdio>
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
    else
        std::fprintf(stderr, "%s\n", line.c_str());
}

LogSink setLogSink(LogSink sink)
{
    std::lock_guard<std::mutex> guard(sinkLock());
    return std::exchange(currentSink(), std::move(sink));
}

} // namespace Oxa
