// LoweringState: the shards, canonical table and phases of one tile lowering, and its steps.
#pragma once

#include <cstdint>
#include <expected>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "vorn/codegen/low/low_lowering_error.hpp"
#include "vorn/codegen/low/lowering.hpp"
#include "vorn/codegen/mid/mid_graph.hpp"

namespace vorn::codegen::low::detail {

/// Which copy of a source shard lives on a tile, for the operations of one region.
using ResidencyMap = std::map<std::pair<LowShardId, std::uint16_t>, LowShardId>;
/// The copies one operation created, by source shard, in creation order.
using TransferMap = std::map<LowShardId, std::vector<LowShardId>>;

/// Everything one `lower_to_tiles` call builds. Shards and phases only grow; the canonical
/// shards of every value are created up front, copies only by `ensure_resident`.
class LoweringState {
 public:
  /// A state holding one canonical shard per value and tile (value v on tile t is shard
  /// v * tile_count + t). Errors per value in order: `UnknownValue` when its id is not its
  /// position, `TileCountMismatch`, `Layout`, `IdOverflow`.
  [[nodiscard]] static std::expected<LoweringState, LowLoweringError> create(
      const mid::MidGraph& graph, LowLoweringConfig config);

  /// Appends `shard` with its id set to its position; `IdOverflow` beyond 32 bits.
  [[nodiscard]] std::expected<LowShardId, LowLoweringError> push_shard(LowShard shard);

  /// The canonical shards of `value` in tile order; `UnknownValue` for an unknown value.
  [[nodiscard]] std::expected<std::span<const LowShardId>, LowLoweringError> value_shards(
      mid::MidValueId value) const;

  /// The canonical shard of `value` on `tile`; `UnknownValue` when there is none.
  [[nodiscard]] std::expected<LowShardId, LowLoweringError> local_shard(mid::MidValueId value,
                                                                        std::uint16_t tile) const;

  /// A shard on `tile` with the contents of the canonical shard `source`: the source itself,
  /// the copy recorded in `resident`, or a new copy recorded in `resident` and `transfers`.
  /// Errors: `IdOverflow`.
  [[nodiscard]] std::expected<LowShardId, LowLoweringError> ensure_resident(
      LowShardId source, std::uint16_t tile, ResidencyMap& resident, TransferMap& transfers);

  /// One work list per tile for `operations`, with one residency map for all of them.
  [[nodiscard]] std::expected<std::vector<TileWorkList>, LowLoweringError> lower_region(
      std::span<const mid::MidOperation> operations);

  /// Runs a non-repeat operation on every tile, preceded by an exchange phase announced in
  /// every list of `tiles` when it needed new copies. Errors: `ResultArity`, `UnknownValue`,
  /// `IdOverflow`.
  [[nodiscard]] std::expected<void, LowLoweringError> lower_operation(
      const mid::MidOperation& operation, const mid::MidOperationKind& kind,
      ResidencyMap& resident, std::vector<TileWorkList>& tiles);

  /// Lowers the body once and appends one `Repeat` item to every list of `tiles`, naming the
  /// repeat's shards on that tile. Errors: `InvalidRepeat`, any error of the body,
  /// `UnknownValue`; on error no list is changed.
  [[nodiscard]] std::expected<void, LowLoweringError> lower_repeat(
      const mid::MidOperation& operation, const mid::MidRepeat& repeat,
      std::vector<TileWorkList>& tiles);

  [[nodiscard]] std::uint16_t tile_count() const noexcept { return config_.tile_count; }

  /// Moves the shards and phases out; the state is spent.
  [[nodiscard]] std::vector<LowShard> take_shards() && { return std::move(shards_); }
  [[nodiscard]] std::vector<ExchangePhase> take_phases() && { return std::move(phases_); }

 private:
  explicit LoweringState(LowLoweringConfig config) : config_(config) {}

  LowLoweringConfig config_;
  std::vector<LowShard> shards_;
  // The canonical shards of value v are canonical_[v * tile_count, (v + 1) * tile_count).
  std::vector<LowShardId> canonical_;
  std::size_t value_count_ = 0;
  std::vector<ExchangePhase> phases_;
};

}  // namespace vorn::codegen::low::detail
