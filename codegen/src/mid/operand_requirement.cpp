// OperandRequirement's builder and rendering.
#include "vorn/codegen/mid/operand_requirement.hpp"

namespace vorn::codegen::mid {

OperandRequirement OperandRequirement::with_access_tail(std::uint32_t bytes) const {
  OperandRequirement changed = *this;
  changed.access_tail_bytes = bytes;
  return changed;
}

std::ostream& operator<<(std::ostream& out, const OperandRequirement& requirement) {
  out << requirement.format << " align " << requirement.alignment;
  if (requirement.access_tail_bytes != 0) out << " tail " << requirement.access_tail_bytes;
  return out;
}

}  // namespace vorn::codegen::mid
