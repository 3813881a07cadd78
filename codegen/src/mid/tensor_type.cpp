// Physical element counts and renderings of formats and types.
#include "vorn/codegen/mid/tensor_type.hpp"

#include "element_count.hpp"

namespace vorn::codegen::mid {

std::uint64_t physical_elements(const graph::TensorShape& shape, const Layout& layout) {
  const auto padded = layout.padded_shape(shape);
  return detail::saturating_elements(padded ? *padded : shape);
}

std::ostream& operator<<(std::ostream& out, const TensorFormat& format) {
  return out << format.precision << ' ' << format.layout;
}

std::ostream& operator<<(std::ostream& out, const TensorType& type) {
  return out << type.shape << ' ' << type.format;
}

}  // namespace vorn::codegen::mid
