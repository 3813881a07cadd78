// MidGraph, the result of the mid-level lowering.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "vorn/codegen/mid/mid_operation.hpp"
#include "vorn/codegen/mid/mid_value.hpp"

namespace vorn::codegen::mid {

/// A graph whose values all have complete types and whose compute operations are bound to
/// kernels. `values` holds every value, repeat bodies included, indexed by `MidValueId`;
/// `estimated_cost` is the sum of the top-level operations' costs.
struct MidGraph {
  std::vector<MidInput> inputs;
  std::vector<MidValue> values;
  std::vector<MidOperation> operations;
  std::vector<MidValueId> outputs;
  std::uint64_t estimated_cost;

  bool operator==(const MidGraph&) const = default;
};

/// A listing: inputs, one operation a line with the types of its results and its cost,
/// repeat bodies indented, outputs, and the total cost.
std::ostream& operator<<(std::ostream& out, const MidGraph& graph);

}  // namespace vorn::codegen::mid
