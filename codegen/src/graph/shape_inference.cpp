// Result-shape inference of Gemm, Gelu, Add and FlashAttention.
#include "vorn/codegen/graph/shape_inference.hpp"

#include "vorn/support/print.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::graph {
namespace {

using Extents = std::span<const std::uint32_t>;

std::unexpected<GraphError> invalid(const char* message) {
  return std::unexpected(GraphError(GraphError::InvalidShape{message}));
}

// The shape of operand `position`; a missing position or shape is an arity error.
std::expected<const TensorShape*, GraphError> operand(std::span<const ValueId> inputs,
                                                      const std::map<ValueId, TensorShape>& shapes,
                                                      std::size_t position) {
  if (position >= inputs.size()) return invalid("wrong input arity");
  const auto found = shapes.find(inputs[position]);
  if (found == shapes.end()) return invalid("wrong input arity");
  return &found->second;
}

// The extents in front of the two matrix axes; the shape has rank at least 2.
Extents batch(const TensorShape& shape) {
  return Extents(shape.dimensions).first(shape.rank() - 2);
}
std::uint32_t last(const TensorShape& shape) {
  return shape.dimensions[shape.rank() - 1];
}
std::uint32_t second_to_last(const TensorShape& shape) {
  return shape.dimensions[shape.rank() - 2];
}

std::expected<TensorShape, GraphError> infer_gemm(std::span<const ValueId> inputs,
                                                  const std::map<ValueId, TensorShape>& shapes) {
  VORN_TRY(const TensorShape* left, operand(inputs, shapes, 0));
  VORN_TRY(const TensorShape* right, operand(inputs, shapes, 1));
  if (left->rank() < 2 || right->rank() < 2) {
    return invalid("GEMM inputs must have rank at least two");
  }
  if (last(*left) != second_to_last(*right)) return invalid("GEMM inner dimensions do not match");
  VORN_TRY(std::vector<std::uint32_t> result, broadcast(batch(*left), batch(*right)));
  result.push_back(second_to_last(*left));
  result.push_back(last(*right));
  return TensorShape(std::move(result));
}

std::expected<TensorShape, GraphError> infer_attention(
    std::span<const ValueId> inputs, const std::map<ValueId, TensorShape>& shapes) {
  VORN_TRY(const TensorShape* query, operand(inputs, shapes, 0));
  VORN_TRY(const TensorShape* key, operand(inputs, shapes, 1));
  VORN_TRY(const TensorShape* value, operand(inputs, shapes, 2));
  if (query->rank() < 2 || key->rank() < 2 || value->rank() < 2) {
    return invalid("FlashAttention inputs must have rank at least two");
  }
  if (last(*query) != last(*key) || second_to_last(*key) != second_to_last(*value)) {
    return invalid("FlashAttention head or sequence dimensions do not match");
  }
  VORN_TRY(const std::vector<std::uint32_t> key_value_batch, broadcast(batch(*key), batch(*value)));
  VORN_TRY(std::vector<std::uint32_t> result, broadcast(batch(*query), key_value_batch));
  result.push_back(second_to_last(*query));
  result.push_back(last(*value));
  return TensorShape(std::move(result));
}

}  // namespace

std::expected<TensorShape, GraphError> infer_shape(const OperationKind& kind,
                                                   std::span<const ValueId> inputs,
                                                   const std::map<ValueId, TensorShape>& shapes) {
  using K = OperationKind;
  return kind.visit(support::overloaded{
      [&](const K::Gemm&) { return infer_gemm(inputs, shapes); },
      [&](const K::Gelu&) -> std::expected<TensorShape, GraphError> {
        VORN_TRY(const TensorShape* input, operand(inputs, shapes, 0));
        return *input;
      },
      [&](const K::Add&) -> std::expected<TensorShape, GraphError> {
        VORN_TRY(const TensorShape* left, operand(inputs, shapes, 0));
        VORN_TRY(const TensorShape* right, operand(inputs, shapes, 1));
        VORN_TRY(std::vector<std::uint32_t> result, broadcast(left->dimensions, right->dimensions));
        return TensorShape(std::move(result));
      },
      [&](const K::FlashAttention&) { return infer_attention(inputs, shapes); },
      [&](const K::Repeat&) -> std::expected<TensorShape, GraphError> {
        return invalid("repeat result shapes are defined by carried values");
      },
  });
}

}  // namespace vorn::codegen::graph
