// Identifiers of graph values, operations and value sequences.
#pragma once

#include <compare>
#include <cstdint>
#include <ostream>

namespace vorn::codegen::graph {

/// A tensor value of a compute graph: an input, an operation result, or a repeat argument.
/// Numbers are issued from 0 in creation order, shared by the top level and all bodies.
struct ValueId {
  std::uint32_t number;
  friend constexpr auto operator<=>(const ValueId&, const ValueId&) = default;
};

/// An operation of a compute graph, repeat bodies included.
struct OperationId {
  std::uint32_t number;
  friend constexpr auto operator<=>(const OperationId&, const OperationId&) = default;
};

/// A value sequence; its number is its position in the graph's sequence list.
struct ValueSequenceId {
  std::uint32_t number;
  /// The position of the sequence in `ComputeGraph::sequences()`.
  [[nodiscard]] constexpr std::uint32_t index() const noexcept { return number; }
  friend constexpr auto operator<=>(const ValueSequenceId&, const ValueSequenceId&) = default;
};

/// Renders as `v3`, `op3` and `seq3`.
std::ostream& operator<<(std::ostream& out, ValueId id);
std::ostream& operator<<(std::ostream& out, OperationId id);
std::ostream& operator<<(std::ostream& out, ValueSequenceId id);

}  // namespace vorn::codegen::graph
