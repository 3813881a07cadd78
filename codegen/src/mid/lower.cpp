// The lowering driver: graph inputs, kernel selection per operation, and graph outputs.
#include "vorn/codegen/mid/lowering.hpp"

#include <limits>
#include <optional>

#include "vorn/support/arithmetic.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::mid {
namespace {

using support::saturating_add;

// The types a plan's kernel would see: the operands' shapes in the required formats.
std::vector<TensorType> planned_inputs(std::span<const TensorType> inputs, const Plan& plan) {
  std::vector<TensorType> planned;
  planned.reserve(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    planned.emplace_back(inputs[i].shape, plan.requirements.inputs[i].format);
  }
  return planned;
}

// The cheapest plan: conversions of every input plus the kernel; ties go to the earlier plan.
std::optional<std::size_t> cheapest(std::span<const Plan> candidates,
                                    std::span<const TensorType> inputs,
                                    const graph::TensorShape& output, const CostModel& costs) {
  std::optional<std::size_t> best;
  std::uint64_t best_cost = std::numeric_limits<std::uint64_t>::max();
  for (std::size_t number = 0; number < candidates.size(); ++number) {
    const Plan& plan = candidates[number];
    std::uint64_t cost = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
      cost = saturating_add(cost,
                            conversion_cost(inputs[i], plan.requirements.inputs[i].format, costs));
    }
    const TensorType planned_output(output, plan.requirements.output.format);
    cost = saturating_add(
        cost, costs.kernel_cost(plan.kernel, planned_inputs(inputs, plan), planned_output));
    if (!best || cost < best_cost) {
      best = number;
      best_cost = cost;
    }
  }
  return best;
}

// Lowers one operation that is not a repeat, appending its conversions and its kernel.
std::expected<void, LoweringError> lower_kernel(
    const graph::Operation& operation, ValueMap& values,
    const std::map<graph::ValueId, graph::TensorShape>& shapes, const LoweringConfig& config,
    const CostModel& costs, LoweringState& state, std::vector<MidOperation>& operations) {
  std::vector<MidValueId> inputs;
  std::vector<TensorType> input_types;
  inputs.reserve(operation.inputs.size());
  input_types.reserve(operation.inputs.size());
  for (const graph::ValueId input : operation.inputs) {
    VORN_TRY(const MidValueId id, lookup(values, input));
    inputs.push_back(id);
    input_types.push_back(state.get(id).tensor_type);
  }
  // Every kernel has exactly one output; an operation made with another number of results
  // (possible through the general `operation` builder) has no candidate.
  if (operation.results.size() != 1) {
    return std::unexpected(LoweringError(LoweringError::NoCandidate{operation.id}));
  }
  const graph::ValueId result = operation.results.front();
  const auto shape = shapes.find(result);
  if (shape == shapes.end()) {
    return std::unexpected(LoweringError(LoweringError::MissingShape{result}));
  }
  const graph::TensorShape& output_shape = shape->second;

  const std::vector<Plan> applicable = plans(operation, input_types, output_shape, config);
  const std::optional<std::size_t> chosen = cheapest(applicable, input_types, output_shape, costs);
  if (!chosen) return std::unexpected(LoweringError(LoweringError::NoCandidate{operation.id}));
  const Plan& plan = applicable[*chosen];

  std::vector<TensorType> converted_types;
  converted_types.reserve(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    inputs[i] = ensure_format(inputs[i], plan.requirements.inputs[i].format, operation.id, costs,
                              state, operations);
    converted_types.push_back(state.get(inputs[i]).tensor_type);
  }
  const MidValueId output =
      state.value(result, TensorType(output_shape, plan.requirements.output.format));
  const std::uint64_t cost =
      costs.kernel_cost(plan.kernel, converted_types, state.get(output).tensor_type);
  operations.push_back(MidOperation{operation.id,
                                    std::move(inputs),
                                    {output},
                                    MidOperationKind::Kernel{plan.kernel},
                                    plan.requirements,
                                    cost});
  values.insert_or_assign(result, output);
  return {};
}

}  // namespace

std::expected<std::vector<MidOperation>, LoweringError> lower_operations(
    std::span<const graph::Operation> source, ValueMap& values,
    const std::map<graph::ValueId, graph::TensorShape>& shapes, const graph::ComputeGraph& graph,
    const LoweringConfig& config, const CostModel& costs, LoweringState& state) {
  std::vector<MidOperation> operations;
  for (const graph::Operation& operation : source) {
    if (const graph::Repeat* repeat = operation.kind.get_if<graph::Repeat>()) {
      VORN_TRY_VOID(
          lower_repeat(operation, *repeat, values, graph, config, costs, state, operations));
      continue;
    }
    VORN_TRY_VOID(lower_kernel(operation, values, shapes, config, costs, state, operations));
  }
  return operations;
}

std::expected<MidGraph, LoweringError> lower(const graph::ComputeGraph& graph,
                                             const LoweringConfig& config, const CostModel& costs) {
  if (config.tile_count == 0)
    return std::unexpected(LoweringError(LoweringError::EmptyTileGroup{}));
  LoweringState state;
  ValueMap values;
  std::vector<MidInput> inputs;
  inputs.reserve(graph.inputs().size());
  for (const graph::GraphInput& input : graph.inputs()) {
    const auto format = config.inputs.find(input.value);
    if (format == config.inputs.end()) {
      return std::unexpected(LoweringError(LoweringError::MissingInputType{input.value}));
    }
    const MidValueId value = state.value(input.value, TensorType(input.shape, format->second));
    values.insert_or_assign(input.value, value);
    inputs.push_back(MidInput{input.name, input.kind, value});
  }
  VORN_TRY(std::vector<MidOperation> operations,
           lower_operations(graph.operations(), values, graph.value_shapes(), graph, config, costs,
                            state));
  std::vector<MidValueId> outputs;
  outputs.reserve(graph.outputs().size());
  for (const graph::ValueId output : graph.outputs()) {
    VORN_TRY(const MidValueId id, lookup(values, output));
    outputs.push_back(id);
  }
  std::uint64_t cost = 0;
  for (const MidOperation& operation : operations) {
    cost = saturating_add(cost, operation.estimated_cost);
  }
  return MidGraph{std::move(inputs), std::move(state.values), std::move(operations),
                  std::move(outputs), cost};
}

}  // namespace vorn::codegen::mid
