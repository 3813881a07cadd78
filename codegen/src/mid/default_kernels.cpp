// The built-in kernel candidates.
#include "vorn/codegen/mid/default_kernels.hpp"

#include <array>

namespace vorn::codegen::mid {

KernelCandidate pointwise_candidate(const MidKernel& kernel, std::span<const TensorFormat> inputs,
                                    const TensorFormat& output) {
  std::vector<OperandRequirement> requirements;
  requirements.reserve(inputs.size());
  for (const TensorFormat& format : inputs) requirements.push_back(OperandRequirement{format, 8});
  return KernelCandidate{kernel, std::move(requirements), OperandRequirement{output, 8}};
}

KernelCandidate amp_gemm_candidate(const Precision& precision, std::uint16_t inner,
                                   std::uint32_t left_tail, std::uint16_t tile_count) {
  const OperandRequirement left =
      OperandRequirement{TensorFormat{precision, Layout::amp_left(inner, tile_count)}, 32}
          .with_access_tail(left_tail);
  const OperandRequirement right{TensorFormat{precision, Layout::amp_right(inner, tile_count)}, 32};
  const OperandRequirement output{TensorFormat{precision, Layout::amp_output(tile_count)}, 32};
  return KernelCandidate{
      MidKernel::Gemm{precision, AccumulationPrecision::F32}, {left, right}, output}
      .with_memory_relation(
          MemoryRelation::DistinctElements{{MemoryOperand::Output{}, MemoryOperand::Input{0}}});
}

std::vector<KernelCandidate> default_kernel_candidates(std::uint16_t tile_count) {
  const TensorFormat rows_f16{Precision::F16{}, Layout::row_sharded(tile_count)};
  const TensorFormat rows_f32{Precision::F32{}, Layout::row_sharded(tile_count)};
  const TensorFormat heads_f16{Precision::F16{}, Layout::head_sharded(tile_count)};
  const TensorFormat heads_f32{Precision::F32{}, Layout::head_sharded(tile_count)};
  const MidKernel attention = MidKernel::FlashAttention{AccumulationPrecision::F32};
  return {
      amp_gemm_candidate(Precision::F16{}, 16, 16, tile_count),
      amp_gemm_candidate(Precision::F32{}, 8, 32, tile_count),
      pointwise_candidate(MidKernel::Gelu{}, std::array{rows_f16}, rows_f16),
      pointwise_candidate(MidKernel::Gelu{}, std::array{rows_f32}, rows_f32),
      pointwise_candidate(MidKernel::Add{}, std::array{rows_f16, rows_f16}, rows_f16),
      pointwise_candidate(MidKernel::Add{}, std::array{rows_f32, rows_f32}, rows_f32),
      pointwise_candidate(attention, std::array{heads_f16, heads_f16, heads_f16}, heads_f16),
      pointwise_candidate(attention, std::array{heads_f32, heads_f32, heads_f32}, heads_f32),
  };
}

}  // namespace vorn::codegen::mid
