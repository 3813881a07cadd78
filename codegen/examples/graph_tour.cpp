// A small tour of the graph builder: inputs, a GEMM, a repeat over a sequence, outputs.
#include <iostream>

#include "vorn/codegen/graph.hpp"
#include "vorn/support/try.hpp"

using namespace vorn::codegen::graph;

std::expected<ComputeGraph, GraphError> build() {
  ComputeGraph graph;
  VORN_TRY(const ValueId x, graph.host_input("x", {8, 64}));
  VORN_TRY(const ValueId w0, graph.parameter("w0", {64, 64}));
  VORN_TRY(const ValueId w1, graph.parameter("w1", {64, 64}));
  VORN_TRY(const ValueSequenceId weights, graph.value_sequence("weights", {w0, w1}));

  // Two iterations of h = gelu(h @ w[i]); h starts as x.
  VORN_TRY(const std::vector<ValueId> results,
           graph.repeat(
               2, {x}, {}, {weights},
               [](RegionBuilder& body,
                  const RepeatArguments& args) -> std::expected<std::vector<ValueId>, GraphError> {
                 VORN_TRY(const ValueId product, body.gemm(args.carried[0], args.iterated[0]));
                 VORN_TRY(const ValueId activated, body.gelu(product));
                 return std::vector<ValueId>{activated};
               }));
  VORN_TRY_VOID(graph.set_outputs(results));
  return graph;
}

int main() {
  const auto graph = build();
  if (!graph) {
    std::cerr << "error: " << graph.error() << '\n';
    return 1;
  }
  std::cout << *graph << '\n';

  // Shapes are checked when values are created: [8, 64] @ [8, 64] is rejected.
  ComputeGraph bad;
  const ValueId a = *bad.host_input("a", {8, 64});
  std::cout << bad.gemm(a, a).error()
            << '\n';  // InvalidShape("GEMM inner dimensions do not match")
}
