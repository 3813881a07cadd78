// shard_extents: cuts each tiled axis of a value into per-tile ranges of whole blocks.
#include "vorn/codegen/low/shard_extent.hpp"

#include <algorithm>
#include <limits>
#include <optional>
#include <tuple>
#include <utility>

#include "vorn/support/arithmetic.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::low {
namespace {

// How one tiled axis is cut, and how many tiles one step of its coordinate spans.
struct AxisCut {
  std::uint32_t partitions;
  std::uint32_t block_size;
  std::uint32_t stride;
};

// The range [start, physical_end) that coordinate `coordinate` holds of a padded extent.
std::pair<std::uint32_t, std::uint32_t> block_range(const AxisCut& cut, std::uint32_t coordinate,
                                                    std::uint32_t padded) {
  const std::uint32_t blocks = padded / cut.block_size;
  const std::uint32_t short_size = blocks / cut.partitions;
  const std::uint32_t long_shards = blocks % cut.partitions;
  const std::uint32_t start_blocks = coordinate * short_size + std::min(coordinate, long_shards);
  const std::uint32_t shard_blocks = short_size + (coordinate < long_shards ? 1U : 0U);
  const std::uint32_t start = start_blocks * cut.block_size;
  return {start, start + shard_blocks * cut.block_size};
}

}  // namespace

std::expected<std::vector<std::vector<ShardExtent>>, LowLoweringError> shard_extents(
    const mid::TensorType& tensor_type) {
  const graph::TensorShape& shape = tensor_type.shape;
  const mid::TensorTiling& tiling = tensor_type.format.layout.tiling;
  VORN_TRY(const graph::TensorShape padded, tensor_type.format.layout.padded_shape(shape));

  const std::size_t rank = shape.rank();
  if (rank > std::size_t{std::numeric_limits<std::uint16_t>::max()} + 1) {
    return std::unexpected(LowLoweringError::IdOverflow{});
  }
  // Indexed by axis: the cut of each tiled axis, so that every lookup below is direct.
  std::vector<std::optional<AxisCut>> cuts(rank);
  std::uint32_t stride = tiling.replicas;
  for (const mid::AxisTiling& axis_tiling : tiling.axes) {
    VORN_TRY(const std::size_t axis, axis_tiling.axis.resolve(rank));
    cuts[axis] = AxisCut{axis_tiling.partitions, axis_tiling.block_size, stride};
    const auto next = support::checked_mul<std::uint32_t>(stride, axis_tiling.partitions);
    if (!next) return std::unexpected(LowLoweringError::IdOverflow{});
    stride = *next;
  }

  std::vector<std::vector<ShardExtent>> tiles(tiling.tile_count);
  for (std::uint32_t tile = 0; tile < tiling.tile_count; ++tile) {
    std::vector<ShardExtent>& extents = tiles[tile];
    extents.reserve(rank);
    for (std::size_t axis = 0; axis < rank; ++axis) {
      std::uint32_t start = 0;
      std::uint32_t physical_end = padded.dimensions[axis];
      if (const std::optional<AxisCut>& cut = cuts[axis]) {
        const std::uint32_t coordinate = (tile / cut->stride) % cut->partitions;
        std::tie(start, physical_end) = block_range(*cut, coordinate, padded.dimensions[axis]);
      }
      const std::uint32_t logical_end =
          std::max(std::min(physical_end, shape.dimensions[axis]), start);
      extents.push_back(
          ShardExtent{static_cast<std::uint16_t>(axis), start, logical_end, physical_end});
    }
  }
  return tiles;
}

std::ostream& operator<<(std::ostream& out, const ShardExtent& extent) {
  out << "axis " << extent.axis << ": " << extent.start << ".." << extent.logical_end;
  if (extent.physical_end != extent.logical_end) out << " padded to " << extent.physical_end;
  return out;
}

}  // namespace vorn::codegen::low
