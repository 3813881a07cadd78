// Explicit conversion of a value to a format: a cast, then a rearrangement.
#include "vorn/codegen/mid/lowering.hpp"

namespace vorn::codegen::mid {

MidValueId ensure_format(MidValueId value, const TensorFormat& target, graph::OperationId source,
                         const CostModel& costs, LoweringState& state,
                         std::vector<MidOperation>& operations) {
  MidValueId current = value;
  // Copies: creating a value may move the state's storage.
  const graph::ValueId origin = state.get(value).origin;
  const TensorType original = state.get(value).tensor_type;
  const graph::TensorShape& shape = original.shape;
  const Precision& precision = original.format.precision;
  const Layout& layout = original.format.layout;

  if (precision != target.precision) {
    const MidValueId cast = state.value(origin, TensorType(shape, target.precision, layout));
    operations.push_back(MidOperation{source,
                                      {current},
                                      {cast},
                                      MidOperationKind::CastPrecision{precision, target.precision},
                                      std::nullopt,
                                      costs.cast_cost(shape, precision, target.precision)});
    current = cast;
  }
  if (layout != target.layout) {
    const MidValueId moved =
        state.value(origin, TensorType(shape, target.precision, target.layout));
    operations.push_back(
        MidOperation{source,
                     {current},
                     {moved},
                     MidOperationKind::Rearrange{layout, target.layout},
                     std::nullopt,
                     costs.rearrange_cost(shape, target.precision, layout, target.layout)});
    current = moved;
  }
  return current;
}

}  // namespace vorn::codegen::mid
