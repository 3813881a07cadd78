// Building graphs: numbering, inputs, sequences, operations, outputs, and failed calls.
#include "vorn/codegen/graph/compute_graph.hpp"

#include <gtest/gtest.h>

#include "support/expected_matchers.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::graph {
namespace {

using testing::FailsWith;
using testing::HasValue;

// The observable state of a graph, for asserting that a failed call changed nothing.
struct Snapshot {
  std::vector<GraphInput> inputs;
  std::vector<ValueSequence> sequences;
  std::vector<Operation> operations;
  std::vector<ValueId> outputs;
  std::map<ValueId, TensorShape> shapes;
  std::uint32_t next_operation, next_value, next_sequence;

  explicit Snapshot(const ComputeGraph& g)
      : inputs(g.inputs()),
        sequences(g.sequences()),
        operations(g.operations()),
        outputs(g.outputs()),
        shapes(g.value_shapes()),
        next_operation(g.next_operation()),
        next_value(g.next_value()),
        next_sequence(g.next_sequence()) {}
  bool operator==(const Snapshot&) const = default;
};

TEST(ComputeGraph, NumbersValuesAndOperationsFromZeroInCreationOrder) {
  ComputeGraph graph;
  const auto a = graph.host_input("a", {2, 3});
  const auto b = graph.parameter("b", {3, 4});
  ASSERT_TRUE(HasValue(a));
  ASSERT_TRUE(HasValue(b));
  const auto product = graph.gemm(*a, *b);
  ASSERT_TRUE(HasValue(product));
  EXPECT_EQ(*a, ValueId{0});
  EXPECT_EQ(*b, ValueId{1});
  EXPECT_EQ(*product, ValueId{2});
  ASSERT_EQ(graph.operations().size(), 1U);
  EXPECT_EQ(graph.operations()[0],
            (Operation{OperationId{0}, {*a, *b}, {*product}, OperationKind::Gemm{}}));
  EXPECT_EQ(graph.inputs()[0], (GraphInput{"a", GraphInputKind::Host, *a, {2, 3}}));
  EXPECT_EQ(graph.inputs()[1], (GraphInput{"b", GraphInputKind::Parameter, *b, {3, 4}}));
  EXPECT_EQ(graph.value_shape(*product), TensorShape({2, 4}));
  EXPECT_EQ(graph.values(), (std::set<ValueId>{*a, *b, *product}));
}

TEST(ComputeGraph, TypedOperationsRecordTheirKindAndInputs) {
  ComputeGraph graph;
  const ValueId q = *graph.host_input("q", {8, 64});
  const ValueId k = *graph.host_input("k", {128, 64});
  const ValueId v = *graph.host_input("v", {128, 32});
  const ValueId attention = *graph.flash_attention(q, k, v);
  const ValueId activated = *graph.gelu(attention);
  const ValueId sum = *graph.add(activated, attention);
  const std::vector<Operation>& ops = graph.operations();
  ASSERT_EQ(ops.size(), 3U);
  EXPECT_EQ(ops[0],
            (Operation{OperationId{0}, {q, k, v}, {attention}, OperationKind::FlashAttention{}}));
  EXPECT_EQ(ops[1], (Operation{OperationId{1}, {attention}, {activated}, OperationKind::Gelu{}}));
  EXPECT_EQ(ops[2],
            (Operation{OperationId{2}, {activated, attention}, {sum}, OperationKind::Add{}}));
  EXPECT_EQ(graph.value_shape(sum), TensorShape({8, 32}));
}

TEST(ComputeGraph, EmptyNameConsumesNoNumber) {
  ComputeGraph graph;
  EXPECT_TRUE(FailsWith(graph.host_input("", {1}), GraphError::EmptyName{}));
  EXPECT_TRUE(FailsWith(graph.input("", GraphInputKind::Parameter, {1}), GraphError::EmptyName{}));
  EXPECT_EQ(graph.host_input("x", {1}), ValueId{0});
  EXPECT_EQ(graph.host_input("x", {1}), ValueId{1}) << "names need not be unique";
  EXPECT_EQ(graph.host_input(" ", {1}), ValueId{2}) << "only emptiness is rejected";
}

TEST(ComputeGraph, InferredResultOfGeluWithTwoInputsKeepsBoth) {
  ComputeGraph graph;
  const ValueId a = *graph.host_input("a", {2});
  const ValueId b = *graph.host_input("b", {5, 5});
  const auto result = graph.inferred_result(OperationKind::Gelu{}, {a, b});
  ASSERT_TRUE(HasValue(result));
  EXPECT_EQ(graph.value_shape(*result), TensorShape({2}));
  EXPECT_EQ(graph.operations().back().inputs, (std::vector<ValueId>{a, b}));
}

TEST(ComputeGraph, OperationTakesResultShapesAsGiven) {
  ComputeGraph graph;
  const ValueId a = *graph.host_input("a", {3});
  const auto results = graph.operation(OperationKind::Add{}, {a}, {{7}, {8}});
  ASSERT_TRUE(HasValue(results));
  EXPECT_EQ(*results, (std::vector<ValueId>{ValueId{1}, ValueId{2}}));
  EXPECT_EQ(graph.value_shape(ValueId{1}), TensorShape({7}));
  EXPECT_EQ(graph.value_shape(ValueId{2}), TensorShape({8}));
  const auto none = graph.operation(OperationKind::Gelu{}, {}, {});
  ASSERT_TRUE(HasValue(none));
  EXPECT_TRUE(none->empty());
  EXPECT_EQ(graph.operations().back().id, OperationId{1});
}

TEST(ComputeGraph, ValueSequencesShareOneShape) {
  ComputeGraph graph;
  const ValueId a = *graph.host_input("a", {2, 3});
  const ValueId b = *graph.host_input("b", {2, 3});
  const ValueId c = *graph.host_input("c", {3, 2});
  EXPECT_TRUE(FailsWith(graph.value_sequence("s", {a, b, c}), GraphError::SequenceShape{2}));
  EXPECT_TRUE(FailsWith(graph.value_sequence("", {ValueId{9}}), GraphError::EmptyName{}));
  EXPECT_TRUE(FailsWith(graph.value_sequence("s", {a, ValueId{9}, ValueId{8}}),
                        GraphError::UnknownValue{ValueId{9}}));
  EXPECT_EQ(graph.value_sequence("empty", {}), ValueSequenceId{0});
  EXPECT_EQ(graph.value_sequence("s", {a, b, a}), ValueSequenceId{1});
  EXPECT_EQ(graph.sequences()[1], (ValueSequence{ValueSequenceId{1}, "s", {a, b, a}}));
  EXPECT_EQ(ValueSequenceId{1}.index(), 1U);
}

TEST(ComputeGraph, SetOutputsReplacesTheWholeListOrNothing) {
  ComputeGraph graph;
  const ValueId a = *graph.host_input("a", {1});
  const ValueId b = *graph.host_input("b", {1});
  ASSERT_TRUE(HasValue(graph.set_outputs({a, b, a})));
  ASSERT_TRUE(HasValue(graph.set_outputs({b})));
  EXPECT_EQ(graph.outputs(), std::vector<ValueId>{b});
  EXPECT_TRUE(FailsWith(graph.set_outputs({a, ValueId{7}}), GraphError::UnknownValue{ValueId{7}}));
  EXPECT_EQ(graph.outputs(), std::vector<ValueId>{b});
  ASSERT_TRUE(HasValue(graph.set_outputs({})));
  EXPECT_TRUE(graph.outputs().empty());
}

TEST(ComputeGraph, FailedCallsChangeNothing) {
  ComputeGraph graph;
  const ValueId a = *graph.host_input("a", {2, 3});
  const ValueId b = *graph.host_input("b", {4, 5});
  ASSERT_TRUE(HasValue(graph.value_sequence("s", {a})));
  const ValueId unknown{40};
  struct Case {
    const char* name;
    std::function<std::expected<void, GraphError>()> call;
    GraphError error;
  };
  const auto discard = [](auto result) -> std::expected<void, GraphError> {
    if (!result) return std::unexpected(result.error());
    return {};
  };
  const Case cases[] = {
      {"gemm unknown first of two", [&] { return discard(graph.gemm(unknown, ValueId{41})); },
       GraphError::UnknownValue{unknown}},
      {"gemm inner mismatch", [&] { return discard(graph.gemm(a, b)); },
       GraphError::InvalidShape{"GEMM inner dimensions do not match"}},
      {"add unknown", [&] { return discard(graph.add(a, unknown)); },
       GraphError::UnknownValue{unknown}},
      {"gelu unknown", [&] { return discard(graph.gelu(unknown)); },
       GraphError::UnknownValue{unknown}},
      {"operation unknown",
       [&] { return discard(graph.operation(OperationKind::Add{}, {unknown}, {{1}})); },
       GraphError::UnknownValue{unknown}},
      {"sequence shape",
       [&] {
         return discard(graph.value_sequence("t", {a, b}));
       },
       GraphError::SequenceShape{1}},
      {"outputs", [&] { return graph.set_outputs({unknown}); }, GraphError::UnknownValue{unknown}},
      {"repeat count 0", [&] { return discard(graph.repeat(0, {unknown}, {}, {}, {})); },
       GraphError::EmptyRepeat{}},
      {"repeat short sequence",
       [&] { return discard(graph.repeat(2, {a}, {}, {ValueSequenceId{0}}, {})); },
       GraphError::ShortSequence{ValueSequenceId{0}, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Snapshot before(graph);
    EXPECT_TRUE(FailsWith(c.call(), c.error));
    EXPECT_TRUE(Snapshot(graph) == before);
  }
}

TEST(ComputeGraph, ValueShapeIsAbsentForUnknownValues) {
  ComputeGraph graph;
  EXPECT_EQ(graph.value_shape(ValueId{0}), std::nullopt);
}

TEST(ComputeGraph, PrintsAListing) {
  ComputeGraph graph;
  const ValueId a = *graph.host_input("a", {2, 3});
  const ValueId b = *graph.parameter("b", {3, 4});
  ASSERT_TRUE(HasValue(graph.value_sequence("s", {a})));
  ASSERT_TRUE(HasValue(graph.set_outputs({*graph.gemm(a, b)})));
  EXPECT_EQ(support::to_text(graph),
            "graph {\n"
            "  input v0 \"a\": Host [2, 3]\n"
            "  input v1 \"b\": Parameter [3, 4]\n"
            "  sequence seq0 \"s\" = [v0]\n"
            "  op0: [v2] = Gemm(v0, v1)  # v2:[2, 4]\n"
            "  outputs [v2]\n"
            "}");
}

TEST(GraphError, PrintsCaseAndPayload) {
  const std::pair<GraphError, const char*> cases[] = {
      {GraphError::EmptyName{}, "EmptyName"},
      {GraphError::UnknownValue{ValueId{4}}, "UnknownValue(v4)"},
      {GraphError::UnknownSequence{ValueSequenceId{2}}, "UnknownSequence(seq2)"},
      {GraphError::EmptyRepeat{}, "EmptyRepeat"},
      {GraphError::ShortSequence{ValueSequenceId{0}, 2, 3},
       "ShortSequence { sequence: seq0, available: 2, required: 3 }"},
      {GraphError::YieldArity{1, 2}, "YieldArity { expected: 1, actual: 2 }"},
      {GraphError::InvalidShape{"bad \"x\""}, "InvalidShape(\"bad \\\"x\\\"\")"},
      {GraphError::SequenceShape{2}, "SequenceShape { entry: 2 }"},
      {GraphError::YieldShape{0}, "YieldShape { index: 0 }"},
  };
  for (const auto& [error, text] : cases) EXPECT_EQ(support::to_text(error), text);
}

}  // namespace
}  // namespace vorn::codegen::graph
