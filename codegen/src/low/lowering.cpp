// lower_to_tiles: canonical shards, the top-level region, then the program's inputs and outputs.
#include "vorn/codegen/low/lowering.hpp"

#include <span>

#include "lowering_state.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::low {

std::expected<LowProgram, LowLoweringError> lower_to_tiles(const mid::MidGraph& graph,
                                                           const LowLoweringConfig& config) {
  if (config.tile_count == 0) return std::unexpected(LowLoweringError::EmptyTileGroup{});
  VORN_TRY(detail::LoweringState state, detail::LoweringState::create(graph, config));
  VORN_TRY(std::vector<TileWorkList> tiles, state.lower_region(graph.operations));

  std::vector<LowInput> inputs;
  inputs.reserve(graph.inputs.size());
  for (const mid::MidInput& input : graph.inputs) {
    VORN_TRY(const std::span<const LowShardId> shards, state.value_shards(input.value));
    inputs.push_back(
        LowInput{input.name, input.kind, input.value, {shards.begin(), shards.end()}});
  }
  std::vector<LowValue> outputs;
  outputs.reserve(graph.outputs.size());
  for (const mid::MidValueId output : graph.outputs) {
    VORN_TRY(const std::span<const LowShardId> shards, state.value_shards(output));
    outputs.push_back(LowValue{output, {shards.begin(), shards.end()}});
  }
  std::vector<ExchangePhase> phases = std::move(state).take_phases();
  return LowProgram{config.tile_count, std::move(state).take_shards(), std::move(phases),
                    std::move(inputs), std::move(tiles), std::move(outputs)};
}

std::ostream& operator<<(std::ostream& out, const LowLoweringConfig& config) {
  return out << "tiles " << config.tile_count;
}

}  // namespace vorn::codegen::low
