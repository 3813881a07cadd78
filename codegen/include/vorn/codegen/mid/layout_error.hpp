// LayoutError, why a layout does not fit a shape.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>

#include "vorn/codegen/mid/tensor_axis.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen::mid {

/// The cases of `LayoutError`.
struct LayoutErrorCases {
  /// The tiling has a tile count or a replica count of 0.
  struct EmptyTileGroup {
    bool operator==(const EmptyTileGroup&) const = default;
  };
  /// An axis tiling has 0 partitions or a block size of 0.
  struct EmptyAxisTiling {
    bool operator==(const EmptyAxisTiling&) const = default;
  };
  /// Replicas times the partitions so far exceed 32 bits.
  struct TileCountOverflow {
    bool operator==(const TileCountOverflow&) const = default;
  };
  /// The axis does not exist in a shape of `rank` axes.
  struct AxisOutOfRange {
    TensorAxis axis;
    std::size_t rank;
    bool operator==(const AxisOutOfRange&) const = default;
  };
  /// Two axis tilings resolve to the axis with this index.
  struct DuplicateAxis {
    std::size_t axis;
    bool operator==(const DuplicateAxis&) const = default;
  };
  /// The extent of the axis is not a multiple of the block size and padding is rejected.
  struct IndivisibleAxis {
    std::size_t axis;
    std::uint32_t extent;
    std::uint32_t block_size;
    bool operator==(const IndivisibleAxis&) const = default;
  };
  /// Padding the axis with this index up to the next block would exceed 32 bits.
  struct ExtentOverflow {
    std::size_t axis;
    bool operator==(const ExtentOverflow&) const = default;
  };
  /// The declared tile count differs from replicas times all partitions.
  struct TileCountMismatch {
    std::uint16_t declared;
    std::uint32_t implied;
    bool operator==(const TileCountMismatch&) const = default;
  };
};

/// The error of validating a layout against a shape.
struct LayoutError
    : LayoutErrorCases,
      support::Tagged<LayoutErrorCases::EmptyTileGroup, LayoutErrorCases::EmptyAxisTiling,
                      LayoutErrorCases::TileCountOverflow, LayoutErrorCases::AxisOutOfRange,
                      LayoutErrorCases::DuplicateAxis, LayoutErrorCases::IndivisibleAxis,
                      LayoutErrorCases::ExtentOverflow, LayoutErrorCases::TileCountMismatch> {
  using Tagged::Tagged;
};

/// The case name and its payload, e.g. `DuplicateAxis(1)`.
std::ostream& operator<<(std::ostream& out, const LayoutError& error);

}  // namespace vorn::codegen::mid
