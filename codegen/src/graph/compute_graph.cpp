// ComputeGraph: inputs, sequences, operations, repeats and outputs.
#include "vorn/codegen/graph/compute_graph.hpp"

#include "operation_printing.hpp"
#include "scope.hpp"
#include "vorn/support/print.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::graph {
namespace {

std::expected<std::string, GraphError> nonempty(std::string_view name) {
  if (name.empty()) return std::unexpected(GraphError::EmptyName{});
  return std::string(name);
}

}  // namespace

std::expected<ValueId, GraphError> ComputeGraph::input(std::string_view name, GraphInputKind kind,
                                                       TensorShape shape) {
  VORN_TRY(std::string owned_name, nonempty(name));
  const ValueId value{detail::issue(next_value_)};
  values_.insert(value);
  shapes_.emplace(value, shape);
  inputs_.push_back(GraphInput{std::move(owned_name), kind, value, std::move(shape)});
  return value;
}

std::expected<ValueId, GraphError> ComputeGraph::host_input(std::string_view name,
                                                            TensorShape dimensions) {
  return input(name, GraphInputKind::Host, std::move(dimensions));
}

std::expected<ValueId, GraphError> ComputeGraph::parameter(std::string_view name,
                                                           TensorShape dimensions) {
  return input(name, GraphInputKind::Parameter, std::move(dimensions));
}

std::expected<ValueSequenceId, GraphError> ComputeGraph::value_sequence(
    std::string_view name, const std::vector<ValueId>& entries) {
  VORN_TRY(std::string owned_name, nonempty(name));
  VORN_TRY_VOID(detail::validate_inputs(values_, entries));
  if (!entries.empty()) {
    const TensorShape& first = shapes_.at(entries.front());
    for (std::size_t entry = 1; entry < entries.size(); ++entry) {
      if (shapes_.at(entries[entry]) != first) {
        return std::unexpected(GraphError::SequenceShape{entry});
      }
    }
  }
  const ValueSequenceId id{detail::issue(next_sequence_)};
  sequences_.push_back(ValueSequence{id, std::move(owned_name), entries});
  return id;
}

std::expected<ValueId, GraphError> ComputeGraph::inferred_result(
    const OperationKind& kind, const std::vector<ValueId>& inputs) {
  return detail::append_inferred({operations_, values_, shapes_, next_operation_, next_value_},
                                 kind, inputs);
}

std::expected<std::vector<ValueId>, GraphError> ComputeGraph::operation(
    const OperationKind& kind, const std::vector<ValueId>& inputs,
    const std::vector<TensorShape>& result_shapes) {
  return detail::append_operation({operations_, values_, shapes_, next_operation_, next_value_},
                                  kind, inputs, result_shapes);
}

