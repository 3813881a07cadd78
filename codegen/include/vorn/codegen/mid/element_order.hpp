// The order in which a tensor's elements are stored.
#pragma once

#include <cstdint>
#include <ostream>

#include "vorn/support/tagged.hpp"

namespace vorn::codegen::mid {

/// The element orders of the matrix-product unit's left operand, right operand and result.
enum class AmpOrder : std::uint8_t { Left, Right, Output };

/// The cases of `ElementOrder`.
struct ElementOrderCases {
  /// Plain row-major order.
  struct RowMajor {
    bool operator==(const RowMajor&) const = default;
  };
  /// One of the matrix-product unit's orders.
  struct Amp {
    AmpOrder order;
    bool operator==(const Amp&) const = default;
  };
};

/// The element order of a layout.
struct ElementOrder : ElementOrderCases,
                      support::Tagged<ElementOrderCases::RowMajor, ElementOrderCases::Amp> {
  using Tagged::Tagged;
};

/// `Left`, `Right`, `Output`.
std::ostream& operator<<(std::ostream& out, AmpOrder order);
/// `RowMajor` or `Amp(Left)`.
std::ostream& operator<<(std::ostream& out, const ElementOrder& order);

}  // namespace vorn::codegen::mid
