// How a tensor is cut into blocks and spread over a group of tiles.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "vorn/codegen/mid/tensor_axis.hpp"

namespace vorn::codegen::mid {

/// What happens to an axis whose extent is not a whole number of blocks.
enum class Padding : std::uint8_t { Reject, Zero };

/// How one axis is cut: into `partitions` parts across tiles, in whole blocks of
/// `block_size` elements, padded or rejected when the extent is not a multiple of it.
/// Validated only by `Layout::padded_shape`.
struct AxisTiling {
  TensorAxis axis;
  std::uint16_t partitions;
  std::uint32_t block_size;
  Padding padding;

  bool operator==(const AxisTiling&) const = default;
};

/// How a value is spread over `tile_count` tiles: `replicas` full copies, each cut along
/// `axes` in list order. Consistent when replicas times all partitions is the tile count.
struct TensorTiling {
  std::uint16_t tile_count;
  std::uint16_t replicas;
  std::vector<AxisTiling> axes;

  /// Every one of `tile_count` tiles holds a full copy.
  [[nodiscard]] static TensorTiling replicated(std::uint16_t tile_count);
  /// `axis` divided into `tile_count` parts with block size 1 (never padded), one copy.
  [[nodiscard]] static TensorTiling sharded(TensorAxis axis, std::uint16_t tile_count);

  bool operator==(const TensorTiling&) const = default;
};

/// `Reject` or `Zero`.
std::ostream& operator<<(std::ostream& out, Padding padding);
/// `FromEnd(2) x4 block 1 Reject`.
std::ostream& operator<<(std::ostream& out, const AxisTiling& tiling);
/// `tiles 4 replicas 1 [FromEnd(2) x4 block 1 Reject]`.
std::ostream& operator<<(std::ostream& out, const TensorTiling& tiling);

}  // namespace vorn::codegen::mid
