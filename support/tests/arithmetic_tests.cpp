// Checked and saturating unsigned arithmetic at the bounds.
#include "vorn/support/arithmetic.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace vorn::support {
namespace {

constexpr std::uint64_t max64 = std::numeric_limits<std::uint64_t>::max();

TEST(Arithmetic, CheckedOperationsDetectOverflow) {
  EXPECT_EQ(checked_mul<std::uint64_t>(1ULL << 32, 1ULL << 31), 1ULL << 63);
  EXPECT_EQ(checked_mul<std::uint64_t>(1ULL << 32, 1ULL << 32), std::nullopt);
  EXPECT_EQ(checked_add<std::uint32_t>(0xFFFFFFFEU, 1U), 0xFFFFFFFFU);
  EXPECT_EQ(checked_add<std::uint32_t>(0xFFFFFFFFU, 1U), std::nullopt);
}

TEST(Arithmetic, SaturatingOperationsStopAtTheMaximum) {
  EXPECT_EQ(saturating_add<std::uint64_t>(max64 - 1, 1), max64);
  EXPECT_EQ(saturating_add<std::uint64_t>(max64, max64), max64);
  EXPECT_EQ(saturating_mul<std::uint64_t>(max64, 2), max64);
  EXPECT_EQ(saturating_mul<std::uint64_t>(max64, 0), 0U);
  EXPECT_EQ(saturating_mul<std::uint64_t>(6, 7), 42U);
}

}  // namespace
}  // namespace vorn::support
