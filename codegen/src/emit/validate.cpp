// The structural test of step programs.
#include "vorn/codegen/emit/validate.hpp"

#include <string>

#include "vorn/support/try.hpp"

namespace vorn::codegen {
namespace {

std::expected<void, CodegenError> validate_step(const ExchangeStep& step) {
  if (step.address % 4 != 0) {
    return std::unexpected(invalid("exchange row address is not word aligned"));
  }
  if (step.row.size() != exchange_row_words) {
    return std::unexpected(invalid("exchange row has " + std::to_string(step.row.size()) +
                                   " words, expected " + std::to_string(exchange_row_words)));
  }
  return {};
}

std::expected<void, CodegenError> validate_step(const ComputeStep& step) {
  if (step.symbol.empty()) return std::unexpected(invalid("compute symbol is empty"));
  const std::size_t registers = step.input_addresses.size() + step.arguments.size();
  if (step.input_addresses.empty() || registers > kernel_operand_registers) {
    return std::unexpected(invalid("kernel " + step.symbol + " needs " +
                                   std::to_string(registers) +
                                   " input/argument registers; 1..=" +
                                   std::to_string(kernel_operand_registers) + " are supported"));
  }
  return {};
}

}  // namespace

std::expected<void, CodegenError> validate(const TileProgram& program) {
  for (const TileStep& step : program.steps) {
    VORN_TRY_VOID(step.visit(
        support::overloaded{[](const TileStep::Exchange& e) { return validate_step(e.step); },
                            [](const TileStep::Compute& c) { return validate_step(c.step); }}));
  }
  return {};
}

}  // namespace vorn::codegen
