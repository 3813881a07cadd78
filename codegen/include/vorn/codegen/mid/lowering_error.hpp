// LoweringError, why a compute graph could not be lowered.
#pragma once

#include <ostream>

#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen::mid {

/// The cases of `LoweringError`.
struct LoweringErrorCases {
  /// The configuration's tile count is 0.
  struct EmptyTileGroup {
    bool operator==(const EmptyTileGroup&) const = default;
  };
  /// A graph input has no configured format.
  struct MissingInputType {
    graph::ValueId value;
    bool operator==(const MissingInputType&) const = default;
  };
  /// An operation's result has no shape in the shape map being used.
  struct MissingShape {
    graph::ValueId value;
    bool operator==(const MissingShape&) const = default;
  };
  /// No configured candidate matches and supports the operation.
  struct NoCandidate {
    graph::OperationId operation;
    bool operator==(const NoCandidate&) const = default;
  };
  /// An operation input, graph output, sequence entry or body yield has no lowered value.
  struct UnknownValue {
    graph::ValueId value;
    bool operator==(const UnknownValue&) const = default;
  };
  /// A repeat operation whose inputs, results, body arguments, yields or iterated sequences
  /// do not fit together (only possible for a repeat added without the repeat builder).
  struct MalformedRepeat {
    graph::OperationId operation;
    bool operator==(const MalformedRepeat&) const = default;
  };
};

/// The error of the mid-level lowering.
struct LoweringError
    : LoweringErrorCases,
      support::Tagged<LoweringErrorCases::EmptyTileGroup, LoweringErrorCases::MissingInputType,
                      LoweringErrorCases::MissingShape, LoweringErrorCases::NoCandidate,
                      LoweringErrorCases::UnknownValue, LoweringErrorCases::MalformedRepeat> {
  using Tagged::Tagged;
};

/// The case name and its payload, e.g. `NoCandidate(op3)`.
std::ostream& operator<<(std::ostream& out, const LoweringError& error);

}  // namespace vorn::codegen::mid
