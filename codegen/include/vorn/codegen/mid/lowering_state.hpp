// LoweringState, the one place where mid-level values are created.
#pragma once

#include <ostream>
#include <vector>

#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/mid/mid_value.hpp"
#include "vorn/codegen/mid/tensor_type.hpp"

namespace vorn::codegen::mid {

/// The growing list of values of one lowering; it becomes `MidGraph::values`.
struct LoweringState {
  std::vector<MidValue> values;

  /// Appends a value of `tensor_type` representing `origin`; its id is its position. Running
  /// out of 32-bit ids is a fatal stop.
  MidValueId value(graph::ValueId origin, TensorType tensor_type);

  /// The value with id `id`, which this state created; any other id is a fatal stop.
  [[nodiscard]] const MidValue& get(MidValueId id) const;

  bool operator==(const LoweringState&) const = default;
};

/// The values, one a line.
std::ostream& operator<<(std::ostream& out, const LoweringState& state);

}  // namespace vorn::codegen::mid
