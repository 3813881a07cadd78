// ToyCostModel: element counts, bytes and throughputs, all saturating.
#include "vorn/codegen/mid/toy_cost_model.hpp"

#include <algorithm>

#include "element_count.hpp"
#include "vorn/support/arithmetic.hpp"

namespace vorn::codegen::mid {
namespace {

using support::saturating_mul;

// a / b rounded up, without the overflow of (a + b - 1) / b.
std::uint64_t ceil_div(std::uint64_t a, std::uint64_t b) {
  return a / b + (a % b != 0 ? 1 : 0);
}

// Multiply-accumulates per cost unit of the matrix-product unit.
std::uint64_t gemm_throughput(const Precision& precision) {
  return precision.visit(support::overloaded{
      [](const Precision::F8F143&) -> std::uint64_t { return 128; },
      [](const Precision::F16&) -> std::uint64_t { return 64; },
      [](const Precision::F32&) -> std::uint64_t { return 16; },
  });
}

// The last extent of the left operand's padded shape (its logical shape when the layout
// does not fit); 1 without an operand or without axes.
std::uint64_t gemm_inner_extent(std::span<const TensorType> inputs) {
  if (inputs.empty()) return 1;
  const TensorType& left = inputs.front();
  const auto padded = left.format.layout.padded_shape(left.shape);
  const graph::TensorShape& shape = padded ? *padded : left.shape;
  return shape.dimensions.empty() ? 1 : shape.dimensions.back();
}

}  // namespace

std::uint64_t ToyCostModel::kernel_cost(const MidKernel& kernel, std::span<const TensorType> inputs,
                                        const TensorType& output) const {
  const std::uint64_t elements = physical_elements(output.shape, output.format.layout);
  using K = MidKernel;
  return kernel.visit(support::overloaded{
      [&](const K::Gelu&) { return ceil_div(saturating_mul<std::uint64_t>(elements, 6), 16); },
      [&](const K::Add&) { return ceil_div(elements, 16); },
      [&](const K::FlashAttention&) {
        return ceil_div(saturating_mul<std::uint64_t>(elements, 8), 32);
      },
      [&](const K::Gemm& gemm) {
        const std::uint64_t logical = detail::saturating_elements(output.shape);
        const std::uint64_t work =
            saturating_mul(saturating_mul<std::uint64_t>(logical, 2), gemm_inner_extent(inputs));
        return ceil_div(work, gemm_throughput(gemm.multiply));
      },
  });
}

std::uint64_t ToyCostModel::cast_cost(const graph::TensorShape& shape, const Precision& from,
                                      const Precision& to) const {
  const std::uint64_t bytes = from.bytes() + to.bytes();
  return ceil_div(saturating_mul(detail::saturating_elements(shape), bytes), 16);
}

std::uint64_t ToyCostModel::rearrange_cost(const graph::TensorShape& shape,
                                           const Precision& precision, const Layout& from,
                                           const Layout& to) const {
  const std::uint64_t elements =
      std::max(physical_elements(shape, from), physical_elements(shape, to));
  const std::uint64_t moved =
      saturating_mul<std::uint64_t>(saturating_mul(elements, precision.bytes()), 2);
  // Data that changes tiles costs twice as much as data reordered in place.
  const std::uint64_t penalty = from.tiling != to.tiling ? 2 : 1;
  return ceil_div(saturating_mul(moved, penalty), 16);
}

}  // namespace vorn::codegen::mid
