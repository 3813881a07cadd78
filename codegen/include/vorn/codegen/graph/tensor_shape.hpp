// TensorShape, the extents of a tensor, and the broadcasting of two shapes.
#pragma once

#include <concepts>
#include <cstdint>
#include <expected>
#include <initializer_list>
#include <ostream>
#include <ranges>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "vorn/codegen/graph/graph_error.hpp"

namespace vorn::codegen::graph {

/// The extents of a tensor, outermost first. May be empty (rank 0) and may hold zeros; a
/// shape is never validated on construction.
struct TensorShape {
  std::vector<std::uint32_t> dimensions;

  TensorShape() = default;
  TensorShape(std::initializer_list<std::uint32_t> extents) : dimensions(extents) {}
  TensorShape(std::vector<std::uint32_t>&& extents) noexcept : dimensions(std::move(extents)) {}
  /// Takes the extents of any ordered collection of unsigned 32-bit numbers, in order.
  template <std::ranges::input_range Extents>
  requires std::same_as<std::ranges::range_value_t<Extents>, std::uint32_t> &&
      (!std::same_as<std::remove_cvref_t<Extents>, TensorShape>)TensorShape(const Extents& extents)
      : dimensions(std::ranges::begin(extents), std::ranges::end(extents)) {}

  /// Number of axes.
  [[nodiscard]] std::size_t rank() const noexcept { return dimensions.size(); }

  /// The product of all extents (1 for rank 0). A product beyond 64 bits is a fatal stop.
  [[nodiscard]] std::uint64_t elements() const;

  friend bool operator==(const TensorShape&, const TensorShape&) = default;
};

/// Renders as `[2, 3, 4]`.
std::ostream& operator<<(std::ostream& out, const TensorShape& shape);

/// Combines two extent lists aligned at the innermost axis. A missing leading axis counts as
/// 1; a pair is compatible when equal or when one side is 1, and takes the other side.
/// Errors: `InvalidShape` "dimensions {left} and {right} cannot be broadcast" for the
/// outermost incompatible pair.
[[nodiscard]] std::expected<std::vector<std::uint32_t>, GraphError> broadcast(
    std::span<const std::uint32_t> left, std::span<const std::uint32_t> right);

}  // namespace vorn::codegen::graph
