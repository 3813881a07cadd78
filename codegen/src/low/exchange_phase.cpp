// Renderings of exchange phases and their transfers.
#include "vorn/codegen/low/exchange_phase.hpp"

#include <string_view>

#include "vorn/support/print.hpp"

namespace vorn::codegen::low {

std::ostream& operator<<(std::ostream& out, const LogicalExchange& exchange) {
  out << exchange.source << " -> ";
  return support::print_list(out, exchange.destinations);
}

std::ostream& operator<<(std::ostream& out, const ExchangePhase& phase) {
  out << phase.id << ':';
  std::string_view separator = " ";
  for (const LogicalExchange& transfer : phase.transfers) {
    out << separator << transfer;
    separator = "; ";
  }
  return out;
}

}  // namespace vorn::codegen::low
