// Element precisions of mid-level values and accumulator precisions of kernels.
#pragma once

#include <cstdint>
#include <ostream>

#include "vorn/support/tagged.hpp"

namespace vorn::codegen::mid {

/// The cases of `Precision`.
struct PrecisionCases {
  /// 8-bit float (1 sign, 4 exponent, 3 mantissa bits) with a per-tensor scale exponent.
  struct F8F143 {
    std::int8_t scale_exponent;
    bool operator==(const F8F143&) const = default;
  };
  /// IEEE half precision.
  struct F16 {
    bool operator==(const F16&) const = default;
  };
  /// IEEE single precision.
  struct F32 {
    bool operator==(const F32&) const = default;
  };
};

/// The numeric precision of a tensor's elements. Two `F8F143` precisions are equal only with
/// equal scale exponents.
struct Precision
    : PrecisionCases,
      support::Tagged<PrecisionCases::F8F143, PrecisionCases::F16, PrecisionCases::F32> {
  using Tagged::Tagged;

  /// The size of one element in bytes: 1, 2 or 4.
  [[nodiscard]] std::uint64_t bytes() const noexcept;
};

/// The precision of a kernel's accumulator.
enum class AccumulationPrecision : std::uint8_t { F16, F32 };

/// `F8F143(-3)`, `F16`, `F32`.
std::ostream& operator<<(std::ostream& out, const Precision& precision);
/// `F16` or `F32`.
std::ostream& operator<<(std::ostream& out, AccumulationPrecision precision);

}  // namespace vorn::codegen::mid
