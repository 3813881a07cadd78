// The lowering driver: kernel choice, explicit conversions, numbering, costs and errors.
#include "vorn/codegen/mid/lowering.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/expected_matchers.hpp"
#include "vorn/codegen/graph.hpp"
#include "vorn/codegen/mid/toy_cost_model.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {
namespace {

using graph::ComputeGraph;
using graph::OperationId;
using graph::TensorShape;
using graph::ValueId;
using testing::FailsWith;
using testing::HasValue;
using K = MidOperationKind;

const Precision f16 = Precision::F16{};
const Precision f32 = Precision::F32{};
const ToyCostModel toy;

std::vector<MidValueId> ids(std::initializer_list<std::uint32_t> numbers) {
  std::vector<MidValueId> result;
  for (const std::uint32_t number : numbers) result.push_back(MidValueId{number});
  return result;
}

// x: [4, 8] (v0); y = gelu(x) (v1, op0), the only output.
class GeluGraph : public ::testing::Test {
 protected:
  void SetUp() override {
    x = *graph.host_input("x", {4, 8});
    y = *graph.gelu(x);
    ASSERT_TRUE(HasValue(graph.set_outputs({y})));
  }

  std::expected<MidGraph, LoweringError> lower_with(TensorFormat format) const {
    return lower(graph, LoweringConfig(4).with_input(x, std::move(format)), toy);
  }

