// Repeats per tile: the body lowered once, one Repeat item per tile naming that tile's shards.
#include <cstddef>

#include "lowering_state.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::low::detail {
namespace {

// The structure tests of a repeat, in the order in which they are made.
bool well_formed(const mid::MidOperation& operation, const mid::MidRepeat& repeat) {
  const std::size_t expected_inputs = repeat.carried_inputs + repeat.invariant_inputs;
  const std::size_t expected_arguments = expected_inputs + repeat.iterated_inputs.size();
  if (operation.inputs.size() != expected_inputs) return false;
  if (operation.results.size() != repeat.carried_inputs) return false;
  if (repeat.body.arguments.size() != expected_arguments) return false;
  if (repeat.body.yields.size() != repeat.carried_inputs) return false;
  for (const std::vector<mid::MidValueId>& sequence : repeat.iterated_inputs) {
    if (sequence.size() != repeat.count) return false;
  }
  return true;
}

}  // namespace

std::expected<void, LowLoweringError> LoweringState::lower_repeat(
    const mid::MidOperation& operation, const mid::MidRepeat& repeat,
    std::vector<TileWorkList>& tiles) {
  if (!well_formed(operation, repeat)) return std::unexpected(LowLoweringError::InvalidRepeat{});
  // The body gets a residency map of its own: copies are reused neither into nor out of it.
  VORN_TRY(std::vector<TileWorkList> bodies, lower_region(repeat.body.operations));

  const std::size_t carried_count = repeat.carried_inputs;
  const std::size_t expected_inputs = carried_count + repeat.invariant_inputs;
  // Every run is resolved before any list changes, so an error leaves the lists as they were.
  std::vector<RepeatRun> runs;
  runs.reserve(tiles.size());
  for (std::uint16_t tile = 0; tile < tile_count(); ++tile) {
    RepeatRun run{repeat.count, {}, {}, {}, std::move(bodies[tile])};
    run.carried.reserve(carried_count);
    for (std::size_t i = 0; i < carried_count; ++i) {
      VORN_TRY(const LowShardId initial, local_shard(operation.inputs[i], tile));
      VORN_TRY(const LowShardId argument, local_shard(repeat.body.arguments[i], tile));
      VORN_TRY(const LowShardId yielded, local_shard(repeat.body.yields[i], tile));
      VORN_TRY(const LowShardId result, local_shard(operation.results[i], tile));
      run.carried.push_back(RepeatCarried{initial, argument, yielded, result});
    }
    run.invariants.reserve(repeat.invariant_inputs);
    for (std::size_t j = carried_count; j < expected_inputs; ++j) {
      VORN_TRY(const LowShardId input, local_shard(operation.inputs[j], tile));
      VORN_TRY(const LowShardId argument, local_shard(repeat.body.arguments[j], tile));
      run.invariants.push_back(RepeatInvariant{input, argument});
    }
    run.iterated.reserve(repeat.iterated_inputs.size());
    for (std::size_t k = 0; k < repeat.iterated_inputs.size(); ++k) {
      RepeatIterated iterated{{}, LowShardId{0}};
      iterated.inputs.reserve(repeat.iterated_inputs[k].size());
      for (const mid::MidValueId element : repeat.iterated_inputs[k]) {
        VORN_TRY(const LowShardId input, local_shard(element, tile));
        iterated.inputs.push_back(input);
      }
      VORN_TRY(iterated.argument, local_shard(repeat.body.arguments[expected_inputs + k], tile));
      run.iterated.push_back(std::move(iterated));
    }
    runs.push_back(std::move(run));
  }
  for (std::uint16_t tile = 0; tile < tile_count(); ++tile) {
    tiles[tile].work.emplace_back(std::move(runs[tile]));
  }
  return {};
}

}  // namespace vorn::codegen::low::detail
