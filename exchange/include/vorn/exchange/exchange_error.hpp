// ExchangeError, the error of the instruction encoders and of exchange planning.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

#include "vorn/support/tagged.hpp"

namespace vorn::exchange {

/// The cases of `ExchangeError`.
struct ExchangeErrorCases {
  /// A tile number outside the tile group.
  struct Tile {
    std::uint16_t tile;
    bool operator==(const Tile&) const = default;
  };
  /// A tile named twice where each may appear once.
  struct DuplicateTile {
    bool operator==(const DuplicateTile&) const = default;
  };
  /// A count that does not fit its field.
  struct Count {
    std::uint32_t count;
    bool operator==(const Count&) const = default;
  };
  /// A set of receivers that cannot be served.
  struct ReceiverSet {
    bool operator==(const ReceiverSet&) const = default;
  };
  /// An instruction operand that does not fit its field; `text` names the operand class
  /// and always refers to a string literal.
  struct Schedule {
    std::string_view text;
    bool operator==(const Schedule&) const = default;
  };
  /// An address that cannot be used.
  struct Address {
    std::uint32_t address;
    bool operator==(const Address&) const = default;
  };
  /// A host packet that cannot be built.
  struct HostPacket {
    bool operator==(const HostPacket&) const = default;
  };
};

/// The error of the `vorn_exchange` library. The encoders produce only `Schedule`.
struct ExchangeError
    : ExchangeErrorCases,
      support::Tagged<ExchangeErrorCases::Tile, ExchangeErrorCases::DuplicateTile,
                      ExchangeErrorCases::Count, ExchangeErrorCases::ReceiverSet,
                      ExchangeErrorCases::Schedule, ExchangeErrorCases::Address,
                      ExchangeErrorCases::HostPacket> {
  using Tagged::Tagged;
};

/// Renders the case name and payload, e.g. `Schedule("call operand")` or `Tile(3)`.
std::ostream& operator<<(std::ostream& out, const ExchangeError& error);

}  // namespace vorn::exchange
