// The host timestamp functions: ordering, carrying between parts, and extreme inputs.
#include <gtest/gtest.h>

#include <cstdint>

#include "DGrabModule.h"

namespace {

struct Stamp {
    int32_t major;
    uint16_t a;
    uint16_t b;
};

int Compare(Stamp t1, Stamp t2) {
    return CompareTimestamps(t1.major, t1.a, t1.b, t2.major, t2.a, t2.b);
}

struct Diff {
    int32_t major = -1;
    int16_t a = -1;
    int16_t b = -1;
    bool negative = false;
    bool fits = false;
};

Diff Difference(Stamp t1, Stamp t2) {
    Diff d;
    d.fits = ComputeTimeDifference(t1.major, t1.a, t1.b, t2.major, t2.a, t2.b, &d.major, &d.a, &d.b,
                                   &d.negative);
    return d;
}

TEST(CompareTimestamps, OrdersBySecondsThenMillisecondsThenMicroseconds) {
    EXPECT_EQ(Compare({1, 0, 0}, {2, 0, 0}), -1);
    EXPECT_EQ(Compare({2, 0, 0}, {1, 999, 999}), 1);
    EXPECT_EQ(Compare({5, 3, 0}, {5, 2, 999}), 1);
    EXPECT_EQ(Compare({5, 3, 7}, {5, 3, 8}), -1);
    EXPECT_EQ(Compare({5, 3, 7}, {5, 3, 7}), 0);
    EXPECT_EQ(Compare({-1, 999, 0}, {0, 0, 0}), -1);
}

TEST(CompareTimestamps, UnnormalisedMinorPartsCarry) {
    EXPECT_EQ(Compare({0, 1500, 0}, {1, 500, 0}), 0);
    EXPECT_EQ(Compare({0, 0, 2000}, {0, 2, 0}), 0);
    EXPECT_EQ(Compare({0, 65535, 65535}, {65, 600, 535}), 0);
    EXPECT_EQ(Compare({1, 0, 0}, {0, 999, 1000}), 0);
}

TEST(CompareTimestamps, ExtremeMajorsCompareWithoutOverflow) {
    EXPECT_EQ(Compare({INT32_MIN, 0, 0}, {INT32_MAX, 65535, 65535}), -1);
    EXPECT_EQ(Compare({INT32_MAX, 65535, 65535}, {INT32_MIN, 0, 0}), 1);
    EXPECT_EQ(Compare({INT32_MIN, 65535, 65535}, {INT32_MIN, 65535, 65535}), 0);
}

TEST(ComputeTimeDifference, BorrowsAcrossPartsAndGivesAMagnitudeWithASign) {
    const Diff later = Difference({10, 0, 0}, {2, 250, 1});
    EXPECT_TRUE(later.fits);
    EXPECT_FALSE(later.negative);
    EXPECT_EQ(later.major, 7);
    EXPECT_EQ(later.a, 749);
    EXPECT_EQ(later.b, 999);

    const Diff earlier = Difference({2, 250, 1}, {10, 0, 0});
    EXPECT_TRUE(earlier.fits);
    EXPECT_TRUE(earlier.negative);
    EXPECT_EQ(earlier.major, 7);
    EXPECT_EQ(earlier.a, 749);
    EXPECT_EQ(earlier.b, 999);
}

TEST(ComputeTimeDifference, EqualStampsGiveZeroAndNotNegative) {
    const Diff d = Difference({-3, 1500, 0}, {-2, 500, 0});
    EXPECT_TRUE(d.fits);
    EXPECT_FALSE(d.negative);
    EXPECT_EQ(d.major, 0);
    EXPECT_EQ(d.a, 0);
    EXPECT_EQ(d.b, 0);
}

TEST(ComputeTimeDifference, CrossesZeroSeconds) {
    const Diff d = Difference({0, 100, 0}, {-1, 900, 0});
    EXPECT_FALSE(d.negative);
    EXPECT_EQ(d.major, 0);
    EXPECT_EQ(d.a, 200);
    EXPECT_EQ(d.b, 0);
}

TEST(ComputeTimeDifference, LargestDistanceThatFitsIsExact) {
    const Diff d = Difference({INT32_MAX, 0, 0}, {0, 0, 0});
    EXPECT_TRUE(d.fits);
    EXPECT_EQ(d.major, INT32_MAX);
    EXPECT_EQ(d.a, 0);
    const Diff d2 = Difference({-1, 0, 0}, {INT32_MAX, 0, 0});
    EXPECT_FALSE(d2.fits);  // 2^31 seconds
}

TEST(ComputeTimeDifference, DistanceBeyondTheSecondsPartSaturates) {
    const Diff d = Difference({INT32_MIN, 0, 0}, {INT32_MAX, 65535, 65535});
    EXPECT_FALSE(d.fits);
    EXPECT_TRUE(d.negative);
    EXPECT_EQ(d.major, INT32_MAX);
    EXPECT_EQ(d.a, 999);
    EXPECT_EQ(d.b, 999);
}

TEST(ComputeTimeDifference, NullOutputsAreSkipped) {
    int32_t major = -1;
    EXPECT_TRUE(ComputeTimeDifference(3, 0, 0, 1, 0, 0, &major, nullptr, nullptr, nullptr));
    EXPECT_EQ(major, 2);
    EXPECT_TRUE(ComputeTimeDifference(3, 0, 0, 1, 0, 0, nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
