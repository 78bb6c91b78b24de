#include "editor/core/model/RegularFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using RegularFile::Status;

struct ReadCase {
    const char *name;
    int size; // bytes written; -1: nothing there, -2: a folder
    int limit;
    Status status;
};

class RegularFileReading : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(RegularFileReading, ReadsOnlyARegularFileWithinTheLimit)
{
    const ReadCase &c = GetParam();
    const fs::path path = fs::temp_directory_path() / (std::string("vorpad-regular-") + c.name);
    fs::remove_all(path);
    if (c.size == -2)
        fs::create_directory(path);
    else if (c.size >= 0)
        std::ofstream(path, std::ios::binary) << std::string(std::size_t(c.size), 'x');
    const RegularFile::Contents contents = RegularFile::read(path.string(), std::size_t(c.limit));
    EXPECT_EQ(contents.status, c.status);
    EXPECT_EQ(contents.bytes.size(), c.status == Status::Read ? std::size_t(c.size) : 0u);
    fs::remove_all(path);
}

const ReadCase readCases[] = {
    {"empty", 0, 10, Status::Read},
    {"atTheLimit", 40000, 40000, Status::Read},
    {"overTheLimit", 40001, 40000, Status::TooLarge},
    {"missing", -1, 10, Status::Missing},
#ifndef _WIN32
    {"folder", -2, 10, Status::NotRegular}, // Windows refuses to open a folder at all
#endif
};

INSTANTIATE_TEST_SUITE_P(Files, RegularFileReading, ::testing::ValuesIn(readCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
