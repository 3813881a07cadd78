// The register and special-register conventions of generated code.
#pragma once

#include <cstdint>

namespace vorn::codegen::detail {

/// Jump targets and the invocation counter.
inline constexpr std::uint8_t scratch_register = 0;
/// First parameter: output address, phase count or sample address.
inline constexpr std::uint8_t parameter_register = 2;
/// First kernel input; the host run table or inactive phase address.
inline constexpr std::uint8_t first_operand_register = 3;
/// The phase address of an active host-phase run.
inline constexpr std::uint8_t phase_address_register = 4;
/// Return register of the barrier call.
inline constexpr std::uint8_t barrier_return_register = 7;
/// Holds the 1 written to special register 166.
inline constexpr std::uint8_t one_register = 8;
/// Return register of the host-phase routines.
inline constexpr std::uint8_t host_return_register = 9;
/// Return register of the calls of exchange rows, kernels and the sampling routine.
inline constexpr std::uint8_t call_return_register = 10;
/// Stack register holding the invocation counter's slot.
inline constexpr std::uint8_t stack_register = 11;
/// Delta of the counter's memory accesses and source of the special-register writes.
inline constexpr std::uint8_t delta_register = 15;

/// Special registers written by the exchange prologue, in this order.
inline constexpr std::uint8_t exchange_special_first = 167;
inline constexpr std::uint8_t exchange_special_second = 164;
inline constexpr std::uint8_t exchange_special_enable = 166;

/// Bytes reserved below the stack register for the invocation counter.
inline constexpr std::int32_t counter_slot_bytes = 8;

}  // namespace vorn::codegen::detail
