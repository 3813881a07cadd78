// Repeats: argument and body numbering, the built region, and every error in checking order.
#include <gtest/gtest.h>

#include "support/expected_matchers.hpp"
#include "vorn/codegen/graph.hpp"
#include "vorn/support/print.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::graph {
namespace {

using testing::FailsWith;
using testing::HasValue;
using Yields = std::expected<std::vector<ValueId>, GraphError>;

// c: [4, 4] (v0); p, q: [4, 4] (v1, v2); s = [p, q] (seq0).
class RepeatFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    c = *graph.host_input("c", {4, 4});
    p = *graph.parameter("p", {4, 4});
    q = *graph.parameter("q", {4, 4});
    s = *graph.value_sequence("s", {p, q});
  }

  static Yields gemm_carried_by_iterated(RegionBuilder& body, const RepeatArguments& args) {
    VORN_TRY(const ValueId product, body.gemm(args.carried[0], args.iterated[0]));
    return std::vector<ValueId>{product};
  }

  ComputeGraph graph;
  ValueId c{}, p{}, q{};
  ValueSequenceId s{};
};

TEST_F(RepeatFixture, NumbersArgumentsThenBodyThenTheRepeat) {
  RepeatArguments seen;
  const auto results =
      graph.repeat(2, {c}, {}, {s}, [&](RegionBuilder& body, const RepeatArguments& args) {
        seen = args;
        return gemm_carried_by_iterated(body, args);
      });
  ASSERT_TRUE(HasValue(results));
  EXPECT_EQ(*results, std::vector<ValueId>{ValueId{6}});
  EXPECT_EQ(seen, (RepeatArguments{{ValueId{3}}, {}, {ValueId{4}}}));

  ASSERT_EQ(graph.operations().size(), 1U);
  const Operation& op = graph.operations()[0];
  EXPECT_EQ(op.id, OperationId{1});
  EXPECT_EQ(op.inputs, std::vector<ValueId>{c});
  EXPECT_EQ(op.results, std::vector<ValueId>{ValueId{6}});
  const Repeat* repeat = op.kind.get_if<Repeat>();
  ASSERT_NE(repeat, nullptr);
  EXPECT_EQ(repeat->count, 2U);
  EXPECT_EQ(repeat->carried_inputs, 1U);
  EXPECT_EQ(repeat->invariant_inputs, 0U);
  EXPECT_EQ(repeat->iterated_inputs, std::vector<ValueSequenceId>{s});

  const Region& body = repeat->body;
  EXPECT_EQ(body.arguments, (std::vector<ValueId>{ValueId{3}, ValueId{4}}));
  EXPECT_EQ(body.yields, std::vector<ValueId>{ValueId{5}});
  ASSERT_EQ(body.operations.size(), 1U);
  EXPECT_EQ(
      body.operations[0],
      (Operation{OperationId{0}, {ValueId{3}, ValueId{4}}, {ValueId{5}}, OperationKind::Gemm{}}));
  EXPECT_EQ(body.value_shapes,
            (std::map<ValueId, TensorShape>{
                {ValueId{3}, {4, 4}}, {ValueId{4}, {4, 4}}, {ValueId{5}, {4, 4}}}));

  EXPECT_EQ(graph.values(), (std::set<ValueId>{c, p, q, ValueId{6}}));
  EXPECT_EQ(graph.value_shape(ValueId{6}), TensorShape({4, 4}));
  EXPECT_EQ(graph.value_shape(ValueId{5}), std::nullopt) << "body values stay in the body";
}

TEST_F(RepeatFixture, EveryOccurrenceGetsItsOwnArgument) {
  const auto results = graph.repeat(
      1, {c, c}, {p, c}, {s, s}, [](RegionBuilder&, const RepeatArguments& args) -> Yields {
        EXPECT_EQ(args.carried, (std::vector<ValueId>{ValueId{3}, ValueId{4}}));
        EXPECT_EQ(args.invariants, (std::vector<ValueId>{ValueId{5}, ValueId{6}}));
        EXPECT_EQ(args.iterated, (std::vector<ValueId>{ValueId{7}, ValueId{8}}));
        // Arguments may be yielded directly, invariants included.
        return std::vector<ValueId>{args.invariants[0], args.carried[0]};
      });
  ASSERT_TRUE(HasValue(results));
  EXPECT_EQ(*results, (std::vector<ValueId>{ValueId{9}, ValueId{10}}));
  EXPECT_EQ(graph.operations()[0].inputs, (std::vector<ValueId>{c, c, p, c}));
}

TEST_F(RepeatFixture, WithoutCarriedValuesHasNoResults) {
  const auto results = graph.repeat(
      5, {}, {p}, {},
      [](RegionBuilder&, const RepeatArguments&) -> Yields { return std::vector<ValueId>{}; });
  ASSERT_TRUE(HasValue(results));
  EXPECT_TRUE(results->empty());
  ASSERT_EQ(graph.operations().size(), 1U);
  EXPECT_TRUE(graph.operations()[0].results.empty());
}

TEST_F(RepeatFixture, AcceptsLongerSequences) {
  const ValueSequenceId five = *graph.value_sequence("five", {p, q, p, q, p});
  EXPECT_TRUE(HasValue(graph.repeat(3, {c}, {}, {five}, gemm_carried_by_iterated)));
}

