// Rendering of GraphError.
#include "vorn/codegen/graph/graph_error.hpp"

#include "vorn/support/print.hpp"

namespace vorn::codegen::graph {

std::ostream& operator<<(std::ostream& out, const GraphError& error) {
  using E = GraphError;
  error.visit(support::overloaded{
      [&](const E::EmptyName&) { out << "EmptyName"; },
      [&](const E::UnknownValue& e) { out << "UnknownValue(" << e.value << ')'; },
      [&](const E::UnknownSequence& e) { out << "UnknownSequence(" << e.sequence << ')'; },
      [&](const E::EmptyRepeat&) { out << "EmptyRepeat"; },
      [&](const E::ShortSequence& e) {
        out << "ShortSequence { sequence: " << e.sequence << ", available: " << e.available
            << ", required: " << e.required << " }";
      },
      [&](const E::YieldArity& e) {
        out << "YieldArity { expected: " << e.expected << ", actual: " << e.actual << " }";
      },
      [&](const E::InvalidShape& e) {
        out << "InvalidShape(";
        support::print_quoted(out, e.message) << ')';
      },
      [&](const E::SequenceShape& e) { out << "SequenceShape { entry: " << e.entry << " }"; },
      [&](const E::YieldShape& e) { out << "YieldShape { index: " << e.index << " }"; },
  });
  return out;
}

}  // namespace vorn::codegen::graph
