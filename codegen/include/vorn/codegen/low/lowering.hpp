// lower_to_tiles, which turns a mid-level graph into a per-tile program.
#pragma once

#include <cstdint>
#include <expected>
#include <ostream>

#include "vorn/codegen/low/low_lowering_error.hpp"
#include "vorn/codegen/low/low_program.hpp"
#include "vorn/codegen/mid/mid_graph.hpp"

namespace vorn::codegen::low {

/// The number of tiles to schedule onto; every value's layout must declare the same count.
struct LowLoweringConfig {
  std::uint16_t tile_count;

  bool operator==(const LowLoweringConfig&) const = default;
};

/// Splits every value into one canonical shard per tile, runs every operation on every tile
/// with its operands copied to the running tile in one exchange phase per operation (copies
/// serve the rest of their region), and keeps repeats structured per tile.
/// Errors, first one met: `EmptyTileGroup`; per value in order `UnknownValue` (its id is not
/// its position), `TileCountMismatch`, `Layout`, `IdOverflow`; then those of the operations
/// in order (`ResultArity`, `UnknownValue`, `InvalidRepeat`, `IdOverflow`); then
/// `UnknownValue` for a program input, then for an output.
[[nodiscard]] std::expected<LowProgram, LowLoweringError> lower_to_tiles(
    const mid::MidGraph& graph, const LowLoweringConfig& config);

/// `tiles 4`.
std::ostream& operator<<(std::ostream& out, const LowLoweringConfig& config);

}  // namespace vorn::codegen::low
