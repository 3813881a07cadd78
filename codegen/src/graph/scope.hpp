// The steps shared by the top level of a graph and a repeat body under construction.
#pragma once

#include <cstdint>
#include <expected>
#include <map>
#include <set>
#include <span>
#include <vector>

#include "vorn/codegen/graph/graph_error.hpp"
#include "vorn/codegen/graph/operation.hpp"

namespace vorn::codegen::graph::detail {

/// The containers of one scope and the graph's two counters, borrowed for one call.
struct Scope {
  std::vector<Operation>& operations;
  std::set<ValueId>& values;
  std::map<ValueId, TensorShape>& shapes;
  std::uint32_t& next_operation;
  std::uint32_t& next_value;
};

/// `UnknownValue` for the first of `inputs` that is not in `values`.
[[nodiscard]] std::expected<void, GraphError> validate_inputs(const std::set<ValueId>& values,
                                                              std::span<const ValueId> inputs);

/// The next `count` numbers of `counter`, ascending; a counter running out of 32 bits is a
/// fatal stop.
[[nodiscard]] std::vector<ValueId> allocate_values(std::uint32_t& next_value, std::size_t count);

/// The next number of `counter`; running out of 32 bits is a fatal stop.
[[nodiscard]] std::uint32_t issue(std::uint32_t& counter);

/// Validates the inputs, then adds an operation with one result per shape.
[[nodiscard]] std::expected<std::vector<ValueId>, GraphError> append_operation(
    const Scope& scope, const OperationKind& kind, const std::vector<ValueId>& inputs,
    const std::vector<TensorShape>& result_shapes);

/// Validates the inputs, infers the one result shape and adds the operation.
[[nodiscard]] std::expected<ValueId, GraphError> append_inferred(
    const Scope& scope, const OperationKind& kind, const std::vector<ValueId>& inputs);

}  // namespace vorn::codegen::graph::detail
