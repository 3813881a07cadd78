// The registered property checks of the mid-level lowering.
#pragma once

#include "selfcheck/check.hpp"

namespace vorn::codegen::mid::tests {

VORN_DECLARE_CHECK(randomized_axis_tiling_applies_or_rejects_padding);
VORN_DECLARE_CHECK(randomized_gemm_lowering_makes_every_format_boundary_explicit);
VORN_DECLARE_CHECK(randomized_gemms_choose_precision_independently_within_one_graph);
VORN_DECLARE_CHECK(randomized_non_gemm_lowering_honors_complete_kernel_signatures);
VORN_DECLARE_CHECK(randomized_repeat_lowering_retains_sequences_without_unrolling);

}  // namespace vorn::codegen::mid::tests
