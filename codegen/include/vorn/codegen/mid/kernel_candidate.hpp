// Kernel candidates: a kernel with the complete signature it needs, and when it applies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

#include "vorn/codegen/graph/operation.hpp"
#include "vorn/codegen/graph/tensor_shape.hpp"
#include "vorn/codegen/mid/mid_kernel.hpp"
#include "vorn/codegen/mid/operand_memory.hpp"
#include "vorn/codegen/mid/operand_requirement.hpp"
#include "vorn/codegen/mid/tensor_type.hpp"

namespace vorn::codegen::mid {

/// What a kernel needs of its operands: one requirement per input in operand order, the
/// output's requirement, the output's aliasing and the memory relations between operands.
struct KernelRequirements {
  std::vector<OperandRequirement> inputs;
  OperandRequirement output;
  OutputAliasing output_aliasing;
  std::vector<MemoryRelation> memory_relations;

  bool operator==(const KernelRequirements&) const = default;
};

/// One available implementation of a graph operation kind.
struct KernelCandidate {
  MidKernel kernel;
  std::vector<OperandRequirement> inputs;
  OperandRequirement output;
  OutputAliasing output_aliasing = OutputAliasing::Fresh{};
  std::vector<MemoryRelation> memory_relations = {};

  /// This candidate with its output aliasing replaced.
  [[nodiscard]] KernelCandidate with_output_aliasing(OutputAliasing aliasing) const;
  /// This candidate with `relation` appended to its memory relations.
  [[nodiscard]] KernelCandidate with_memory_relation(MemoryRelation relation) const;

  /// The requirement fields without the kernel.
  [[nodiscard]] KernelRequirements requirements() const;

  /// True when the candidate can run an operation whose inputs have the types `inputs` and
  /// whose result has the shape `output`: as many input requirements as inputs, every
  /// requirement valid for its shape (the inputs' current formats play no part), the
  /// aliasing possible and every memory relation satisfiable.
  [[nodiscard]] bool supports(std::span<const TensorType> inputs,
                              const graph::TensorShape& output) const;

  bool operator==(const KernelCandidate&) const = default;
};

/// True when `kernel` implements graph operations of kind `operation`; precisions do not
/// matter, and a `Repeat` matches nothing.
[[nodiscard]] bool kernel_matches(const graph::OperationKind& operation, const MidKernel& kernel);

/// True when the alignment is a power of two and the layout fits `shape`.
[[nodiscard]] bool valid_requirement(const OperandRequirement& requirement,
                                     const graph::TensorShape& shape);

/// True for `Output`, and for an `Input` whose position is below `input_count`.
[[nodiscard]] bool valid_memory_operand(const MemoryOperand& operand, std::size_t input_count);

/// True when input `index` exists both in `requirements` and in `inputs`, has the shape
/// `output_shape`, and its requirement's format equals `output_requirement.format`.
[[nodiscard]] bool alias_compatible(std::uint16_t index,
                                    std::span<const OperandRequirement> requirements,
                                    std::span<const TensorType> inputs,
                                    const OperandRequirement& output_requirement,
                                    const graph::TensorShape& output_shape);

/// `Gelu`, `Add`, ... followed by the signature.
std::ostream& operator<<(std::ostream& out, const KernelRequirements& requirements);
std::ostream& operator<<(std::ostream& out, const KernelCandidate& candidate);

}  // namespace vorn::codegen::mid
