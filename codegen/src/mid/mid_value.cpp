// Renderings of mid-level values and inputs.
#include "vorn/codegen/mid/mid_value.hpp"

#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {

std::ostream& operator<<(std::ostream& out, MidValueId id) {
  return out << '%' << id.number;
}

std::ostream& operator<<(std::ostream& out, const MidValue& value) {
  return out << value.id << ": " << value.tensor_type << " (from " << value.origin << ')';
}

std::ostream& operator<<(std::ostream& out, const MidInput& input) {
  out << input.value << ' ';
  support::print_quoted(out, input.name) << ": " << input.kind;
  return out;
}

}  // namespace vorn::codegen::mid
