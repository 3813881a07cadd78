// Lowering of a graph repeat to one structured loop whose body is lowered once.
#include "vorn/codegen/mid/lowering.hpp"

#include "vorn/support/arithmetic.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::mid {
namespace {

// The repeat builder guarantees that inputs, results, arguments, yields and sequences fit
// together; a repeat made through the general `operation` builder may not, and lowering it
// would read past the ends of those lists.
bool well_formed(const graph::Operation& operation, const graph::Repeat& repeat,
                 const graph::ComputeGraph& graph) {
  const auto inputs = support::checked_add(repeat.carried_inputs, repeat.invariant_inputs);
  if (!inputs || operation.inputs.size() != *inputs) return false;
  const auto arguments = support::checked_add(*inputs, repeat.iterated_inputs.size());
  if (!arguments || repeat.body.arguments.size() != *arguments) return false;
  if (operation.results.size() != repeat.carried_inputs) return false;
  if (repeat.body.yields.size() != repeat.carried_inputs) return false;
  for (const graph::ValueSequenceId id : repeat.iterated_inputs) {
    if (id.index() >= graph.sequences().size()) return false;
    const std::size_t entries = graph.sequences()[id.index()].values.size();
    if (entries == 0 || entries < repeat.count) return false;
  }
  return true;
}

}  // namespace

std::expected<void, LoweringError> lower_repeat(const graph::Operation& operation,
                                                const graph::Repeat& repeat, ValueMap& values,
                                                const graph::ComputeGraph& graph,
                                                const LoweringConfig& config,
                                                const CostModel& costs, LoweringState& state,
                                                std::vector<MidOperation>& operations) {
  if (!well_formed(operation, repeat, graph)) {
    return std::unexpected(LoweringError(LoweringError::MalformedRepeat{operation.id}));
  }
  std::vector<MidValueId> inputs;
  std::vector<TensorType> argument_types;
  inputs.reserve(operation.inputs.size());
  argument_types.reserve(repeat.body.arguments.size());
  for (const graph::ValueId input : operation.inputs) {
    VORN_TRY(const MidValueId id, lookup(values, input));
    inputs.push_back(id);
    argument_types.push_back(state.get(id).tensor_type);
  }

  // Every entry of a sequence takes its first entry's format before the loop, so that the
  // body sees one type in every iteration.
  std::vector<std::vector<MidValueId>> iterated;
  iterated.reserve(repeat.iterated_inputs.size());
  for (const graph::ValueSequenceId id : repeat.iterated_inputs) {
    const graph::ValueSequence& sequence = graph.sequences()[id.index()];
    VORN_TRY(const MidValueId first, lookup(values, sequence.values.front()));
    TensorType sequence_type = state.get(first).tensor_type;
    std::vector<MidValueId> entries;
    entries.reserve(sequence.values.size());
    for (const graph::ValueId entry : sequence.values) {
      VORN_TRY(const MidValueId entry_id, lookup(values, entry));
      entries.push_back(entry_id);
    }
    for (MidValueId& entry : entries) {
      entry = ensure_format(entry, sequence_type.format, operation.id, costs, state, operations);
    }
    iterated.push_back(std::move(entries));
    argument_types.push_back(std::move(sequence_type));
  }

  MidRegion body{{}, {}, {}, 0};
  ValueMap body_values;
  body.arguments.reserve(repeat.body.arguments.size());
  for (std::size_t i = 0; i < repeat.body.arguments.size(); ++i) {
    const graph::ValueId argument = repeat.body.arguments[i];
    const MidValueId id = state.value(argument, argument_types[i]);
    body_values.insert_or_assign(argument, id);
    body.arguments.push_back(id);
  }
  VORN_TRY(body.operations,
           lower_operations(repeat.body.operations, body_values, repeat.body.value_shapes, graph,
                            config, costs, state));
  // Each yield goes back to its carried input's format inside the body, so no conversion is
  // needed between iterations.
  body.yields.reserve(repeat.body.yields.size());
  for (std::size_t i = 0; i < repeat.body.yields.size(); ++i) {
    VORN_TRY(const MidValueId yielded, lookup(body_values, repeat.body.yields[i]));
    body.yields.push_back(ensure_format(yielded, argument_types[i].format, operation.id, costs,
                                        state, body.operations));
  }
  for (const MidOperation& body_operation : body.operations) {
    body.estimated_cost =
        support::saturating_add(body.estimated_cost, body_operation.estimated_cost);
  }

  std::vector<MidValueId> results;
  results.reserve(operation.results.size());
  for (std::size_t i = 0; i < operation.results.size(); ++i) {
    const MidValueId result = state.value(operation.results[i], argument_types[i]);
    values.insert_or_assign(operation.results[i], result);
    results.push_back(result);
  }
  const std::uint64_t cost =
      support::saturating_mul<std::uint64_t>(body.estimated_cost, repeat.count);
  operations.push_back(
      MidOperation{operation.id, std::move(inputs), std::move(results),
                   MidRepeat{repeat.count, repeat.carried_inputs, repeat.invariant_inputs,
                             std::move(iterated), std::move(body)},
                   std::nullopt, cost});
  return {};
}

}  // namespace vorn::codegen::mid
