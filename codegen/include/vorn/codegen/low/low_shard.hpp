// LowShard, one piece of a mid-level value held by one tile, and where its contents come from.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "vorn/codegen/low/identifiers.hpp"
#include "vorn/codegen/low/shard_extent.hpp"
#include "vorn/codegen/mid/mid_value.hpp"
#include "vorn/codegen/mid/tensor_type.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen::low {

/// The cases of `ShardDefinition`.
struct ShardDefinitionCases {
  /// A canonical shard of the value, produced where the value is produced.
  struct Value {
    mid::MidValueId value;
    bool operator==(const Value&) const = default;
  };
  /// A copy, on another tile, of the canonical shard `source`, filled in an exchange phase.
  struct ExchangeCopy {
    LowShardId source;
    bool operator==(const ExchangeCopy&) const = default;
  };
};

/// Where a shard's contents come from.
struct ShardDefinition
    : ShardDefinitionCases,
      support::Tagged<ShardDefinitionCases::Value, ShardDefinitionCases::ExchangeCopy> {
  using Tagged::Tagged;
};

/// A piece of a value on one tile. `tensor_type` is the whole value's type; `extents` says
/// which part the shard holds, one extent per axis.
struct LowShard {
  LowShardId id;
  std::uint16_t tile;
  mid::TensorType tensor_type;
  std::vector<ShardExtent> extents;
  ShardDefinition definition;

  bool operator==(const LowShard&) const = default;
};

/// `value %3` or `copy of s5`.
std::ostream& operator<<(std::ostream& out, const ShardDefinition& definition);
/// `s5 tile 1 value %1 <type> [<extents>]`.
std::ostream& operator<<(std::ostream& out, const LowShard& shard);

}  // namespace vorn::codegen::low
