// Graphs built and lowered through the mid level: the invariants of every produced program.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "src/low/check_helpers.hpp"
#include "support/expected_matchers.hpp"
#include "vorn/codegen/graph.hpp"
#include "vorn/codegen/low.hpp"
#include "vorn/codegen/mid.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::low {
namespace {

using vorn::testing::HasValue;

// Kernel shards on the list's tile, every phase of the list's region announced in it.
void expect_local_runs(const LowProgram& program, const TileWorkList& list) {
  for (const TileWork& work : list.work) {
    if (const KernelRun* run = work.get_if<TileWork::Kernel>()) {
      EXPECT_EQ(program.shards.at(run->output.index()).tile, list.tile) << *run;
      for (const KernelOperand& operand : run->inputs) {
        EXPECT_EQ(operand.shards.size(), program.tile_count) << *run;
        for (const LowShardId shard : operand.shards) {
          EXPECT_EQ(program.shards.at(shard.index()).tile, list.tile) << *run;
        }
      }
    } else if (const RepeatRun* repeat = work.get_if<TileWork::Repeat>()) {
      EXPECT_EQ(repeat->body.tile, list.tile);
      expect_local_runs(program, repeat->body);
    }
  }
}

void expect_invariants(const mid::MidGraph& graph, const LowProgram& program) {
  const std::uint16_t tiles = program.tile_count;
  const std::size_t canonical = graph.values.size() * tiles;
  ASSERT_GE(program.shards.size(), canonical);
  for (std::uint32_t value = 0; value < graph.values.size(); ++value) {
    const auto extents = shard_extents(graph.values[value].tensor_type);
    ASSERT_TRUE(HasValue(extents));
    for (std::uint16_t tile = 0; tile < tiles; ++tile) {
      const LowShard& shard = program.shards[value * tiles + tile];
      EXPECT_EQ(shard.tile, tile);
      EXPECT_EQ(shard.extents, (*extents)[tile]);
      EXPECT_EQ(shard.definition,
                ShardDefinition(ShardDefinition::Value{mid::MidValueId{value}}));
    }
  }
  for (std::size_t id = 0; id < program.shards.size(); ++id) {
    EXPECT_EQ(program.shards[id].id.index(), id);
  }
  for (std::size_t id = canonical; id < program.shards.size(); ++id) {
    const LowShard& copy = program.shards[id];
    const auto* definition = copy.definition.get_if<ShardDefinition::ExchangeCopy>();
    ASSERT_NE(definition, nullptr) << copy;
    ASSERT_LT(definition->source.index(), canonical) << copy;
    const LowShard& source = program.shards[definition->source.index()];
    EXPECT_NE(copy.tile, source.tile);
    EXPECT_EQ(copy.extents, source.extents);
    EXPECT_EQ(copy.tensor_type, source.tensor_type);
  }
  for (std::size_t index = 0; index < program.exchange_phases.size(); ++index) {
    const ExchangePhase& phase = program.exchange_phases[index];
    EXPECT_EQ(phase.id.index(), index);
    EXPECT_FALSE(phase.transfers.empty());
    for (std::size_t t = 0; t < phase.transfers.size(); ++t) {
      if (t > 0) {
        EXPECT_LT(phase.transfers[t - 1].source, phase.transfers[t].source);
      }
      for (const LowShardId destination : phase.transfers[t].destinations) {
        EXPECT_EQ(program.shards.at(destination.index()).definition,
                  ShardDefinition(ShardDefinition::ExchangeCopy{phase.transfers[t].source}));
      }
    }
    for (const TileWorkList& list : program.tiles) {
      EXPECT_TRUE(tests::contains_phase(list, phase.id)) << phase.id << " in " << list;
    }
  }
  ASSERT_EQ(program.tiles.size(), tiles);
  for (std::uint16_t tile = 0; tile < tiles; ++tile) {
    EXPECT_EQ(program.tiles[tile].tile, tile);
    expect_local_runs(program, program.tiles[tile]);
  }
}

LowProgram lower_through_mid(const graph::ComputeGraph& graph, const mid::LoweringConfig& config) {
  const auto mid_graph = mid::lower(graph, config, mid::ToyCostModel{});
  EXPECT_TRUE(HasValue(mid_graph));
  if (!mid_graph) return {};
  const auto program = lower_to_tiles(*mid_graph, {config.tile_count});
  EXPECT_TRUE(HasValue(program));
  if (!program) return {};
  expect_invariants(*mid_graph, *program);
  return *program;
}

TEST(Pipeline, ProductWithConvertedAndPaddedOperands) {
  // x arrives replicated in F32, so it is cast and rearranged before the product; the
  // product's layouts pad the inner and column axes.
  for (const std::uint16_t tiles : {std::uint16_t{1}, std::uint16_t{2}, std::uint16_t{4}}) {
    SCOPED_TRACE(tiles);
    graph::ComputeGraph graph;
    const graph::ValueId x = *graph.host_input("x", {8U * tiles, 20});
    const graph::ValueId w = *graph.parameter("w", {20, 33});
    const graph::ValueId product = *graph.gemm(x, w);
    const graph::ValueId output = *graph.gelu(product);
    ASSERT_TRUE(HasValue(graph.set_outputs({output})));
    const mid::Layout replicated = mid::Layout::row_major(mid::TensorTiling::replicated(tiles));
    const mid::LoweringConfig config =
        mid::LoweringConfig(tiles)
            .with_input(x, mid::TensorFormat{mid::Precision::F32{}, replicated})
            .with_input(w, mid::TensorFormat{mid::Precision::F16{}, replicated});
    const LowProgram program = lower_through_mid(graph, config);
    ASSERT_EQ(program.outputs.size(), 1U);
    EXPECT_EQ(program.inputs.size(), 2U);
    if (tiles == 1) {
      EXPECT_TRUE(program.exchange_phases.empty());
    }
  }
}

// A repeat of `count` iterations adding a parameter of a sequence and an invariant bias.
LowProgram lower_repeat_over_sequence(std::uint16_t tiles, std::uint32_t count) {
  graph::ComputeGraph graph;
  const graph::ValueId carried = *graph.host_input("carried", {8, 16});
  const graph::ValueId bias = *graph.parameter("bias", {8, 16});
  std::vector<graph::ValueId> parameters;
  for (std::uint32_t i = 0; i < count; ++i) {
    parameters.push_back(*graph.parameter("parameter." + std::to_string(i), {8, 16}));
  }
  const graph::ValueSequenceId sequence = *graph.value_sequence("parameters", parameters);
  const auto results = graph.repeat(
      count, {carried}, {bias}, {sequence},
      [](graph::RegionBuilder& body, const graph::RepeatArguments& arguments)
          -> std::expected<std::vector<graph::ValueId>, graph::GraphError> {
        const auto sum = body.add(arguments.carried[0], arguments.iterated[0]);
        if (!sum) return std::unexpected(sum.error());
        const auto biased = body.add(*sum, arguments.invariants[0]);
        if (!biased) return std::unexpected(biased.error());
        return std::vector<graph::ValueId>{*biased};
      });
  EXPECT_TRUE(HasValue(results));
  if (!results) return {};
  EXPECT_TRUE(HasValue(graph.set_outputs({results->at(0)})));
  mid::LoweringConfig config = mid::LoweringConfig(tiles);
  for (const graph::GraphInput& input : graph.inputs()) {
    config.inputs.insert_or_assign(input.value, tests::format(tiles));
  }
  return lower_through_mid(graph, config);
}

TEST(Pipeline, RaisingARepeatCountLengthensOnlyTheIteratedShardLists) {
  const std::uint16_t tiles = 4;
  std::vector<std::size_t> body_sizes;
  for (const std::uint32_t count : {1U, 3U, 6U}) {
    SCOPED_TRACE(count);
    const LowProgram program = lower_repeat_over_sequence(tiles, count);
    ASSERT_EQ(program.tiles.size(), tiles);
    for (const TileWorkList& list : program.tiles) {
      ASSERT_EQ(list.work.size(), 1U) << list;
      const RepeatRun* run = list.work[0].get_if<TileWork::Repeat>();
      ASSERT_NE(run, nullptr);
      EXPECT_EQ(run->count, count);
      EXPECT_EQ(run->carried.size(), 1U);
      EXPECT_EQ(run->invariants.size(), 1U);
      ASSERT_EQ(run->iterated.size(), 1U);
      EXPECT_EQ(run->iterated[0].inputs.size(), count);
      body_sizes.push_back(run->body.work.size());
    }
  }
  EXPECT_EQ(std::set<std::size_t>(body_sizes.begin(), body_sizes.end()).size(), 1U);
}

}  // namespace
}  // namespace vorn::codegen::low
