// The registered checks, in ascending name order (checked at compile time).
#include "selfcheck/check_table.hpp"

#include <algorithm>

#include "src/emit/property_checks.hpp"
#include "src/graph/property_checks.hpp"
#include "src/low/property_checks.hpp"
#include "src/mid/property_checks.hpp"

namespace vorn::selfcheck {
namespace {

constexpr CheckDescriptor table[] = {
    VORN_CHECK_ENTRY("graph::tests::", codegen::graph::tests,
                     randomized_attention_preserves_query_and_value_axes),
    VORN_CHECK_ENTRY("graph::tests::", codegen::graph::tests,
                     randomized_batched_gemm_preserves_matrix_axes_and_broadcasts_batch),
    VORN_CHECK_ENTRY("low::tests::", codegen::low::tests,
                     randomized_multiaxis_shards_cover_padded_extents_in_whole_blocks),
    VORN_CHECK_ENTRY("low::tests::", codegen::low::tests,
                     randomized_repeats_remain_structured_per_tile),
    VORN_CHECK_ENTRY("low::tests::", codegen::low::tests,
                     randomized_schedules_make_kernel_operands_resident),
    VORN_CHECK_ENTRY("mid::tests::", codegen::mid::tests,
                     randomized_axis_tiling_applies_or_rejects_padding),
    VORN_CHECK_ENTRY("mid::tests::", codegen::mid::tests,
                     randomized_gemm_lowering_makes_every_format_boundary_explicit),
    VORN_CHECK_ENTRY("mid::tests::", codegen::mid::tests,
                     randomized_gemms_choose_precision_independently_within_one_graph),
    VORN_CHECK_ENTRY("mid::tests::", codegen::mid::tests,
                     randomized_non_gemm_lowering_honors_complete_kernel_signatures),
    VORN_CHECK_ENTRY("mid::tests::", codegen::mid::tests,
                     randomized_repeat_lowering_retains_sequences_without_unrolling),
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
