// RegionBuilder, the scope in which a repeat body is built.
#pragma once

#include <cstdint>
#include <expected>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <vector>

#include "vorn/codegen/graph/graph_error.hpp"
#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/graph/operation.hpp"
#include "vorn/codegen/graph/tensor_shape.hpp"
#include "vorn/codegen/graph/typed_operations.hpp"

namespace vorn::codegen::graph {

class ComputeGraph;

/// A repeat body under construction. It draws operation and value numbers from the graph's
/// counters, which it references for its lifetime, and sees only its arguments and its own
/// results; `gemm`, `gelu`, `add` and `flash_attention` come from `TypedOperations`. Only
/// `ComputeGraph::repeat` creates one, and lends it to the body's build callable.
class RegionBuilder : public TypedOperations<RegionBuilder> {
 public:
  /// An operation of any kind with one inferred result; `UnknownValue` or `InvalidShape`.
  [[nodiscard]] std::expected<ValueId, GraphError> inferred_result(
      const OperationKind& kind, const std::vector<ValueId>& inputs);
  /// An operation with exactly the given result shapes; `UnknownValue` only.
  [[nodiscard]] std::expected<std::vector<ValueId>, GraphError> operation(
      const OperationKind& kind, const std::vector<ValueId>& inputs,
      const std::vector<TensorShape>& result_shapes);

  [[nodiscard]] const std::vector<ValueId>& arguments() const noexcept { return arguments_; }
  [[nodiscard]] const std::vector<Operation>& operations() const noexcept { return operations_; }
  [[nodiscard]] const std::set<ValueId>& values() const noexcept { return values_; }
  [[nodiscard]] const std::map<ValueId, TensorShape>& shapes() const noexcept { return shapes_; }
  /// The shape of a value defined in the body, else nothing.
  [[nodiscard]] std::optional<TensorShape> value_shape(ValueId value) const;

  RegionBuilder(const RegionBuilder&) = delete;
  RegionBuilder& operator=(const RegionBuilder&) = delete;

 private:
  friend class ComputeGraph;

  /// A body whose defined values are `arguments`, argument i of shape `argument_shapes[i]`
  /// (one shape per argument).
  RegionBuilder(std::vector<ValueId> arguments, std::vector<TensorShape> argument_shapes,
                std::uint32_t& next_operation, std::uint32_t& next_value);

  /// The finished region with `yields`; `UnknownValue` for the first yield not defined in
  /// the body. The builder is consumed.
  [[nodiscard]] std::expected<Region, GraphError> finish(std::vector<ValueId> yields) &&;

  std::vector<ValueId> arguments_;
  std::vector<Operation> operations_;
  std::set<ValueId> values_;
  std::map<ValueId, TensorShape> shapes_;
  std::uint32_t& next_operation_;
  std::uint32_t& next_value_;
};

/// The body built so far: its arguments, operations and shapes.
std::ostream& operator<<(std::ostream& out, const RegionBuilder& builder);

}  // namespace vorn::codegen::graph
