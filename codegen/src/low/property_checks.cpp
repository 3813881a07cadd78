// Randomized checks of shard extents, operand residency and repeats per tile.
#include "property_checks.hpp"

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "check_helpers.hpp"
#include "selfcheck/random.hpp"
#include "vorn/codegen/graph.hpp"
#include "vorn/codegen/low.hpp"
#include "vorn/codegen/mid.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::low::tests {
namespace {

using selfcheck::check_eq;
using selfcheck::check_that;
using selfcheck::Random;
using selfcheck::unwrap;

constexpr std::size_t case_count = 32;

std::string case_message(std::size_t index) { return "case " + std::to_string(index); }

std::uint32_t power_of_two(Random& random) { return std::uint32_t{1} << random.u32_in(0, 3); }

const LowShard& shard(const LowProgram& program, LowShardId id) {
  return program.shards.at(id.index());
}

// Lowers `graph` through the mid level with the toy costs and then onto `tiles` tiles.
LowProgram lower_both(const graph::ComputeGraph& graph, const mid::LoweringConfig& config,
                      std::uint16_t tiles) {
  const mid::MidGraph mid_graph = unwrap(mid::lower(graph, config, mid::ToyCostModel{}));
  return unwrap(lower_to_tiles(mid_graph, LowLoweringConfig{tiles}));
}

}  // namespace

VORN_CHECK(randomized_multiaxis_shards_cover_padded_extents_in_whole_blocks) {
  Random random(0x73686172);  // "shar"
  for (std::size_t index = 0; index < case_count; ++index) {
    const std::string message = case_message(index);
    const std::uint16_t row_partitions = random.u16_in(1, 4);
    const std::uint16_t column_partitions = random.u16_in(1, 4);
    const std::uint16_t replicas = random.u16_in(1, 3);
    const std::uint32_t row_block = power_of_two(random);
    const std::uint32_t column_block = power_of_two(random);
    const auto tile_count = static_cast<std::uint16_t>(row_partitions * column_partitions * replicas);
    const mid::Layout layout{
        mid::ElementOrder::RowMajor{},
        mid::TensorTiling{
            tile_count,
            replicas,
            {mid::AxisTiling{mid::TensorAxis::FromEnd{1}, column_partitions, column_block,
                             mid::Padding::Zero},
             mid::AxisTiling{mid::TensorAxis::FromEnd{2}, row_partitions, row_block,
                             mid::Padding::Zero}}},
        mid::MemoryClass::Vorn21Standard};
    const std::uint32_t rows = row_partitions * row_block + random.u32_in(0, 65);
    const std::uint32_t columns = column_partitions * column_block + random.u32_in(0, 65);

    const mid::TensorType tensor_type({rows, columns}, mid::Precision::F16{}, layout);
    const graph::TensorShape padded = unwrap(layout.padded_shape(tensor_type.shape));
    const auto shards = unwrap(shard_extents(tensor_type));
    check_eq(shards.size(), std::size_t{tile_count}, message);

    const std::pair<std::uint16_t, std::uint32_t> axes[] = {{row_partitions, row_block},
                                                            {column_partitions, column_block}};
    for (std::size_t axis = 0; axis < 2; ++axis) {
      const auto [partitions, block] = axes[axis];
      std::set<std::pair<std::uint32_t, std::uint32_t>> ranges;
      for (const std::vector<ShardExtent>& extents : shards) {
        ranges.emplace(extents.at(axis).start, extents.at(axis).physical_end);
      }
      check_eq(ranges.size(), std::size_t{partitions}, message);
      std::uint32_t cursor = 0;
      for (const auto& [start, physical_end] : ranges) {
        check_eq(start, cursor, message);
        check_that(start % block == 0, message);
        check_that(physical_end % block == 0, message);
        cursor = physical_end;
      }
      check_eq(cursor, padded.dimensions.at(axis), message);
    }
  }
}

