// Time of the tile lowering as the graph grows, as the tile group grows, and inside repeats.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <expected>
#include <vector>

#include "vorn/codegen/graph.hpp"
#include "vorn/codegen/low.hpp"
#include "vorn/codegen/mid.hpp"

namespace {

using namespace vorn::codegen;

mid::TensorFormat rows_over(std::uint16_t tiles) {
  return mid::TensorFormat{mid::Precision::F16{}, mid::Layout::row_sharded(tiles)};
}

// A chain of `length` sums, each adding the input to the previous sum, over `tiles` tiles.
mid::MidGraph add_chain(std::int64_t length, std::uint16_t tiles) {
  graph::ComputeGraph graph;
  const graph::ValueId x = *graph.host_input("x", {16U * tiles, 64});
  graph::ValueId current = x;
  for (std::int64_t i = 0; i < length; ++i) current = *graph.add(current, x);
  (void)graph.set_outputs({current});
  const mid::LoweringConfig config = mid::LoweringConfig(tiles).with_input(x, rows_over(tiles));
  return *mid::lower(graph, config, mid::ToyCostModel{});
}

// One repeat of `count` iterations whose body adds the iterated parameter to the carried value.
mid::MidGraph repeat_over(std::int64_t count, std::uint16_t tiles) {
  graph::ComputeGraph graph;
  const graph::ValueId carried = *graph.host_input("c", {16U * tiles, 64});
  mid::LoweringConfig config = mid::LoweringConfig(tiles).with_input(carried, rows_over(tiles));
  std::vector<graph::ValueId> parameters;
  for (std::int64_t i = 0; i < count; ++i) {
    parameters.push_back(*graph.parameter("p", {16U * tiles, 64}));
    config.inputs.insert_or_assign(parameters.back(), rows_over(tiles));
  }
  const graph::ValueSequenceId sequence = *graph.value_sequence("ps", parameters);
  const auto results = *graph.repeat(
      static_cast<std::uint32_t>(count), {carried}, {}, {sequence},
      [](graph::RegionBuilder& body, const graph::RepeatArguments& arguments)
          -> std::expected<std::vector<graph::ValueId>, graph::GraphError> {
        const auto sum = body.add(arguments.carried[0], arguments.iterated[0]);
        if (!sum) return std::unexpected(sum.error());
        return std::vector<graph::ValueId>{*sum};
      });
  (void)graph.set_outputs({results[0]});
  return *mid::lower(graph, config, mid::ToyCostModel{});
}

void lower(benchmark::State& state, const mid::MidGraph& graph, std::uint16_t tiles) {
  std::size_t shards = 0;
  for (auto _ : state) {
    auto program = low::lower_to_tiles(graph, low::LowLoweringConfig{tiles});
    if (!program) {
      state.SkipWithError("tile lowering failed");
      return;
    }
    shards = program->shards.size();
    benchmark::DoNotOptimize(program);
  }
  state.counters["shards"] = static_cast<double>(shards);
}

// Operations grow at 4 tiles: time should grow linearly.
void chain_length(benchmark::State& state) {
  const mid::MidGraph graph = add_chain(state.range(0), 4);
  lower(state, graph, 4);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(chain_length)->RangeMultiplier(4)->Range(64, 16384)->Complexity(benchmark::oN);

// Tiles grow for 256 sums: each sum makes tiles * (tiles - 1) copies of each operand.
void tile_count(benchmark::State& state) {
  const auto tiles = static_cast<std::uint16_t>(state.range(0));
  const mid::MidGraph graph = add_chain(256, tiles);
  lower(state, graph, tiles);
  state.SetComplexityN(state.range(0) * state.range(0));
}
BENCHMARK(tile_count)->RangeMultiplier(2)->Range(1, 64)->Complexity(benchmark::oN);

// Iterations grow at 8 tiles: only the iterated shard lists grow, never the body.
void repeat_count(benchmark::State& state) {
  const mid::MidGraph graph = repeat_over(state.range(0), 8);
  lower(state, graph, 8);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(repeat_count)->RangeMultiplier(4)->Range(4, 4096)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
