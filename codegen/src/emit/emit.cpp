// emit: the machine code of one tile from its step program, host phases and options.
#include <algorithm>
#include <optional>

#include "code_address.hpp"
#include "registers.hpp"
#include "vorn/codegen/emit/emitter.hpp"
#include "vorn/codegen/emit/validate.hpp"
#include "vorn/exchange/encoders.hpp"
#include "vorn/support/fatal.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen {
namespace {

using detail::scratch_register;
using detail::stack_register;
using detail::delta_register;

// Reserves the counter's slot below the stack register and stores the invocation count.
std::expected<void, CodegenError> emit_invocation_prologue(TileCode& code,
                                                           std::uint32_t invocations) {
  VORN_TRY_VOID(code.add_immediate(stack_register, stack_register, -detail::counter_slot_bytes));
  VORN_TRY_VOID(code.setzi(scratch_register, invocations));
  return code.st32(scratch_register, stack_register, delta_register, 0);
}

std::expected<void, CodegenError> emit_exchange_prologue(TileCode& code) {
  VORN_TRY_VOID(code.put_special(detail::exchange_special_first, delta_register));
  VORN_TRY_VOID(code.put_special(detail::exchange_special_second, delta_register));
  VORN_TRY_VOID(code.setzi(detail::one_register, 1));
  return code.put_special(detail::exchange_special_enable, detail::one_register);
}

std::expected<void, CodegenError> emit_sample_if(TileCode& code, const SymbolTable& symbols,
                                                 const std::optional<std::uint32_t>& address) {
  if (!address) return {};
  return emit_cycle_sample(code, symbols, *address);
}

std::expected<void, CodegenError> emit_exchange(TileCode& code, const SymbolTable& symbols,
                                                const ExchangeStep& step,
                                                const std::optional<std::uint32_t>& barrier,
                                                std::vector<PlacedExchangeRow>& rows) {
  VORN_TRY_VOID(emit_sample_if(code, symbols, step.profile.before));
  code.instruction(exchange_entry_word);
  if (active_exchange(step)) {
    if (!barrier) support::fatal("active exchange has barrier");
    VORN_TRY_VOID(code.call(*barrier, detail::barrier_return_register));
  }
  VORN_TRY_VOID(code.call(step.address, detail::call_return_register));
  VORN_TRY_VOID(emit_sample_if(code, symbols, step.profile.after));
  rows.push_back(PlacedExchangeRow{step.address, step.row});
  return {};
}

std::expected<void, CodegenError> emit_compute_step(TileCode& code, std::uint16_t tile,
                                                   const SymbolTable& symbols,
                                                   const ComputeStep& step) {
  VORN_TRY_VOID(emit_sample_if(code, symbols, step.profile.before));
  VORN_TRY_VOID(emit_compute(code, tile, step, symbols));
  return emit_sample_if(code, symbols, step.profile.after);
}

std::expected<void, CodegenError> emit_steps(TileCode& code, const TileProgram& program,
                                             const SymbolTable& symbols,
                                             const std::optional<std::uint32_t>& barrier,
                                             std::vector<PlacedExchangeRow>& rows) {
  for (const TileStep& step : program.steps) {
    VORN_TRY_VOID(step.visit(support::overloaded{
        [&](const TileStep::Exchange& e) {
          return emit_exchange(code, symbols, e.step, barrier, rows);
        },
        [&](const TileStep::Compute& c) {
          return emit_compute_step(code, program.tile, symbols, c.step);
        },
    }));
  }
  return {};
}

// Counts the invocation down, loops back to `invocation_start` while it is nonzero and
// releases the counter's slot once it reaches zero.
std::expected<void, CodegenError> emit_invocation_epilogue(TileCode& code,
                                                           std::uint32_t code_address,
                                                           std::uint32_t invocation_start) {
  VORN_TRY_VOID(code.ld32(scratch_register, stack_register, delta_register, 0));
  VORN_TRY_VOID(code.add_immediate(scratch_register, scratch_register, -1));
  VORN_TRY_VOID(code.st32(scratch_register, stack_register, delta_register, 0));
  // The exit branch's target is known only after the jump back; it is written afterwards.
  const std::size_t exit_branch = code.words.size();
  VORN_TRY_VOID(code.brz(scratch_register, 0));
  VORN_TRY_VOID(code.jump(invocation_start));
  VORN_TRY(const std::uint32_t exit_address, code.address(code_address));
  VORN_TRY(const std::uint32_t exit_word,
           exchange::encode_brz_m_immediate(scratch_register, exit_address));
  code.words[exit_branch] = exit_word;
  return code.add_immediate(stack_register, stack_register, detail::counter_slot_bytes);
}

std::vector<std::uint8_t> serialise(const std::vector<std::uint32_t>& words) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(words.size() * 4);
  for (const std::uint32_t word : words) {
    for (unsigned shift = 0; shift < 32; shift += 8) {
      bytes.push_back(static_cast<std::uint8_t>(word >> shift));
    }
  }
  return bytes;
}

}  // namespace

bool active_exchange(const TileStep& step) noexcept {
  const auto* exchange = step.get_if<TileStep::Exchange>();
  if (exchange == nullptr) return false;
  const auto& row = exchange->step.row;
  return row.empty() || row.front() != idle_row_marker;
}

std::expected<GeneratedProgram, CodegenError> emit(const TileProgram& program,
                                                   const SymbolTable& symbols,
                                                   const HostProgram& host,
                                                   const CodegenOptions& options) {
  if (options.invocations == 0) {
    return std::unexpected(invalid("invocation count must be nonzero"));
  }
  VORN_TRY_VOID(validate(program));
  VORN_TRY(const std::uint32_t completion, symbol(symbols, complete_symbol));

  TileCode code;
  VORN_TRY_VOID(emit_host_phases(code, symbols, host.initialize));
  const bool looping = options.invocations > 1;
  if (looping) VORN_TRY_VOID(emit_invocation_prologue(code, options.invocations));
  VORN_TRY(const std::uint32_t invocation_start, code.address(options.code_address));

  VORN_TRY_VOID(emit_host_phases(code, symbols, host.inputs));
  const bool exchanges_active = std::ranges::any_of(program.steps, active_exchange);
  if (exchanges_active) VORN_TRY_VOID(emit_exchange_prologue(code));
  VORN_TRY_VOID(emit_sample_if(code, symbols, options.initial_profile_address));
  std::optional<std::uint32_t> barrier;
  if (exchanges_active) {
    VORN_TRY(barrier, symbol(symbols, worker_barrier_symbol));
  }
  std::vector<PlacedExchangeRow> rows;
  VORN_TRY_VOID(emit_steps(code, program, symbols, barrier, rows));
  VORN_TRY_VOID(emit_sample_if(code, symbols, options.final_profile_address));
  VORN_TRY_VOID(emit_host_phases(code, symbols, host.outputs));

  if (looping) {
    VORN_TRY_VOID(emit_invocation_epilogue(code, options.code_address, invocation_start));
  }
  VORN_TRY_VOID(code.jump(completion));
  // The last word must have an address too: code that would run past the end of the 32-bit
  // address space is refused rather than returned.
  VORN_TRY_VOID(detail::code_address(code.words.size() - 1, options.code_address));

  return GeneratedProgram{serialise(code.words), std::move(rows)};
}

}  // namespace vorn::codegen
