// The seeded generator: determinism, range bounds, and rejection of empty ranges.
#include "selfcheck/random.hpp"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace vorn::selfcheck {
namespace {

TEST(Random, SameSeedSameDraws) {
  Random a(42), b(42), c(43);
  bool differs = false;
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t x = a.u32_in(0, 1000000);
    EXPECT_EQ(x, b.u32_in(0, 1000000));
    differs = differs || x != c.u32_in(0, 1000000);
  }
  EXPECT_TRUE(differs);
}

TEST(Random, DrawsStayInTheirRangesAndReachTheirBounds) {
  Random random(7);
  std::set<int> u8_seen, i8_seen, size_seen;
  std::set<bool> booleans;
  for (int i = 0; i < 2000; ++i) {
    u8_seen.insert(random.u8_below(0, 3));
    i8_seen.insert(random.i8_in(-2, 1));
    size_seen.insert(static_cast<int>(random.size_in(0, 4)));
    booleans.insert(random.boolean());
    const std::uint16_t u16 = random.u16_below(10, 12);
    EXPECT_TRUE(u16 == 10 || u16 == 11);
  }
  EXPECT_EQ(u8_seen, (std::set<int>{0, 1, 2}));
  EXPECT_EQ(i8_seen, (std::set<int>{-2, -1, 0, 1}));
  EXPECT_EQ(size_seen, (std::set<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(booleans.size(), 2U);
  EXPECT_EQ(random.u8_in(255, 255), 255);
  EXPECT_EQ(random.i8_in(-128, -128), -128);
}

TEST(Random, EmptyRangesAreRejected) {
  Random random(1);
  EXPECT_THROW((void)random.u8_below(3, 3), std::invalid_argument);
  EXPECT_THROW((void)random.size_in(2, 1), std::invalid_argument);
  EXPECT_THROW((void)random.i8_below(0, -1), std::invalid_argument);
}

}  // namespace
}  // namespace vorn::selfcheck
