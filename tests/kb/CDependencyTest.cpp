#include "kb/CDependency.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

using kb::CDependency;

namespace {

// All nine slots as (Q, Opt) pairs.
std::vector<std::pair<int, int>> Slots(const CDependency& d) {
    std::vector<std::pair<int, int>> slots;
    for (std::int16_t i = 0; i < 9; ++i) {
        std::int16_t q = -1;
        std::int16_t opt = -1;
        EXPECT_TRUE(d.GetDependency(i, q, opt));
        slots.emplace_back(q, opt);
    }
    return slots;
}

TEST(CDependency, AddRefusesEmptyRepeatedAndTenthPair) {
    CDependency d;
    EXPECT_FALSE(d.AddDependency(0, 3));
    EXPECT_TRUE(d.AddDependency(2, 1));
    EXPECT_FALSE(d.AddDependency(2, 1));
    EXPECT_TRUE(d.AddDependency(2, 2));
    EXPECT_TRUE(d.AddDependency(-1, 5)); // stored like any other
    for (std::int16_t q = 3; q <= 8; ++q) {
        EXPECT_TRUE(d.AddDependency(q, 1));
    }
    EXPECT_EQ(d.GetNumDependencies(), 9);
    EXPECT_FALSE(d.AddDependency(9, 1));
    EXPECT_EQ(d.GetNumDependencies(), 9);
    EXPECT_EQ(Slots(d).back(), std::make_pair(8, 1));
}

TEST(CDependency, RemoveClosesTheGap) {
    CDependency d;
    d.AddDependency(1, 1);
    d.AddDependency(1, 2);
    d.AddDependency(2, 1);
    EXPECT_FALSE(d.RemoveDependency(3, 1));
    EXPECT_FALSE(d.RemoveDependency(0, 0));
    EXPECT_TRUE(d.RemoveDependency(1, 2));
    EXPECT_EQ(d.GetNumDependencies(), 2);
    const std::vector<std::pair<int, int>> expected = {{1, 1}, {2, 1}, {0, 0}, {0, 0}, {0, 0},
                                                       {0, 0}, {0, 0}, {0, 0}, {0, 0}};
    EXPECT_EQ(Slots(d), expected);
    EXPECT_TRUE(d.AddDependency(1, 2)); // the freed slot is used again
    EXPECT_EQ(Slots(d)[2], std::make_pair(1, 2));
}

TEST(CDependency, RemovingTheFirstOfNineLeavesEachOtherPairOnce) {
    CDependency d;
    for (std::int16_t q = 1; q <= 9; ++q) {
        d.AddDependency(q, q);
    }
    EXPECT_TRUE(d.RemoveDependency(1, 1));
    const auto slots = Slots(d);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(slots[static_cast<std::size_t>(i)], std::make_pair(i + 2, i + 2));
    }
    EXPECT_EQ(slots[8], std::make_pair(0, 0));
}

TEST(CDependency, GetDependencyBounds) {
    CDependency d;
    std::int16_t q = 7;
    std::int16_t opt = 7;
    EXPECT_TRUE(d.GetDependency(8, q, opt));
    EXPECT_EQ(q, 0);
    EXPECT_EQ(opt, 0);
    q = 7;
    opt = 7;
    EXPECT_FALSE(d.GetDependency(9, q, opt));
    EXPECT_EQ(q, 7);
    EXPECT_EQ(opt, 7);
    EXPECT_THROW(d.GetDependency(-1, q, opt), std::out_of_range);
}

TEST(CDependency, TypeAndReset) {
    CDependency d;
    EXPECT_EQ(d.GetType(), 0);
    d.SetType(5);
    EXPECT_EQ(d.GetType(), 1);
    d.AddDependency(2, 1);
    d.AddDependency(4, 3);
    EXPECT_TRUE(d.IsDependentQ(4));
    EXPECT_FALSE(d.IsDependentQ(3));
    EXPECT_FALSE(d.IsDependentQ(0));
    d.Reset();
    EXPECT_EQ(d.GetType(), 1);
    EXPECT_EQ(d.GetNumDependencies(), 0);
    EXPECT_FALSE(d.IsDependentQ(4));
    d.SetType(0);
    EXPECT_EQ(d.GetType(), 0);
}

} // namespace
