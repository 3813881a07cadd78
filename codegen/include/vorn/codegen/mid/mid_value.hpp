// Values of the mid-level graph and its inputs.
#pragma once

#include <compare>
#include <cstdint>
#include <ostream>
#include <string>

#include "vorn/codegen/graph/compute_graph.hpp"
#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/mid/tensor_type.hpp"

namespace vorn::codegen::mid {

/// A mid-level value: a dense index into `MidGraph::values`, issued in creation order.
struct MidValueId {
  std::uint32_t number;
  /// The position of the value in `MidGraph::values`.
  [[nodiscard]] constexpr std::uint32_t index() const noexcept { return number; }
  friend constexpr auto operator<=>(const MidValueId&, const MidValueId&) = default;
};

/// A value with its full type and the graph value it represents; converted copies keep the
/// origin of the value they were converted from.
struct MidValue {
  MidValueId id;
  TensorType tensor_type;
  graph::ValueId origin;

  bool operator==(const MidValue&) const = default;
};

/// A graph input of the mid-level graph.
struct MidInput {
  std::string name;
  graph::GraphInputKind kind;
  MidValueId value;

  bool operator==(const MidInput&) const = default;
};

/// `%3`.
std::ostream& operator<<(std::ostream& out, MidValueId id);
/// `%3: <type> (from v2)`.
std::ostream& operator<<(std::ostream& out, const MidValue& value);
/// `%0 "x": Host`.
std::ostream& operator<<(std::ostream& out, const MidInput& input);

}  // namespace vorn::codegen::mid
