// Operations of the mid-level graph: kernels, conversions and structured repeats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/mid/kernel_candidate.hpp"
#include "vorn/codegen/mid/layout.hpp"
#include "vorn/codegen/mid/mid_kernel.hpp"
#include "vorn/codegen/mid/mid_value.hpp"
#include "vorn/codegen/mid/precision.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen::mid {

struct MidOperation;

/// The body of a repeat, lowered once: its parameters, operations in execution order, the
/// values handed to the next iteration, and the cost of one execution.
struct MidRegion {
  std::vector<MidValueId> arguments;
  std::vector<MidOperation> operations;
  std::vector<MidValueId> yields;
  std::uint64_t estimated_cost;

  bool operator==(const MidRegion& other) const;
};

/// A counted loop. Its operation's inputs are `carried_inputs` carried values followed by
/// `invariant_inputs` invariants; `iterated_inputs` holds, per iterated sequence, all its
/// values in one common format.
struct MidRepeat {
  std::uint32_t count;
  std::size_t carried_inputs;
  std::size_t invariant_inputs;
  std::vector<std::vector<MidValueId>> iterated_inputs;
  MidRegion body;

  bool operator==(const MidRepeat&) const = default;
};

/// The cases of `MidOperationKind`.
struct MidOperationKindCases {
  /// Runs a kernel.
  struct Kernel {
    MidKernel kernel;
    bool operator==(const Kernel&) const = default;
  };
  /// Converts the element precision; the layout stays.
  struct CastPrecision {
    Precision from;
    Precision to;
    bool operator==(const CastPrecision&) const = default;
  };
  /// Changes the layout; the precision stays.
  struct Rearrange {
    Layout from;
    Layout to;
    bool operator==(const Rearrange&) const = default;
  };
  /// A structured counted loop; the case is the `MidRepeat` record itself.
  using Repeat = MidRepeat;
};

/// What a mid-level operation does.
struct MidOperationKind
    : MidOperationKindCases,
      support::Tagged<MidOperationKindCases::Kernel, MidOperationKindCases::CastPrecision,
                      MidOperationKindCases::Rearrange, MidOperationKindCases::Repeat> {
  using Tagged::Tagged;
};

/// An operation of the mid-level graph. `source` is the graph operation it was emitted for
/// (for a conversion: the consumer); `kernel_requirements` is present exactly for kernels.
struct MidOperation {
  std::optional<graph::OperationId> source;
  std::vector<MidValueId> inputs;
  std::vector<MidValueId> results;
  MidOperationKind kind;
  std::optional<KernelRequirements> kernel_requirements;
  std::uint64_t estimated_cost;

  bool operator==(const MidOperation&) const = default;
};

inline bool MidRegion::operator==(const MidRegion& other) const = default;

/// `Kernel(Gelu)`, `CastPrecision(F32 -> F16)`, `Rearrange(<from> -> <to>)`, `Repeat x3`.
std::ostream& operator<<(std::ostream& out, const MidOperationKind& kind);
/// One line `[%3] = Kernel(Gelu)(%2)  cost 12  from op0`; a repeat is followed by its body.
std::ostream& operator<<(std::ostream& out, const MidOperation& operation);
/// The region as an indented block of arguments, operations and yields.
std::ostream& operator<<(std::ostream& out, const MidRegion& region);
/// `Repeat { count: 3, ... }` followed by its body.
std::ostream& operator<<(std::ostream& out, const MidRepeat& repeat);

}  // namespace vorn::codegen::mid
