// The mid-level lowering driver: kernel selection, explicit conversions and value numbering.
#pragma once

#include <expected>
#include <map>
#include <ostream>
#include <span>
#include <vector>

#include "vorn/codegen/graph/compute_graph.hpp"
#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/graph/operation.hpp"
#include "vorn/codegen/graph/tensor_shape.hpp"
#include "vorn/codegen/mid/cost_model.hpp"
#include "vorn/codegen/mid/kernel_candidate.hpp"
#include "vorn/codegen/mid/lowering_config.hpp"
#include "vorn/codegen/mid/lowering_error.hpp"
#include "vorn/codegen/mid/lowering_state.hpp"
#include "vorn/codegen/mid/mid_graph.hpp"
#include "vorn/codegen/mid/mid_operation.hpp"

namespace vorn::codegen::mid {

/// Which mid-level value currently stands for each graph value of a scope.
using ValueMap = std::map<graph::ValueId, MidValueId>;

/// A candidate that applies to one operation: its kernel and a copy of its requirements.
struct Plan {
  MidKernel kernel;
  KernelRequirements requirements;

  bool operator==(const Plan&) const = default;
};

/// The mid-level value that stands for `value`; `UnknownValue(value)` when there is none.
[[nodiscard]] std::expected<MidValueId, LoweringError> lookup(const ValueMap& values,
                                                              graph::ValueId value);

/// One plan per configured candidate, in configuration order, whose kernel matches the
/// operation's kind and which supports input types `inputs` and result shape `output`.
[[nodiscard]] std::vector<Plan> plans(const graph::Operation& operation,
                                      std::span<const TensorType> inputs,
                                      const graph::TensorShape& output,
                                      const LoweringConfig& config);

/// A value with format `target` made from `value`: itself when it already has it, else a
/// cast (when the precision differs) then a rearrangement (when the layout differs), each a
/// new value appended to `state` and an operation for `source` appended to `operations`.
MidValueId ensure_format(MidValueId value, const TensorFormat& target, graph::OperationId source,
                         const CostModel& costs, LoweringState& state,
                         std::vector<MidOperation>& operations);

/// Lowers one list of graph operations in order: repeats through `lower_repeat`, every
/// other operation to the cheapest supported candidate (ties to the earlier one) with its
/// input conversions in front. Reads and extends `values`; result shapes come from `shapes`;
/// `graph` provides the value sequences. Errors: `UnknownValue`, `MissingShape`,
/// `NoCandidate`, and those of repeats.
[[nodiscard]] std::expected<std::vector<MidOperation>, LoweringError> lower_operations(
    std::span<const graph::Operation> source, ValueMap& values,
    const std::map<graph::ValueId, graph::TensorShape>& shapes, const graph::ComputeGraph& graph,
    const LoweringConfig& config, const CostModel& costs, LoweringState& state);

/// Lowers a graph repeat to one `Repeat` operation whose body is lowered once: sequence
/// entries are converted to their first entry's format before the loop (appended to
/// `operations`), yields back to their carried input's format inside the body. Maps the
/// repeat's results in `values`. Errors: `MalformedRepeat`, `UnknownValue` and any error of
/// the body.
[[nodiscard]] std::expected<void, LoweringError> lower_repeat(
    const graph::Operation& operation, const graph::Repeat& repeat, ValueMap& values,
    const graph::ComputeGraph& graph, const LoweringConfig& config, const CostModel& costs,
    LoweringState& state, std::vector<MidOperation>& operations);

/// Lowers `graph` with the formats and candidates of `config`, choosing kernels by `costs`.
/// Errors, first one met: `EmptyTileGroup`, `MissingInputType`, then those of the
/// operations in order, then `UnknownValue` for a graph output.
[[nodiscard]] std::expected<MidGraph, LoweringError> lower(const graph::ComputeGraph& graph,
                                                           const LoweringConfig& config,
                                                           const CostModel& costs);

/// `kernel` followed by its requirements.
std::ostream& operator<<(std::ostream& out, const Plan& plan);

}  // namespace vorn::codegen::mid
