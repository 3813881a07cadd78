// ShardExtent and shard_extents, the index ranges that each tile holds of a value.
#pragma once

#include <cstdint>
#include <expected>
#include <ostream>
#include <vector>

#include "vorn/codegen/low/low_lowering_error.hpp"
#include "vorn/codegen/mid/tensor_type.hpp"

namespace vorn::codegen::low {

/// The part of one axis that one shard holds: [start, physical_end) of the padded axis, of
/// which [start, logical_end) lies inside the logical shape.
struct ShardExtent {
  std::uint16_t axis;
  std::uint32_t start;
  std::uint32_t logical_end;
  std::uint32_t physical_end;

  bool operator==(const ShardExtent&) const = default;
};

/// For each tile of the value's tiling (entry t is tile t), one extent per axis in axis order.
/// The tile index is a mixed-radix number: replica digit fastest, then the coordinate of each
/// axis tiling in listed order. Each tiled axis is cut into whole blocks shared out as evenly
/// as possible (the first coordinates get one block more); coordinates without a block hold
/// the empty range at the end of the padded extent.
/// Errors: `Layout` when the layout does not fit the shape; `IdOverflow` for an axis index
/// beyond 16 bits or a stride beyond 32 bits.
[[nodiscard]] std::expected<std::vector<std::vector<ShardExtent>>, LowLoweringError>
shard_extents(const mid::TensorType& tensor_type);

/// `axis 0: 4..5 padded to 8`, or `axis 0: 0..4` when nothing of the range is padding.
std::ostream& operator<<(std::ostream& out, const ShardExtent& extent);

}  // namespace vorn::codegen::low
