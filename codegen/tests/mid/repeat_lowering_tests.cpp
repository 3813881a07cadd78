// Repeats: one loop with its body lowered once, sequences converted before it, yields
// converted back inside it, costs multiplied by the count, and malformed repeats rejected.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "support/expected_matchers.hpp"
#include "vorn/codegen/graph.hpp"
#include "vorn/codegen/mid.hpp"
#include "vorn/support/print.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::mid {
namespace {

using graph::ComputeGraph;
using graph::OperationId;
using graph::TensorShape;
using graph::ValueId;
using testing::FailsWith;
using testing::HasValue;
using K = MidOperationKind;
using Yields = std::expected<std::vector<ValueId>, graph::GraphError>;

const Precision f16 = Precision::F16{};
const Precision f32 = Precision::F32{};
const ToyCostModel toy;

std::vector<MidValueId> ids(std::initializer_list<std::uint32_t> numbers) {
  std::vector<MidValueId> result;
  for (const std::uint32_t number : numbers) result.push_back(MidValueId{number});
  return result;
}

std::vector<std::string> kind_names(const std::vector<MidOperation>& operations) {
  std::vector<std::string> names;
  for (const MidOperation& operation : operations) {
    const std::string text = support::to_text(operation.kind);
    names.push_back(text.substr(0, text.find('(')).substr(0, text.find(' ')));
  }
  return names;
}

// state: [4, 4] (v0); weights p, q: [4, 4] (v1, v2) in sequence s; repeat 2 times carrying
// state and yielding gemm(carried, iterated) (body op0, result v5; the repeat is op1, v6).
class RepeatLowering : public ::testing::Test {
 protected:
  void SetUp() override {
    state = *graph.host_input("state", {4, 4});
    p = *graph.parameter("p", {4, 4});
    q = *graph.parameter("q", {4, 4});
    const graph::ValueSequenceId s = *graph.value_sequence("s", {p, q});
    const auto results = graph.repeat(
        2, {state}, {}, {s},
        [](graph::RegionBuilder& body, const graph::RepeatArguments& args) -> Yields {
          VORN_TRY(const ValueId product, body.gemm(args.carried[0], args.iterated[0]));
          return std::vector<ValueId>{product};
        });
    ASSERT_TRUE(HasValue(results));
    result = results->front();
    ASSERT_TRUE(HasValue(graph.set_outputs({result})));
  }

  LoweringConfig config(const Precision& q_precision) const {
    return LoweringConfig(4)
        .with_input(state, TensorFormat{f32, rows})
        .with_input(p, TensorFormat{f32, rows})
        .with_input(q, TensorFormat{q_precision, rows});
  }

