// The built-in kernel candidates and the builders they are made with.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "vorn/codegen/mid/kernel_candidate.hpp"

namespace vorn::codegen::mid {

/// A candidate that takes one operand per format of `inputs` and produces `output`, all
/// with alignment 8, no access tail, fresh output and no memory relations.
[[nodiscard]] KernelCandidate pointwise_candidate(const MidKernel& kernel,
                                                  std::span<const TensorFormat> inputs,
                                                  const TensorFormat& output);

/// A matrix product on the matrix-product unit in `precision`, accumulating in F32: operands
/// in `amp_left(inner, tile_count)` (with `left_tail` bytes of access tail) and
/// `amp_right(inner, tile_count)`, result in `amp_output(tile_count)`, all aligned to 32,
/// and the output distinct from the left operand.
[[nodiscard]] KernelCandidate amp_gemm_candidate(const Precision& precision, std::uint16_t inner,
                                                 std::uint32_t left_tail, std::uint16_t tile_count);

/// The eight built-in candidates for `tile_count` tiles, in tie-breaking order: GEMM F16 and
/// F32, GELU F16 and F32, Add F16 and F32, FlashAttention F16 and F32.
[[nodiscard]] std::vector<KernelCandidate> default_kernel_candidates(std::uint16_t tile_count);

}  // namespace vorn::codegen::mid
