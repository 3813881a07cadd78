// Identifiers of tile-level shards and exchange phases.
#pragma once

#include <compare>
#include <cstdint>
#include <ostream>

namespace vorn::codegen::low {

/// A shard: its position in `LowProgram::shards`. Ordered by number.
struct LowShardId {
  std::uint32_t number;
  /// The position of the shard in `LowProgram::shards`.
  [[nodiscard]] constexpr std::uint32_t index() const noexcept { return number; }
  friend constexpr auto operator<=>(const LowShardId&, const LowShardId&) = default;
};

/// An exchange phase: its position in `LowProgram::exchange_phases`.
struct ExchangePhaseId {
  std::uint32_t number;
  /// The position of the phase in `LowProgram::exchange_phases`.
  [[nodiscard]] constexpr std::uint32_t index() const noexcept { return number; }
  friend constexpr auto operator<=>(const ExchangePhaseId&, const ExchangePhaseId&) = default;
};

/// Renders as `s12` and `x0`.
std::ostream& operator<<(std::ostream& out, LowShardId id);
std::ostream& operator<<(std::ostream& out, ExchangePhaseId id);

}  // namespace vorn::codegen::low
