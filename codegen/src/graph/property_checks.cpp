// Randomized checks of shape inference with batch broadcasting through the graph builder.
#include "property_checks.hpp"

#include <array>
#include <string>
#include <vector>

#include "selfcheck/random.hpp"
#include "vorn/codegen/graph.hpp"

namespace vorn::codegen::graph::tests {
namespace {

using selfcheck::Random;
using selfcheck::unwrap;
using Extents = std::vector<std::uint32_t>;

constexpr std::size_t case_count = 256;

std::uint32_t dimension(Random& random) {
  return random.u32_in(1, 128);
}

struct BatchShapes {
  Extents left;
  Extents right;
  Extents output;
};

// Two batches that never conflict: at every axis both sides are equal or one of them is 1.
BatchShapes broadcast_batch(Random& random) {
  BatchShapes batches;
  const std::size_t rank = random.size_in(0, 4);
  for (std::size_t axis = 0; axis < rank; ++axis) {
    const std::uint32_t extent = dimension(random);
    const std::uint8_t choice = random.u8_below(0, 3);
    batches.left.push_back(choice == 1 ? 1 : extent);
    batches.right.push_back(choice == 2 ? 1 : extent);
    batches.output.push_back(extent);
  }
  return batches;
}

std::string case_label(std::size_t index) {
  return "random case " + std::to_string(index);
}

}  // namespace

VORN_CHECK(randomized_attention_preserves_query_and_value_axes) {
  Random random(0x6174746E);  // "attn"
  for (std::size_t index = 0; index < case_count; ++index) {
    auto [query_shape, key_batch, expected] = broadcast_batch(random);
    const std::uint32_t query_rows = dimension(random);
    const std::uint32_t key_rows = dimension(random);
    const std::uint32_t key_columns = dimension(random);
    const std::uint32_t value_columns = dimension(random);
    query_shape.insert(query_shape.end(), {query_rows, key_columns});
    Extents key_shape = key_batch;
    key_shape.insert(key_shape.end(), {key_rows, key_columns});
    Extents value_shape = std::move(key_batch);
    value_shape.insert(value_shape.end(), {key_rows, value_columns});
    expected.insert(expected.end(), {query_rows, value_columns});

    ComputeGraph graph;
    const ValueId query = unwrap(graph.host_input("q", query_shape));
    const ValueId key = unwrap(graph.host_input("k", key_shape));
    const ValueId value = unwrap(graph.host_input("v", value_shape));
    const ValueId output = unwrap(graph.flash_attention(query, key, value));
    selfcheck::check_eq(graph.value_shape(output), std::optional(TensorShape(expected)),
                        case_label(index));
  }
}

VORN_CHECK(randomized_batched_gemm_preserves_matrix_axes_and_broadcasts_batch) {
  Random random(0x6A656D6D);  // "jemm"
  for (std::size_t index = 0; index < case_count; ++index) {
    auto [left_shape, right_shape, expected] = broadcast_batch(random);
    const std::uint32_t rows = dimension(random);
    const std::uint32_t inner = dimension(random);
    const std::uint32_t columns = dimension(random);
    left_shape.insert(left_shape.end(), {rows, inner});
    right_shape.insert(right_shape.end(), {inner, columns});
    expected.insert(expected.end(), {rows, columns});

    ComputeGraph graph;
    const ValueId left = unwrap(graph.host_input("left", left_shape));
    const ValueId right = unwrap(graph.parameter("right", right_shape));
    const ValueId output = unwrap(graph.gemm(left, right));
    selfcheck::check_eq(graph.value_shape(output), std::optional(TensorShape(expected)),
                        case_label(index));
  }
}

}  // namespace vorn::codegen::graph::tests
