// Element counts that saturate instead of stopping on shapes beyond 64 bits.
#pragma once

#include <cstdint>

#include "vorn/codegen/graph/tensor_shape.hpp"
#include "vorn/support/arithmetic.hpp"

namespace vorn::codegen::mid::detail {

/// The product of the extents of `shape`, saturating at the largest 64-bit count.
[[nodiscard]] inline std::uint64_t saturating_elements(const graph::TensorShape& shape) {
  std::uint64_t product = 1;
  for (const std::uint32_t extent : shape.dimensions) {
    product = support::saturating_mul<std::uint64_t>(product, extent);
  }
  return product;
}

}  // namespace vorn::codegen::mid::detail
