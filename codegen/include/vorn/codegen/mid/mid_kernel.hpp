// MidKernel, the kernel a mid-level operation runs.
#pragma once

#include <ostream>

#include "vorn/codegen/mid/precision.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen::mid {

/// The cases of `MidKernel`.
struct MidKernelCases {
  /// Matrix product of operands in `multiply` precision, accumulated in `accumulate`.
  struct Gemm {
    Precision multiply;
    AccumulationPrecision accumulate;
    bool operator==(const Gemm&) const = default;
  };
  /// Element-wise GELU activation.
  struct Gelu {
    bool operator==(const Gelu&) const = default;
  };
  /// Element-wise addition.
  struct Add {
    bool operator==(const Add&) const = default;
  };
  /// Fused attention accumulated in `accumulate`.
  struct FlashAttention {
    AccumulationPrecision accumulate;
    bool operator==(const FlashAttention&) const = default;
  };
};

/// A kernel that implements a graph operation.
struct MidKernel : MidKernelCases,
                   support::Tagged<MidKernelCases::Gemm, MidKernelCases::Gelu, MidKernelCases::Add,
                                   MidKernelCases::FlashAttention> {
  using Tagged::Tagged;
};

/// `Gemm { multiply: F16, accumulate: F32 }`, `Gelu`, ...
std::ostream& operator<<(std::ostream& out, const MidKernel& kernel);

}  // namespace vorn::codegen::mid
