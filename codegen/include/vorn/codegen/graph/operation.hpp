// Operations of a compute graph: their kinds, repeats and the regions of repeat bodies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <ostream>
#include <vector>

#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/graph/tensor_shape.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen::graph {

struct Operation;

/// The body of a repeat: its arguments (carried, then invariant, then iterated), its
/// operations in creation order, one yield per carried value, and the shape of every value
/// defined in it.
struct Region {
  std::vector<ValueId> arguments;
  std::vector<Operation> operations;
  std::vector<ValueId> yields;
  std::map<ValueId, TensorShape> value_shapes;

  bool operator==(const Region& other) const;
};

/// A counted loop over a body. Its operation's inputs are `carried_inputs` carried values
/// followed by `invariant_inputs` invariants; the iterated sequences are not inputs.
struct Repeat {
  std::uint32_t count;
  std::size_t carried_inputs;
  std::size_t invariant_inputs;
  std::vector<ValueSequenceId> iterated_inputs;
  Region body;

  bool operator==(const Repeat&) const = default;
};

/// The cases of `OperationKind`.
struct OperationKindCases {
  /// Matrix product: operand 0 is rows x inner, operand 1 inner x columns.
  struct Gemm {
    bool operator==(const Gemm&) const = default;
  };
  /// GELU activation of operand 0.
  struct Gelu {
    bool operator==(const Gelu&) const = default;
  };
  /// Element-wise addition of operands 0 and 1, broadcast.
  struct Add {
    bool operator==(const Add&) const = default;
  };
  /// Attention of query (0), key (1) and value (2).
  struct FlashAttention {
    bool operator==(const FlashAttention&) const = default;
  };
  /// A counted repeat; the case is the `Repeat` record itself.
  using Repeat = graph::Repeat;
};

/// What an operation computes.
struct OperationKind
    : OperationKindCases,
      support::Tagged<OperationKindCases::Gemm, OperationKindCases::Gelu, OperationKindCases::Add,
                      OperationKindCases::FlashAttention, OperationKindCases::Repeat> {
  using Tagged::Tagged;
};

/// An operation: its identifier, operands in operand order, results in order, and kind.
struct Operation {
  OperationId id;
  std::vector<ValueId> inputs;
  std::vector<ValueId> results;
  OperationKind kind;

  bool operator==(const Operation&) const = default;
};

inline bool Region::operator==(const Region& other) const = default;

/// The arguments of a repeat body split by role, in the order of `Region::arguments`.
struct RepeatArguments {
  std::vector<ValueId> carried;
  std::vector<ValueId> invariants;
  std::vector<ValueId> iterated;

  bool operator==(const RepeatArguments&) const = default;
};

/// `Gemm`, `Add`, ...; a repeat renders with its counts and sequences.
std::ostream& operator<<(std::ostream& out, const OperationKind& kind);
/// `Repeat { count: 2, carried_inputs: 1, ... }` followed by its body.
std::ostream& operator<<(std::ostream& out, const Repeat& repeat);
/// One line `op0: [v5] = Gemm(v3, v4)`; a repeat is followed by its body, indented.
std::ostream& operator<<(std::ostream& out, const Operation& operation);
/// The region as an indented block of arguments, operations and yields.
std::ostream& operator<<(std::ostream& out, const Region& region);
/// `{ carried: [...], invariants: [...], iterated: [...] }`.
std::ostream& operator<<(std::ostream& out, const RepeatArguments& arguments);

}  // namespace vorn::codegen::graph