  ComputeGraph graph;
  ValueId x{}, y{};
};

TEST_F(GeluGraph, InputAlreadyInAKernelFormatNeedsNoConversion) {
  const TensorFormat rows32{f32, Layout::row_sharded(4)};
  const auto lowered = lower_with(rows32);
  ASSERT_TRUE(HasValue(lowered));
  const KernelCandidate chosen = LoweringConfig(4).kernel_candidates[3];
  EXPECT_EQ(lowered->inputs, (std::vector<MidInput>{{"x", graph::GraphInputKind::Host, {0}}}));
  EXPECT_EQ(lowered->values, (std::vector<MidValue>{{{0}, TensorType({4, 8}, rows32), x},
                                                    {{1}, TensorType({4, 8}, rows32), y}}));
  EXPECT_EQ(lowered->operations,
            (std::vector<MidOperation>{{OperationId{0}, ids({0}), ids({1}),
                                        K::Kernel{MidKernel::Gelu{}}, chosen.requirements(), 12}}));
  EXPECT_EQ(lowered->outputs, ids({1}));
  EXPECT_EQ(lowered->estimated_cost, 12U);

  const auto half = lower_with(TensorFormat{f16, Layout::row_sharded(4)});
  ASSERT_TRUE(HasValue(half));
  ASSERT_EQ(half->operations.size(), 1U);
  EXPECT_EQ(half->operations[0].kernel_requirements,
            LoweringConfig(4).kernel_candidates[2].requirements());
  EXPECT_EQ(half->estimated_cost, 12U);
}

TEST_F(GeluGraph, CastsThenRearrangesWhenThatIsCheapest) {
  const Layout replicated = Layout::row_major(TensorTiling::replicated(4));
  const auto lowered = lower_with(TensorFormat{f32, replicated});
  ASSERT_TRUE(HasValue(lowered));
  const Layout rows = Layout::row_sharded(4);
  EXPECT_EQ(lowered->values, (std::vector<MidValue>{{{0}, TensorType({4, 8}, f32, replicated), x},
                                                    {{1}, TensorType({4, 8}, f16, replicated), x},
                                                    {{2}, TensorType({4, 8}, f16, rows), x},
                                                    {{3}, TensorType({4, 8}, f16, rows), y}}));
  const std::vector<MidOperation> expected = {
      {OperationId{0}, ids({0}), ids({1}), K::CastPrecision{f32, f16}, std::nullopt, 12},
      {OperationId{0}, ids({1}), ids({2}), K::Rearrange{replicated, rows}, std::nullopt, 16},
      {OperationId{0}, ids({2}), ids({3}), K::Kernel{MidKernel::Gelu{}},
       LoweringConfig(4).kernel_candidates[2].requirements(), 12},
  };
  EXPECT_EQ(lowered->operations, expected);
  EXPECT_EQ(lowered->outputs, ids({3}));
  EXPECT_EQ(lowered->estimated_cost, 40U);
}

TEST_F(GeluGraph, EqualCostsGoToTheEarlierCandidate) {
  const TensorFormat rows16{f16, Layout::row_sharded(4)};
  LoweringConfig config = LoweringConfig(4).with_input(x, rows16);
  const KernelCandidate first{
      MidKernel::Gelu{}, {OperandRequirement{rows16, 8}}, OperandRequirement{rows16, 8}};
  const KernelCandidate second = first.with_output_aliasing(OutputAliasing::MayAliasInputs{{0}});
  for (const auto& [candidates, winner] : {std::pair{std::vector{first, second}, first},
                                           std::pair{std::vector{second, first}, second}}) {
    config.kernel_candidates = candidates;
    const auto lowered = lower(graph, config, toy);
    ASSERT_TRUE(HasValue(lowered));
    ASSERT_EQ(lowered->operations.size(), 1U);
    EXPECT_EQ(lowered->operations[0].kernel_requirements, winner.requirements());
  }
}

TEST_F(GeluGraph, ReportsEachError) {
  const TensorFormat rows16{f16, Layout::row_sharded(4)};
  LoweringConfig empty(0);
  empty.inputs.insert_or_assign(x, rows16);
  EXPECT_TRUE(FailsWith(lower(ComputeGraph(), empty, toy), LoweringError::EmptyTileGroup{}));
  EXPECT_TRUE(FailsWith(lower(graph, empty, toy), LoweringError::EmptyTileGroup{}));

  // A format for a value that is no input is ignored; the input still lacks one.
  EXPECT_TRUE(FailsWith(lower(graph, LoweringConfig(4).with_input(y, rows16), toy),
                        LoweringError::MissingInputType{x}));

  LoweringConfig no_gelu = LoweringConfig(4).with_input(x, rows16);
  no_gelu.kernel_candidates.erase(no_gelu.kernel_candidates.begin() + 2,
                                  no_gelu.kernel_candidates.begin() + 4);
  EXPECT_TRUE(FailsWith(lower(graph, no_gelu, toy), LoweringError::NoCandidate{OperationId{0}}));
}

TEST(EnsureFormat, CastsThenRearrangesOnlyWhatDiffers) {
  const Layout rows = Layout::row_sharded(2);
  const Layout replicated = Layout::row_major(TensorTiling::replicated(2));
  const TensorShape shape{6, 4};
  struct Case {
    std::string name;
    TensorFormat from;
    TensorFormat to;
    std::vector<MidOperationKind> kinds;
  };
  const Case cases[] = {
      {"same format", {f16, rows}, {f16, rows}, {}},
      {"precision only", {f32, rows}, {f16, rows}, {K::CastPrecision{f32, f16}}},
      {"scale exponent only",
       {Precision::F8F143{1}, rows},
       {Precision::F8F143{2}, rows},
       {K::CastPrecision{Precision::F8F143{1}, Precision::F8F143{2}}}},
      {"layout only", {f16, replicated}, {f16, rows}, {K::Rearrange{replicated, rows}}},
      {"both",
       {f32, replicated},
       {f16, rows},
       {K::CastPrecision{f32, f16}, K::Rearrange{replicated, rows}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoweringState state;
    const MidValueId original = state.value(ValueId{5}, TensorType(shape, c.from));
    std::vector<MidOperation> operations;
    const MidValueId converted =
        ensure_format(original, c.to, OperationId{9}, toy, state, operations);
    ASSERT_EQ(operations.size(), c.kinds.size());
    EXPECT_EQ(state.values.size(), 1 + c.kinds.size());
    EXPECT_EQ(converted, MidValueId{static_cast<std::uint32_t>(c.kinds.size())});
    EXPECT_EQ(state.get(converted).tensor_type, TensorType(shape, c.to));
    MidValueId previous = original;
    for (std::size_t i = 0; i < operations.size(); ++i) {
      const MidOperation& operation = operations[i];
      EXPECT_EQ(operation.kind, c.kinds[i]);
      EXPECT_EQ(operation.source, OperationId{9});
      EXPECT_EQ(operation.inputs, std::vector{previous});
      EXPECT_EQ(operation.kernel_requirements, std::nullopt);
      EXPECT_EQ(state.get(operation.results[0]).origin, ValueId{5});
      previous = operation.results[0];
    }
    std::uint64_t total = 0;
    for (const MidOperation& operation : operations) total += operation.estimated_cost;
    EXPECT_EQ(total, conversion_cost(TensorType(shape, c.from), c.to, toy));
  }
}

TEST(Plans, KeepsMatchingSupportingCandidatesInConfigurationOrder) {
  ComputeGraph graph;
  const ValueId left = *graph.host_input("left", {4, 8});
  const ValueId right = *graph.host_input("right", {8, 16});
  (void)*graph.gemm(left, right);
  LoweringConfig config(2);
  const TensorType any({4, 8}, f16, Layout::row_sharded(2));
  const std::vector<TensorType> inputs = {any, TensorType({8, 16}, any.format)};
  // The F32 product first: the order of the configuration is kept.
  std::swap(config.kernel_candidates[0], config.kernel_candidates[1]);
  const std::vector<Plan> found = plans(graph.operations()[0], inputs, {4, 16}, config);
  ASSERT_EQ(found.size(), 2U);
  EXPECT_EQ(found[0],
            (Plan{config.kernel_candidates[0].kernel, config.kernel_candidates[0].requirements()}));
  EXPECT_EQ(found[1].kernel, MidKernel(MidKernel::Gemm{f16, AccumulationPrecision::F32}));
  EXPECT_TRUE(plans(graph.operations()[0], std::vector{any}, {4, 16}, config).empty());
}

TEST(Lowering, RejectsOperationsNoCandidateSupports) {
  ComputeGraph graph;
  const ValueId vector = *graph.host_input("v", {8});
  const ValueId matrix = *graph.host_input("m", {2, 8});
  const ValueId rank1 = *graph.gelu(vector);
  const ValueId pair = *graph.inferred_result(graph::OperationKind::Gelu{}, {matrix, matrix});
  const auto no_results = graph.operation(graph::OperationKind::Gelu{}, {matrix}, {});
  const auto two_results = graph.operation(graph::OperationKind::Gelu{}, {matrix},
                                           {TensorShape{2, 8}, TensorShape{2, 8}});
  ASSERT_TRUE(HasValue(no_results) && HasValue(two_results));
  const LoweringConfig config = LoweringConfig(2)
                                    .with_input(vector, TensorFormat{f16, Layout::row_sharded(2)})
                                    .with_input(matrix, TensorFormat{f16, Layout::row_sharded(2)});
  ASSERT_EQ(graph.operations().size(), 4U);
  for (std::size_t skip = 0; skip < graph.operations().size(); ++skip) {
    SCOPED_TRACE("operation " + std::to_string(skip));
    const std::span<const graph::Operation> one(&graph.operations()[skip], 1);
    LoweringState state;
    ValueMap values{{vector, state.value(vector, TensorType({8}, config.inputs.at(vector)))},
                    {matrix, state.value(matrix, TensorType({2, 8}, config.inputs.at(matrix)))}};
    EXPECT_TRUE(
        FailsWith(lower_operations(one, values, graph.value_shapes(), graph, config, toy, state),
                  LoweringError::NoCandidate{graph.operations()[skip].id}));
  }
  (void)rank1;
  (void)pair;
}

TEST(Lowering, ReportsUnknownValuesAndMissingShapes) {
  ComputeGraph graph;
  const ValueId x = *graph.host_input("x", {2, 8});
  const ValueId y = *graph.gelu(x);
  const LoweringConfig config =
      LoweringConfig(2).with_input(x, TensorFormat{f16, Layout::row_sharded(2)});
  LoweringState state;
  ValueMap values;
  EXPECT_TRUE(FailsWith(
      lower_operations(graph.operations(), values, graph.value_shapes(), graph, config, toy, state),
      LoweringError::UnknownValue{x}));
  values.emplace(x, state.value(x, TensorType({2, 8}, config.inputs.at(x))));
  EXPECT_TRUE(FailsWith(lower_operations(graph.operations(), values, {}, graph, config, toy, state),
                        LoweringError::MissingShape{y}));
  EXPECT_TRUE(FailsWith(lookup(values, y), LoweringError::UnknownValue{y}));
  EXPECT_EQ(lookup(values, x), MidValueId{0});
}

TEST(Lowering, ConvertsOnceForEveryConsumer) {
  ComputeGraph graph;
  const ValueId x = *graph.host_input("x", {4, 8});
  const ValueId first = *graph.gelu(x);
  const ValueId second = *graph.gelu(x);
  ASSERT_TRUE(HasValue(graph.set_outputs({second, first})));
  const Layout replicated = Layout::row_major(TensorTiling::replicated(4));
  const auto lowered =
      lower(graph, LoweringConfig(4).with_input(x, TensorFormat{f32, replicated}), toy);
  ASSERT_TRUE(HasValue(lowered));
  // Per consumer: cast, rearrangement, kernel; nothing is shared.
  ASSERT_EQ(lowered->operations.size(), 6U);
  for (std::size_t consumer = 0; consumer < 2; ++consumer) {
    const std::uint32_t base = static_cast<std::uint32_t>(consumer * 3);
    const OperationId source{static_cast<std::uint32_t>(consumer)};
    const std::vector<MidOperation> slice(lowered->operations.begin() + base,
                                          lowered->operations.begin() + base + 3);
    EXPECT_TRUE(slice[0].kind.is<K::CastPrecision>());
    EXPECT_EQ(slice[0].inputs, ids({0}));
    EXPECT_TRUE(slice[1].kind.is<K::Rearrange>());
    EXPECT_TRUE(slice[2].kind.is<K::Kernel>());
    EXPECT_EQ(slice[2].inputs, ids({base + 2}));
    for (const MidOperation& operation : slice) EXPECT_EQ(operation.source, source);
  }
  EXPECT_EQ(lowered->values.size(), 7U);
  EXPECT_EQ(lowered->outputs, ids({6, 3}));
  EXPECT_EQ(lowered->estimated_cost, 80U);
}

TEST(Lowering, ChainsKernelsThroughTheirOutputFormats) {
  // left [5, 20] x right [20, 30] -> gelu: the product comes out in amp_output and must be
  // rearranged to rows before the GELU.
  ComputeGraph graph;
  const ValueId left = *graph.host_input("left", {5, 20});
  const ValueId right = *graph.parameter("right", {20, 30});
  const ValueId product = *graph.gemm(left, right);
  const ValueId activated = *graph.gelu(product);
  ASSERT_TRUE(HasValue(graph.set_outputs({product, activated})));
  const TensorFormat rows16{f16, Layout::row_sharded(4)};
  const auto lowered =
      lower(graph, LoweringConfig(4).with_input(left, rows16).with_input(right, rows16), toy);
  ASSERT_TRUE(HasValue(lowered));

  std::vector<std::string> kinds;
  for (const MidOperation& operation : lowered->operations) {
    kinds.push_back(support::to_text(operation.kind).substr(0, 9));
  }
  EXPECT_EQ(kinds, (std::vector<std::string>{"Rearrange", "Rearrange", "Kernel(Ge", "Rearrange",
                                             "Kernel(Ge"}));
  const MidOperation& gemm = lowered->operations[2];
  EXPECT_EQ(gemm.kind, K(K::Kernel{MidKernel::Gemm{f16, AccumulationPrecision::F32}}));
  EXPECT_EQ(lowered->values[gemm.results[0].index()].tensor_type,
            TensorType({5, 30}, f16, Layout::amp_output(4)));
  // The product's output keeps its kernel format; the GELU reads a converted copy.
  EXPECT_EQ(lowered->outputs[0], gemm.results[0]);
  EXPECT_EQ(lowered->values[lowered->operations[3].results[0].index()].origin, product);

  std::uint64_t total = 0;
  for (const MidOperation& operation : lowered->operations) total += operation.estimated_cost;
  EXPECT_EQ(lowered->estimated_cost, total);
}

TEST_F(GeluGraph, PrintsAListing) {
  const auto lowered =
      lower_with(TensorFormat{f32, Layout::row_major(TensorTiling::replicated(4))});
  ASSERT_TRUE(HasValue(lowered));
  const std::string listing = support::to_text(*lowered);
  EXPECT_EQ(listing,
            "mid graph {\n"
            "  input %0 \"x\": Host [4, 8] F32 RowMajor Vorn21Standard {tiles 4 replicas 4 []}\n"
            "  [%1] = CastPrecision(F32 -> F16)[%0]  cost 12  for op0  # %1: [4, 8] F16 RowMajor "
            "Vorn21Standard {tiles 4 replicas 4 []}\n"
            "  [%2] = Rearrange(RowMajor Vorn21Standard {tiles 4 replicas 4 []} -> RowMajor "
            "Vorn21Standard {tiles 4 replicas 1 [FromEnd(2) x4 block 1 Reject]})[%1]  cost 16  for "
            "op0  # %2: [4, 8] F16 RowMajor Vorn21Standard {tiles 4 replicas 1 [FromEnd(2) x4 "
            "block 1 Reject]}\n"
            "  [%3] = Kernel(Gelu)[%2]  cost 12  for op0  # %3: [4, 8] F16 RowMajor Vorn21Standard "
            "{tiles 4 replicas 1 [FromEnd(2) x4 block 1 Reject]}\n"
            "  outputs [%3]\n"
            "  cost 40\n"
            "}");
  EXPECT_EQ(support::to_text(LoweringError(LoweringError::NoCandidate{OperationId{3}})),
            "NoCandidate(op3)");
}

}  // namespace
}  // namespace vorn::codegen::mid
