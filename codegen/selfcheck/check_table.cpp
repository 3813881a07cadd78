// The registered checks. Names sort ascending; a test asserts it.
#include "selfcheck/check_table.hpp"

#include "src/graph/property_checks.hpp"

namespace vorn::selfcheck {
namespace {

constexpr CheckDescriptor table[] = {
    VORN_CHECK_ENTRY("graph::tests::", codegen::graph::tests,
                     randomized_attention_preserves_query_and_value_axes),
    VORN_CHECK_ENTRY("graph::tests::", codegen::graph::tests,
                     randomized_batched_gemm_preserves_matrix_axes_and_broadcasts_batch),
};

}  // namespace

std::span<const CheckDescriptor> check_table() { return table; }

}  // namespace vorn::selfcheck
