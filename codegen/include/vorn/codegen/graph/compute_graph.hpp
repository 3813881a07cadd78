// ComputeGraph, the program a caller builds one operation at a time.
#pragma once

#include <cstdint>
#include <expected>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/codegen/graph/graph_error.hpp"
#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/graph/operation.hpp"
#include "vorn/codegen/graph/region_builder.hpp"
#include "vorn/codegen/graph/tensor_shape.hpp"
#include "vorn/codegen/graph/typed_operations.hpp"

namespace vorn::codegen::graph {

/// Who supplies a graph input's data.
enum class GraphInputKind : std::uint8_t { Host = 0, Parameter = 1 };

/// A graph input: its (non-empty, not necessarily unique) name, kind, value and shape.
struct GraphInput {
  std::string name;
  GraphInputKind kind;
  ValueId value;
  TensorShape shape;

  bool operator==(const GraphInput&) const = default;
};

/// A named sequence of top-level values of one shape, which repeats iterate over.
struct ValueSequence {
  ValueSequenceId id;
  std::string name;
  std::vector<ValueId> values;

  bool operator==(const ValueSequence&) const = default;
};

/// Builds a repeat body: given the body's builder and its arguments, returns the values to
/// yield, one per carried value, or an error that fails the whole repeat.
using RepeatBody = std::function<std::expected<std::vector<ValueId>, GraphError>(
    RegionBuilder&, const RepeatArguments&)>;

/// A compute graph. Besides the operations below it offers `gemm`, `gelu`, `add` and
/// `flash_attention` (see `TypedOperations`). Every builder operation either succeeds
/// completely or returns a `GraphError` and leaves the graph as it was; only a `repeat`
/// that fails after its arguments were allocated leaves its consumed numbers behind.
class ComputeGraph : public TypedOperations<ComputeGraph> {
 public:
  /// An empty graph with all counters at 0.
  ComputeGraph() = default;

  /// A new graph input; `EmptyName` for an empty name.
  [[nodiscard]] std::expected<ValueId, GraphError> input(std::string_view name, GraphInputKind kind,
                                                         TensorShape shape);
  /// A new input of kind `Host`.
  [[nodiscard]] std::expected<ValueId, GraphError> host_input(std::string_view name,
                                                              TensorShape dimensions);
  /// A new input of kind `Parameter`.
  [[nodiscard]] std::expected<ValueId, GraphError> parameter(std::string_view name,
                                                             TensorShape dimensions);

  /// A new sequence over top-level values of one shape. Errors in order: `EmptyName`,
  /// `UnknownValue` (first undefined entry), `SequenceShape` (first entry whose shape differs
  /// from entry 0's).
  [[nodiscard]] std::expected<ValueSequenceId, GraphError> value_sequence(
      std::string_view name, const std::vector<ValueId>& entries);

  /// The single result of a new operation whose shape is inferred; `UnknownValue` (first
  /// undefined input) or `InvalidShape`.
  [[nodiscard]] std::expected<ValueId, GraphError> inferred_result(
      const OperationKind& kind, const std::vector<ValueId>& inputs);
  /// The results of a new operation with exactly the given result shapes, unchecked against
  /// the kind; `UnknownValue` only.
  [[nodiscard]] std::expected<std::vector<ValueId>, GraphError> operation(
      const OperationKind& kind, const std::vector<ValueId>& inputs,
      const std::vector<TensorShape>& result_shapes);

  /// A repeat of `count` iterations whose body `build` creates; returns one result per
  /// carried value. Errors in order: `EmptyRepeat`; `UnknownValue` among carried values, then
  /// among invariants; per iterated sequence `UnknownSequence`, then `ShortSequence`; any
  /// error of `build`; `YieldArity`; `YieldShape`; `UnknownValue` among the yields.
  [[nodiscard]] std::expected<std::vector<ValueId>, GraphError> repeat(
      std::uint32_t count, const std::vector<ValueId>& carried,
      const std::vector<ValueId>& invariants, const std::vector<ValueSequenceId>& iterated,
      const RepeatBody& build);

  /// Replaces the output list; `UnknownValue` keeps the previous list.
  [[nodiscard]] std::expected<void, GraphError> set_outputs(const std::vector<ValueId>& outputs);

  [[nodiscard]] const std::vector<GraphInput>& inputs() const noexcept { return inputs_; }
  [[nodiscard]] const std::vector<ValueSequence>& sequences() const noexcept { return sequences_; }
  [[nodiscard]] const std::vector<Operation>& operations() const noexcept { return operations_; }
  [[nodiscard]] const std::vector<ValueId>& outputs() const noexcept { return outputs_; }
  /// Every top-level value: inputs and results of top-level operations.
  [[nodiscard]] const std::set<ValueId>& values() const noexcept { return values_; }
  /// The shape of every top-level value.
  [[nodiscard]] const std::map<ValueId, TensorShape>& value_shapes() const noexcept {
    return shapes_;
  }
  /// The shape of a top-level value, else nothing (also for values inside repeat bodies).
  [[nodiscard]] std::optional<TensorShape> value_shape(ValueId value) const;

  /// The numbers the next identifiers of each kind will take.
  [[nodiscard]] std::uint32_t next_operation() const noexcept { return next_operation_; }
  [[nodiscard]] std::uint32_t next_value() const noexcept { return next_value_; }
  [[nodiscard]] std::uint32_t next_sequence() const noexcept { return next_sequence_; }

 private:
  std::vector<GraphInput> inputs_;
  std::vector<ValueSequence> sequences_;
  std::vector<Operation> operations_;
  std::vector<ValueId> outputs_;
  std::set<ValueId> values_;
  std::map<ValueId, TensorShape> shapes_;
  std::uint32_t next_operation_ = 0;
  std::uint32_t next_value_ = 0;
  std::uint32_t next_sequence_ = 0;
};

/// `Host` or `Parameter`.
std::ostream& operator<<(std::ostream& out, GraphInputKind kind);
/// `v0 "name": Host [4, 4]`.
std::ostream& operator<<(std::ostream& out, const GraphInput& input);
/// `seq0 "name" = [v1, v2]`.
std::ostream& operator<<(std::ostream& out, const ValueSequence& sequence);
/// A listing: inputs, sequences, operations (with shapes and repeat bodies) and outputs.
std::ostream& operator<<(std::ostream& out, const ComputeGraph& graph);

}  // namespace vorn::codegen::graph
