// Input validation, identifier issuing and operation appending for any scope.
#include "scope.hpp"

#include <limits>

#include "vorn/codegen/graph/shape_inference.hpp"
#include "vorn/support/fatal.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::graph::detail {

std::expected<void, GraphError> validate_inputs(const std::set<ValueId>& values,
                                                std::span<const ValueId> inputs) {
  for (const ValueId input : inputs) {
    if (!values.contains(input)) return std::unexpected(GraphError::UnknownValue{input});
  }
  return {};
}

std::uint32_t issue(std::uint32_t& counter) {
  // The last number is never issued, so a counter at the maximum is exhausted.
  if (counter == std::numeric_limits<std::uint32_t>::max()) {
    support::fatal("graph identifier counter exhausted");
  }
  return counter++;
}

std::vector<ValueId> allocate_values(std::uint32_t& next_value, std::size_t count) {
  if (count > std::numeric_limits<std::uint32_t>::max() - next_value) {
    support::fatal("graph identifier counter exhausted");
  }
  std::vector<ValueId> values;
  values.reserve(count);
  for (std::size_t i = 0; i < count; ++i) values.push_back(ValueId{next_value++});
  return values;
}

std::expected<std::vector<ValueId>, GraphError> append_operation(
    const Scope& scope, const OperationKind& kind, const std::vector<ValueId>& inputs,
    const std::vector<TensorShape>& result_shapes) {
  VORN_TRY_VOID(validate_inputs(scope.values, inputs));
  const OperationId id{issue(scope.next_operation)};
  std::vector<ValueId> results = allocate_values(scope.next_value, result_shapes.size());
  for (std::size_t i = 0; i < results.size(); ++i) {
    scope.values.insert(results[i]);
    scope.shapes.emplace(results[i], result_shapes[i]);
  }
  scope.operations.push_back(Operation{id, inputs, results, kind});
  return results;
}

std::expected<ValueId, GraphError> append_inferred(const Scope& scope, const OperationKind& kind,
                                                   const std::vector<ValueId>& inputs) {
  VORN_TRY_VOID(validate_inputs(scope.values, inputs));
  VORN_TRY(TensorShape shape, infer_shape(kind, inputs, scope.shapes));
  VORN_TRY(const std::vector<ValueId> results,
           append_operation(scope, kind, inputs, {std::move(shape)}));
  if (results.empty()) support::fatal("one result was requested");
  return results.front();
}

}  // namespace vorn::codegen::graph::detail
