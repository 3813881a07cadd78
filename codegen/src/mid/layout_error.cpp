// Rendering of LayoutError.
#include "vorn/codegen/mid/layout_error.hpp"

namespace vorn::codegen::mid {

std::ostream& operator<<(std::ostream& out, const LayoutError& error) {
  using E = LayoutError;
  error.visit(support::overloaded{
      [&](const E::EmptyTileGroup&) { out << "EmptyTileGroup"; },
      [&](const E::EmptyAxisTiling&) { out << "EmptyAxisTiling"; },
      [&](const E::TileCountOverflow&) { out << "TileCountOverflow"; },
      [&](const E::AxisOutOfRange& e) {
        out << "AxisOutOfRange { axis: " << e.axis << ", rank: " << e.rank << " }";
      },
      [&](const E::DuplicateAxis& e) { out << "DuplicateAxis(" << e.axis << ')'; },
      [&](const E::IndivisibleAxis& e) {
        out << "IndivisibleAxis { axis: " << e.axis << ", extent: " << e.extent
            << ", block_size: " << e.block_size << " }";
      },
      [&](const E::ExtentOverflow& e) { out << "ExtentOverflow(" << e.axis << ')'; },
      [&](const E::TileCountMismatch& e) {
        out << "TileCountMismatch { declared: " << e.declared << ", implied: " << e.implied << " }";
      },
  });
  return out;
}

}  // namespace vorn::codegen::mid
