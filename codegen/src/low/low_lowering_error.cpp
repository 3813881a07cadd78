// Rendering of LowLoweringError.
#include "vorn/codegen/low/low_lowering_error.hpp"

namespace vorn::codegen::low {

std::ostream& operator<<(std::ostream& out, const LowLoweringError& error) {
  using E = LowLoweringError;
  error.visit(support::overloaded{
      [&](const E::EmptyTileGroup&) { out << "EmptyTileGroup"; },
      [&](const E::TileCountMismatch& e) {
        out << "TileCountMismatch { value: " << e.value << ", declared: " << e.declared
            << ", scheduled: " << e.scheduled << " }";
      },
      [&](const E::UnknownValue& e) { out << "UnknownValue(" << e.value << ')'; },
      [&](const E::ResultArity&) { out << "ResultArity"; },
      [&](const E::InvalidRepeat&) { out << "InvalidRepeat"; },
      [&](const E::IdOverflow&) { out << "IdOverflow"; },
      [&](const E::Layout& e) { out << "Layout(" << e.error << ')'; },
  });
  return out;
}

}  // namespace vorn::codegen::low
