// How a kernel's operands may or must share storage.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "vorn/support/tagged.hpp"

namespace vorn::codegen::mid {

/// The cases of `MemoryOperand`.
struct MemoryOperandCases {
  /// The kernel's output.
  struct Output {
    bool operator==(const Output&) const = default;
  };
  /// The kernel's input at position `index`.
  struct Input {
    std::uint16_t index;
    bool operator==(const Input&) const = default;
  };
};

/// One operand of a kernel, named for memory rules.
struct MemoryOperand : MemoryOperandCases,
                       support::Tagged<MemoryOperandCases::Output, MemoryOperandCases::Input> {
  using Tagged::Tagged;
};

/// The cases of `MemoryRelation`.
struct MemoryRelationCases {
  /// The operands occupy pairwise distinct elements.
  struct DistinctElements {
    std::vector<MemoryOperand> operands;
    bool operator==(const DistinctElements&) const = default;
  };
};

/// A rule on the storage of several operands.
struct MemoryRelation : MemoryRelationCases,
                        support::Tagged<MemoryRelationCases::DistinctElements> {
  using Tagged::Tagged;
};

/// The cases of `OutputAliasing`.
struct OutputAliasingCases {
  /// The output gets storage of its own.
  struct Fresh {
    bool operator==(const Fresh&) const = default;
  };
  /// The output may reuse the storage of any of these inputs.
  struct MayAliasInputs {
    std::vector<std::uint16_t> indices;
    bool operator==(const MayAliasInputs&) const = default;
  };
  /// The output reuses the storage of this input.
  struct MustAliasInput {
    std::uint16_t index;
    bool operator==(const MustAliasInput&) const = default;
  };
};

/// Whether a kernel's output shares storage with its inputs.
struct OutputAliasing
    : OutputAliasingCases,
      support::Tagged<OutputAliasingCases::Fresh, OutputAliasingCases::MayAliasInputs,
                      OutputAliasingCases::MustAliasInput> {
  using Tagged::Tagged;
};

/// `Output` or `Input(1)`.
std::ostream& operator<<(std::ostream& out, const MemoryOperand& operand);
/// `DistinctElements([Output, Input(0)])`.
std::ostream& operator<<(std::ostream& out, const MemoryRelation& relation);
/// `Fresh`, `MayAliasInputs([0])` or `MustAliasInput(0)`.
std::ostream& operator<<(std::ostream& out, const OutputAliasing& aliasing);

}  // namespace vorn::codegen::mid
