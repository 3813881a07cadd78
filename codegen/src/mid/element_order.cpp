// Renderings of element orders.
#include "vorn/codegen/mid/element_order.hpp"

namespace vorn::codegen::mid {

std::ostream& operator<<(std::ostream& out, AmpOrder order) {
  switch (order) {
    case AmpOrder::Left:
      return out << "Left";
    case AmpOrder::Right:
      return out << "Right";
    case AmpOrder::Output:
      return out << "Output";
  }
  return out << "AmpOrder(" << static_cast<int>(order) << ')';
}

std::ostream& operator<<(std::ostream& out, const ElementOrder& order) {
  order.visit(support::overloaded{
      [&](const ElementOrder::RowMajor&) { out << "RowMajor"; },
      [&](const ElementOrder::Amp& amp) { out << "Amp(" << amp.order << ')'; },
  });
  return out;
}

}  // namespace vorn::codegen::mid
