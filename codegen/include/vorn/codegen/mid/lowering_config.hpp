// LoweringConfig, what the mid-level lowering is told about inputs and kernels.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <vector>

#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/mid/kernel_candidate.hpp"
#include "vorn/codegen/mid/tensor_type.hpp"

namespace vorn::codegen::mid {

/// The tile count, the format each graph input arrives in, and the kernel candidates in
/// tie-breaking order. All fields are open to the caller.
struct LoweringConfig {
  std::uint16_t tile_count;
  std::map<graph::ValueId, TensorFormat> inputs;
  std::vector<KernelCandidate> kernel_candidates;

  /// `tile_count` tiles, no input formats, and the default kernel candidates.
  explicit LoweringConfig(std::uint16_t tile_count_);

  /// This configuration with `value` arriving in `format` (replacing an earlier entry).
  [[nodiscard]] LoweringConfig with_input(graph::ValueId value, TensorFormat format) const&;
  [[nodiscard]] LoweringConfig with_input(graph::ValueId value, TensorFormat format) &&;

  bool operator==(const LoweringConfig&) const = default;
};

/// `tiles 4, inputs {...}, 8 candidates` followed by the candidates, one a line.
std::ostream& operator<<(std::ostream& out, const LoweringConfig& config);

}  // namespace vorn::codegen::mid
