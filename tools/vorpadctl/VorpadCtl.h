#pragma once

#include <ostream>
#include <string>
#include <vector>

// Runs one vorpadctl command line (without the program name) and returns
// its exit code: 0 success, 1 invalid input or failed operation, 2 usage error.
int runVorpadCtl(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
