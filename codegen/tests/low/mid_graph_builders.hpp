// Small builders of hand-made mid-level graphs for the tile-lowering tests.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "vorn/codegen/mid.hpp"

namespace vorn::codegen::low::builders {

/// Value `id` of `shape` in F16 with `layout`; its origin is graph value `id`.
inline mid::MidValue value(std::uint32_t id, graph::TensorShape shape, mid::Layout layout) {
  return mid::MidValue{mid::MidValueId{id},
                       mid::TensorType(std::move(shape), mid::Precision::F16{}, std::move(layout)),
                       graph::ValueId{id}};
}

/// Value `id` of shape [4 * tiles, 8], rows split over `tiles` tiles.
inline mid::MidValue sharded_value(std::uint32_t id, std::uint16_t tiles) {
  return value(id, {4U * tiles, 8}, mid::Layout::row_sharded(tiles));
}

/// `count` values numbered from 0, each as `sharded_value`.
inline std::vector<mid::MidValue> sharded_values(std::uint32_t count, std::uint16_t tiles) {
  std::vector<mid::MidValue> values;
  for (std::uint32_t id = 0; id < count; ++id) values.push_back(sharded_value(id, tiles));
  return values;
}

inline std::vector<mid::MidValueId> ids(std::initializer_list<std::uint32_t> numbers) {
  std::vector<mid::MidValueId> result;
  for (const std::uint32_t number : numbers) result.push_back(mid::MidValueId{number});
  return result;
}

/// An element-wise `Add` kernel operation emitted for graph operation `source`.
inline mid::MidOperation add(std::vector<mid::MidValueId> inputs,
                             std::vector<mid::MidValueId> results, std::uint32_t source = 0) {
  return mid::MidOperation{graph::OperationId{source}, std::move(inputs), std::move(results),
                           mid::MidOperationKind::Kernel{mid::MidKernel::Add{}}, std::nullopt, 0};
}

/// A `Repeat` operation over `repeat` with the given inputs and results.
inline mid::MidOperation repeat(std::vector<mid::MidValueId> inputs,
                                std::vector<mid::MidValueId> results, mid::MidRepeat body) {
  return mid::MidOperation{graph::OperationId{9}, std::move(inputs), std::move(results),
                           std::move(body), std::nullopt, 0};
}

/// A graph of `values` and `operations` with no inputs or outputs.
inline mid::MidGraph graph_of(std::vector<mid::MidValue> values,
                              std::vector<mid::MidOperation> operations) {
  return mid::MidGraph{{}, std::move(values), std::move(operations), {}, 0};
}

}  // namespace vorn::codegen::low::builders
