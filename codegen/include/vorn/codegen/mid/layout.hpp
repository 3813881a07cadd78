// Layout, how and where a tensor is stored, and its validation against a shape.
#pragma once

#include <cstdint>
#include <expected>
#include <ostream>

#include "vorn/codegen/graph/tensor_shape.hpp"
#include "vorn/codegen/mid/element_order.hpp"
#include "vorn/codegen/mid/layout_error.hpp"
#include "vorn/codegen/mid/tensor_tiling.hpp"

namespace vorn::codegen::mid {

/// The class of tile memory that holds a value.
enum class MemoryClass : std::uint8_t { Vorn21Standard, Vorn21Interleaved };

/// Element order, tiling over the tile group, and memory class of a value.
struct Layout {
  ElementOrder order;
  TensorTiling tiling;
  MemoryClass memory_class;

  /// Row-major in standard memory with the given tiling.
  [[nodiscard]] static Layout row_major(TensorTiling tiling);
  /// Row-major, the second-to-last axis split over `tile_count` tiles.
  [[nodiscard]] static Layout row_sharded(std::uint16_t tile_count);
  /// Row-major, the third-to-last axis split over `tile_count` tiles.
  [[nodiscard]] static Layout head_sharded(std::uint16_t tile_count);
  /// Matrix-product left operand: rows split over the tiles, the inner (last) axis
  /// zero-padded to a multiple of `inner`.
  [[nodiscard]] static Layout amp_left(std::uint16_t inner, std::uint16_t tile_count);
  /// Matrix-product right operand: the inner (second-to-last) axis zero-padded to a multiple
  /// of `inner`, the columns split over the tiles in zero-padded blocks of 16.
  [[nodiscard]] static Layout amp_right(std::uint16_t inner, std::uint16_t tile_count);
  /// Matrix-product result in interleaved memory: rows split over the tiles, columns
  /// zero-padded to a multiple of 16.
  [[nodiscard]] static Layout amp_output(std::uint16_t tile_count);

  /// Validates the tiling against `shape` and returns the shape with each tiled axis padded
  /// to whole blocks; the rank never changes. Errors, first one met: `EmptyTileGroup`; per
  /// axis tiling in order `EmptyAxisTiling`, `TileCountOverflow`, `AxisOutOfRange`,
  /// `DuplicateAxis`, `IndivisibleAxis` or `ExtentOverflow`; then `TileCountMismatch`.
  [[nodiscard]] std::expected<graph::TensorShape, LayoutError> padded_shape(
      const graph::TensorShape& shape) const;

  bool operator==(const Layout&) const = default;
};

/// `Vorn21Standard` or `Vorn21Interleaved`.
std::ostream& operator<<(std::ostream& out, MemoryClass memory_class);
/// `RowMajor Vorn21Standard {tiles 4 replicas 1 [...]}`.
std::ostream& operator<<(std::ostream& out, const Layout& layout);

}  // namespace vorn::codegen::mid
