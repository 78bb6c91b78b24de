#pragma once

#include "tools/vorpadctl/VorpadCtl.h"

#include <sstream>
#include <string>
#include <vector>

// One vorpadctl invocation in the test's process: its exit code and output.
struct CtlRun {
    int code;
    std::string out;
    std::string err;
};

inline CtlRun run(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int code = runVorpadCtl(args, out, err);
    return {code, out.str(), err.str()};
}
