#include "updater/core/Revision.h"

#include <gtest/gtest.h>

using namespace Oxa;

namespace {

struct UpgradeCase {
    const char *current;
    const char *next;
    bool upgrade;
};

class UpgradeTest : public testing::TestWithParam<UpgradeCase>
{
};

TEST_P(UpgradeTest, comparesMajorMinorBuildInOrder)
{
    const UpgradeCase &c = GetParam();
    EXPECT_EQ(isUpgrade(c.current, c.next), c.upgrade) << c.current << " -> " << c.next;
}

INSTANTIATE_TEST_SUITE_P(Revision, UpgradeTest,
                         testing::Values(UpgradeCase{"1.00", "1.10", true},  // minor
                                         UpgradeCase{"1.05", "1.5", false},  // equal: both minor 5
                                         UpgradeCase{"1.10", "1.05", false}, // older minor
                                         UpgradeCase{"1.99", "2.00", true},  // major wins over minor
                                         UpgradeCase{"2.00", "1.10", false}, // a larger minor of an older major
                                         UpgradeCase{"0.50", "1.00", true},
                                         UpgradeCase{"1.07.240315", "1.07.250101", true}, // build decides
                                         UpgradeCase{"1.07.250101", "1.07.240315", false},
                                         UpgradeCase{"1.07", "1.07.250101", false}, // a missing build takes no part
                                         UpgradeCase{"1.07.240315", "1.07", false},
                                         UpgradeCase{"1.06.990101", "1.07.010101", true},
                                         UpgradeCase{"1.0A", "1.10", false}, // invalid device version
                                         UpgradeCase{"", "1.10", false},     // version request failed
                                         UpgradeCase{"1.00", "", false},     // class without firmware
                                         UpgradeCase{"1", "2", false},       // no '.'
                                         UpgradeCase{"-1.00", "1.00", false}, UpgradeCase{"1.00", "1.x", false}));

struct ParseCase {
    const char *text;
    bool valid;
    int major;
    int minor;
    int build;
};

class ParseTest : public testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseTest, splitsAtTheDots)
{
    const ParseCase &c = GetParam();
    const Revision r = Revision::parse(c.text);
    EXPECT_EQ(r.valid, c.valid) << c.text;
    if (c.valid) {
        EXPECT_EQ(r.major, c.major);
        EXPECT_EQ(r.minor, c.minor);
        EXPECT_EQ(r.build, c.build);
    }
}

INSTANTIATE_TEST_SUITE_P(Revision, ParseTest,
                         testing::Values(ParseCase{"1.05", true, 1, 5, -1},
                                         ParseCase{"1.10.240315", true, 1, 10, 240315},
                                         ParseCase{"A.05", false, 0, 0, 0}, ParseCase{"1.", false, 0, 0, 0},
                                         ParseCase{".5", false, 0, 0, 0}, ParseCase{"1.2.3.4", false, 0, 0, 0},
                                         ParseCase{"1.2.", false, 0, 0, 0}, ParseCase{"1.-2", false, 0, 0, 0},
                                         ParseCase{"99999999999.1", false, 0, 0, 0}));

struct SameCase {
    const char *device;
    const char *package;
    bool same;
};

class SameRevisionTest : public testing::TestWithParam<SameCase>
{
};

TEST_P(SameRevisionTest, buildCountsOnlyWhenThePackageHasOne)
{
    const SameCase &c = GetParam();
    EXPECT_EQ(isSameRevision(c.device, c.package), c.same) << c.device << " vs " << c.package;
}

INSTANTIATE_TEST_SUITE_P(Revision, SameRevisionTest,
                         testing::Values(SameCase{"1.10", "1.10", true}, SameCase{"1.10", "1.1", false},
                                         SameCase{"1.10.260101", "1.10", true},
                                         SameCase{"1.10.260101", "1.10.260101", true},
                                         SameCase{"1.10.260102", "1.10.260101", false},
                                         SameCase{"1.10", "1.10.260101", false}, SameCase{"", "1.10", false}));

} // namespace
