// Result-shape inference of every operation kind, with its errors in checking order.
#include "vorn/codegen/graph/shape_inference.hpp"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/expected_matchers.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::graph {
namespace {

using K = OperationKind;

struct InferenceCase {
  std::string name;
  OperationKind kind;
  std::vector<TensorShape> operands;    // operand i is value i
  std::optional<TensorShape> expected;  // the inferred shape, or
  std::string error;                    // the InvalidShape message
};

std::expected<TensorShape, GraphError> infer(const OperationKind& kind,
                                             const std::vector<TensorShape>& operands) {
  std::map<ValueId, TensorShape> shapes;
  std::vector<ValueId> inputs;
  for (std::uint32_t i = 0; i < operands.size(); ++i) {
    inputs.push_back(ValueId{i});
    shapes.emplace(ValueId{i}, operands[i]);
  }
  return infer_shape(kind, inputs, shapes);
}

const char* const arity = "wrong input arity";
const char* const gemm_rank = "GEMM inputs must have rank at least two";
const char* const gemm_inner = "GEMM inner dimensions do not match";
const char* const attention_rank = "FlashAttention inputs must have rank at least two";
const char* const attention_axes = "FlashAttention head or sequence dimensions do not match";

const InferenceCase cases[] = {
    {"gemm plain", K::Gemm{}, {{2, 3}, {3, 4}}, TensorShape{2, 4}, {}},
    {"gemm left batch", K::Gemm{}, {{5, 2, 3}, {3, 4}}, TensorShape{5, 2, 4}, {}},
    {"gemm right batch", K::Gemm{}, {{2, 3}, {7, 3, 4}}, TensorShape{7, 2, 4}, {}},
    {"gemm broadcast batch", K::Gemm{}, {{2, 1, 2, 3}, {4, 3, 4}}, TensorShape{2, 4, 2, 4}, {}},
    {"gemm third input ignored", K::Gemm{}, {{2, 3}, {3, 4}, {9}}, TensorShape{2, 4}, {}},
    {"gemm rank-1 left", K::Gemm{}, {{3}, {3, 4}}, std::nullopt, gemm_rank},
    {"gemm rank-1 right", K::Gemm{}, {{2, 3}, {4}}, std::nullopt, gemm_rank},
    {"gemm inner mismatch", K::Gemm{}, {{2, 3}, {4, 5}}, std::nullopt, gemm_inner},
    {"gemm batch conflict",
     K::Gemm{},
     {{2, 2, 3}, {3, 3, 4}},
     std::nullopt,
     "dimensions 2 and 3 cannot be broadcast"},
    {"gemm one input", K::Gemm{}, {{2, 3}}, std::nullopt, arity},
    {"gelu copies", K::Gelu{}, {{4, 5}}, TensorShape{4, 5}, {}},
    {"gelu rank 0", K::Gelu{}, {{}}, TensorShape{}, {}},
    {"gelu second input ignored", K::Gelu{}, {{1}, {2}}, TensorShape{1}, {}},
    {"gelu no input", K::Gelu{}, {}, std::nullopt, arity},
    {"add broadcast", K::Add{}, {{2, 3}, {3}}, TensorShape{2, 3}, {}},
    {"add rank 0", K::Add{}, {{}, {}}, TensorShape{}, {}},
    {"add mismatch",
     K::Add{},
     {{2, 3}, {2}},
     std::nullopt,
     "dimensions 3 and 2 cannot be broadcast"},
    {"add one input", K::Add{}, {{2, 3}}, std::nullopt, arity},
    {"attention plain",
     K::FlashAttention{},
     {{8, 64}, {128, 64}, {128, 32}},
     TensorShape{8, 32},
     {}},
    {"attention batches",
     K::FlashAttention{},
     {{2, 8, 64}, {128, 64}, {3, 1, 128, 32}},
     TensorShape{3, 2, 8, 32},
     {}},
    {"attention head mismatch",
     K::FlashAttention{},
     {{8, 64}, {128, 32}, {128, 32}},
     std::nullopt,
     attention_axes},
    {"attention sequence mismatch",
     K::FlashAttention{},
     {{8, 64}, {128, 64}, {100, 32}},
     std::nullopt,
     attention_axes},
    {"attention rank before axes",
     K::FlashAttention{},
     {{8, 64}, {128, 64}, {32}},
     std::nullopt,
     attention_rank},
    {"attention key-value batch conflict",
     K::FlashAttention{},
     {{8, 64}, {2, 128, 64}, {3, 128, 32}},
     std::nullopt,
     "dimensions 2 and 3 cannot be broadcast"},
    {"attention query batch conflict",
     K::FlashAttention{},
     {{4, 8, 64}, {3, 128, 64}, {128, 32}},
     std::nullopt,
     "dimensions 4 and 3 cannot be broadcast"},
    {"attention two inputs", K::FlashAttention{}, {{8, 64}, {128, 64}}, std::nullopt, arity},
    {"repeat never inferred",
     K::Repeat{1, 0, 0, {}, {}},
     {{2}},
     std::nullopt,
     "repeat result shapes are defined by carried values"},
};

TEST(InferShape, InfersOrRejectsEveryKind) {
  for (const InferenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = infer(c.kind, c.operands);
    if (c.expected) {
      ASSERT_TRUE(testing::HasValue(result));
      EXPECT_EQ(*result, *c.expected);
    } else {
      EXPECT_TRUE(testing::FailsWith(result, GraphError::InvalidShape{c.error}));
    }
  }
}

TEST(InferShape, AnInputWithoutAShapeIsAnArityError) {
  const std::map<ValueId, TensorShape> shapes{{ValueId{0}, {2, 3}}};
  const std::vector<ValueId> inputs{ValueId{0}, ValueId{9}};
  EXPECT_TRUE(
      testing::FailsWith(infer_shape(K::Add{}, inputs, shapes), GraphError::InvalidShape{arity}));
}

}  // namespace
}  // namespace vorn::codegen::graph
