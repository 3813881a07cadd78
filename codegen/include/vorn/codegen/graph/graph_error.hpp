// GraphError, the one error type of the compute-graph builder and shape inference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen::graph {

/// The cases of `GraphError`.
struct GraphErrorCases {
  /// A graph input or value sequence was given an empty name.
  struct EmptyName {
    bool operator==(const EmptyName&) const = default;
  };
  /// A value list named a value that is not defined in the scope being built.
  struct UnknownValue {
    ValueId value;
    bool operator==(const UnknownValue&) const = default;
  };
  /// A repeat iterates over a sequence the graph does not hold.
  struct UnknownSequence {
    ValueSequenceId sequence;
    bool operator==(const UnknownSequence&) const = default;
  };
  /// A repeat was requested with a count of 0.
  struct EmptyRepeat {
    bool operator==(const EmptyRepeat&) const = default;
  };
  /// A repeat iterates over a sequence with fewer entries than its count.
  struct ShortSequence {
    ValueSequenceId sequence;
    std::size_t available;
    std::uint32_t required;
    bool operator==(const ShortSequence&) const = default;
  };
  /// A repeat body yields another number of values than the repeat carries.
  struct YieldArity {
    std::size_t expected;
    std::size_t actual;
    bool operator==(const YieldArity&) const = default;
  };
  /// Shape inference or broadcasting rejected the operands.
  struct InvalidShape {
    std::string message;
    bool operator==(const InvalidShape&) const = default;
  };
  /// A sequence entry's shape differs from the shape of entry 0.
  struct SequenceShape {
    std::size_t entry;
    bool operator==(const SequenceShape&) const = default;
  };
  /// The yield at `index` does not have the shape of the carried value at `index`.
  struct YieldShape {
    std::size_t index;
    bool operator==(const YieldShape&) const = default;
  };
};

/// The error of the graph subsystem.
struct GraphError : GraphErrorCases,
                    support::Tagged<GraphErrorCases::EmptyName, GraphErrorCases::UnknownValue,
                                    GraphErrorCases::UnknownSequence, GraphErrorCases::EmptyRepeat,
                                    GraphErrorCases::ShortSequence, GraphErrorCases::YieldArity,
                                    GraphErrorCases::InvalidShape, GraphErrorCases::SequenceShape,
                                    GraphErrorCases::YieldShape> {
  using Tagged::Tagged;
};

/// Renders the case name and its payload, e.g. `UnknownValue(v4)`.
std::ostream& operator<<(std::ostream& out, const GraphError& error);

}  // namespace vorn::codegen::graph
