// Renderings of shard and exchange-phase identifiers.
#include "vorn/codegen/low/identifiers.hpp"

namespace vorn::codegen::low {

std::ostream& operator<<(std::ostream& out, LowShardId id) { return out << 's' << id.number; }
std::ostream& operator<<(std::ostream& out, ExchangePhaseId id) {
  return out << 'x' << id.number;
}

}  // namespace vorn::codegen::low
