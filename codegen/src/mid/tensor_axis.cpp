// Resolution of rank-independent axes to axis indexes.
#include "vorn/codegen/mid/tensor_axis.hpp"

#include <optional>

#include "vorn/codegen/mid/layout_error.hpp"

namespace vorn::codegen::mid {

std::expected<std::size_t, LayoutError> TensorAxis::resolve(std::size_t rank) const {
  const std::optional<std::size_t> resolved = visit(support::overloaded{
      [&](const FromStart& axis) -> std::optional<std::size_t> {
        if (axis.index < rank) return axis.index;
        return std::nullopt;
      },
      [&](const FromEnd& axis) -> std::optional<std::size_t> {
        if (axis.index != 0 && axis.index <= rank) return rank - axis.index;
        return std::nullopt;
      },
  });
  if (!resolved) return std::unexpected(LayoutError(LayoutError::AxisOutOfRange{*this, rank}));
  return *resolved;
}

std::ostream& operator<<(std::ostream& out, const TensorAxis& axis) {
  axis.visit(support::overloaded{
      [&](const TensorAxis::FromStart& a) { out << "FromStart(" << a.index << ')'; },
      [&](const TensorAxis::FromEnd& a) { out << "FromEnd(" << a.index << ')'; },
  });
  return out;
}

}  // namespace vorn::codegen::mid
