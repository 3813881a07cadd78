// Renderings of host phases.
#include "vorn/codegen/emit/host_program.hpp"

#include "render.hpp"
#include "vorn/exchange/hex.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen {

std::ostream& operator<<(std::ostream& out, const HostPhase& phase) {
  out << "HostPhase { address: " << exchange::Hex{phase.address}
      << ", active: " << (phase.active ? "true" : "false") << ", run_table: ";
  return detail::print_address(out, phase.run_table) << " }";
}

std::ostream& operator<<(std::ostream& out, const HostProgram& host) {
  out << "HostProgram { initialize: ";
  support::print_list(out, host.initialize) << ", inputs: ";
  support::print_list(out, host.inputs) << ", outputs: ";
  return support::print_list(out, host.outputs) << " }";
}

}  // namespace vorn::codegen
