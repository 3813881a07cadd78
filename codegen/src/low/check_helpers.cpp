// Helpers of the tile-lowering checks.
#include "check_helpers.hpp"

#include <algorithm>

namespace vorn::codegen::low::tests {

mid::TensorFormat format(std::uint16_t tiles) {
  return mid::TensorFormat{mid::Precision::F16{}, mid::Layout::row_sharded(tiles)};
}

bool contains_phase(const TileWorkList& list, ExchangePhaseId phase) {
  return std::ranges::any_of(list.work, [&](const TileWork& work) {
    return work.visit(support::overloaded{
        [&](const TileWork::Exchange& exchange) { return exchange.phase == phase; },
        [](const TileWork::Kernel&) { return false; },
        [&](const TileWork::Repeat& run) { return contains_phase(run.body, phase); },
    });
  });
}

}  // namespace vorn::codegen::low::tests
