#include "updater/core/Revision.h"

#include <gtest/gtest.h>

using namespace Oxa;

namespace {

// Two revisions (the device's first) and what the comparison says of them.
struct PairCase {
    const char *device;
    const char *package;
    bool holds;
};

class UpgradeTest : public testing::TestWithParam<PairCase>
{
};

TEST_P(UpgradeTest, comparesMajorMinorBuildInOrder)
{
    const PairCase &c = GetParam();
    EXPECT_EQ(isUpgrade(c.device, c.package), c.holds) << c.device << " -> " << c.package;
}

INSTANTIATE_TEST_SUITE_P(Revision, UpgradeTest,
                         testing::Values(PairCase{"1.00", "1.10", true},  // minor
                                         PairCase{"1.05", "1.5", false},  // equal: both minor 5
                                         PairCase{"1.10", "1.05", false}, // older minor
                                         PairCase{"1.99", "2.00", true},  // major wins over minor
                                         PairCase{"2.00", "1.10", false}, // a larger minor of an older major
                                         PairCase{"0.50", "1.00", true},
                                         PairCase{"1.07.240315", "1.07.250101", true}, // build decides
                                         PairCase{"1.07.250101", "1.07.240315", false},
                                         PairCase{"1.07", "1.07.250101", false}, // a missing build takes no part
                                         PairCase{"1.07.240315", "1.07", false},
                                         PairCase{"1.06.990101", "1.07.010101", true},
                                         PairCase{"1.0A", "1.10", false}, // invalid device version
                                         PairCase{"", "1.10", false},     // version request failed
                                         PairCase{"1.00", "", false},     // class without firmware
                                         PairCase{"1", "2", false},       // no '.'
                                         PairCase{"-1.00", "1.00", false}, PairCase{"1.00", "1.x", false}));

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

class SameRevisionTest : public testing::TestWithParam<PairCase>
{
};

TEST_P(SameRevisionTest, buildCountsOnlyWhenThePackageHasOne)
{
    const PairCase &c = GetParam();
    EXPECT_EQ(isSameRevision(c.device, c.package), c.holds) << c.device << " vs " << c.package;
}

INSTANTIATE_TEST_SUITE_P(Revision, SameRevisionTest,
                         testing::Values(PairCase{"1.10", "1.10", true}, PairCase{"1.10", "1.1", false},
                                         PairCase{"1.10.260101", "1.10", true},
                                         PairCase{"1.10.260101", "1.10.260101", true},
                                         PairCase{"1.10.260102", "1.10.260101", false},
                                         PairCase{"1.10", "1.10.260101", false}, PairCase{"", "1.10", false}));

} // namespace
