// Rendering of LoweringError.
#include "vorn/codegen/mid/lowering_error.hpp"

namespace vorn::codegen::mid {

std::ostream& operator<<(std::ostream& out, const LoweringError& error) {
  using E = LoweringError;
  error.visit(support::overloaded{
      [&](const E::EmptyTileGroup&) { out << "EmptyTileGroup"; },
      [&](const E::MissingInputType& e) { out << "MissingInputType(" << e.value << ')'; },
      [&](const E::MissingShape& e) { out << "MissingShape(" << e.value << ')'; },
      [&](const E::NoCandidate& e) { out << "NoCandidate(" << e.operation << ')'; },
      [&](const E::UnknownValue& e) { out << "UnknownValue(" << e.value << ')'; },
      [&](const E::MalformedRepeat& e) { out << "MalformedRepeat(" << e.operation << ')'; },
  });
  return out;
}

}  // namespace vorn::codegen::mid
