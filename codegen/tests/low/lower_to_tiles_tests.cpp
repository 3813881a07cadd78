// lower_to_tiles without repeats: canonical shards, copies, exchange phases, work lists, errors.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "mid_graph_builders.hpp"
#include "support/expected_matchers.hpp"
#include "vorn/codegen/low.hpp"

namespace vorn::codegen::low {
namespace {

using vorn::testing::FailsWith;
using vorn::testing::HasValue;
using namespace low::builders;

std::vector<LowShardId> shard_ids(std::initializer_list<std::uint32_t> numbers) {
  std::vector<LowShardId> result;
  for (const std::uint32_t number : numbers) result.push_back(LowShardId{number});
  return result;
}

// The kernel run at `item`; a work item of another kind throws, which fails the test.
const KernelRun& kernel_at(const TileWorkList& list, std::size_t item) {
  return std::get<KernelRun>(list.work.at(item).variant());
}

// Two inputs and their sum, all rows split over four tiles.
class FourTileAdd : public ::testing::Test {
 protected:
  static constexpr std::uint16_t tiles = 4;

  // The copy of input `input`'s shard of tile `source` made for tile `tile`: copies are
  // numbered by running tile, then input, then source tile.
  // `first` is the id of the first copy, one past the canonical shards.
  static LowShardId copy(std::uint32_t tile, std::uint32_t input, std::uint32_t source,
                         std::uint32_t first = 12) {
    return LowShardId{first + 6 * tile + 3 * input + (source < tile ? source : source - 1)};
  }
  // What input `input` reads on `tile`: its own shard there, copies of the others.
  static std::vector<LowShardId> operand(std::uint32_t tile, std::uint32_t input,
                                         std::uint32_t first = 12) {
    std::vector<LowShardId> shards;
    for (std::uint32_t source = 0; source < tiles; ++source) {
      shards.push_back(source == tile ? LowShardId{4 * input + source}
                                      : copy(tile, input, source, first));
    }
    return shards;
  }

