// shard_extents: per-tile ranges, block sharing, replicas, axis order and the error cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/expected_matchers.hpp"
#include "vorn/codegen/low.hpp"
#include "vorn/codegen/mid.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::low {
namespace {

using mid::AxisTiling;
using mid::Padding;
using mid::TensorAxis;
using mid::TensorTiling;
using vorn::testing::FailsWith;
using vorn::testing::HasValue;
using Extents = std::vector<std::vector<ShardExtent>>;

mid::TensorType type_of(graph::TensorShape shape, TensorTiling tiling) {
  return mid::TensorType(std::move(shape), mid::Precision::F16{},
                         mid::Layout::row_major(std::move(tiling)));
}

AxisTiling cut(TensorAxis axis, std::uint16_t partitions, std::uint32_t block,
               Padding padding = Padding::Zero) {
  return AxisTiling{axis, partitions, block, padding};
}

struct Case {
  std::string name;
  graph::TensorShape shape;
  TensorTiling tiling;
  Extents expected;
};

TEST(ShardExtents, CutsEveryTileIntoItsRanges) {
  const TensorAxis last = TensorAxis::FromEnd{1};
  const TensorAxis second_last = TensorAxis::FromEnd{2};
  const TensorAxis first = TensorAxis::FromStart{0};
  const std::vector<Case> cases = {
      {"two axes, fewer blocks than partitions on axis 0",
       {5, 3},
       {6, 1, {cut(last, 2, 1), cut(second_last, 3, 4)}},
       {{{0, 0, 4, 4}, {1, 0, 2, 2}},
        {{0, 0, 4, 4}, {1, 2, 3, 3}},
        {{0, 4, 5, 8}, {1, 0, 2, 2}},
        {{0, 4, 5, 8}, {1, 2, 3, 3}},
        {{0, 8, 8, 8}, {1, 0, 2, 2}},
        {{0, 8, 8, 8}, {1, 2, 3, 3}}}},
      {"replicas vary fastest",
       {10, 6},
       {4, 2, {cut(first, 2, 4)}},
       {{{0, 0, 8, 8}, {1, 0, 6, 6}},
        {{0, 0, 8, 8}, {1, 0, 6, 6}},
        {{0, 8, 10, 12}, {1, 0, 6, 6}},
        {{0, 8, 10, 12}, {1, 0, 6, 6}}}},
      {"one tile, no axis tilings", {3, 7}, {1, 1, {}}, {{{0, 0, 3, 3}, {1, 0, 7, 7}}}},
      {"replicated without axis tilings",
       {2},
       TensorTiling::replicated(3),
       {{{0, 0, 2, 2}}, {{0, 0, 2, 2}}, {{0, 0, 2, 2}}}},
      {"rank 0", {}, TensorTiling::replicated(2), {{}, {}}},
      {"padding in the last block", {10}, {2, 1, {cut(first, 2, 4)}},
       {{{0, 0, 8, 8}}, {{0, 8, 10, 12}}}},
      {"uneven blocks go to the first coordinates",
       {9},
       {3, 1, {cut(first, 3, 2)}},
       {{{0, 0, 4, 4}}, {{0, 4, 8, 8}}, {{0, 8, 9, 10}}}},
      {"coordinates without a block are empty at the end",
       {3},
       {4, 1, {cut(first, 4, 1)}},
       {{{0, 0, 1, 1}}, {{0, 1, 2, 2}}, {{0, 2, 3, 3}}, {{0, 3, 3, 3}}}},
      {"a zero extent", {0}, {2, 1, {cut(first, 2, 4)}}, {{{0, 0, 0, 0}}, {{0, 0, 0, 0}}}},
      {"first listed tiling varies fastest: columns",
       {2, 2},
       {4, 1, {cut(last, 2, 1), cut(first, 2, 1)}},
       {{{0, 0, 1, 1}, {1, 0, 1, 1}},
        {{0, 0, 1, 1}, {1, 1, 2, 2}},
        {{0, 1, 2, 2}, {1, 0, 1, 1}},
        {{0, 1, 2, 2}, {1, 1, 2, 2}}}},
      {"first listed tiling varies fastest: rows",
       {2, 2},
       {4, 1, {cut(first, 2, 1), cut(last, 2, 1)}},
       {{{0, 0, 1, 1}, {1, 0, 1, 1}},
        {{0, 1, 2, 2}, {1, 0, 1, 1}},
        {{0, 0, 1, 1}, {1, 1, 2, 2}},
        {{0, 1, 2, 2}, {1, 1, 2, 2}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto extents = shard_extents(type_of(c.shape, c.tiling));
    ASSERT_TRUE(HasValue(extents));
    EXPECT_EQ(*extents, c.expected);
  }
}

TEST(ShardExtents, ReportsLayoutErrorsWrapped) {
  struct ErrorCase {
    std::string name;
    graph::TensorShape shape;
    TensorTiling tiling;
    mid::LayoutError error;
  };
  using E = mid::LayoutError;
  const std::vector<ErrorCase> cases = {
      {"axis outside the shape",
       {4},
       TensorTiling::sharded(TensorAxis::FromEnd{2}, 2),
       E::AxisOutOfRange{TensorAxis::FromEnd{2}, 1}},
      {"one axis named twice",
       {4, 4},
       {4, 1, {cut(TensorAxis::FromStart{1}, 2, 1), cut(TensorAxis::FromEnd{1}, 2, 1)}},
       E::DuplicateAxis{1}},
      {"tile count disagrees with the partitions",
       {6, 6},
       {5, 2, {cut(TensorAxis::FromStart{0}, 3, 1)}},
       E::TileCountMismatch{5, 6}},
      {"indivisible axis",
       {10},
       {2, 1, {cut(TensorAxis::FromStart{0}, 2, 4, Padding::Reject)}},
       E::IndivisibleAxis{0, 10, 4}},
      {"empty tile group", {4}, {0, 1, {}}, E::EmptyTileGroup{}},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(FailsWith(shard_extents(type_of(c.shape, c.tiling)),
                          LowLoweringError::Layout{c.error}));
  }
}

TEST(ShardExtents, RejectsAxisIndexesBeyondSixteenBits) {
  const std::vector<std::uint32_t> ones(std::size_t{65537}, 1);
  EXPECT_TRUE(FailsWith(shard_extents(type_of(graph::TensorShape(ones), {1, 1, {}})),
                        LowLoweringError::IdOverflow{}));
  const std::vector<std::uint32_t> widest(std::size_t{65536}, 1);
  const auto extents = shard_extents(type_of(graph::TensorShape(widest), {1, 1, {}}));
  ASSERT_TRUE(HasValue(extents));
  EXPECT_EQ(extents->at(0).back(), (ShardExtent{65535, 0, 1, 1}));
}

TEST(ShardExtents, RendersReadably) {
  EXPECT_EQ(support::to_text(ShardExtent{0, 4, 5, 8}), "axis 0: 4..5 padded to 8");
  EXPECT_EQ(support::to_text(ShardExtent{1, 0, 4, 4}), "axis 1: 0..4");
}

}  // namespace
}  // namespace vorn::codegen::low
