// The symbol table of emission and the runtime routines that generated code calls by name.
#pragma once

#include <cstdint>
#include <expected>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <string_view>

#include "vorn/codegen/emit/codegen_error.hpp"

namespace vorn::codegen {

/// The ordering of symbol names; it also accepts `std::string_view` keys for lookups.
/// Being a type of this namespace, it lets `SymbolTable` find its `operator<<` here.
struct SymbolOrder : std::less<> {};

/// Symbol names to byte addresses: the runtime routines and the kernels of compute steps.
using SymbolTable = std::map<std::string, std::uint32_t, SymbolOrder>;

/// Where the tile program ends; reached by a jump, so its address may be any value.
inline constexpr std::string_view complete_symbol = "vorn_stack_static_complete";
/// Barrier called (return register 7) before every active exchange.
inline constexpr std::string_view worker_barrier_symbol = "vorn_stack_static_worker_barrier";
/// Cycle sampling routine (return register 10, sample address in register 2).
inline constexpr std::string_view sample_cycle_symbol = "vorn_stack_static_sample_cycle";
/// Host runner of a run of active host phases (return register 9).
inline constexpr std::string_view host_run_symbol = "vorn_stack_static_host_run";
/// Repeat helper of a run of inactive host phases (return register 9).
inline constexpr std::string_view repeat_call_symbol = "vorn_stack_static_repeat_call";

/// The address of the runtime routine `name`.
/// Error: Invalid "missing runtime symbol <name>" when the table has no such entry.
[[nodiscard]] std::expected<std::uint32_t, CodegenError> symbol(const SymbolTable& symbols,
                                                                std::string_view name);

/// Renders as `{"gemm": 0x51000, ...}`.
std::ostream& operator<<(std::ostream& out, const SymbolTable& symbols);

}  // namespace vorn::codegen
