// TensorShape element counts and equality, and the broadcasting rule.
#include "vorn/codegen/graph/tensor_shape.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/expected_matchers.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::graph {
namespace {

using Extents = std::vector<std::uint32_t>;
using testing::FailsWith;

TEST(TensorShape, CountsElements) {
  EXPECT_EQ(TensorShape().elements(), 1U);
  EXPECT_EQ(TensorShape({2, 3, 4}).elements(), 24U);
  EXPECT_EQ(TensorShape({5, 0}).elements(), 0U);
  EXPECT_EQ(TensorShape({0xFFFFFFFFU, 0xFFFFFFFFU}).elements(), 0xFFFFFFFE00000001ULL);
}

TEST(TensorShapeDeathTest, ElementCountBeyond64BitsIsFatal) {
  const TensorShape huge({0xFFFFFFFFU, 0xFFFFFFFFU, 2});
  EXPECT_DEATH((void)huge.elements(), "element count overflows");
}

TEST(TensorShape, ComparesRankAndExtentsInOrder) {
  EXPECT_EQ(TensorShape({2, 3}), TensorShape(Extents{2, 3}));
  EXPECT_NE(TensorShape({2, 3}), TensorShape({3, 2}));
  EXPECT_NE(TensorShape(), TensorShape({1}));
}

TEST(TensorShape, PrintsAsAList) {
  EXPECT_EQ(support::to_text(TensorShape({2, 3, 4})), "[2, 3, 4]");
  EXPECT_EQ(support::to_text(TensorShape()), "[]");
}

struct BroadcastCase {
  Extents left;
  Extents right;
  Extents expected;
};

TEST(Broadcast, CombinesCompatibleShapes) {
  const BroadcastCase cases[] = {
      {{}, {}, {}},
      {{3}, {}, {3}},
      {{}, {2, 5}, {2, 5}},
      {{2, 1, 5}, {4, 5}, {2, 4, 5}},
      {{1, 7}, {6, 1}, {6, 7}},
      // A 1 (written or implied by a missing axis) stretches to the other side, even to 0.
      {{0}, {1}, {0}},
      {{1}, {0}, {0}},
      {{0}, {}, {0}},
      {{0, 3}, {3}, {0, 3}},
      {{0}, {0}, {0}},
  };
  for (const BroadcastCase& c : cases) {
    SCOPED_TRACE(support::to_text(TensorShape(c.left)) + " with " +
                 support::to_text(TensorShape(c.right)));
    const auto result = broadcast(c.left, c.right);
    ASSERT_TRUE(testing::HasValue(result));
    EXPECT_EQ(TensorShape(*result), TensorShape(c.expected));
  }
}

TEST(Broadcast, ReportsTheOutermostIncompatiblePair) {
  const auto message = [](int left, int right) {
    return GraphError(GraphError::InvalidShape{"dimensions " + std::to_string(left) + " and " +
                                               std::to_string(right) + " cannot be broadcast"});
  };
  EXPECT_TRUE(FailsWith(broadcast(Extents{3}, Extents{4}), message(3, 4)));
  EXPECT_TRUE(FailsWith(broadcast(Extents{4}, Extents{3}), message(4, 3)));
  EXPECT_TRUE(FailsWith(broadcast(Extents{2, 3}, Extents{4, 5}), message(2, 4)));
  EXPECT_TRUE(FailsWith(broadcast(Extents{0}, Extents{5}), message(0, 5)));
}

}  // namespace
}  // namespace vorn::codegen::graph
