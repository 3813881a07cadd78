// LowProgram, the whole computation per tile: shards, exchange phases and work lists.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "vorn/codegen/graph/compute_graph.hpp"
#include "vorn/codegen/low/exchange_phase.hpp"
#include "vorn/codegen/low/identifiers.hpp"
#include "vorn/codegen/low/low_shard.hpp"
#include "vorn/codegen/low/tile_work.hpp"
#include "vorn/codegen/mid/mid_value.hpp"

namespace vorn::codegen::low {

/// A program input with its canonical shards in tile order.
struct LowInput {
  std::string name;
  graph::GraphInputKind kind;
  mid::MidValueId value;
  std::vector<LowShardId> shards;

  bool operator==(const LowInput&) const = default;
};

/// A value with its canonical shards in tile order.
struct LowValue {
  mid::MidValueId value;
  std::vector<LowShardId> shards;

  bool operator==(const LowValue&) const = default;
};

/// A tile-level program. `shards[i].id` is i: all canonical shards first (value by value,
/// tile by tile, so value v on tile t is shard v * tile_count + t), then the exchange copies
/// in creation order. `exchange_phases[i].id` is i. `tiles[t]` is tile t's work list.
struct LowProgram {
  std::uint16_t tile_count;
  std::vector<LowShard> shards;
  std::vector<ExchangePhase> exchange_phases;
  std::vector<LowInput> inputs;
  std::vector<TileWorkList> tiles;
  std::vector<LowValue> outputs;

  bool operator==(const LowProgram&) const = default;
};

/// `%0 "x": Host [s0, s1]`.
std::ostream& operator<<(std::ostream& out, const LowInput& input);
/// `%2 [s8, s9]`.
std::ostream& operator<<(std::ostream& out, const LowValue& value);
/// A listing: inputs, shards (tile, value or copy source, extents), exchange phases with
/// their transfers, each tile's work list with repeat bodies indented, and the outputs.
std::ostream& operator<<(std::ostream& out, const LowProgram& program);

}  // namespace vorn::codegen::low
