// Rendering of ExchangeError.
#include "vorn/exchange/exchange_error.hpp"

#include "vorn/exchange/hex.hpp"
#include "vorn/support/print.hpp"

namespace vorn::exchange {

std::ostream& operator<<(std::ostream& out, const ExchangeError& error) {
  using E = ExchangeError;
  error.visit(support::overloaded{
      [&](const E::Tile& e) { out << "Tile(" << e.tile << ')'; },
      [&](const E::DuplicateTile&) { out << "DuplicateTile"; },
      [&](const E::Count& e) { out << "Count(" << e.count << ')'; },
      [&](const E::ReceiverSet&) { out << "ReceiverSet"; },
      [&](const E::Schedule& e) {
        out << "Schedule(";
        support::print_quoted(out, e.text) << ')';
      },
      [&](const E::Address& e) { out << "Address(" << Hex{e.address} << ')'; },
      [&](const E::HostPacket&) { out << "HostPacket"; },
  });
  return out;
}

}  // namespace vorn::exchange
