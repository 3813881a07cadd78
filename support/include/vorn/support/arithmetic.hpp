// Overflow-aware unsigned arithmetic: checked (absent on overflow) and saturating.
#pragma once

#include <concepts>
#include <limits>
#include <optional>

namespace vorn::support {

/// `a * b`, or nothing when the product does not fit in `T`.
template <std::unsigned_integral T>
[[nodiscard]] constexpr std::optional<T> checked_mul(T a, T b) noexcept {
  T product{};
  if (__builtin_mul_overflow(a, b, &product)) return std::nullopt;
  return product;
}

/// `a + b`, or nothing when the sum does not fit in `T`.
template <std::unsigned_integral T>
[[nodiscard]] constexpr std::optional<T> checked_add(T a, T b) noexcept {
  T sum{};
  if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
  return sum;
}

/// `a + b`, or the largest `T` when the sum does not fit.
template <std::unsigned_integral T>
[[nodiscard]] constexpr T saturating_add(T a, T b) noexcept {
  return checked_add(a, b).value_or(std::numeric_limits<T>::max());
}

/// `a * b`, or the largest `T` when the product does not fit.
template <std::unsigned_integral T>
[[nodiscard]] constexpr T saturating_mul(T a, T b) noexcept {
  return checked_mul(a, b).value_or(std::numeric_limits<T>::max());
}

}  // namespace vorn::support
