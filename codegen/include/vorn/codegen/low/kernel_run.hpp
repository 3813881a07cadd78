// KernelRun, one kernel execution on one tile, with what it computes and where its operands are.
#pragma once

#include <optional>
#include <ostream>
#include <vector>

#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/low/identifiers.hpp"
#include "vorn/codegen/mid/kernel_candidate.hpp"
#include "vorn/codegen/mid/layout.hpp"
#include "vorn/codegen/mid/mid_kernel.hpp"
#include "vorn/codegen/mid/precision.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen::low {

/// The cases of `LowKernel`; they mirror the mid-level operation kinds.
struct LowKernelCases {
  /// A compute kernel.
  struct Kernel {
    mid::MidKernel kernel;
    bool operator==(const Kernel&) const = default;
  };
  /// A precision conversion.
  struct Cast {
    mid::Precision from;
    mid::Precision to;
    bool operator==(const Cast&) const = default;
  };
  /// A layout change.
  struct Rearrange {
    mid::Layout from;
    mid::Layout to;
    bool operator==(const Rearrange&) const = default;
  };
};

/// What a kernel run computes.
struct LowKernel : LowKernelCases,
                   support::Tagged<LowKernelCases::Kernel, LowKernelCases::Cast,
                                   LowKernelCases::Rearrange> {
  using Tagged::Tagged;
};

/// One input of a run: for each canonical shard of the input value, in tile order, the shard
/// on the run's tile that holds its contents (itself or its exchange copy).
struct KernelOperand {
  std::vector<LowShardId> shards;

  bool operator==(const KernelOperand&) const = default;
};

/// One kernel execution on one tile, producing the result's canonical shard of that tile.
/// `source` and `requirements` are copied from the mid-level operation.
struct KernelRun {
  std::optional<graph::OperationId> source;
  LowKernel kernel;
  std::vector<KernelOperand> inputs;
  LowShardId output;
  std::optional<mid::KernelRequirements> requirements;

  bool operator==(const KernelRun&) const = default;
};

/// `Kernel(Add)`, `Cast(F32 -> F16)`, `Rearrange(<from> -> <to>)`.
std::ostream& operator<<(std::ostream& out, const LowKernel& kernel);
/// `[s0, s12, s13, s14]`.
std::ostream& operator<<(std::ostream& out, const KernelOperand& operand);
/// `s8 = Kernel(Add) [s0, s12] [s4, s15] (from op0)`, without the requirements.
std::ostream& operator<<(std::ostream& out, const KernelRun& run);

}  // namespace vorn::codegen::low
