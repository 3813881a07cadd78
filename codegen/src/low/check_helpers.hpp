// Helpers of the tile-lowering checks: the checks' input format and the phase search.
#pragma once

#include <cstdint>

#include "vorn/codegen/low/identifiers.hpp"
#include "vorn/codegen/low/tile_work.hpp"
#include "vorn/codegen/mid/tensor_type.hpp"

namespace vorn::codegen::low::tests {

/// F16 with rows split over `tiles` tiles.
[[nodiscard]] mid::TensorFormat format(std::uint16_t tiles);

/// True when `list` announces `phase`, at its top level or inside any repeat body.
[[nodiscard]] bool contains_phase(const TileWorkList& list, ExchangePhaseId phase);

}  // namespace vorn::codegen::low::tests
