// LoweringState: canonical shards, residency of operands and the lowering of regions.
#include "lowering_state.hpp"

#include <limits>

#include "vorn/support/fatal.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::low::detail {
namespace {

constexpr std::size_t max_id = std::numeric_limits<std::uint32_t>::max();

LowKernel low_kernel(const mid::MidOperationKind& kind) {
  using K = mid::MidOperationKind;
  return kind.visit(support::overloaded{
      [](const K::Kernel& k) -> LowKernel { return LowKernel::Kernel{k.kernel}; },
      [](const K::CastPrecision& k) -> LowKernel { return LowKernel::Cast{k.from, k.to}; },
      [](const K::Rearrange& k) -> LowKernel { return LowKernel::Rearrange{k.from, k.to}; },
      // lower_region routes every repeat to lower_repeat.
      [](const K::Repeat&) -> LowKernel {
        support::fatal("internal error: entered unreachable code");
      },
  });
}

}  // namespace

std::expected<LoweringState, LowLoweringError> LoweringState::create(const mid::MidGraph& graph,
                                                                     LowLoweringConfig config) {
  LoweringState state(config);
  const std::uint16_t tiles = config.tile_count;
  state.canonical_.reserve(graph.values.size() * tiles);
  state.shards_.reserve(graph.values.size() * tiles);
  for (std::size_t position = 0; position < graph.values.size(); ++position) {
    const mid::MidValue& value = graph.values[position];
    // Canonical shards are found by value id, so an id must be the value's position.
    if (value.id.index() != position) {
      return std::unexpected(LowLoweringError::UnknownValue{value.id});
    }
    const std::uint16_t declared = value.tensor_type.format.layout.tiling.tile_count;
    if (declared != tiles) {
      return std::unexpected(LowLoweringError::TileCountMismatch{value.id, declared, tiles});
    }
    VORN_TRY(std::vector<std::vector<ShardExtent>> extents, shard_extents(value.tensor_type));
    for (std::size_t tile = 0; tile < extents.size(); ++tile) {
      VORN_TRY(const LowShardId id,
               state.push_shard(LowShard{LowShardId{0}, static_cast<std::uint16_t>(tile),
                                         value.tensor_type, std::move(extents[tile]),
                                         ShardDefinition::Value{value.id}}));
      state.canonical_.push_back(id);
    }
    ++state.value_count_;
  }
  return state;
}

std::expected<LowShardId, LowLoweringError> LoweringState::push_shard(LowShard shard) {
  if (shards_.size() > max_id) return std::unexpected(LowLoweringError::IdOverflow{});
  shard.id = LowShardId{static_cast<std::uint32_t>(shards_.size())};
  shards_.push_back(std::move(shard));
  return shards_.back().id;
}

std::expected<std::span<const LowShardId>, LowLoweringError> LoweringState::value_shards(
    mid::MidValueId value) const {
  if (value.index() >= value_count_) {
    return std::unexpected(LowLoweringError::UnknownValue{value});
  }
  const std::size_t tiles = config_.tile_count;
  return std::span<const LowShardId>(canonical_).subspan(value.index() * tiles, tiles);
}

std::expected<LowShardId, LowLoweringError> LoweringState::local_shard(mid::MidValueId value,
                                                                       std::uint16_t tile) const {
  VORN_TRY(const std::span<const LowShardId> shards, value_shards(value));
  // Canonical shard t lies on tile t.
  if (tile >= shards.size()) return std::unexpected(LowLoweringError::UnknownValue{value});
  return shards[tile];
}

std::expected<LowShardId, LowLoweringError> LoweringState::ensure_resident(
    LowShardId source, std::uint16_t tile, ResidencyMap& resident, TransferMap& transfers) {
  const LowShard& original = shards_[source.index()];
  if (original.tile == tile) return source;
  const auto key = std::pair{source, tile};
  if (const auto found = resident.find(key); found != resident.end()) return found->second;
  VORN_TRY(const LowShardId copy,
           push_shard(LowShard{LowShardId{0}, tile, original.tensor_type, original.extents,
                               ShardDefinition::ExchangeCopy{source}}));
  resident.emplace(key, copy);
  transfers[source].push_back(copy);
  return copy;
}

std::expected<std::vector<TileWorkList>, LowLoweringError> LoweringState::lower_region(
    std::span<const mid::MidOperation> operations) {
  std::vector<TileWorkList> tiles;
  tiles.reserve(config_.tile_count);
  for (std::uint16_t tile = 0; tile < config_.tile_count; ++tile) {
    tiles.push_back(TileWorkList{tile, {}});
  }
  ResidencyMap resident;
  for (const mid::MidOperation& operation : operations) {
    if (const mid::MidRepeat* repeat = operation.kind.get_if<mid::MidOperationKind::Repeat>()) {
      VORN_TRY_VOID(lower_repeat(operation, *repeat, tiles));
    } else {
      VORN_TRY_VOID(lower_operation(operation, operation.kind, resident, tiles));
    }
  }
  return tiles;
}

std::expected<void, LowLoweringError> LoweringState::lower_operation(
    const mid::MidOperation& operation, const mid::MidOperationKind& kind, ResidencyMap& resident,
    std::vector<TileWorkList>& tiles) {
  if (operation.results.size() != 1) return std::unexpected(LowLoweringError::ResultArity{});
  // Views into the canonical table stay valid: it is complete before any operation is lowered.
  VORN_TRY(const std::span<const LowShardId> output_shards, value_shards(operation.results[0]));
  std::vector<std::span<const LowShardId>> input_shards;
  input_shards.reserve(operation.inputs.size());
  for (const mid::MidValueId input : operation.inputs) {
    VORN_TRY(const std::span<const LowShardId> shards, value_shards(input));
    input_shards.push_back(shards);
  }

  const LowKernel kernel = low_kernel(kind);
  TransferMap transfers;
  std::vector<std::pair<std::uint16_t, KernelRun>> runs;
  runs.reserve(output_shards.size());
  for (const LowShardId output : output_shards) {
    const std::uint16_t tile = shards_[output.index()].tile;
    std::vector<KernelOperand> operands;
    operands.reserve(input_shards.size());
    for (const std::span<const LowShardId> sources : input_shards) {
      KernelOperand operand;
      operand.shards.reserve(sources.size());
      for (const LowShardId source : sources) {
        VORN_TRY(const LowShardId local, ensure_resident(source, tile, resident, transfers));
        operand.shards.push_back(local);
      }
      operands.push_back(std::move(operand));
    }
    runs.emplace_back(tile, KernelRun{operation.source, kernel, std::move(operands), output,
                                      operation.kernel_requirements});
  }

  if (!transfers.empty()) {
    if (phases_.size() > max_id) return std::unexpected(LowLoweringError::IdOverflow{});
    const ExchangePhaseId id{static_cast<std::uint32_t>(phases_.size())};
    ExchangePhase phase{id, {}};
    phase.transfers.reserve(transfers.size());
    for (auto& [source, destinations] : transfers) {
      phase.transfers.push_back(LogicalExchange{source, std::move(destinations)});
    }
    phases_.push_back(std::move(phase));
    for (TileWorkList& list : tiles) list.work.emplace_back(TileWork::Exchange{id});
  }
  for (auto& [tile, run] : runs) tiles[tile].work.emplace_back(std::move(run));
  return {};
}

}  // namespace vorn::codegen::low::detail