TEST_F(RepeatFixture, ChecksArgumentsInOrderBeforeBuilding) {
  bool built = false;
  const RepeatBody never = [&](RegionBuilder&, const RepeatArguments&) -> Yields {
    built = true;
    return std::vector<ValueId>{};
  };
  const ValueId unknown{50};
  const ValueSequenceId missing{9};
  struct Case {
    const char* name;
    std::uint32_t count;
    std::vector<ValueId> carried, invariants;
    std::vector<ValueSequenceId> iterated;
    GraphError error;
  };
  const Case cases[] = {
      {"count 0 before all else", 0, {unknown}, {unknown}, {missing}, GraphError::EmptyRepeat{}},
      {"carried before invariants",
       1,
       {c, unknown},
       {ValueId{51}},
       {missing},
       GraphError::UnknownValue{unknown}},
      {"invariants before sequences",
       1,
       {c},
       {unknown},
       {missing},
       GraphError::UnknownValue{unknown}},
      {"unknown sequence", 1, {c}, {}, {s, missing}, GraphError::UnknownSequence{missing}},
      {"short sequence before a later unknown one",
       3,
       {c},
       {},
       {s, missing},
       GraphError::ShortSequence{s, 2, 3}},
      {"body value is not a top-level value",
       1,
       {ValueId{3}},
       {},
       {},
       GraphError::UnknownValue{ValueId{3}}},
  };
  for (const Case& c_ : cases) {
    SCOPED_TRACE(c_.name);
    const std::uint32_t next_value = graph.next_value();
    EXPECT_TRUE(
        FailsWith(graph.repeat(c_.count, c_.carried, c_.invariants, c_.iterated, never), c_.error));
    EXPECT_EQ(graph.next_value(), next_value)
        << "nothing is allocated before the arguments check out";
  }
  EXPECT_FALSE(built);
}

TEST_F(RepeatFixture, ChecksTheBodyAfterBuilding) {
  struct Case {
    const char* name;
    RepeatBody build;
    GraphError error;
  };
  const Case cases[] = {
      {"build error passed on",
       [&](RegionBuilder& body, const RepeatArguments&) -> Yields {
         VORN_TRY(const ValueId sum, body.add(c, c));  // c is top-level, not visible here
         return std::vector<ValueId>{sum};
       },
       GraphError::UnknownValue{c}},
      {"two yields for one carried value",
       [](RegionBuilder&, const RepeatArguments& args) -> Yields {
         return std::vector<ValueId>{args.carried[0], args.carried[0]};
       },
       GraphError::YieldArity{1, 2}},
      {"yield of another shape",
       [](RegionBuilder& body, const RepeatArguments& args) -> Yields {
         VORN_TRY(const auto wide,
                  body.operation(OperationKind::Gelu{}, {args.carried[0]}, {{4, 5}}));
         return wide;
       },
       GraphError::YieldShape{0}},
      {"yield of a top-level value",
       [&](RegionBuilder&, const RepeatArguments&) -> Yields { return std::vector<ValueId>{p}; },
       GraphError::YieldShape{0}},
      {"yield of no value at all",
       [](RegionBuilder&, const RepeatArguments&) -> Yields {
         return std::vector<ValueId>{ValueId{999}};
       },
       GraphError::YieldShape{0}},
  };
  for (const Case& c_ : cases) {
    SCOPED_TRACE(c_.name);
    const auto operations = graph.operations();
    const auto shapes = graph.value_shapes();
    const std::uint32_t next_value = graph.next_value();
    EXPECT_TRUE(FailsWith(graph.repeat(1, {c}, {}, {s}, c_.build), c_.error));
    EXPECT_EQ(graph.operations(), operations);
    EXPECT_EQ(graph.value_shapes(), shapes);
    EXPECT_GT(graph.next_value(), next_value) << "argument numbers stay consumed";
  }
}

TEST_F(RepeatFixture, BodyRegionBuilderSeesOnlyItsScope) {
  const auto results = graph.repeat(
      2, {c}, {p}, {}, [&](RegionBuilder& body, const RepeatArguments& args) -> Yields {
        EXPECT_EQ(body.arguments(), (std::vector<ValueId>{args.carried[0], args.invariants[0]}));
        EXPECT_EQ(body.value_shape(args.invariants[0]), TensorShape({4, 4}));
        EXPECT_EQ(body.value_shape(c), std::nullopt);
        VORN_TRY(const ValueId activated, body.gelu(args.carried[0]));
        VORN_TRY(const ValueId sum,
                 body.inferred_result(OperationKind::Add{}, {activated, args.invariants[0]}));
        return std::vector<ValueId>{sum};
      });
  ASSERT_TRUE(HasValue(results));
  const Region& body = graph.operations()[0].kind.get_if<Repeat>()->body;
  EXPECT_EQ(body.operations.size(), 2U);
  EXPECT_EQ(graph.operations()[0].id, OperationId{2}) << "body operations are numbered first";
}

TEST_F(RepeatFixture, PrintsTheBodyIndented) {
  ASSERT_TRUE(HasValue(graph.repeat(2, {c}, {}, {s}, gemm_carried_by_iterated)));
  EXPECT_EQ(support::to_text(graph.operations()[0]),
            "op1: [v6] = Repeat { count: 2, carried_inputs: 1, invariant_inputs: 0, "
            "iterated_inputs: [seq0] }(v0) body [v3, v4] {\n"
            "  op0: [v5] = Gemm(v3, v4)\n"
            "  yield [v5]\n"
            "}");
}

}  // namespace
}  // namespace vorn::codegen::graph
