// When a kernel candidate applies to an operation, and renderings of candidates.
#include "vorn/codegen/mid/kernel_candidate.hpp"

#include <bit>

#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {
namespace {

bool aliasing_holds(const KernelCandidate& candidate, std::span<const TensorType> inputs,
                    const graph::TensorShape& output) {
  using A = OutputAliasing;
  const auto compatible = [&](std::uint16_t index) {
    return alias_compatible(index, candidate.inputs, inputs, candidate.output, output);
  };
  return candidate.output_aliasing.visit(support::overloaded{
      [](const A::Fresh&) { return true; },
      [&](const A::MayAliasInputs& may) {
        if (may.indices.empty()) return false;
        for (const std::uint16_t index : may.indices) {
          if (!compatible(index)) return false;
        }
        return true;
      },
      [&](const A::MustAliasInput& must) { return compatible(must.index); },
  });
}

bool relation_holds(const MemoryRelation& relation, std::size_t input_count) {
  return relation.visit(support::overloaded{
      [&](const MemoryRelation::DistinctElements& distinct) {
        const std::vector<MemoryOperand>& operands = distinct.operands;
        if (operands.size() < 2) return false;
        for (std::size_t i = 0; i < operands.size(); ++i) {
          if (!valid_memory_operand(operands[i], input_count)) return false;
          for (std::size_t j = 0; j < i; ++j) {
            if (operands[j] == operands[i]) return false;
          }
        }
        return true;
      },
  });
}

}  // namespace

KernelCandidate KernelCandidate::with_output_aliasing(OutputAliasing aliasing) const {
  KernelCandidate changed = *this;
  changed.output_aliasing = std::move(aliasing);
  return changed;
}

KernelCandidate KernelCandidate::with_memory_relation(MemoryRelation relation) const {
  KernelCandidate changed = *this;
  changed.memory_relations.push_back(std::move(relation));
  return changed;
}

KernelRequirements KernelCandidate::requirements() const {
  return KernelRequirements{inputs, output, output_aliasing, memory_relations};
}

bool KernelCandidate::supports(std::span<const TensorType> operation_inputs,
                               const graph::TensorShape& operation_output) const {
  if (inputs.size() != operation_inputs.size()) return false;
  if (!valid_requirement(output, operation_output)) return false;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (!valid_requirement(inputs[i], operation_inputs[i].shape)) return false;
  }
  if (!aliasing_holds(*this, operation_inputs, operation_output)) return false;
  for (const MemoryRelation& relation : memory_relations) {
    if (!relation_holds(relation, operation_inputs.size())) return false;
  }
  return true;
}

bool kernel_matches(const graph::OperationKind& operation, const MidKernel& kernel) {
  using O = graph::OperationKind;
  return operation.visit(support::overloaded{
      [&](const O::Gemm&) { return kernel.is<MidKernel::Gemm>(); },
      [&](const O::Gelu&) { return kernel.is<MidKernel::Gelu>(); },
      [&](const O::Add&) { return kernel.is<MidKernel::Add>(); },
      [&](const O::FlashAttention&) { return kernel.is<MidKernel::FlashAttention>(); },
      [](const O::Repeat&) { return false; },
  });
}

bool valid_requirement(const OperandRequirement& requirement, const graph::TensorShape& shape) {
  return std::has_single_bit(requirement.alignment) &&
         requirement.format.layout.padded_shape(shape).has_value();
}

bool valid_memory_operand(const MemoryOperand& operand, std::size_t input_count) {
  return operand.visit(support::overloaded{
      [](const MemoryOperand::Output&) { return true; },
      [&](const MemoryOperand::Input& input) { return input.index < input_count; },
  });
}

bool alias_compatible(std::uint16_t index, std::span<const OperandRequirement> requirements,
                      std::span<const TensorType> inputs,
                      const OperandRequirement& output_requirement,
                      const graph::TensorShape& output_shape) {
  return index < requirements.size() && index < inputs.size() &&
         inputs[index].shape == output_shape &&
         requirements[index].format == output_requirement.format;
}

std::ostream& operator<<(std::ostream& out, const KernelRequirements& requirements) {
  out << "inputs ";
  support::print_list(out, requirements.inputs) << " output " << requirements.output << " aliasing "
                                                << requirements.output_aliasing << " relations ";
  return support::print_list(out, requirements.memory_relations);
}

std::ostream& operator<<(std::ostream& out, const KernelCandidate& candidate) {
  return out << candidate.kernel << ": " << candidate.requirements();
}

}  // namespace vorn::codegen::mid