  const Layout rows = Layout::row_sharded(4);
  ComputeGraph graph;
  ValueId state{}, p{}, q{}, result{};
};

TEST_F(RepeatLowering, ConvertsSequencesBeforeAndYieldsInsideTheLoop) {
  // Only the F16 product, so that the F32 operands are cast in and the product cast back.
  LoweringConfig f16_product = config(f16);
  f16_product.kernel_candidates.erase(f16_product.kernel_candidates.begin() + 1,
                                      f16_product.kernel_candidates.end());
  const auto lowered = lower(graph, f16_product, toy);
  ASSERT_TRUE(HasValue(lowered));
  const OperationId repeat_id{1};

  // The second weight takes the first one's format before the loop.
  ASSERT_EQ(kind_names(lowered->operations), (std::vector<std::string>{"CastPrecision", "Repeat"}));
  const MidOperation& cast = lowered->operations[0];
  EXPECT_EQ(cast, (MidOperation{repeat_id, ids({2}), ids({3}), K::CastPrecision{f16, f32},
                                std::nullopt, toy.cast_cost({4, 4}, f16, f32)}));

  const MidOperation& loop = lowered->operations[1];
  const MidRepeat* repeat = loop.kind.get_if<MidRepeat>();
  ASSERT_NE(repeat, nullptr);
  EXPECT_EQ(loop.source, repeat_id);
  EXPECT_EQ(loop.inputs, ids({0}));
  EXPECT_EQ(loop.kernel_requirements, std::nullopt);
  EXPECT_EQ(repeat->count, 2U);
  EXPECT_EQ(repeat->carried_inputs, 1U);
  EXPECT_EQ(repeat->invariant_inputs, 0U);
  EXPECT_EQ(repeat->iterated_inputs, std::vector<std::vector<MidValueId>>{ids({1, 3})});

  // The body is lowered once: converted operands, the product, then the yield's way back.
  const MidRegion& body = repeat->body;
  EXPECT_EQ(body.arguments, ids({4, 5}));
  ASSERT_EQ(kind_names(body.operations),
            (std::vector<std::string>{"CastPrecision", "Rearrange", "CastPrecision", "Rearrange",
                                      "Kernel", "CastPrecision", "Rearrange"}));
  EXPECT_EQ(body.operations[4].kind,
            K(K::Kernel{MidKernel::Gemm{f16, AccumulationPrecision::F32}}));
  EXPECT_EQ(body.operations[4].source, OperationId{0});
  EXPECT_EQ(body.operations[5].source, repeat_id);
  EXPECT_EQ(body.operations[5].inputs, body.operations[4].results);
  EXPECT_EQ(body.yields, ids({12}));
  const TensorType carried_type({4, 4}, f32, rows);
  EXPECT_EQ(lowered->values[12].tensor_type, carried_type);
  EXPECT_EQ(lowered->values[4], (MidValue{{4}, carried_type, ValueId{3}}));
  EXPECT_EQ(lowered->values[5], (MidValue{{5}, carried_type, ValueId{4}}));

  std::uint64_t body_cost = 0;
  for (const MidOperation& operation : body.operations) body_cost += operation.estimated_cost;
  EXPECT_EQ(body.estimated_cost, body_cost);
  EXPECT_EQ(loop.estimated_cost, 2 * body_cost);
  EXPECT_EQ(lowered->estimated_cost, cast.estimated_cost + 2 * body_cost);

  // The results come last, in the carried input's format.
  EXPECT_EQ(loop.results, ids({13}));
  EXPECT_EQ(lowered->values.size(), 14U);
  EXPECT_EQ(lowered->values[13], (MidValue{{13}, carried_type, result}));
  EXPECT_EQ(lowered->outputs, ids({13}));
}

TEST_F(RepeatLowering, SequencesOfOneFormatNeedNoConversion) {
  const auto lowered = lower(graph, config(f32), toy);
  ASSERT_TRUE(HasValue(lowered));
  ASSERT_EQ(kind_names(lowered->operations), std::vector<std::string>{"Repeat"});
  EXPECT_EQ(lowered->operations[0].kind.get_if<MidRepeat>()->iterated_inputs,
            std::vector<std::vector<MidValueId>>{ids({1, 2})});
}

// Every price is half the largest cost, so any sum of two and any doubling saturate.
class HalfMaximumCost final : public CostModel {
 public:
  static constexpr std::uint64_t half = std::numeric_limits<std::uint64_t>::max() / 2 + 1;
  std::uint64_t kernel_cost(const MidKernel&, std::span<const TensorType>,
                            const TensorType&) const override {
    return half;
  }
  std::uint64_t cast_cost(const TensorShape&, const Precision&, const Precision&) const override {
    return half;
  }
  std::uint64_t rearrange_cost(const TensorShape&, const Precision&, const Layout&,
                               const Layout&) const override {
    return half;
  }
};

TEST_F(RepeatLowering, CostsSaturate) {
  const auto lowered = lower(graph, config(f16), HalfMaximumCost());
  ASSERT_TRUE(HasValue(lowered));
  constexpr std::uint64_t saturated = std::numeric_limits<std::uint64_t>::max();
  const MidOperation& loop = lowered->operations.back();
  EXPECT_EQ(loop.kind.get_if<MidRepeat>()->body.estimated_cost, saturated);
  EXPECT_EQ(loop.estimated_cost, saturated);
  EXPECT_EQ(lowered->estimated_cost, saturated);
}

TEST(NestedRepeat, IsLoweredInsideItsEnclosingBody) {
  // repeat 2 { repeat 3 { gelu } }: the inner loop is made by hand, as the region builder
  // offers no repeat of its own.
  ComputeGraph graph;
  const ValueId x = *graph.host_input("x", {4, 8});
  const TensorShape shape{4, 8};
  const ValueId a{100}, g{101};
  const graph::Region inner{
      {a},
      {graph::Operation{OperationId{100}, {a}, {g}, graph::OperationKind::Gelu{}}},
      {g},
      {{a, shape}, {g, shape}}};
  const auto results = graph.repeat(
      2, {x}, {}, {}, [&](graph::RegionBuilder& body, const graph::RepeatArguments& args) {
        return body.operation(graph::Repeat{3, 1, 0, {}, inner}, {args.carried[0]}, {shape});
      });
  ASSERT_TRUE(HasValue(results));
  ASSERT_TRUE(HasValue(graph.set_outputs(*results)));
  const TensorFormat rows16{f16, Layout::row_sharded(4)};
  const auto lowered = lower(graph, LoweringConfig(4).with_input(x, rows16), toy);
  ASSERT_TRUE(HasValue(lowered));

  ASSERT_EQ(kind_names(lowered->operations), std::vector<std::string>{"Repeat"});
  const MidRepeat& outer = *lowered->operations[0].kind.get_if<MidRepeat>();
  ASSERT_EQ(kind_names(outer.body.operations), std::vector<std::string>{"Repeat"});
  const MidOperation& nested = outer.body.operations[0];
  EXPECT_EQ(nested.inputs, outer.body.arguments);
  const MidRepeat& repeat = *nested.kind.get_if<MidRepeat>();
  ASSERT_EQ(kind_names(repeat.body.operations), std::vector<std::string>{"Kernel"});
  EXPECT_EQ(repeat.body.operations[0].source, OperationId{100});
  EXPECT_EQ(repeat.body.estimated_cost, 12U);
  EXPECT_EQ(nested.estimated_cost, 36U);
  EXPECT_EQ(lowered->estimated_cost, 72U);
  EXPECT_EQ(outer.body.yields, nested.results);
  EXPECT_EQ(lowered->values[lowered->outputs[0].index()].tensor_type, TensorType(shape, rows16));
}

TEST(RepeatLoweringErrors, BodiesSeeOnlyTheirArguments) {
  // A body yielding a value it never defined: possible only for a hand-made region.
  ComputeGraph graph;
  const ValueId x = *graph.host_input("x", {2, 2});
  graph::Region body{{ValueId{7}}, {}, {ValueId{8}}, {{ValueId{7}, TensorShape{2, 2}}}};
  const auto results =
      graph.operation(graph::Repeat{1, 1, 0, {}, std::move(body)}, {x}, {TensorShape{2, 2}});
  ASSERT_TRUE(HasValue(results));
  const LoweringConfig config =
      LoweringConfig(2).with_input(x, TensorFormat{f16, Layout::row_sharded(2)});
  EXPECT_TRUE(FailsWith(lower(graph, config, toy), LoweringError::UnknownValue{ValueId{8}}));
}

TEST(RepeatLoweringErrors, RejectsRepeatsWhosePartsDoNotFit) {
  // Repeats built through the general operation builder, which checks none of this.
  ComputeGraph graph;
  const ValueId x = *graph.host_input("x", {2, 2});
  const ValueId y = *graph.parameter("y", {2, 2});
  const graph::ValueSequenceId one = *graph.value_sequence("one", {y});
  const graph::ValueSequenceId none = *graph.value_sequence("none", {});
  const TensorShape square{2, 2};
  const auto region = [&](std::vector<ValueId> arguments, std::vector<ValueId> yields) {
    std::map<ValueId, TensorShape> shapes;
    for (const ValueId argument : arguments) shapes.emplace(argument, square);
    return graph::Region{std::move(arguments), {}, std::move(yields), std::move(shapes)};
  };
  const ValueId a{100}, b{101};
  struct Case {
    std::string name;
    graph::Repeat repeat;
    std::vector<ValueId> inputs;
    std::size_t results;
  };
  const Case cases[] = {
      {"unknown sequence", {1, 1, 0, {graph::ValueSequenceId{9}}, region({a, b}, {a})}, {x}, 1},
      {"empty sequence", {1, 1, 0, {none}, region({a, b}, {a})}, {x}, 1},
      {"sequence shorter than the count", {2, 1, 0, {one}, region({a, b}, {a})}, {x}, 1},
      {"more results than carried values", {1, 1, 0, {}, region({a}, {a})}, {x}, 2},
      {"inputs beyond carried and invariant", {1, 1, 0, {}, region({a}, {a})}, {x, y}, 1},
      {"missing body argument", {1, 1, 1, {}, region({a}, {a})}, {x, y}, 1},
      {"more yields than carried values", {1, 1, 0, {}, region({a}, {a, a})}, {x}, 1},
      {"input counts beyond the machine size",
       {1, std::numeric_limits<std::size_t>::max(), 2, {}, region({a}, {a})},
       {x},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ComputeGraph copy = graph;
    const auto results = copy.operation(c.repeat, c.inputs, std::vector(c.results, square));
    ASSERT_TRUE(HasValue(results));
    const OperationId id = copy.operations().back().id;
    LoweringConfig config = LoweringConfig(2)
                                .with_input(x, TensorFormat{f16, Layout::row_sharded(2)})
                                .with_input(y, TensorFormat{f16, Layout::row_sharded(2)});
    EXPECT_TRUE(FailsWith(lower(copy, config, toy), LoweringError::MalformedRepeat{id}));
  }
}

}  // namespace
}  // namespace vorn::codegen::mid
