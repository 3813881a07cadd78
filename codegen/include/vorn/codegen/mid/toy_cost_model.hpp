// ToyCostModel, the built-in analytic cost model.
#pragma once

#include <cstdint>
#include <span>

#include "vorn/codegen/mid/cost_model.hpp"

namespace vorn::codegen::mid {

/// Prices work by (padded) element counts and bytes moved; every product and sum saturates
/// at the largest 64-bit value.
class ToyCostModel final : public CostModel {
 public:
  /// Element-wise kernels by output elements; GEMM by output elements times the padded inner
  /// extent over the precision's throughput.
  [[nodiscard]] std::uint64_t kernel_cost(const MidKernel& kernel,
                                          std::span<const TensorType> inputs,
                                          const TensorType& output) const override;
  /// Bytes read and written over 16.
  [[nodiscard]] std::uint64_t cast_cost(const graph::TensorShape& shape, const Precision& from,
                                        const Precision& to) const override;
  /// Bytes read and written over 16, doubled when the tiling changes.
  [[nodiscard]] std::uint64_t rearrange_cost(const graph::TensorShape& shape,
                                             const Precision& precision, const Layout& from,
                                             const Layout& to) const override;
};

}  // namespace vorn::codegen::mid
