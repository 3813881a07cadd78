// Lookups of lowered values, and the candidates that apply to one operation.
#include "vorn/codegen/mid/lowering.hpp"

#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {

std::expected<MidValueId, LoweringError> lookup(const ValueMap& values, graph::ValueId value) {
  const auto found = values.find(value);
  if (found == values.end())
    return std::unexpected(LoweringError(LoweringError::UnknownValue{value}));
  return found->second;
}

std::vector<Plan> plans(const graph::Operation& operation, std::span<const TensorType> inputs,
                        const graph::TensorShape& output, const LoweringConfig& config) {
  std::vector<Plan> applicable;
  for (const KernelCandidate& candidate : config.kernel_candidates) {
    if (kernel_matches(operation.kind, candidate.kernel) && candidate.supports(inputs, output)) {
      applicable.push_back(Plan{candidate.kernel, candidate.requirements()});
    }
  }
  return applicable;
}

std::ostream& operator<<(std::ostream& out, const Plan& plan) {
  return out << plan.kernel << ": " << plan.requirements;
}

}  // namespace vorn::codegen::mid
