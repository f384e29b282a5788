// The playback range record: stored values, comparison of two ranges, and locking that holds
// up under two threads comparing or copying the same pair in opposite directions.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <thread>

#include "CPlaybackSynchData.h"

namespace {

struct Difference {
    int32_t major = 111;
    int16_t minor1 = 222;
    int16_t minor2 = 333;
    uint32_t key = 444;
};

int CompareInto(const CPlaybackSynchData& self, const CPlaybackSynchData& other, Difference& d) {
    return self.Compare(other, d.major, d.minor1, d.minor2, d.key);
}

TEST(SynchData, SetStoresRangeAndKeyThatGettersReturn) {
    CPlaybackSynchData data;
    data.Set(-5, 1, 2, 70000, 65535, 999, 0xFFFFFFFFu);
    int32_t startMajor = 0, endMajor = 0;
    uint16_t s1 = 0, s2 = 0, e1 = 0, e2 = 0;
    data.Get(startMajor, s1, s2, endMajor, e1, e2);
    EXPECT_EQ(startMajor, -5);
    EXPECT_EQ(s1, 1);
    EXPECT_EQ(s2, 2);
    EXPECT_EQ(endMajor, 70000);
    EXPECT_EQ(e1, 65535);
    EXPECT_EQ(e2, 999);
    EXPECT_EQ(data.GetOrderKey(), 0xFFFFFFFFu);

    int32_t major = 0;
    uint16_t m1 = 0, m2 = 0;
    data.GetEnd(major, m1, m2);
    EXPECT_EQ(major, 70000);
    data.GetStart(major, m1, m2);
    EXPECT_EQ(major, -5);
}

TEST(SynchData, TagIsSeparateFromTheRangeAndNotCopied) {
    CPlaybackSynchData source;
    source.Set(1, 0, 0, 2, 0, 0, 9);
    source.SetTag(-3);
    EXPECT_TRUE(source.HasTag(-3));
    EXPECT_FALSE(source.HasTag(3));

    CPlaybackSynchData copy;
    copy.SetTag(8);
    copy.CopyFrom(source);
    EXPECT_EQ(copy.GetTag(), 8);
    EXPECT_EQ(copy.GetOrderKey(), 9u);
    int32_t major = 0;
    uint16_t m1 = 0, m2 = 0;
    copy.GetEnd(major, m1, m2);
    EXPECT_EQ(major, 2);
}

TEST(SynchDataCompare, WithItselfAnswersZeroAndWritesNothing) {
    CPlaybackSynchData data;
    data.Set(1, 0, 0, 2, 0, 0, 5);
    Difference d;
    EXPECT_EQ(CompareInto(data, data, d), 0);
    EXPECT_EQ(d.major, 111);
    EXPECT_EQ(d.minor1, 222);
    EXPECT_EQ(d.minor2, 333);
    EXPECT_EQ(d.key, 444u);
}

TEST(SynchDataCompare, TwoKeysDecideByKeyWithZeroDifference) {
    CPlaybackSynchData five, seven;
    five.Set(100, 0, 0, 200, 0, 0, 5);
    seven.Set(0, 0, 0, 1, 0, 0, 7);
    Difference d;
    EXPECT_EQ(CompareInto(five, seven, d), 1);
    EXPECT_EQ(d.major, 0);
    EXPECT_EQ(d.minor1, 0);
    EXPECT_EQ(d.minor2, 0);
    EXPECT_EQ(d.key, 5u);
    EXPECT_EQ(CompareInto(seven, five, d), -1);
    EXPECT_EQ(d.key, 7u);

    CPlaybackSynchData alsoSeven;
    alsoSeven.Set(500, 0, 0, 600, 0, 0, 7);
    EXPECT_EQ(CompareInto(seven, alsoSeven, d), 0);
}

TEST(SynchDataCompare, KeyAboveTwoToThe31ComparesUnsigned) {
    CPlaybackSynchData big, small;
    big.Set(0, 0, 0, 0, 0, 0, 0x80000000u);
    small.Set(0, 0, 0, 0, 0, 0, 1);
    Difference d;
    EXPECT_EQ(CompareInto(big, small, d), -1);
}

// This record covers 10.000000 s to 20.000000 s.
class SynchDataRanges : public ::testing::Test {
protected:
    SynchDataRanges() { self.Set(10, 0, 0, 20, 0, 0, 0); }
    CPlaybackSynchData self;
    CPlaybackSynchData other;
    Difference d;
};

TEST_F(SynchDataRanges, OtherEntirelyBeforeAnswersMinusOneWithTheDifferenceNegated) {
    other.Set(2, 250, 1, 9, 999, 999, 0);
    EXPECT_EQ(CompareInto(self, other, d), -1);
    // 10.000000 - 2.250001 = 7.749999, negated part by part.
    EXPECT_EQ(d.major, -7);
    EXPECT_EQ(d.minor1, -749);
    EXPECT_EQ(d.minor2, -999);
    EXPECT_EQ(d.key, 0u);
}

TEST_F(SynchDataRanges, OtherEntirelyAfterAnswersOneWithThePositiveDifference) {
    other.Set(21, 500, 0, 30, 0, 0, 0);
    EXPECT_EQ(CompareInto(self, other, d), 1);
    EXPECT_EQ(d.major, 11);
    EXPECT_EQ(d.minor1, 500);
    EXPECT_EQ(d.minor2, 0);
}

TEST_F(SynchDataRanges, SharedEndPointsAndOverlapsAnswerZeroWithZeroDifference) {
    other.Set(0, 0, 0, 10, 0, 0, 0);  // ends where this starts
    EXPECT_EQ(CompareInto(self, other, d), 0);
    EXPECT_EQ(d.major, 0);
    other.Set(20, 0, 0, 25, 0, 0, 0);  // starts where this ends
    EXPECT_EQ(CompareInto(self, other, d), 0);
    other.Set(15, 0, 0, 16, 0, 0, 0);  // inside
    EXPECT_EQ(CompareInto(self, other, d), 0);
    EXPECT_EQ(d.minor1, 0);
    EXPECT_EQ(d.minor2, 0);
}

TEST_F(SynchDataRanges, OneKeyAloneFallsBackToTheRanges) {
    self.Set(10, 0, 0, 20, 0, 0, 5);
    other.Set(30, 0, 0, 40, 0, 0, 0);
    EXPECT_EQ(CompareInto(self, other, d), 1);
    EXPECT_EQ(d.major, 20);
    EXPECT_EQ(d.key, 5u);
}

TEST_F(SynchDataRanges, ExtremeStartsSaturateTheDifferenceWithoutOverflow) {
    self.Set(INT32_MAX, 999, 999, INT32_MAX, 999, 999, 0);
    other.Set(INT32_MIN, 0, 0, INT32_MIN, 0, 0, 0);
    EXPECT_EQ(CompareInto(self, other, d), -1);
    EXPECT_EQ(d.major, -INT32_MAX);
    EXPECT_EQ(d.minor1, -999);
    EXPECT_EQ(d.minor2, -999);
    EXPECT_EQ(CompareInto(other, self, d), 1);
    EXPECT_EQ(d.major, INT32_MAX);
}

// Run under ThreadSanitizer as well: taking the two locks in call order would deadlock here
// (and be reported as a lock-order inversion).
TEST(SynchDataLocking, OppositeComparesAndCopiesOnTwoThreadsDoNotDeadlock) {
    CPlaybackSynchData a, b;
    a.Set(0, 0, 0, 1, 0, 0, 0);
    b.Set(5, 0, 0, 6, 0, 0, 0);
    constexpr int kRounds = 20000;
    // Each thread also rewrites its own record with the same values, so the other's unlocked
    // key reads race with real writes.
    auto run = [](CPlaybackSynchData& self, int32_t start, const CPlaybackSynchData& other,
                  int& results) {
        Difference d;
        for (int i = 0; i < kRounds; ++i) {
            results += CompareInto(self, other, d);
            if (i % 16 == 0) self.Set(start, 0, 0, start + 1, 0, 0, 0);
            results += static_cast<int>(other.GetOrderKey());
        }
    };
    int fromA = 0, fromB = 0;
    std::thread first(run, std::ref(a), 0, std::cref(b), std::ref(fromA));
    std::thread second(run, std::ref(b), 5, std::cref(a), std::ref(fromB));
    first.join();
    second.join();
    EXPECT_EQ(fromA, kRounds);
    EXPECT_EQ(fromB, -kRounds);
}

TEST(SynchDataLocking, CopiesInBothDirectionsAtOnceStayWhole) {
    CPlaybackSynchData a, b;
    a.Set(1, 1, 1, 2, 2, 2, 1);
    b.Set(7, 7, 7, 8, 8, 8, 7);
    constexpr int kRounds = 5000;
    std::thread first([&] {
        for (int i = 0; i < kRounds; ++i) a.CopyFrom(b);
    });
    std::thread second([&] {
        for (int i = 0; i < kRounds; ++i) b.CopyFrom(a);
    });
    first.join();
    second.join();
    // Whichever copy ran last, each record holds one of the two original ranges whole.
    for (const CPlaybackSynchData* data : {&a, &b}) {
        int32_t s = 0, e = 0;
        uint16_t s1 = 0, s2 = 0, e1 = 0, e2 = 0;
        data->Get(s, s1, s2, e, e1, e2);
        EXPECT_EQ(e, s + 1);
        EXPECT_EQ(s1, s);
        EXPECT_EQ(e2, e);
        EXPECT_EQ(static_cast<int32_t>(data->GetOrderKey()), s);
    }
}

}  // namespace
