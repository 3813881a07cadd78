// When candidates apply: alignment, aliasing, memory relations, kinds, and the default table.
#include "vorn/codegen/mid/kernel_candidate.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vorn/codegen/mid/default_kernels.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {
namespace {

using graph::OperationKind;
using graph::TensorShape;
using Operand = MemoryOperand;

const TensorFormat rows16{Precision::F16{}, Layout::row_sharded(2)};
const TensorFormat rows32{Precision::F32{}, Layout::row_sharded(2)};

TensorType rows(TensorShape shape) {
  return TensorType(std::move(shape), rows16);
}

TEST(ValidRequirement, NeedsAPowerOfTwoAlignmentAndAFittingLayout) {
  for (const std::uint32_t alignment : {1U, 8U, 32U, 0x80000000U}) {
    EXPECT_TRUE(valid_requirement(OperandRequirement{rows16, alignment}, {4, 4})) << alignment;
  }
  for (const std::uint32_t alignment : {0U, 24U, 48U, 0xFFFFFFFFU}) {
    EXPECT_FALSE(valid_requirement(OperandRequirement{rows16, alignment}, {4, 4})) << alignment;
  }
  EXPECT_FALSE(valid_requirement(OperandRequirement{rows16, 8}, {4}));
}

TEST(KernelCandidate, BuildersReplaceOrAppend) {
  const KernelCandidate plain{
      MidKernel::Gelu{}, {OperandRequirement{rows16, 8}}, OperandRequirement{rows16, 8}};
  EXPECT_EQ(plain.output_aliasing, OutputAliasing(OutputAliasing::Fresh{}));
  EXPECT_TRUE(plain.memory_relations.empty());
  const KernelCandidate changed =
      plain.with_output_aliasing(OutputAliasing::MustAliasInput{0})
          .with_memory_relation(MemoryRelation::DistinctElements{{Operand::Output{}}})
          .with_memory_relation(MemoryRelation::DistinctElements{{Operand::Input{0}}});
  EXPECT_EQ(changed.output_aliasing, OutputAliasing(OutputAliasing::MustAliasInput{0}));
  ASSERT_EQ(changed.memory_relations.size(), 2U);
  const MemoryRelation second = MemoryRelation::DistinctElements{{Operand::Input{0}}};
  EXPECT_EQ(changed.memory_relations[1], second);
  EXPECT_EQ((OperandRequirement{rows16, 8}.with_access_tail(16).access_tail_bytes), 16U);
}

struct SupportCase {
  std::string name;
  KernelCandidate candidate;
  std::vector<TensorType> inputs;
  TensorShape output;
  bool supported;
};

KernelCandidate gelu(TensorFormat input, TensorFormat output, OutputAliasing aliasing) {
  return KernelCandidate{MidKernel::Gelu{},
                         {OperandRequirement{std::move(input), 8}},
                         OperandRequirement{std::move(output), 8}}
      .with_output_aliasing(std::move(aliasing));
}

KernelCandidate add_with(std::vector<Operand> distinct) {
  return KernelCandidate{MidKernel::Add{},
                         {OperandRequirement{rows16, 8}, OperandRequirement{rows16, 8}},
                         OperandRequirement{rows16, 8}}
      .with_memory_relation(MemoryRelation::DistinctElements{std::move(distinct)});
}

TEST(Supports, ChecksArityLayoutsAliasingAndRelations) {
  using A = OutputAliasing;
  const TensorType input = rows({4, 8});
  const SupportCase cases[] = {
      {"fresh", gelu(rows16, rows16, A::Fresh{}), {input}, {4, 8}, true},
      {"the input's current format plays no part",
       gelu(rows16, rows16, A::Fresh{}),
       {TensorType({4, 8}, Precision::F8F143{3}, Layout::amp_left(8, 1))},
       {4, 8},
       true},
      {"too many inputs", gelu(rows16, rows16, A::Fresh{}), {input, input}, {4, 8}, false},
      {"output layout does not fit", gelu(rows16, rows16, A::Fresh{}), {input}, {8}, false},
      {"input layout does not fit", gelu(rows16, rows16, A::Fresh{}), {rows({8})}, {4, 8}, false},
      {"may alias an input of the output's shape and format",
       gelu(rows16, rows16, A::MayAliasInputs{{0}}),
       {input},
       {4, 8},
       true},
      {"may alias needs equal requirement formats",
       gelu(rows16, rows32, A::MayAliasInputs{{0}}),
       {input},
       {4, 8},
       false},
      {"may alias needs equal shapes",
       gelu(rows16, rows16, A::MayAliasInputs{{0}}),
       {rows({4, 1})},
       {4, 8},
       false},
      {"may alias nothing", gelu(rows16, rows16, A::MayAliasInputs{{}}), {input}, {4, 8}, false},
      {"may alias a missing input",
       gelu(rows16, rows16, A::MayAliasInputs{{1}}),
       {input},
       {4, 8},
       false},
      {"must alias", gelu(rows16, rows16, A::MustAliasInput{0}), {input}, {4, 8}, true},
      {"must alias a missing input",
       gelu(rows16, rows16, A::MustAliasInput{1}),
       {input},
       {4, 8},
       false},
      {"distinct output and input",
       add_with({Operand::Output{}, Operand::Input{1}}),
       {input, input},
       {4, 8},
       true},
      {"distinct with a single operand",
       add_with({Operand::Output{}}),
       {input, input},
       {4, 8},
       false},
      {"distinct with a repeated operand",
       add_with({Operand::Output{}, Operand::Output{}}),
       {input, input},
       {4, 8},
       false},
      {"distinct with a missing input",
       add_with({Operand::Output{}, Operand::Input{2}}),
       {input, input},
       {4, 8},
       false},
  };
  for (const SupportCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.candidate.supports(c.inputs, c.output), c.supported);
  }
}

