// emit, which writes the machine code of one tile, and its building blocks.
#pragma once

#include <cstdint>
#include <expected>
#include <vector>

#include "vorn/codegen/emit/codegen_error.hpp"
#include "vorn/codegen/emit/codegen_options.hpp"
#include "vorn/codegen/emit/generated_program.hpp"
#include "vorn/codegen/emit/host_program.hpp"
#include "vorn/codegen/emit/step_program.hpp"
#include "vorn/codegen/emit/symbols.hpp"
#include "vorn/codegen/emit/tile_code.hpp"

namespace vorn::codegen {

/// The word that opens the code of every exchange step, active or idle.
inline constexpr std::uint32_t exchange_entry_word = 0x41800003;

/// The machine code of one tile: the initialize phases once, then `options.invocations` times
/// the input phases, the exchange prologue (when any exchange is active), the steps with
/// their cycle samples and the output phases, and finally a jump to the completion routine.
/// Errors, in the order met: Invalid "invocation count must be nonzero"; the error of
/// `validate`; Invalid "missing runtime symbol <name>"; the errors of the host phases and
/// compute steps; Exchange "call operand" for an unreachable call target; Exchange "brz
/// operand" when a loop's exit address is unreachable; the address overflows of `TileCode`.
[[nodiscard]] std::expected<GeneratedProgram, CodegenError> emit(const TileProgram& program,
                                                                 const SymbolTable& symbols,
                                                                 const HostProgram& host,
                                                                 const CodegenOptions& options);

/// True for an exchange step whose row is empty or does not start with the idle marker.
[[nodiscard]] bool active_exchange(const TileStep& step) noexcept;

/// Appends the calls that serve `phases`: one host-runner call per run of active phases with
/// one address, one repeat-helper call per run of inactive phases. Errors: "missing runtime
/// symbol ..." (looked up before any word), "host run overflow", "active host phase has no
/// run table", and encoder errors.
[[nodiscard]] std::expected<void, CodegenError> emit_host_phases(
    TileCode& code, const SymbolTable& symbols, const std::vector<HostPhase>& phases);

/// Appends the register loads and the call of one compute step's kernel. Errors: "kernel
/// input count exceeds u8", "kernel input register overflow", "kernel argument count exceeds
/// u8", "tile <tile> references missing kernel symbol <symbol>", and encoder errors (a
/// register above 15 gives "setzi operand").
[[nodiscard]] std::expected<void, CodegenError> emit_compute(TileCode& code, std::uint16_t tile,
                                                             const ComputeStep& compute,
                                                             const SymbolTable& symbols);

/// Appends one cycle sample for `address`. Errors: "missing runtime symbol
/// vorn_stack_static_sample_cycle", "call operand".
[[nodiscard]] std::expected<void, CodegenError> emit_cycle_sample(TileCode& code,
                                                                  const SymbolTable& symbols,
                                                                  std::uint32_t address);

}  // namespace vorn::codegen
