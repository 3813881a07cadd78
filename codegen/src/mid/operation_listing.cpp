// The line-per-operation listing of mid-level operations and regions.
#include "operation_listing.hpp"

#include <string>

#include "vorn/support/print.hpp"

namespace vorn::codegen::mid::detail {
namespace {

void print_types(std::ostream& out, std::span<const MidValueId> ids,
                 std::span<const MidValue> values) {
  for (const MidValueId id : ids) {
    if (id.index() < values.size()) out << "  # " << id << ": " << values[id.index()].tensor_type;
  }
}

}  // namespace

void print_operation(std::ostream& out, const MidOperation& operation, std::size_t indent,
                     std::span<const MidValue> values) {
  out << std::string(indent, ' ');
  support::print_list(out, operation.results) << " = " << operation.kind;
  support::print_list(out, operation.inputs) << "  cost " << operation.estimated_cost;
  if (operation.source) out << "  for " << *operation.source;
  if (const MidRepeat* repeat = operation.kind.get_if<MidRepeat>()) {
    for (const std::vector<MidValueId>& sequence : repeat->iterated_inputs) {
      out << " iterating ";
      support::print_list(out, sequence);
    }
    print_types(out, operation.results, values);
    out << ' ';
    print_region(out, repeat->body, indent, values);
    return;
  }
  print_types(out, operation.results, values);
}

void print_region(std::ostream& out, const MidRegion& region, std::size_t indent,
                  std::span<const MidValue> values) {
  out << "body ";
  support::print_list(out, region.arguments) << " cost " << region.estimated_cost << " {\n";
  for (const MidValueId argument : region.arguments) {
    if (argument.index() < values.size()) {
      out << std::string(indent + 2, ' ') << "argument " << values[argument.index()] << '\n';
    }
  }
  for (const MidOperation& operation : region.operations) {
    print_operation(out, operation, indent + 2, values);
    out << '\n';
  }
  out << std::string(indent + 2, ' ') << "yield ";
  support::print_list(out, region.yields) << '\n' << std::string(indent, ' ') << '}';
}

}  // namespace vorn::codegen::mid::detail