VORN_CHECK(randomized_repeats_remain_structured_per_tile) {
  Random random(0x7265706C);  // "repl"
  for (std::size_t index = 0; index < case_count; ++index) {
    const std::string message = case_message(index);
    const auto tiles = static_cast<std::uint16_t>(power_of_two(random));
    const std::uint32_t count = random.u32_in(1, 8);
    const std::uint32_t width = tiles * random.u32_in(1, 8);

    graph::ComputeGraph graph;
    const graph::ValueId carried = unwrap(graph.host_input("carried", {width, 16}));
    std::vector<graph::ValueId> parameters;
    for (std::uint32_t i = 0; i < count; ++i) {
      parameters.push_back(unwrap(graph.parameter("parameter." + std::to_string(i), {width, 16})));
    }
    const graph::ValueSequenceId sequence = unwrap(graph.value_sequence("parameters", parameters));
    const std::vector<graph::ValueId> results = unwrap(graph.repeat(
        count, {carried}, {}, {sequence},
        [](graph::RegionBuilder& body, const graph::RepeatArguments& arguments)
            -> std::expected<std::vector<graph::ValueId>, graph::GraphError> {
          VORN_TRY(const graph::ValueId sum, body.add(arguments.carried[0], arguments.iterated[0]));
          return std::vector<graph::ValueId>{sum};
        }));
    unwrap(graph.set_outputs({results.at(0)}));

    mid::LoweringConfig config = mid::LoweringConfig(tiles).with_input(carried, format(tiles));
    for (const graph::ValueId parameter : parameters) {
      config.inputs.insert_or_assign(parameter, format(tiles));
    }
    const LowProgram program = lower_both(graph, config, tiles);

    for (const TileWorkList& list : program.tiles) {
      std::vector<const RepeatRun*> repeats;
      for (const TileWork& work : list.work) {
        if (const RepeatRun* run = work.get_if<TileWork::Repeat>()) repeats.push_back(run);
      }
      check_eq(repeats.size(), std::size_t{1}, message);
      const RepeatRun& run = *repeats[0];
      check_eq(run.count, count);
      VORN_ASSERT(!run.iterated.empty());
      check_eq(run.iterated[0].inputs.size(), std::size_t{count});
      VORN_ASSERT(std::ranges::any_of(
          run.body.work, [](const TileWork& work) { return work.is<TileWork::Kernel>(); }));
    }
  }
}

VORN_CHECK(randomized_schedules_make_kernel_operands_resident) {
  Random random(0x6C6F7721);  // "low!"
  for (std::size_t index = 0; index < case_count; ++index) {
    const auto tiles = static_cast<std::uint16_t>(power_of_two(random));
    const std::uint32_t rows = tiles * random.u32_in(1, 8) * 16;
    const std::uint32_t columns = random.u32_in(1, 8) * 16;

    graph::ComputeGraph graph;
    const graph::ValueId left = unwrap(graph.host_input("left", {rows, columns}));
    const graph::ValueId right = unwrap(graph.host_input("right", {rows, columns}));
    const graph::ValueId output = unwrap(graph.add(left, right));
    unwrap(graph.set_outputs({output}));
    const mid::LoweringConfig config =
        mid::LoweringConfig(tiles).with_input(left, format(tiles)).with_input(right, format(tiles));
    const LowProgram program = lower_both(graph, config, tiles);

    check_eq(program.tiles.size(), std::size_t{tiles}, case_message(index));
    for (const TileWorkList& list : program.tiles) {
      for (const TileWork& work : list.work) {
        const KernelRun* run = work.get_if<TileWork::Kernel>();
        if (run == nullptr) continue;
        check_eq(shard(program, run->output).tile, list.tile);
        for (const KernelOperand& operand : run->inputs) {
          for (const LowShardId id : operand.shards) {
            check_that(shard(program, id).tile == list.tile,
                       "every operand shard lies on the run's tile");
          }
        }
      }
    }
    for (const ExchangePhase& phase : program.exchange_phases) {
      for (const TileWorkList& list : program.tiles) {
        check_that(contains_phase(list, phase.id), "every tile's work list announces the phase");
      }
      for (const LogicalExchange& transfer : phase.transfers) {
        for (const LowShardId destination : transfer.destinations) {
          check_that(shard(program, destination).definition ==
                         ShardDefinition(ShardDefinition::ExchangeCopy{transfer.source}),
                     "every destination is an exchange copy of the transfer's source");
        }
      }
    }
  }
}

}  // namespace vorn::codegen::low::tests
