// The typed tensor operations, shared by the graph's top level and repeat bodies.
#pragma once

#include <expected>

#include "vorn/codegen/graph/graph_error.hpp"
#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/graph/operation.hpp"

namespace vorn::codegen::graph {

/// `gemm`, `gelu`, `add` and `flash_attention` for a scope that offers
/// `inferred_result(kind, inputs)`: each adds one operation of its kind whose single result
/// shape is inferred. Errors: `UnknownValue` (first input not defined in the scope), then
/// `InvalidShape`.
template <class Scope>
class TypedOperations {
 public:
  /// Matrix product of `left` (rows x inner) and `right` (inner x columns), batches broadcast.
  [[nodiscard]] std::expected<ValueId, GraphError> gemm(ValueId left, ValueId right) {
    return scope().inferred_result(OperationKind::Gemm{}, {left, right});
  }
  /// GELU activation; the result has the input's shape.
  [[nodiscard]] std::expected<ValueId, GraphError> gelu(ValueId input) {
    return scope().inferred_result(OperationKind::Gelu{}, {input});
  }
  /// Element-wise sum; the shapes broadcast.
  [[nodiscard]] std::expected<ValueId, GraphError> add(ValueId left, ValueId right) {
    return scope().inferred_result(OperationKind::Add{}, {left, right});
  }
  /// Attention: the query's rows and the value's columns, batches broadcast.
  [[nodiscard]] std::expected<ValueId, GraphError> flash_attention(ValueId query, ValueId key,
                                                                   ValueId value) {
    return scope().inferred_result(OperationKind::FlashAttention{}, {query, key, value});
  }

 private:
  Scope& scope() { return static_cast<Scope&>(*this); }
};

}  // namespace vorn::codegen::graph
