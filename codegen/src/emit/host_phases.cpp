// Emission of a list of host phases as runs served by the host runner or the repeat helper.
#include <algorithm>
#include <limits>
#include <optional>

#include "registers.hpp"
#include "vorn/codegen/emit/emitter.hpp"
#include "vorn/support/fatal.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen {
namespace {

using Phases = std::vector<HostPhase>;

// The end of the run that starts at `start`: active phases continue while they share the
// starting phase's address, inactive phases whatever their addresses.
std::size_t run_end(const Phases& phases, std::size_t start) {
  const HostPhase& first = phases[start];
  std::size_t end = start + 1;
  while (end < phases.size() && phases[end].active == first.active &&
         (!first.active || phases[end].address == first.address)) {
    ++end;
  }
  return end;
}

std::expected<std::uint32_t, CodegenError> run_count(std::size_t count) {
  if (count > std::numeric_limits<std::uint32_t>::max()) {
    return std::unexpected(invalid("host run overflow"));
  }
  return static_cast<std::uint32_t>(count);
}

std::expected<void, CodegenError> emit_active_run(TileCode& code, const HostPhase& first,
                                                  std::uint32_t count,
                                                  std::optional<std::uint32_t> host_runner) {
  VORN_TRY_VOID(code.setzi(detail::parameter_register, count));
  if (!first.run_table) return std::unexpected(invalid("active host phase has no run table"));
  VORN_TRY_VOID(code.setzi(detail::first_operand_register, *first.run_table));
  VORN_TRY_VOID(code.setzi(detail::phase_address_register, first.address));
  if (!host_runner) support::fatal("active host phase has host runner");
  return code.call(*host_runner, detail::host_return_register);
}

std::expected<void, CodegenError> emit_inactive_run(TileCode& code, const HostPhase& first,
                                                    std::uint32_t count,
                                                    std::optional<std::uint32_t> repeat_helper) {
  VORN_TRY_VOID(code.setzi(detail::parameter_register, count));
  VORN_TRY_VOID(code.setzi(detail::first_operand_register, first.address));
  if (!repeat_helper) support::fatal("inactive host phase has repeat helper");
  return code.call(*repeat_helper, detail::host_return_register);
}

}  // namespace

std::expected<void, CodegenError> emit_host_phases(TileCode& code, const SymbolTable& symbols,
                                                   const Phases& phases) {
  // Both routines are looked up before any word is written, the repeat helper first.
  std::optional<std::uint32_t> repeat_helper;
  std::optional<std::uint32_t> host_runner;
  if (std::ranges::any_of(phases, [](const HostPhase& p) { return !p.active; })) {
    VORN_TRY(repeat_helper, symbol(symbols, repeat_call_symbol));
  }
  if (std::ranges::any_of(phases, [](const HostPhase& p) { return p.active; })) {
    VORN_TRY(host_runner, symbol(symbols, host_run_symbol));
  }
  for (std::size_t start = 0; start < phases.size();) {
    const std::size_t end = run_end(phases, start);
    VORN_TRY(const std::uint32_t count, run_count(end - start));
    const HostPhase& first = phases[start];
    if (first.active) {
      VORN_TRY_VOID(emit_active_run(code, first, count, host_runner));
    } else {
      VORN_TRY_VOID(emit_inactive_run(code, first, count, repeat_helper));
    }
    start = end;
  }
  return {};
}

}  // namespace vorn::codegen
