#include "vb/Random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <tuple>

using vb::randomize;
using vb::rnd;

TEST(Random, DrawsLieBelowOneAndSpreadEvenlyOverTwentyFourBits)
{
    randomize();
    constexpr int Draws = 200000;
    constexpr int Bins = 16;
    std::array<int, Bins> bins{};
    int oddLowBit = 0;
    for (int i = 0; i < Draws; ++i) {
        const float x = rnd();
        ASSERT_GE(x, 0.0f);
        ASSERT_LT(x, 1.0f);
        const double k = static_cast<double>(x) * 16777216.0;
        ASSERT_EQ(k, std::floor(k)) << "not a multiple of 2^-24: " << x;
        oddLowBit += static_cast<long long>(k) % 2;
        ++bins[static_cast<std::size_t>(x * Bins)];
    }
    double chi2 = 0;
    const double expected = static_cast<double>(Draws) / Bins;
    for (int n : bins)
        chi2 += (n - expected) * (n - expected) / expected;
    EXPECT_LT(chi2, 45.0); // 15 degrees of freedom: p < 0.0002
    // The lowest of the 24 bits is random too, not a constant.
    EXPECT_NEAR(oddLowBit, Draws / 2, 5 * std::sqrt(Draws / 4.0));
}

TEST(Random, ReseedsInARowStartDifferentSequences)
{
    // Far more reseeds than a coarse clock has ticks in the time they take.
    constexpr int Reseeds = 2000;
    std::set<std::tuple<float, float, float>> starts;
    for (int i = 0; i < Reseeds; ++i) {
        randomize();
        const float a = rnd(), b = rnd(), c = rnd();
        starts.emplace(a, b, c);
    }
    EXPECT_EQ(starts.size(), static_cast<std::size_t>(Reseeds));
}
