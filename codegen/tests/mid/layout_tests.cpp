// Axes, named layouts, padded_shape with every error and its precedence, physical elements.
#include "vorn/codegen/mid/layout.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "support/expected_matchers.hpp"
#include "vorn/codegen/mid/precision.hpp"
#include "vorn/codegen/mid/tensor_type.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {
namespace {

using graph::TensorShape;
using testing::FailsWith;
using Axis = TensorAxis;
using E = LayoutError;

constexpr std::uint32_t max_extent = std::numeric_limits<std::uint32_t>::max();

TEST(Precision, HasElementSizes) {
  EXPECT_EQ(Precision(Precision::F8F143{-3}).bytes(), 1U);
  EXPECT_EQ(Precision(Precision::F16{}).bytes(), 2U);
  EXPECT_EQ(Precision(Precision::F32{}).bytes(), 4U);
  EXPECT_NE(Precision(Precision::F8F143{1}), Precision(Precision::F8F143{2}));
}

TEST(TensorAxis, ResolvesAgainstARank) {
  struct Case {
    TensorAxis axis;
    std::size_t rank;
    std::optional<std::size_t> index;
  };
  const Case cases[] = {
      {Axis::FromStart{0}, 1, 0},
      {Axis::FromStart{2}, 3, 2},
      {Axis::FromStart{3}, 3, std::nullopt},
      {Axis::FromStart{0}, 0, std::nullopt},
      {Axis::FromEnd{1}, 3, 2},
      {Axis::FromEnd{3}, 3, 0},
      {Axis::FromEnd{4}, 3, std::nullopt},
      {Axis::FromEnd{0}, 3, std::nullopt},
      {Axis::FromEnd{0}, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(support::to_text(c.axis) + " rank " + std::to_string(c.rank));
    const auto resolved = c.axis.resolve(c.rank);
    if (c.index) {
      EXPECT_EQ(resolved, *c.index);
    } else {
      EXPECT_TRUE(FailsWith(resolved, E::AxisOutOfRange{c.axis, c.rank}));
    }
  }
}

TEST(Layout, NamedConstructorsSpellOutTheirTilings) {
  EXPECT_EQ(Layout::row_sharded(4),
            (Layout{ElementOrder::RowMajor{},
                    TensorTiling{4, 1, {AxisTiling{Axis::FromEnd{2}, 4, 1, Padding::Reject}}},
                    MemoryClass::Vorn21Standard}));
  EXPECT_EQ(Layout::head_sharded(2), Layout::row_major(TensorTiling::sharded(Axis::FromEnd{3}, 2)));
  EXPECT_EQ(Layout::amp_right(8, 4),
            (Layout{ElementOrder::Amp{AmpOrder::Right},
                    TensorTiling{4,
                                 1,
                                 {AxisTiling{Axis::FromEnd{2}, 1, 8, Padding::Zero},
                                  AxisTiling{Axis::FromEnd{1}, 4, 16, Padding::Zero}}},
                    MemoryClass::Vorn21Standard}));
  EXPECT_EQ(Layout::amp_output(3).memory_class, MemoryClass::Vorn21Interleaved);
  EXPECT_EQ(Layout::amp_left(16, 3).memory_class, MemoryClass::Vorn21Standard);
  EXPECT_EQ(TensorTiling::replicated(5), (TensorTiling{5, 5, {}}));
}

Layout tiled(std::uint16_t tile_count, std::uint16_t replicas, std::vector<AxisTiling> axes) {
  return Layout::row_major(TensorTiling{tile_count, replicas, std::move(axes)});
}

struct PaddedCase {
  std::string name;
  Layout layout;
  TensorShape shape;
  std::expected<TensorShape, LayoutError> expected;
};

TEST(PaddedShape, PadsOrKeepsExtents) {
  const PaddedCase cases[] = {
      {"amp_left pads the inner axis", Layout::amp_left(16, 4), {5, 20}, TensorShape{5, 32}},
      {"amp_right pads both matrix axes", Layout::amp_right(8, 4), {20, 33}, TensorShape{24, 48}},
      {"amp_output pads the columns", Layout::amp_output(4), {7, 1}, TensorShape{7, 16}},
      {"batch axes stay", Layout::amp_output(2), {3, 7, 17}, TensorShape{3, 7, 32}},
      {"replicated takes rank 0",
       Layout::row_major(TensorTiling::replicated(3)),
       {},
       TensorShape{}},
      {"replicated keeps any shape",
       Layout::row_major(TensorTiling::replicated(1)),
       {9, 0, 3},
       TensorShape{9, 0, 3}},
      {"zero extent is a multiple of every block",
       tiled(1, 1, {{Axis::FromEnd{1}, 1, 7, Padding::Reject}}),
       {0},
       TensorShape{0}},
      {"zero padding rounds up",
       tiled(1, 1, {{Axis::FromEnd{1}, 1, 4, Padding::Zero}}),
       {10},
       TensorShape{12}},
      {"partitions need not divide the extent",
       tiled(3, 1, {{Axis::FromStart{0}, 3, 1, Padding::Reject}}),
       {7},
       TensorShape{7}},
      {"replicas times partitions is the tile count",
       tiled(6, 2, {{Axis::FromStart{0}, 3, 1, Padding::Reject}}),
       {9},
       TensorShape{9}},
      {"the largest extent that pads",
       tiled(1, 1, {{Axis::FromEnd{1}, 1, 2, Padding::Zero}}),
       {max_extent - 1},
       TensorShape{max_extent - 1}},
  };
  for (const PaddedCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.layout.padded_shape(c.shape), c.expected);
  }
}

TEST(PaddedShape, ReportsEveryErrorInCheckingOrder) {
  const AxisTiling first{Axis::FromStart{0}, 1, 1, Padding::Reject};
  const PaddedCase cases[] = {
      {"no tiles", tiled(0, 1, {}), {4}, std::unexpected(E::EmptyTileGroup{})},
      {"no replicas", tiled(1, 0, {}), {4}, std::unexpected(E::EmptyTileGroup{})},
      {"empty tile group before axis errors",
       tiled(0, 1, {{Axis::FromEnd{0}, 0, 0, Padding::Zero}}),
       {4},
       std::unexpected(E::EmptyTileGroup{})},
      {"no partitions",
       tiled(1, 1, {{Axis::FromStart{0}, 0, 1, Padding::Reject}}),
       {4},
       std::unexpected(E::EmptyAxisTiling{})},
      {"no block size",
       tiled(1, 1, {{Axis::FromStart{0}, 1, 0, Padding::Reject}}),
       {4},
       std::unexpected(E::EmptyAxisTiling{})},
      {"tile count overflow before the axis resolves",
       tiled(1, 65535,
             {{Axis::FromStart{0}, 65535, 1, Padding::Reject},
              {Axis::FromStart{9}, 2, 1, Padding::Reject}}),
       {4, 4},
       std::unexpected(E::TileCountOverflow{})},
      {"row sharding of rank 1",
       Layout::row_sharded(2),
       {8},
       std::unexpected(E::AxisOutOfRange{Axis::FromEnd{2}, 1})},
      {"head sharding of rank 2",
       Layout::head_sharded(2),
       {8, 8},
       std::unexpected(E::AxisOutOfRange{Axis::FromEnd{3}, 2})},
      {"one axis from both ends",
       tiled(1, 1,
             {{Axis::FromStart{1}, 1, 1, Padding::Reject},
              {Axis::FromEnd{1}, 1, 1, Padding::Reject}}),
       {3, 4},
       std::unexpected(E::DuplicateAxis{1})},
      {"indivisible rejected axis",
       tiled(1, 1, {first, {Axis::FromEnd{1}, 1, 4, Padding::Reject}}),
       {2, 10},
       std::unexpected(E::IndivisibleAxis{1, 10, 4})},
      {"padding beyond 32 bits",
       tiled(1, 1, {{Axis::FromEnd{1}, 1, 2, Padding::Zero}}),
       {max_extent},
       std::unexpected(E::ExtentOverflow{0})},
      {"tile count mismatch",
       tiled(5, 2, {{Axis::FromStart{0}, 3, 1, Padding::Reject}}),
       {9},
       std::unexpected(E::TileCountMismatch{5, 6})},
      {"per-axis errors win over the mismatch",
       tiled(5, 1, {{Axis::FromStart{0}, 1, 4, Padding::Reject}}),
       {9},
       std::unexpected(E::IndivisibleAxis{0, 9, 4})},
  };
  for (const PaddedCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.layout.padded_shape(c.shape), c.expected);
  }
}

