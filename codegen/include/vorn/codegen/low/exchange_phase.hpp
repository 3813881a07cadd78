// Exchange phases: the copies of canonical shards to other tiles that one operation needs.
#pragma once

#include <ostream>
#include <vector>

#include "vorn/codegen/low/identifiers.hpp"

namespace vorn::codegen::low {

/// One canonical shard sent to copies on other tiles, listed by ascending destination tile.
struct LogicalExchange {
  LowShardId source;
  std::vector<LowShardId> destinations;

  bool operator==(const LogicalExchange&) const = default;
};

/// A numbered exchange; its transfers are sorted by ascending source, one per source, and
/// never empty.
struct ExchangePhase {
  ExchangePhaseId id;
  std::vector<LogicalExchange> transfers;

  bool operator==(const ExchangePhase&) const = default;
};

/// `s0 -> [s18, s24, s30]`.
std::ostream& operator<<(std::ostream& out, const LogicalExchange& exchange);
/// `x0: s0 -> [...]; s1 -> [...]`.
std::ostream& operator<<(std::ostream& out, const ExchangePhase& phase);

}  // namespace vorn::codegen::low
