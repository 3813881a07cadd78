// Emission of a compute step: operand registers, then the call of the kernel.
#include <limits>
#include <string>

#include "registers.hpp"
#include "vorn/codegen/emit/emitter.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen {
namespace {

constexpr std::size_t u8_limit = std::numeric_limits<std::uint8_t>::max();

}  // namespace

std::expected<void, CodegenError> emit_compute(TileCode& code, std::uint16_t tile,
                                               const ComputeStep& compute,
                                               const SymbolTable& symbols) {
  const std::size_t inputs = compute.input_addresses.size();
  if (inputs > u8_limit) return std::unexpected(invalid("kernel input count exceeds u8"));
  if (inputs + detail::first_operand_register > u8_limit) {
    return std::unexpected(invalid("kernel input register overflow"));
  }
  const auto argument_base = static_cast<std::uint8_t>(detail::first_operand_register + inputs);

  VORN_TRY_VOID(code.setzi(detail::parameter_register, compute.output_address));
  // Positions stay below 256 here: the count was tested, and registers above 15 are refused
  // by the encoder long before a position could reach 256.
  for (std::size_t i = 0; i < inputs; ++i) {
    if (i > u8_limit) return std::unexpected(invalid("kernel input count exceeds u8"));
    const auto reg = static_cast<std::uint8_t>(detail::first_operand_register + i);
    VORN_TRY_VOID(code.setzi(reg, compute.input_addresses[i]));
  }
  for (std::size_t j = 0; j < compute.arguments.size(); ++j) {
    if (j > u8_limit) return std::unexpected(invalid("kernel argument count exceeds u8"));
    const auto reg = static_cast<std::uint8_t>(argument_base + j);
    VORN_TRY_VOID(code.setzi(reg, compute.arguments[j]));
  }

  const auto kernel = symbols.find(compute.symbol);
  if (kernel == symbols.end()) {
    return std::unexpected(invalid("tile " + std::to_string(tile) +
                                   " references missing kernel symbol " + compute.symbol));
  }
  return code.call(kernel->second, detail::call_return_register);
}

}  // namespace vorn::codegen
