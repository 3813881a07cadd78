// The registered property checks of tile lowering.
#pragma once

#include "selfcheck/check.hpp"

namespace vorn::codegen::low::tests {

VORN_DECLARE_CHECK(randomized_multiaxis_shards_cover_padded_extents_in_whole_blocks);
VORN_DECLARE_CHECK(randomized_repeats_remain_structured_per_tile);
VORN_DECLARE_CHECK(randomized_schedules_make_kernel_operands_resident);

}  // namespace vorn::codegen::low::tests
