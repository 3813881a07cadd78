// LowLoweringError, the one error type of tile lowering.
#pragma once

#include <cstdint>
#include <ostream>
#include <utility>

#include "vorn/codegen/mid/layout_error.hpp"
#include "vorn/codegen/mid/mid_value.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen::low {

/// The cases of `LowLoweringError`.
struct LowLoweringErrorCases {
  /// The configured tile count is 0.
  struct EmptyTileGroup {
    bool operator==(const EmptyTileGroup&) const = default;
  };
  /// The first value whose layout declares another tile count than the scheduled one.
  struct TileCountMismatch {
    mid::MidValueId value;
    std::uint16_t declared;
    std::uint16_t scheduled;
    bool operator==(const TileCountMismatch&) const = default;
  };
  /// A value that an operation, a repeat, a program input or output names has no canonical
  /// shards, or none on the tile where it is needed.
  struct UnknownValue {
    mid::MidValueId value;
    bool operator==(const UnknownValue&) const = default;
  };
  /// An operation other than a repeat does not have exactly one result.
  struct ResultArity {
    bool operator==(const ResultArity&) const = default;
  };
  /// A repeat's input, result, argument, yield or sequence counts disagree.
  struct InvalidRepeat {
    bool operator==(const InvalidRepeat&) const = default;
  };
  /// A shard or phase count, a tile or axis index, or a shard stride outgrew its width.
  struct IdOverflow {
    bool operator==(const IdOverflow&) const = default;
  };
  /// A value's layout does not fit its shape.
  struct Layout {
    mid::LayoutError error;
    bool operator==(const Layout&) const = default;
  };
};

/// The error of tile lowering. A `LayoutError` converts implicitly into the `Layout` case.
struct LowLoweringError
    : LowLoweringErrorCases,
      support::Tagged<LowLoweringErrorCases::EmptyTileGroup,
                      LowLoweringErrorCases::TileCountMismatch, LowLoweringErrorCases::UnknownValue,
                      LowLoweringErrorCases::ResultArity, LowLoweringErrorCases::InvalidRepeat,
                      LowLoweringErrorCases::IdOverflow, LowLoweringErrorCases::Layout> {
  using Tagged::Tagged;
  LowLoweringError(mid::LayoutError error)  // NOLINT: wraps implicitly by design
      : Tagged(Layout{std::move(error)}) {}
};

/// The case name and its payload, e.g. `UnknownValue(%4)` or `Layout(DuplicateAxis(1))`.
std::ostream& operator<<(std::ostream& out, const LowLoweringError& error);

}  // namespace vorn::codegen::low