TEST(KernelMatches, ComparesKindsNotPrecisions) {
  const MidKernel gemm8 = MidKernel::Gemm{Precision::F8F143{1}, AccumulationPrecision::F16};
  const MidKernel attention = MidKernel::FlashAttention{AccumulationPrecision::F16};
  EXPECT_TRUE(kernel_matches(OperationKind::Gemm{}, gemm8));
  EXPECT_TRUE(kernel_matches(OperationKind::FlashAttention{}, attention));
  EXPECT_TRUE(kernel_matches(OperationKind::Gelu{}, MidKernel::Gelu{}));
  EXPECT_TRUE(kernel_matches(OperationKind::Add{}, MidKernel::Add{}));
  EXPECT_FALSE(kernel_matches(OperationKind::Add{}, MidKernel::Gelu{}));
  EXPECT_FALSE(kernel_matches(OperationKind::Gemm{}, attention));
  const graph::Repeat repeat{1, 0, 0, {}, {}};
  for (const MidKernel& kernel : {gemm8, attention, MidKernel(MidKernel::Gelu{})}) {
    EXPECT_FALSE(kernel_matches(repeat, kernel));
  }
}

TEST(DefaultKernelCandidates, HoldsTheEightCandidatesInOrder) {
  const std::vector<KernelCandidate> table = default_kernel_candidates(4);
  ASSERT_EQ(table.size(), 8U);
  EXPECT_EQ(table[0], amp_gemm_candidate(Precision::F16{}, 16, 16, 4));
  EXPECT_EQ(table[1], amp_gemm_candidate(Precision::F32{}, 8, 32, 4));
  const std::vector<std::string> kernels = {"Gemm { multiply: F16, accumulate: F32 }",
                                            "Gemm { multiply: F32, accumulate: F32 }",
                                            "Gelu",
                                            "Gelu",
                                            "Add",
                                            "Add",
                                            "FlashAttention { accumulate: F32 }",
                                            "FlashAttention { accumulate: F32 }"};
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(support::to_text(table[i].kernel), kernels[i]) << i;
  }

  const KernelCandidate& gemm = table[0];
  EXPECT_EQ(gemm.inputs[0],
            (OperandRequirement{TensorFormat{Precision::F16{}, Layout::amp_left(16, 4)}, 32, 16}));
  EXPECT_EQ(gemm.inputs[1],
            (OperandRequirement{TensorFormat{Precision::F16{}, Layout::amp_right(16, 4)}, 32, 0}));
  EXPECT_EQ(gemm.output,
            (OperandRequirement{TensorFormat{Precision::F16{}, Layout::amp_output(4)}, 32, 0}));
  const MemoryRelation distinct =
      MemoryRelation::DistinctElements{{Operand::Output{}, Operand::Input{0}}};
  EXPECT_EQ(gemm.memory_relations, std::vector<MemoryRelation>{distinct});
  EXPECT_EQ(table[1].inputs[0].access_tail_bytes, 32U);

  const TensorFormat heads32{Precision::F32{}, Layout::head_sharded(4)};
  EXPECT_EQ(table[7],
            (KernelCandidate{MidKernel::FlashAttention{AccumulationPrecision::F32},
                             {OperandRequirement{heads32, 8}, OperandRequirement{heads32, 8},
                              OperandRequirement{heads32, 8}},
                             OperandRequirement{heads32, 8}}));
  const TensorFormat rows_f32{Precision::F32{}, Layout::row_sharded(4)};
  EXPECT_EQ(table[5],
            (KernelCandidate{MidKernel::Add{},
                             {OperandRequirement{rows_f32, 8}, OperandRequirement{rows_f32, 8}},
                             OperandRequirement{rows_f32, 8}}));
}

TEST(DefaultKernelCandidates, NeedTheirRanks) {
  const std::vector<KernelCandidate> table = default_kernel_candidates(4);
  const auto type = [](TensorShape shape) { return TensorType(std::move(shape), rows32); };
  // Matrix products pad the inner and column axes, so any extents of rank 2 or more do.
  for (const std::size_t gemm : {0U, 1U}) {
    EXPECT_TRUE(table[gemm].supports(std::vector{type({3, 5}), type({5, 7})}, {3, 7}));
    EXPECT_TRUE(table[gemm].supports(std::vector{type({2, 3, 5}), type({5, 7})}, {2, 3, 7}));
    EXPECT_FALSE(table[gemm].supports(std::vector{type({5}), type({5, 7})}, {7}));
  }
  for (const std::size_t pointwise : {2U, 3U}) {
    EXPECT_TRUE(table[pointwise].supports(std::vector{type({1, 3})}, {1, 3}));
    EXPECT_FALSE(table[pointwise].supports(std::vector{type({3})}, {3}));
  }
  EXPECT_TRUE(table[4].supports(std::vector{type({3, 3}), type({3, 3})}, {3, 3}));
  EXPECT_FALSE(table[4].supports(std::vector{type({3, 3})}, {3, 3}));
  for (const std::size_t attention : {6U, 7U}) {
    const TensorType qkv = type({2, 3, 4});
    EXPECT_TRUE(table[attention].supports(std::vector{qkv, qkv, qkv}, {2, 3, 4}));
    const TensorType matrix = type({3, 4});
    EXPECT_FALSE(table[attention].supports(std::vector{matrix, matrix, matrix}, {3, 4}));
  }
}

}  // namespace
}  // namespace vorn::codegen::mid
