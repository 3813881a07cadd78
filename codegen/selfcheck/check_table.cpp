// The registered checks, in ascending name order (checked at compile time).
#include "selfcheck/check_table.hpp"

#include <algorithm>

#include "src/emit/property_checks.hpp"
#include "src/graph/property_checks.hpp"

namespace vorn::selfcheck {
namespace {

constexpr CheckDescriptor table[] = {
    VORN_CHECK_ENTRY("graph::tests::", codegen::graph::tests,
                     randomized_attention_preserves_query_and_value_axes),
    VORN_CHECK_ENTRY("graph::tests::", codegen::graph::tests,
                     randomized_batched_gemm_preserves_matrix_axes_and_broadcasts_batch),
    VORN_CHECK_ENTRY("tests::", codegen::tests, emits_resolved_exchange_and_compute_steps),
    VORN_CHECK_ENTRY("tests::", codegen::tests, rejects_unresolved_or_malformed_inputs),
};

static_assert(std::ranges::is_sorted(table, {}, &CheckDescriptor::name),
              "the check table must stay in ascending name order");

}  // namespace

std::span<const CheckDescriptor> check_table() {
  return table;
}

}  // namespace vorn::selfcheck
