// TensorShape's element count and the broadcasting of extent lists.
#include "vorn/codegen/graph/tensor_shape.hpp"

#include <algorithm>
#include <string>

#include "vorn/support/arithmetic.hpp"
#include "vorn/support/fatal.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::graph {

std::uint64_t TensorShape::elements() const {
  std::uint64_t product = 1;
  for (const std::uint32_t extent : dimensions) {
    const auto next = support::checked_mul<std::uint64_t>(product, extent);
    if (!next) support::fatal("tensor shape element count overflows 64 bits");
    product = *next;
  }
  return product;
}

std::ostream& operator<<(std::ostream& out, const TensorShape& shape) {
  return support::print_list(out, shape.dimensions);
}

std::expected<std::vector<std::uint32_t>, GraphError> broadcast(
    std::span<const std::uint32_t> left, std::span<const std::uint32_t> right) {
  const std::size_t rank = std::max(left.size(), right.size());
  // Position `index` of the result, seen from a list of `size` extents aligned at the end.
  const auto extent_at = [rank](std::span<const std::uint32_t> extents, std::size_t index) {
    const std::size_t missing = rank - extents.size();
    return index < missing ? std::uint32_t{1} : extents[index - missing];
  };
  std::vector<std::uint32_t> result;
  result.reserve(rank);
  for (std::size_t index = 0; index < rank; ++index) {
    const std::uint32_t l = extent_at(left, index);
    const std::uint32_t r = extent_at(right, index);
    if (l != r && l != 1 && r != 1) {
      return std::unexpected(GraphError::InvalidShape{"dimensions " + std::to_string(l) + " and " +
                                                      std::to_string(r) + " cannot be broadcast"});
    }
    // A 1 stretches to the other side's extent, including 0: [0] with [1] has no elements.
    result.push_back(l == 1 ? r : l);
  }
  return result;
}

}  // namespace vorn::codegen::graph