TEST(PhysicalElements, CountsThePaddedShapeOrFallsBackToTheLogicalOne) {
  EXPECT_EQ(physical_elements({3, 5}, Layout::amp_output(1)), 48U);
  EXPECT_EQ(physical_elements({3, 5}, Layout::head_sharded(1)), 15U);
  // Beyond 64 bits the count saturates instead of stopping.
  EXPECT_EQ(physical_elements({max_extent, max_extent, 2}, Layout::row_sharded(1)),
            std::numeric_limits<std::uint64_t>::max());
}

TEST(Layout, Renders) {
  EXPECT_EQ(support::to_text(Layout::amp_output(4)),
            "Amp(Output) Vorn21Interleaved {tiles 4 replicas 1 [FromEnd(2) x4 block 1 Reject, "
            "FromEnd(1) x1 block 16 Zero]}");
  EXPECT_EQ(support::to_text(TensorType({2, 3}, Precision::F8F143{-2}, Layout::row_sharded(1))),
            "[2, 3] F8F143(-2) RowMajor Vorn21Standard {tiles 1 replicas 1 [FromEnd(2) x1 block 1 "
            "Reject]}");
  EXPECT_EQ(support::to_text(LayoutError(E::IndivisibleAxis{1, 10, 4})),
            "IndivisibleAxis { axis: 1, extent: 10, block_size: 4 }");
}

}  // namespace
}  // namespace vorn::codegen::mid
