// Renderings of the step program types.
#include "vorn/codegen/emit/step_program.hpp"

#include "render.hpp"
#include "vorn/exchange/hex.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen {

std::ostream& operator<<(std::ostream& out, const StepProfile& profile) {
  out << "{ before: ";
  detail::print_address(out, profile.before) << ", after: ";
  return detail::print_address(out, profile.after) << " }";
}

std::ostream& operator<<(std::ostream& out, const ExchangeStep& step) {
  out << "ExchangeStep { address: " << exchange::Hex{step.address} << ", row: ";
  detail::print_words(out, step.row) << ", profile: " << step.profile << " }";
  return out;
}

std::ostream& operator<<(std::ostream& out, const ComputeStep& step) {
  out << "ComputeStep { symbol: ";
  support::print_quoted(out, step.symbol)
      << ", output_address: " << exchange::Hex{step.output_address} << ", input_addresses: ";
  detail::print_words(out, step.input_addresses) << ", arguments: ";
  support::print_list(out, step.arguments) << ", profile: " << step.profile << " }";
  return out;
}

std::ostream& operator<<(std::ostream& out, const TileStep& step) {
  step.visit(support::overloaded{
      [&](const TileStep::Exchange& e) { out << "Exchange(" << e.step << ')'; },
      [&](const TileStep::Compute& c) { out << "Compute(" << c.step << ')'; },
  });
  return out;
}

std::ostream& operator<<(std::ostream& out, const TileProgram& program) {
  out << "TileProgram { tile: " << program.tile << ", steps: ";
  return support::print_list(out, program.steps) << " }";
}

}  // namespace vorn::codegen
