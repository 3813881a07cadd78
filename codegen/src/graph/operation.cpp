// Renderings of operation kinds, operations, regions and repeat arguments.
#include "vorn/codegen/graph/operation.hpp"

#include "operation_printing.hpp"

#include <string>

#include "vorn/support/print.hpp"

namespace vorn::codegen::graph {
namespace {

void print_region(std::ostream& out, const Region& region, std::size_t indent);

}  // namespace

void detail::print_operation(std::ostream& out, const Operation& operation, std::size_t indent) {
  out << std::string(indent, ' ') << operation.id << ": ";
  support::print_list(out, operation.results) << " = " << operation.kind << '(';
  std::string_view separator;
  for (const ValueId input : operation.inputs) {
    out << separator << input;
    separator = ", ";
  }
  out << ')';
  if (const Repeat* repeat = operation.kind.get_if<Repeat>()) {
    out << ' ';
    print_region(out, repeat->body, indent);
  }
}

namespace {

void print_region(std::ostream& out, const Region& region, std::size_t indent) {
  out << "body ";
  support::print_list(out, region.arguments) << " {\n";
  for (const Operation& operation : region.operations) {
    detail::print_operation(out, operation, indent + 2);
    out << '\n';
  }
  out << std::string(indent + 2, ' ') << "yield ";
  support::print_list(out, region.yields) << '\n' << std::string(indent, ' ') << '}';
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const OperationKind& kind) {
  using K = OperationKind;
  kind.visit(support::overloaded{
      [&](const K::Gemm&) { out << "Gemm"; },
      [&](const K::Gelu&) { out << "Gelu"; },
      [&](const K::Add&) { out << "Add"; },
      [&](const K::FlashAttention&) { out << "FlashAttention"; },
      [&](const K::Repeat& repeat) {
        out << "Repeat { count: " << repeat.count << ", carried_inputs: " << repeat.carried_inputs
            << ", invariant_inputs: " << repeat.invariant_inputs << ", iterated_inputs: ";
        support::print_list(out, repeat.iterated_inputs) << " }";
      },
  });
  return out;
}

std::ostream& operator<<(std::ostream& out, const Repeat& repeat) {
  out << OperationKind(repeat) << ' ';
  print_region(out, repeat.body, 0);
  return out;
}

std::ostream& operator<<(std::ostream& out, const Operation& operation) {
  detail::print_operation(out, operation, 0);
  return out;
}

std::ostream& operator<<(std::ostream& out, const Region& region) {
  print_region(out, region, 0);
  return out;
}

std::ostream& operator<<(std::ostream& out, const RepeatArguments& arguments) {
  out << "{ carried: ";
  support::print_list(out, arguments.carried) << ", invariants: ";
  support::print_list(out, arguments.invariants) << ", iterated: ";
  support::print_list(out, arguments.iterated) << " }";
  return out;
}

}  // namespace vorn::codegen::graph
