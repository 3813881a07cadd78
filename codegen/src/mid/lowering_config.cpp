// LoweringConfig's defaults and builder.
#include "vorn/codegen/mid/lowering_config.hpp"

#include "vorn/codegen/mid/default_kernels.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {

LoweringConfig::LoweringConfig(std::uint16_t tile_count_)
    : tile_count(tile_count_), kernel_candidates(default_kernel_candidates(tile_count_)) {}

LoweringConfig LoweringConfig::with_input(graph::ValueId value, TensorFormat format) const& {
  return LoweringConfig(*this).with_input(value, std::move(format));
}

LoweringConfig LoweringConfig::with_input(graph::ValueId value, TensorFormat format) && {
  inputs.insert_or_assign(value, std::move(format));
  return std::move(*this);
}

std::ostream& operator<<(std::ostream& out, const LoweringConfig& config) {
  out << "tiles " << config.tile_count << ", inputs ";
  support::print_map(out, config.inputs) << ", candidates:";
  for (const KernelCandidate& candidate : config.kernel_candidates) {
    out << "\n  " << candidate;
  }
  return out;
}

}  // namespace vorn::codegen::mid
