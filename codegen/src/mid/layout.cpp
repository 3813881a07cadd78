// The named layouts and the validation and padding of a shape under a layout.
#include "vorn/codegen/mid/layout.hpp"

#include <set>

#include "vorn/support/arithmetic.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::mid {
namespace {

using Axis = TensorAxis;

Layout standard(ElementOrder order, std::uint16_t tile_count, std::vector<AxisTiling> axes,
                MemoryClass memory_class = MemoryClass::Vorn21Standard) {
  return Layout{order, TensorTiling{tile_count, 1, std::move(axes)}, memory_class};
}

}  // namespace

Layout Layout::row_major(TensorTiling tiling) {
  return Layout{ElementOrder::RowMajor{}, std::move(tiling), MemoryClass::Vorn21Standard};
}

Layout Layout::row_sharded(std::uint16_t tile_count) {
  return row_major(TensorTiling::sharded(Axis::FromEnd{2}, tile_count));
}

Layout Layout::head_sharded(std::uint16_t tile_count) {
  return row_major(TensorTiling::sharded(Axis::FromEnd{3}, tile_count));
}

Layout Layout::amp_left(std::uint16_t inner, std::uint16_t tile_count) {
  return standard(ElementOrder::Amp{AmpOrder::Left}, tile_count,
                  {AxisTiling{Axis::FromEnd{2}, tile_count, 1, Padding::Reject},
                   AxisTiling{Axis::FromEnd{1}, 1, inner, Padding::Zero}});
}

Layout Layout::amp_right(std::uint16_t inner, std::uint16_t tile_count) {
  return standard(ElementOrder::Amp{AmpOrder::Right}, tile_count,
                  {AxisTiling{Axis::FromEnd{2}, 1, inner, Padding::Zero},
                   AxisTiling{Axis::FromEnd{1}, tile_count, 16, Padding::Zero}});
}

Layout Layout::amp_output(std::uint16_t tile_count) {
  return standard(ElementOrder::Amp{AmpOrder::Output}, tile_count,
                  {AxisTiling{Axis::FromEnd{2}, tile_count, 1, Padding::Reject},
                   AxisTiling{Axis::FromEnd{1}, 1, 16, Padding::Zero}},
                  MemoryClass::Vorn21Interleaved);
}

std::expected<graph::TensorShape, LayoutError> Layout::padded_shape(
    const graph::TensorShape& shape) const {
  if (tiling.tile_count == 0 || tiling.replicas == 0) {
    return std::unexpected(LayoutError(LayoutError::EmptyTileGroup{}));
  }
  graph::TensorShape padded = shape;
  std::set<std::size_t> seen;
  std::uint32_t implied = tiling.replicas;
  for (const AxisTiling& axis : tiling.axes) {
    if (axis.partitions == 0 || axis.block_size == 0) {
      return std::unexpected(LayoutError(LayoutError::EmptyAxisTiling{}));
    }
    // The tile count grows before the axis is resolved, so its overflow is reported first.
    const auto product = support::checked_mul<std::uint32_t>(implied, axis.partitions);
    if (!product) return std::unexpected(LayoutError(LayoutError::TileCountOverflow{}));
    implied = *product;
    VORN_TRY(const std::size_t index, axis.axis.resolve(shape.rank()));
    if (!seen.insert(index).second) {
      return std::unexpected(LayoutError(LayoutError::DuplicateAxis{index}));
    }
    std::uint32_t& extent = padded.dimensions[index];
    const std::uint32_t remainder = extent % axis.block_size;
    if (remainder == 0) continue;
    switch (axis.padding) {
      case Padding::Zero: {
        const auto grown = support::checked_add<std::uint32_t>(extent, axis.block_size - remainder);
        if (!grown) return std::unexpected(LayoutError(LayoutError::ExtentOverflow{index}));
        extent = *grown;
        break;
      }
      case Padding::Reject:
        return std::unexpected(
            LayoutError(LayoutError::IndivisibleAxis{index, extent, axis.block_size}));
    }
  }
  if (implied != tiling.tile_count) {
    return std::unexpected(LayoutError(LayoutError::TileCountMismatch{tiling.tile_count, implied}));
  }
  return padded;
}

std::ostream& operator<<(std::ostream& out, MemoryClass memory_class) {
  switch (memory_class) {
    case MemoryClass::Vorn21Standard:
      return out << "Vorn21Standard";
    case MemoryClass::Vorn21Interleaved:
      return out << "Vorn21Interleaved";
  }
  return out << "MemoryClass(" << static_cast<int>(memory_class) << ')';
}

std::ostream& operator<<(std::ostream& out, const Layout& layout) {
  return out << layout.order << ' ' << layout.memory_class << " {" << layout.tiling << '}';
}

}  // namespace vorn::codegen::mid
