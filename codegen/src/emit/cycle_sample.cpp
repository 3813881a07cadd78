// Emission of one cycle sample.
#include "registers.hpp"
#include "vorn/codegen/emit/emitter.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen {

std::expected<void, CodegenError> emit_cycle_sample(TileCode& code, const SymbolTable& symbols,
                                                    std::uint32_t address) {
  VORN_TRY_VOID(code.setzi(detail::parameter_register, address));
  VORN_TRY(const std::uint32_t sampler, symbol(symbols, sample_cycle_symbol));
  return code.call(sampler, detail::call_return_register);
}

}  // namespace vorn::codegen
