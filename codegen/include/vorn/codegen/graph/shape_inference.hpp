// Result-shape inference of the tensor operations.
#pragma once

#include <expected>
#include <map>
#include <span>

#include "vorn/codegen/graph/graph_error.hpp"
#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/graph/operation.hpp"
#include "vorn/codegen/graph/tensor_shape.hpp"

namespace vorn::codegen::graph {

/// The shape of the single result of an operation of `kind` over `inputs`, whose shapes are
/// looked up in `shapes`. Matrix axes are the two innermost; the axes in front of them are
/// batch axes and broadcast. Errors (always `InvalidShape`): "wrong input arity" when an
/// operand the kind reads is missing, the rank and extent messages of `Gemm` and
/// `FlashAttention`, the broadcast message, and "repeat result shapes are defined by carried
/// values" for any `Repeat`.
[[nodiscard]] std::expected<TensorShape, GraphError> infer_shape(
    const OperationKind& kind, std::span<const ValueId> inputs,
    const std::map<ValueId, TensorShape>& shapes);

}  // namespace vorn::codegen::graph
