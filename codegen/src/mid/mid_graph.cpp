// The listing of a mid-level graph.
#include "vorn/codegen/mid/mid_graph.hpp"

#include "operation_listing.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {

std::ostream& operator<<(std::ostream& out, const MidGraph& graph) {
  out << "mid graph {\n";
  for (const MidInput& input : graph.inputs) {
    out << "  input " << input;
    if (input.value.index() < graph.values.size()) {
      out << ' ' << graph.values[input.value.index()].tensor_type;
    }
    out << '\n';
  }
  for (const MidOperation& operation : graph.operations) {
    detail::print_operation(out, operation, 2, graph.values);
    out << '\n';
  }
  out << "  outputs ";
  support::print_list(out, graph.outputs) << "\n  cost " << graph.estimated_cost << "\n}";
  return out;
}

}  // namespace vorn::codegen::mid