  mid::MidGraph graph = [] {
    mid::MidGraph g = graph_of(sharded_values(3, tiles), {add(ids({0, 1}), ids({2}))});
    g.inputs = {mid::MidInput{"left", graph::GraphInputKind::Host, mid::MidValueId{0}},
                mid::MidInput{"right", graph::GraphInputKind::Parameter, mid::MidValueId{1}}};
    g.outputs = ids({2});
    return g;
  }();
};

TEST_F(FourTileAdd, CreatesCanonicalShardsThenCopiesByTileInputAndSource) {
  const auto program = lower_to_tiles(graph, {tiles});
  ASSERT_TRUE(HasValue(program));
  EXPECT_EQ(program->tile_count, tiles);
  ASSERT_EQ(program->shards.size(), 36U);
  for (std::uint32_t id = 0; id < 36; ++id) EXPECT_EQ(program->shards[id].id, LowShardId{id});

  const auto extents = *shard_extents(graph.values[0].tensor_type);
  for (std::uint32_t value = 0; value < 3; ++value) {
    for (std::uint16_t tile = 0; tile < tiles; ++tile) {
      const LowShard& shard = program->shards[4 * value + tile];
      EXPECT_EQ(shard.tile, tile);
      EXPECT_EQ(shard.tensor_type, graph.values[value].tensor_type);
      EXPECT_EQ(shard.extents, extents[tile]);
      EXPECT_EQ(shard.definition, ShardDefinition(ShardDefinition::Value{mid::MidValueId{value}}));
    }
  }
  for (std::uint32_t tile = 0; tile < tiles; ++tile) {
    for (std::uint32_t input = 0; input < 2; ++input) {
      for (std::uint32_t source = 0; source < tiles; ++source) {
        if (source == tile) continue;
        const LowShard& shard = program->shards[copy(tile, input, source).index()];
        const LowShard& original = program->shards[4 * input + source];
        EXPECT_EQ(shard.tile, tile);
        EXPECT_EQ(shard.extents, original.extents);
        EXPECT_EQ(shard.tensor_type, original.tensor_type);
        EXPECT_EQ(shard.definition,
                  ShardDefinition(ShardDefinition::ExchangeCopy{original.id}));
      }
    }
  }
  EXPECT_EQ(copy(0, 0, 1), LowShardId{12});
  EXPECT_EQ(copy(0, 1, 1), LowShardId{15});
  EXPECT_EQ(copy(1, 0, 0), LowShardId{18});
}

TEST_F(FourTileAdd, GathersAllCopiesInOnePhaseSortedBySource) {
  const auto program = lower_to_tiles(graph, {tiles});
  ASSERT_TRUE(HasValue(program));
  ASSERT_EQ(program->exchange_phases.size(), 1U);
  const ExchangePhase& phase = program->exchange_phases[0];
  EXPECT_EQ(phase.id, ExchangePhaseId{0});
  ASSERT_EQ(phase.transfers.size(), 8U);
  EXPECT_EQ(phase.transfers[0], (LogicalExchange{LowShardId{0}, shard_ids({18, 24, 30})}));
  for (std::uint32_t input = 0; input < 2; ++input) {
    for (std::uint32_t source = 0; source < tiles; ++source) {
      LogicalExchange expected{LowShardId{4 * input + source}, {}};
      for (std::uint32_t tile = 0; tile < tiles; ++tile) {
        if (tile != source) expected.destinations.push_back(copy(tile, input, source));
      }
      EXPECT_EQ(phase.transfers[4 * input + source], expected);
    }
  }
}

TEST_F(FourTileAdd, AnnouncesThePhaseBeforeEveryTilesKernelRun) {
  const auto program = lower_to_tiles(graph, {tiles});
  ASSERT_TRUE(HasValue(program));
  ASSERT_EQ(program->tiles.size(), tiles);
  for (std::uint16_t tile = 0; tile < tiles; ++tile) {
    SCOPED_TRACE(tile);
    const TileWorkList expected{
        tile,
        {TileWork::Exchange{ExchangePhaseId{0}},
         KernelRun{graph::OperationId{0}, LowKernel::Kernel{mid::MidKernel::Add{}},
                   {KernelOperand{operand(tile, 0)}, KernelOperand{operand(tile, 1)}},
                   LowShardId{8U + tile}, std::nullopt}}};
    EXPECT_EQ(program->tiles[tile], expected);
  }
  EXPECT_EQ(program->inputs,
            (std::vector<LowInput>{
                {"left", graph::GraphInputKind::Host, mid::MidValueId{0}, shard_ids({0, 1, 2, 3})},
                {"right", graph::GraphInputKind::Parameter, mid::MidValueId{1},
                 shard_ids({4, 5, 6, 7})}}));
  EXPECT_EQ(program->outputs,
            (std::vector<LowValue>{{mid::MidValueId{2}, shard_ids({8, 9, 10, 11})}}));
}

TEST_F(FourTileAdd, ASecondReaderInTheRegionReusesTheCopies) {
  graph.values.push_back(sharded_value(3, tiles));
  graph.operations.push_back(add(ids({1, 0}), ids({3})));
  const auto program = lower_to_tiles(graph, {tiles});
  ASSERT_TRUE(HasValue(program));
  EXPECT_EQ(program->shards.size(), 16U + 24U);
  EXPECT_EQ(program->exchange_phases.size(), 1U);
  for (std::uint16_t tile = 0; tile < tiles; ++tile) {
    const TileWorkList& list = program->tiles[tile];
    ASSERT_EQ(list.work.size(), 3U);
    const KernelRun& second = kernel_at(list, 2);
    EXPECT_EQ(second.inputs,
              (std::vector<KernelOperand>{{operand(tile, 1, 16)}, {operand(tile, 0, 16)}}));
    EXPECT_EQ(second.output, LowShardId{12U + tile});
  }
}

TEST(LowerToTiles, AValueReadTwiceIsCopiedOnce) {
  const mid::MidGraph graph = graph_of(sharded_values(2, 2), {add(ids({0, 0}), ids({1}))});
  const auto program = lower_to_tiles(graph, {2});
  ASSERT_TRUE(HasValue(program));
  ASSERT_EQ(program->shards.size(), 6U);
  const KernelRun& run = kernel_at(program->tiles[1], 1);
  EXPECT_EQ(run.inputs[0], run.inputs[1]);
  EXPECT_EQ(run.inputs[0].shards, shard_ids({5, 1}));
  EXPECT_EQ(program->exchange_phases[0].transfers,
            (std::vector<LogicalExchange>{{LowShardId{0}, shard_ids({5})},
                                          {LowShardId{1}, shard_ids({4})}}));
}

TEST(LowerToTiles, OneTileNeedsNoExchange) {
  const mid::MidGraph graph = graph_of(
      sharded_values(4, 1), {add(ids({0, 1}), ids({2})), add(ids({2, 0}), ids({3}))});
  const auto program = lower_to_tiles(graph, {1});
  ASSERT_TRUE(HasValue(program));
  EXPECT_EQ(program->shards.size(), 4U);
  EXPECT_TRUE(program->exchange_phases.empty());
  ASSERT_EQ(program->tiles.size(), 1U);
  ASSERT_EQ(program->tiles[0].work.size(), 2U);
  EXPECT_EQ(kernel_at(program->tiles[0], 1).inputs,
            (std::vector<KernelOperand>{{shard_ids({2})}, {shard_ids({0})}}));
}

TEST(LowerToTiles, AnEmptyGraphGivesEmptyListsPerTile) {
  const auto program = lower_to_tiles(graph_of({}, {}), {3});
  ASSERT_TRUE(HasValue(program));
  EXPECT_EQ(*program, (LowProgram{3, {}, {}, {}, {{0, {}}, {1, {}}, {2, {}}}, {}}));
}

TEST(LowerToTiles, MirrorsConversionsAsCastAndRearrangeRuns) {
  const mid::Layout replicated = mid::Layout::row_major(mid::TensorTiling::replicated(2));
  const mid::Layout sharded = mid::Layout::row_sharded(2);
  mid::MidGraph graph = graph_of(
      {value(0, {4, 4}, replicated), value(1, {4, 4}, replicated), value(2, {4, 4}, sharded)},
      {mid::MidOperation{graph::OperationId{5}, ids({0}), ids({1}),
                         mid::MidOperationKind::CastPrecision{mid::Precision::F32{},
                                                              mid::Precision::F16{}},
                         std::nullopt, 0},
       mid::MidOperation{graph::OperationId{5}, ids({1}), ids({2}),
                         mid::MidOperationKind::Rearrange{replicated, sharded}, std::nullopt, 0}});
  const auto program = lower_to_tiles(graph, {2});
  ASSERT_TRUE(HasValue(program));
  const TileWorkList& tile = program->tiles[0];
  ASSERT_EQ(tile.work.size(), 4U);
  EXPECT_EQ(kernel_at(tile, 1).kernel,
            LowKernel(LowKernel::Cast{mid::Precision::F32{}, mid::Precision::F16{}}));
  EXPECT_EQ(kernel_at(tile, 3).kernel, LowKernel(LowKernel::Rearrange{replicated, sharded}));
  EXPECT_EQ(kernel_at(tile, 3).source, graph::OperationId{5});
}

TEST(LowerToTiles, ReportsErrorsInOrder) {
  using E = LowLoweringError;
  struct Case {
    std::string name;
    mid::MidGraph graph;
    std::uint16_t tiles;
    LowLoweringError error;
  };
  mid::MidGraph broken_layout = graph_of(sharded_values(2, 4), {});
  broken_layout.values[0].tensor_type.shape = {3};  // row_sharded needs two axes
  mid::MidGraph mismatch_first = broken_layout;
  mismatch_first.values.push_back(sharded_value(2, 2));
  mismatch_first.values[0].tensor_type.format.layout = mid::Layout::row_sharded(2);
  mid::MidGraph unknown_output = graph_of(sharded_values(3, 2), {add(ids({0, 1}), ids({2}))});
  unknown_output.outputs = ids({2, 3});
  mid::MidGraph unknown_input = graph_of(sharded_values(1, 2), {});
  unknown_input.inputs = {mid::MidInput{"x", graph::GraphInputKind::Host, mid::MidValueId{1}}};
  mid::MidGraph misnumbered = graph_of(sharded_values(2, 2), {});
  misnumbered.values[1].id = mid::MidValueId{7};

  const std::vector<Case> cases = {
      {"no tiles, even without values", graph_of({}, {}), 0, E::EmptyTileGroup{}},
      {"a value on another tile count", graph_of(sharded_values(1, 2), {}), 4,
       E::TileCountMismatch{mid::MidValueId{0}, 2, 4}},
      {"tile counts are compared before layouts", mismatch_first, 4,
       E::TileCountMismatch{mid::MidValueId{0}, 2, 4}},
      {"a layout that does not fit its shape", broken_layout, 4,
       mid::LayoutError(mid::LayoutError::AxisOutOfRange{mid::TensorAxis::FromEnd{2}, 1})},
      {"a value whose id is not its position", misnumbered, 2,
       E::UnknownValue{mid::MidValueId{7}}},
      {"two results", graph_of(sharded_values(4, 2), {add(ids({0, 1}), ids({2, 3}))}), 2,
       E::ResultArity{}},
      {"no result", graph_of(sharded_values(2, 2), {add(ids({0, 1}), {})}), 2, E::ResultArity{}},
      {"an input beyond the values", graph_of(sharded_values(2, 2), {add(ids({0, 5}), ids({1}))}),
       2, E::UnknownValue{mid::MidValueId{5}}},
      {"a result beyond the values", graph_of(sharded_values(2, 2), {add(ids({0, 1}), ids({2}))}),
       2, E::UnknownValue{mid::MidValueId{2}}},
      {"a program input beyond the values", unknown_input, 2,
       E::UnknownValue{mid::MidValueId{1}}},
      {"an output beyond the values", unknown_output, 2, E::UnknownValue{mid::MidValueId{3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(FailsWith(lower_to_tiles(c.graph, {c.tiles}), c.error));
  }
}

}  // namespace
}  // namespace vorn::codegen::low
