// Renderings of the module's values, as failures and listings show them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vorn/codegen/mid.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {
namespace {

using support::to_text;

TEST(Rendering, ShowsCasesAndPayloads) {
  const TensorFormat rows16{Precision::F16{}, Layout::row_sharded(2)};
  const std::vector<std::pair<std::string, std::string>> cases = {
      {to_text(Precision(Precision::F8F143{-3})), "F8F143(-3)"},
      {to_text(AccumulationPrecision::F16), "F16"},
      {to_text(ElementOrder(ElementOrder::Amp{AmpOrder::Right})), "Amp(Right)"},
      {to_text(TensorAxis(TensorAxis::FromStart{4})), "FromStart(4)"},
      {to_text(AxisTiling{TensorAxis::FromEnd{1}, 3, 16, Padding::Zero}),
       "FromEnd(1) x3 block 16 Zero"},
      {to_text(LayoutError(LayoutError::AxisOutOfRange{TensorAxis::FromEnd{2}, 1})),
       "AxisOutOfRange { axis: FromEnd(2), rank: 1 }"},
      {to_text(LayoutError(LayoutError::TileCountMismatch{5, 6})),
       "TileCountMismatch { declared: 5, implied: 6 }"},
      {to_text(MidKernel(MidKernel::FlashAttention{AccumulationPrecision::F16})),
       "FlashAttention { accumulate: F16 }"},
      {to_text(OperandRequirement{rows16, 32, 16}),
       "F16 RowMajor Vorn21Standard {tiles 2 replicas 1 [FromEnd(2) x2 block 1 Reject]} align "
       "32 tail 16"},
      {to_text(MemoryRelation(
           MemoryRelation::DistinctElements{{MemoryOperand::Output{}, MemoryOperand::Input{0}}})),
       "DistinctElements([Output, Input(0)])"},
      {to_text(OutputAliasing(OutputAliasing::MayAliasInputs{{0, 2}})), "MayAliasInputs([0, 2])"},
      {to_text(OutputAliasing(OutputAliasing::MustAliasInput{1})), "MustAliasInput(1)"},
      {to_text(MidValue{MidValueId{3}, TensorType({2}, rows16), graph::ValueId{1}}),
       "%3: [2] F16 RowMajor Vorn21Standard {tiles 2 replicas 1 [FromEnd(2) x2 block 1 "
       "Reject]} (from v1)"},
      {to_text(MidInput{"x", graph::GraphInputKind::Parameter, MidValueId{0}}),
       "%0 \"x\": Parameter"},
      {to_text(
           MidOperationKind(MidOperationKind::CastPrecision{Precision::F32{}, Precision::F16{}})),
       "CastPrecision(F32 -> F16)"},
      {to_text(MidRepeat{2, 1, 0, {}, MidRegion{{MidValueId{1}}, {}, {MidValueId{1}}, 0}}),
       "Repeat { count: 2, carried_inputs: 1, invariant_inputs: 0 } body [%1] cost 0 {\n"
       "  yield [%1]\n}"},
      {to_text(LoweringError(LoweringError::MissingInputType{graph::ValueId{2}})),
       "MissingInputType(v2)"},
      {to_text(LoweringError(LoweringError::MalformedRepeat{graph::OperationId{4}})),
       "MalformedRepeat(op4)"},
  };
  for (const auto& [rendered, expected] : cases) EXPECT_EQ(rendered, expected);
}

}  // namespace
}  // namespace vorn::codegen::mid
