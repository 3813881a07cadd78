// The registered property checks of the graph module.
#pragma once

#include "selfcheck/check.hpp"

namespace vorn::codegen::graph::tests {

VORN_DECLARE_CHECK(randomized_attention_preserves_query_and_value_axes);
VORN_DECLARE_CHECK(randomized_batched_gemm_preserves_matrix_axes_and_broadcasts_batch);

}  // namespace vorn::codegen::graph::tests