std::expected<std::vector<ValueId>, GraphError> ComputeGraph::repeat(
    std::uint32_t count, const std::vector<ValueId>& carried,
    const std::vector<ValueId>& invariants, const std::vector<ValueSequenceId>& iterated,
    const RepeatBody& build) {
  if (count == 0) return std::unexpected(GraphError::EmptyRepeat{});
  VORN_TRY_VOID(detail::validate_inputs(values_, carried));
  VORN_TRY_VOID(detail::validate_inputs(values_, invariants));
  for (const ValueSequenceId sequence : iterated) {
    if (sequence.index() >= sequences_.size()) {
      return std::unexpected(GraphError::UnknownSequence{sequence});
    }
    const std::size_t available = sequences_[sequence.index()].values.size();
    if (available < count) {
      return std::unexpected(GraphError::ShortSequence{sequence, available, count});
    }
  }

  // From here on, numbers consumed stay consumed even if the repeat fails.
  std::vector<ValueId> arguments =
      detail::allocate_values(next_value_, carried.size() + invariants.size() + iterated.size());
  std::vector<TensorShape> argument_shapes;
  argument_shapes.reserve(arguments.size());
  for (const ValueId value : carried) argument_shapes.push_back(shapes_.at(value));
  for (const ValueId value : invariants) argument_shapes.push_back(shapes_.at(value));
  for (const ValueSequenceId sequence : iterated) {
    // Every entry has the shape of entry 0, and count >= 1 guarantees there is one.
    argument_shapes.push_back(shapes_.at(sequences_[sequence.index()].values.front()));
  }
  const auto first_invariant = arguments.begin() + static_cast<std::ptrdiff_t>(carried.size());
  const auto first_iterated = first_invariant + static_cast<std::ptrdiff_t>(invariants.size());
  const RepeatArguments split{{arguments.begin(), first_invariant},
                              {first_invariant, first_iterated},
                              {first_iterated, arguments.end()}};

  RegionBuilder body(std::move(arguments), std::move(argument_shapes), next_operation_,
                     next_value_);
  VORN_TRY(std::vector<ValueId> yields, build(body, split));
  if (yields.size() != carried.size()) {
    return std::unexpected(GraphError::YieldArity{carried.size(), yields.size()});
  }
  for (std::size_t index = 0; index < yields.size(); ++index) {
    const auto yielded = body.shapes().find(yields[index]);
    if (yielded == body.shapes().end() || yielded->second != shapes_.at(carried[index])) {
      return std::unexpected(GraphError::YieldShape{index});
    }
  }
  VORN_TRY(Region region, std::move(body).finish(std::move(yields)));

  std::vector<TensorShape> result_shapes;
  result_shapes.reserve(carried.size());
  for (const ValueId value : carried) result_shapes.push_back(shapes_.at(value));
  std::vector<ValueId> inputs = carried;
  inputs.insert(inputs.end(), invariants.begin(), invariants.end());
  return detail::append_operation(
      {operations_, values_, shapes_, next_operation_, next_value_},
      Repeat{count, carried.size(), invariants.size(), iterated, std::move(region)}, inputs,
      result_shapes);
}

std::expected<void, GraphError> ComputeGraph::set_outputs(const std::vector<ValueId>& outputs) {
  VORN_TRY_VOID(detail::validate_inputs(values_, outputs));
  outputs_ = outputs;
  return {};
}

std::optional<TensorShape> ComputeGraph::value_shape(ValueId value) const {
  const auto found = shapes_.find(value);
  if (found == shapes_.end()) return std::nullopt;
  return found->second;
}

std::ostream& operator<<(std::ostream& out, GraphInputKind kind) {
  switch (kind) {
    case GraphInputKind::Host:
      return out << "Host";
    case GraphInputKind::Parameter:
      return out << "Parameter";
  }
  return out << "GraphInputKind(" << static_cast<int>(kind) << ')';
}

std::ostream& operator<<(std::ostream& out, const GraphInput& input) {
  out << input.value << ' ';
  support::print_quoted(out, input.name) << ": " << input.kind << ' ' << input.shape;
  return out;
}

std::ostream& operator<<(std::ostream& out, const ValueSequence& sequence) {
  out << sequence.id << ' ';
  support::print_quoted(out, sequence.name) << " = ";
  return support::print_list(out, sequence.values);
}

std::ostream& operator<<(std::ostream& out, const ComputeGraph& graph) {
  out << "graph {\n";
  for (const GraphInput& input : graph.inputs()) out << "  input " << input << '\n';
  for (const ValueSequence& sequence : graph.sequences()) out << "  sequence " << sequence << '\n';
  for (const Operation& operation : graph.operations()) {
    detail::print_operation(out, operation, 2);
    out << "  #";
    for (const ValueId result : operation.results) {
      out << ' ' << result << ':' << graph.value_shapes().at(result);
    }
    out << '\n';
  }
  out << "  outputs ";
  support::print_list(out, graph.outputs()) << "\n}";
  return out;
}

}  // namespace vorn::codegen::graph
