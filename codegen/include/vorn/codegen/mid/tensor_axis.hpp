// TensorAxis, an axis of a tensor named independently of its rank.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <ostream>

#include "vorn/support/tagged.hpp"

namespace vorn::codegen::mid {

struct LayoutError;

/// The cases of `TensorAxis`.
struct TensorAxisCases {
  /// Counted from the first axis: `FromStart{0}` is the outermost axis.
  struct FromStart {
    std::uint16_t index;
    bool operator==(const FromStart&) const = default;
  };
  /// Counted from the last axis, starting at 1: `FromEnd{1}` is the innermost axis;
  /// `FromEnd{0}` names no axis.
  struct FromEnd {
    std::uint16_t index;
    bool operator==(const FromEnd&) const = default;
  };
};

/// An axis of a tensor of any rank.
struct TensorAxis : TensorAxisCases,
                    support::Tagged<TensorAxisCases::FromStart, TensorAxisCases::FromEnd> {
  using Tagged::Tagged;

  /// The axis index in a shape of `rank` axes; `AxisOutOfRange { axis, rank }` when the axis
  /// does not exist there (include layout_error.hpp to call it).
  [[nodiscard]] std::expected<std::size_t, LayoutError> resolve(std::size_t rank) const;
};

/// `FromStart(0)` or `FromEnd(2)`.
std::ostream& operator<<(std::ostream& out, const TensorAxis& axis);

}  // namespace vorn::codegen::mid
