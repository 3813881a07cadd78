// The program model: identifier order, deep copies, error wrapping, the phase search, listings.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "mid_graph_builders.hpp"
#include "src/low/check_helpers.hpp"
#include "support/expected_matchers.hpp"
#include "vorn/codegen/low.hpp"
#include "vorn/support/print.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::low {
namespace {

using vorn::testing::FailsWith;
using vorn::testing::HasValue;
using namespace low::builders;

TileWorkList list_with_nested_phase() {
  RepeatRun run{3, {}, {}, {}, TileWorkList{0, {TileWork::Exchange{ExchangePhaseId{4}}}}};
  return TileWorkList{0, {TileWork::Exchange{ExchangePhaseId{1}}, std::move(run)}};
}

TEST(ProgramModel, OrdersShardIdsByNumber) {
  EXPECT_LT(LowShardId{2}, LowShardId{10});
  const std::set<LowShardId> ids = {LowShardId{10}, LowShardId{2}, LowShardId{7}};
  EXPECT_EQ(std::vector<LowShardId>(ids.begin(), ids.end()),
            (std::vector<LowShardId>{LowShardId{2}, LowShardId{7}, LowShardId{10}}));
}

TEST(ProgramModel, CopiesRepeatBodiesDeeply) {
  const TileWorkList original = list_with_nested_phase();
  TileWorkList copy = original;
  copy.work[1].get_if<TileWork::Repeat>()->body.work.clear();
  EXPECT_NE(copy, original);
  EXPECT_EQ(std::get<RepeatRun>(original.work[1].variant()).body.work.size(), 1U);
}

std::expected<graph::TensorShape, LowLoweringError> padded(const mid::TensorType& type) {
  VORN_TRY(graph::TensorShape shape, type.format.layout.padded_shape(type.shape));
  return shape;
}

TEST(ProgramModel, WrapsALayoutErrorUnchanged) {
  const mid::TensorType type({4}, mid::Precision::F16{}, mid::Layout::row_sharded(2));
  const mid::LayoutError inner = mid::LayoutError::AxisOutOfRange{mid::TensorAxis::FromEnd{2}, 1};
  EXPECT_TRUE(FailsWith(padded(type), LowLoweringError::Layout{inner}));
  const LowLoweringError wrapped = inner;
  EXPECT_EQ(wrapped, LowLoweringError(LowLoweringError::Layout{inner}));
}

TEST(ProgramModel, FindsPhasesAtTopLevelAndInsideRepeatBodies) {
  const TileWorkList list = list_with_nested_phase();
  EXPECT_TRUE(tests::contains_phase(list, ExchangePhaseId{1}));
  EXPECT_TRUE(tests::contains_phase(list, ExchangePhaseId{4}));
  EXPECT_FALSE(tests::contains_phase(list, ExchangePhaseId{2}));
  EXPECT_FALSE(tests::contains_phase(TileWorkList{0, {}}, ExchangePhaseId{0}));
}

TEST(ProgramModel, RendersErrors) {
  using E = LowLoweringError;
  const std::vector<std::pair<LowLoweringError, std::string>> cases = {
      {E::EmptyTileGroup{}, "EmptyTileGroup"},
      {E::TileCountMismatch{mid::MidValueId{3}, 2, 4},
       "TileCountMismatch { value: %3, declared: 2, scheduled: 4 }"},
      {E::UnknownValue{mid::MidValueId{7}}, "UnknownValue(%7)"},
      {E::ResultArity{}, "ResultArity"},
      {E::InvalidRepeat{}, "InvalidRepeat"},
      {E::IdOverflow{}, "IdOverflow"},
      {mid::LayoutError(mid::LayoutError::DuplicateAxis{1}), "Layout(DuplicateAxis(1))"},
  };
  for (const auto& [error, text] : cases) EXPECT_EQ(support::to_text(error), text);
}

TEST(ProgramModel, ListsAProgram) {
  // x (%0) doubled into %1, then one iteration that doubles the carried value again.
  mid::MidRepeat body{1, 1, 0, {}, mid::MidRegion{ids({2}), {add(ids({2, 2}), ids({3}), 1)},
                                                  ids({3}), 0}};
  mid::MidGraph graph = graph_of(
      sharded_values(5, 2),
      {add(ids({0, 0}), ids({1})), repeat(ids({1}), ids({4}), std::move(body))});
  graph.inputs = {mid::MidInput{"x", graph::GraphInputKind::Host, mid::MidValueId{0}}};
  graph.outputs = ids({4});
  const auto program = lower_to_tiles(graph, {2});
  ASSERT_TRUE(HasValue(program));
  EXPECT_EQ(support::to_text(*program), R"(program on 2 tiles
inputs:
  %0 "x": Host [s0, s1]
shards:
  s0 tile 0 value %0 [axis 0: 0..4, axis 1: 0..8]
  s1 tile 1 value %0 [axis 0: 4..8, axis 1: 0..8]
  s2 tile 0 value %1 [axis 0: 0..4, axis 1: 0..8]
  s3 tile 1 value %1 [axis 0: 4..8, axis 1: 0..8]
  s4 tile 0 value %2 [axis 0: 0..4, axis 1: 0..8]
  s5 tile 1 value %2 [axis 0: 4..8, axis 1: 0..8]
  s6 tile 0 value %3 [axis 0: 0..4, axis 1: 0..8]
  s7 tile 1 value %3 [axis 0: 4..8, axis 1: 0..8]
  s8 tile 0 value %4 [axis 0: 0..4, axis 1: 0..8]
  s9 tile 1 value %4 [axis 0: 4..8, axis 1: 0..8]
  s10 tile 0 copy of s1 [axis 0: 4..8, axis 1: 0..8]
  s11 tile 1 copy of s0 [axis 0: 0..4, axis 1: 0..8]
  s12 tile 0 copy of s5 [axis 0: 4..8, axis 1: 0..8]
  s13 tile 1 copy of s4 [axis 0: 0..4, axis 1: 0..8]
exchange phases:
  x0: s0 -> [s11]; s1 -> [s10]
  x1: s4 -> [s13]; s5 -> [s12]
tiles:
  tile 0:
    exchange x0
    kernel s2 = Kernel(Add) [s0, s10] [s0, s10] (from op0)
    repeat x1; carried s2 -> s4, yield s6 -> result s8
      exchange x1
      kernel s6 = Kernel(Add) [s4, s12] [s4, s12] (from op1)
  tile 1:
    exchange x0
    kernel s3 = Kernel(Add) [s11, s1] [s11, s1] (from op0)
    repeat x1; carried s3 -> s5, yield s7 -> result s9
      exchange x1
      kernel s7 = Kernel(Add) [s13, s5] [s13, s5] (from op1)
outputs:
  %4 [s8, s9])");
}

TEST(ProgramModel, RendersWorkItemsAndShards) {
  const RepeatRun run{2,
                      {RepeatCarried{LowShardId{0}, LowShardId{1}, LowShardId{2}, LowShardId{3}}},
                      {RepeatInvariant{LowShardId{4}, LowShardId{5}}},
                      {RepeatIterated{{LowShardId{6}, LowShardId{7}}, LowShardId{8}}},
                      TileWorkList{1, {TileWork::Exchange{ExchangePhaseId{0}}}}};
  EXPECT_EQ(support::to_text(TileWorkList{1, {run}}),
            "tile 1:\n"
            "  repeat x2; carried s0 -> s1, yield s2 -> result s3; invariant s4 -> s5; "
            "iterated [s6, s7] -> s8\n"
            "    exchange x0");
  EXPECT_EQ(support::to_text(LowKernel::Cast{mid::Precision::F32{}, mid::Precision::F16{}}),
            "Cast(F32 -> F16)");
  const LowShard shard{LowShardId{5}, 1, sharded_value(0, 2).tensor_type,
                       {ShardExtent{0, 4, 8, 8}}, ShardDefinition::ExchangeCopy{LowShardId{1}}};
  EXPECT_EQ(support::to_text(shard), "s5 tile 1 copy of s1 " +
                                         support::to_text(shard.tensor_type) +
                                         " [axis 0: 4..8]");
}

}  // namespace
}  // namespace vorn::codegen::low
