// The price of a format conversion under any cost model.
#include "vorn/codegen/mid/cost_model.hpp"

#include "vorn/support/arithmetic.hpp"

namespace vorn::codegen::mid {

std::uint64_t conversion_cost(const TensorType& from, const TensorFormat& to,
                              const CostModel& costs) {
  const TensorFormat& current = from.format;
  const std::uint64_t cast = current.precision == to.precision
                                 ? 0
                                 : costs.cast_cost(from.shape, current.precision, to.precision);
  // The rearrangement runs after the cast, so it moves elements of the target precision.
  const std::uint64_t rearrange =
      current.layout == to.layout
          ? 0
          : costs.rearrange_cost(from.shape, to.precision, current.layout, to.layout);
  return support::saturating_add(cast, rearrange);
}

}  // namespace vorn::codegen::mid
