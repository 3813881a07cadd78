// Renderings of memory operands, relations and output aliasing.
#include "vorn/codegen/mid/operand_memory.hpp"

#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {

std::ostream& operator<<(std::ostream& out, const MemoryOperand& operand) {
  operand.visit(support::overloaded{
      [&](const MemoryOperand::Output&) { out << "Output"; },
      [&](const MemoryOperand::Input& input) { out << "Input(" << input.index << ')'; },
  });
  return out;
}

std::ostream& operator<<(std::ostream& out, const MemoryRelation& relation) {
  relation.visit(support::overloaded{
      [&](const MemoryRelation::DistinctElements& distinct) {
        out << "DistinctElements(";
        support::print_list(out, distinct.operands) << ')';
      },
  });
  return out;
}

std::ostream& operator<<(std::ostream& out, const OutputAliasing& aliasing) {
  using A = OutputAliasing;
  aliasing.visit(support::overloaded{
      [&](const A::Fresh&) { out << "Fresh"; },
      [&](const A::MayAliasInputs& may) {
        out << "MayAliasInputs(";
        support::print_list(out, may.indices) << ')';
      },
      [&](const A::MustAliasInput& must) { out << "MustAliasInput(" << must.index << ')'; },
  });
  return out;
}

}  // namespace vorn::codegen::mid
