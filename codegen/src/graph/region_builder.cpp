// RegionBuilder: building a repeat body in its own scope.
#include "vorn/codegen/graph/region_builder.hpp"

#include "scope.hpp"
#include "vorn/support/print.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::graph {

RegionBuilder::RegionBuilder(std::vector<ValueId> arguments,
                             std::vector<TensorShape> argument_shapes,
                             std::uint32_t& next_operation, std::uint32_t& next_value)
    : arguments_(std::move(arguments)),
      values_(arguments_.begin(), arguments_.end()),
      next_operation_(next_operation),
      next_value_(next_value) {
  for (std::size_t i = 0; i < arguments_.size(); ++i) {
    shapes_.emplace(arguments_[i], std::move(argument_shapes[i]));
  }
}

std::expected<ValueId, GraphError> RegionBuilder::inferred_result(
    const OperationKind& kind, const std::vector<ValueId>& inputs) {
  return detail::append_inferred({operations_, values_, shapes_, next_operation_, next_value_},
                                 kind, inputs);
}

std::expected<std::vector<ValueId>, GraphError> RegionBuilder::operation(
    const OperationKind& kind, const std::vector<ValueId>& inputs,
    const std::vector<TensorShape>& result_shapes) {
  return detail::append_operation({operations_, values_, shapes_, next_operation_, next_value_},
                                  kind, inputs, result_shapes);
}

std::optional<TensorShape> RegionBuilder::value_shape(ValueId value) const {
  const auto found = shapes_.find(value);
  if (found == shapes_.end()) return std::nullopt;
  return found->second;
}

std::expected<Region, GraphError> RegionBuilder::finish(std::vector<ValueId> yields) && {
  VORN_TRY_VOID(detail::validate_inputs(values_, yields));
  return Region{std::move(arguments_), std::move(operations_), std::move(yields),
                std::move(shapes_)};
}

std::ostream& operator<<(std::ostream& out, const RegionBuilder& builder) {
  out << "region builder (arguments ";
  support::print_list(out, builder.arguments()) << ") {\n";
  for (const Operation& operation : builder.operations()) out << "  " << operation << '\n';
  return out << '}';
}

}  // namespace vorn::codegen::graph
