// CostModel, the estimates that choose kernels, and the price of a format conversion.
#pragma once

#include <cstdint>
#include <span>

#include "vorn/codegen/graph/tensor_shape.hpp"
#include "vorn/codegen/mid/mid_kernel.hpp"
#include "vorn/codegen/mid/tensor_type.hpp"

namespace vorn::codegen::mid {

/// Unitless cost estimates; only their order matters. Implementations hold no state.
class CostModel {
 public:
  virtual ~CostModel() = default;

  /// Running `kernel` on `inputs` (in the formats the kernel requires) into `output`.
  [[nodiscard]] virtual std::uint64_t kernel_cost(const MidKernel& kernel,
                                                  std::span<const TensorType> inputs,
                                                  const TensorType& output) const = 0;
  /// Converting a tensor of logical `shape` from precision `from` to `to`, layout unchanged.
  [[nodiscard]] virtual std::uint64_t cast_cost(const graph::TensorShape& shape,
                                                const Precision& from,
                                                const Precision& to) const = 0;
  /// Moving a tensor of logical `shape` in `precision` from layout `from` to `to`.
  [[nodiscard]] virtual std::uint64_t rearrange_cost(const graph::TensorShape& shape,
                                                     const Precision& precision, const Layout& from,
                                                     const Layout& to) const = 0;

 protected:
  CostModel() = default;
  CostModel(const CostModel&) = default;
  CostModel& operator=(const CostModel&) = default;
};

/// The cost of turning a value of type `from` into format `to` the way the lowering does it:
/// a cast when the precisions differ, then a rearrangement at the target precision when the
/// layouts differ. 0 for equal formats; the sum saturates.
[[nodiscard]] std::uint64_t conversion_cost(const TensorType& from, const TensorFormat& to,
                                            const CostModel& costs);

}  // namespace vorn::codegen::mid
