// LoweringState: creation and reading of mid-level values.
#include "vorn/codegen/mid/lowering_state.hpp"

#include <limits>

#include "vorn/support/fatal.hpp"

namespace vorn::codegen::mid {

MidValueId LoweringState::value(graph::ValueId origin, TensorType tensor_type) {
  if (values.size() >= std::numeric_limits<std::uint32_t>::max()) {
    support::fatal("mid-level value numbers exhausted");
  }
  const MidValueId id{static_cast<std::uint32_t>(values.size())};
  values.push_back(MidValue{id, std::move(tensor_type), origin});
  return id;
}

const MidValue& LoweringState::get(MidValueId id) const {
  if (id.index() >= values.size()) support::fatal("mid-level value read before it was created");
  return values[id.index()];
}

std::ostream& operator<<(std::ostream& out, const LoweringState& state) {
  for (const MidValue& value : state.values) out << value << '\n';
  return out;
}

}  // namespace vorn::codegen::mid
