// Per-tile work lists: exchange points, kernel runs and structured repeats.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "vorn/codegen/low/identifiers.hpp"
#include "vorn/codegen/low/kernel_run.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen::low {

struct TileWork;

/// A tile's work in execution order.
struct TileWorkList {
  std::uint16_t tile;
  std::vector<TileWork> work;

  bool operator==(const TileWorkList& other) const;
};

/// A carried value of a repeat, by its shards on the run's tile: the initial value, the body
/// argument that receives it, the body value yielded for the next iteration, and the result.
struct RepeatCarried {
  LowShardId initial;
  LowShardId argument;
  LowShardId yielded;
  LowShardId result;

  bool operator==(const RepeatCarried&) const = default;
};

/// A loop-invariant input of a repeat and the body argument that receives it.
struct RepeatInvariant {
  LowShardId input;
  LowShardId argument;

  bool operator==(const RepeatInvariant&) const = default;
};

/// A value sequence of a repeat: one shard per element, in order (`count` of them), and the
/// body argument that receives the current element.
struct RepeatIterated {
  std::vector<LowShardId> inputs;
  LowShardId argument;

  bool operator==(const RepeatIterated&) const = default;
};

/// One tile's share of a structured repeat; `body` is the tile's own work list for one
/// iteration. All shards named lie on that tile.
struct RepeatRun {
  std::uint32_t count;
  std::vector<RepeatCarried> carried;
  std::vector<RepeatInvariant> invariants;
  std::vector<RepeatIterated> iterated;
  TileWorkList body;

  bool operator==(const RepeatRun&) const = default;
};

/// The cases of `TileWork`.
struct TileWorkCases {
  /// The tile takes part in an exchange phase here.
  struct Exchange {
    ExchangePhaseId phase;
    bool operator==(const Exchange&) const = default;
  };
  /// The tile runs one kernel.
  using Kernel = KernelRun;
  /// The tile runs a structured repeat.
  using Repeat = RepeatRun;
};

/// One item of a tile's work list.
struct TileWork : TileWorkCases,
                  support::Tagged<TileWorkCases::Exchange, TileWorkCases::Kernel,
                                  TileWorkCases::Repeat> {
  using Tagged::Tagged;
};

inline bool TileWorkList::operator==(const TileWorkList& other) const = default;

/// `carried s0 -> s4, yield s5 -> result s6`.
std::ostream& operator<<(std::ostream& out, const RepeatCarried& carried);
/// `invariant s1 -> s7`.
std::ostream& operator<<(std::ostream& out, const RepeatInvariant& invariant);
/// `iterated [s2, s3] -> s8`.
std::ostream& operator<<(std::ostream& out, const RepeatIterated& iterated);
/// `repeat x3` with its shards, then the body indented.
std::ostream& operator<<(std::ostream& out, const RepeatRun& run);
/// One line for an exchange or kernel item; a repeat with its body indented.
std::ostream& operator<<(std::ostream& out, const TileWork& work);
/// `tile 0:` then one item a line, repeat bodies indented.
std::ostream& operator<<(std::ostream& out, const TileWorkList& list);

}  // namespace vorn::codegen::low
