// The validating encoders of the tile instructions that generated code uses.
//
// Every encoder tests its operands against their fields and returns the instruction word,
// or `ExchangeError::Schedule` naming the operand class that did not fit. No operand is
// clamped, masked or wrapped. Register operands occupy 4-bit fields (0 to 15).
#pragma once

#include <cstdint>
#include <expected>

#include "vorn/exchange/exchange_error.hpp"

namespace vorn::exchange {

/// Exclusive upper bound of a code address that `call` and `brz` can reach (2 MiB).
inline constexpr std::uint32_t branch_target_limit = 0x200000;
/// Exclusive upper bound of the immediate of `setzi` (20 bits).
inline constexpr std::uint32_t setzi_immediate_limit = 0x100000;

/// `br register`: branch to the address held in `register_number`.
/// Error: "branch register" when the register is above 15.
[[nodiscard]] std::expected<std::uint32_t, ExchangeError> encode_br_m(std::uint8_t register_number);

/// `setzi register, immediate`: load a 20-bit immediate.
/// Error: "setzi operand" when the register is above 15 or the immediate is 0x100000 or more.
[[nodiscard]] std::expected<std::uint32_t, ExchangeError> encode_setzi_m(
    std::uint8_t register_number, std::uint32_t immediate);

/// Put-special: write `register_number`'s value to special register `special` (any 0 to 255).
/// Error: "put source register" when the register is above 15.
[[nodiscard]] std::expected<std::uint32_t, ExchangeError> encode_put_special_m(
    std::uint8_t special, std::uint8_t register_number);

/// `add destination, source, immediate` with a signed 16-bit immediate.
/// Errors, in this order: "add immediate operand" when the immediate lies outside -32768 to
/// 32767; "add register operand" when either register is above 15.
[[nodiscard]] std::expected<std::uint32_t, ExchangeError> encode_add_m_immediate(
    std::uint8_t destination, std::uint8_t source, std::int32_t immediate);

/// `brz register, target`: branch to the byte address `target_address` if the register is 0.
/// Error: "brz operand" for a register above 15 or a target that is unaligned or at or
/// above 0x200000.
[[nodiscard]] std::expected<std::uint32_t, ExchangeError> encode_brz_m_immediate(
    std::uint8_t register_number, std::uint32_t target_address);

/// `shl destination, source, amount`: shift left by a 12-bit amount.
/// Error: "shift-left operand" for a register above 15 or an amount of 4096 or more.
[[nodiscard]] std::expected<std::uint32_t, ExchangeError> encode_shl_m_immediate(
    std::uint8_t destination, std::uint8_t source, std::uint16_t immediate);

/// `call return_register, target`: call the byte address `target_address`.
/// Error: "call operand" for a register above 15 or a target that is unaligned or at or
/// above 0x200000.
[[nodiscard]] std::expected<std::uint32_t, ExchangeError> encode_call_m_immediate(
    std::uint8_t return_register, std::uint32_t target_address);

/// `ld32 destination, [base + delta + word_offset]`: load a 32-bit word.
/// Error: "ld32 operand" for a register above 15 or a word offset of 4096 or more.
[[nodiscard]] std::expected<std::uint32_t, ExchangeError> encode_ld32_m_immediate(
    std::uint8_t destination, std::uint8_t base, std::uint8_t delta, std::uint16_t word_offset);

/// `st32 source, [base + delta + word_offset]`: store a 32-bit word.
/// Error: "st32 operand" for a register above 15 or a word offset of 4096 or more.
[[nodiscard]] std::expected<std::uint32_t, ExchangeError> encode_st32_m_immediate(
    std::uint8_t source, std::uint8_t base, std::uint8_t delta, std::uint16_t word_offset);

/// The `br` word without any test; only for operands that `encode_br_m` accepts.
[[nodiscard]] std::uint32_t br_m(std::uint8_t register_number) noexcept;

/// The `setzi` word without any test; only for operands that `encode_setzi_m` accepts.
[[nodiscard]] std::uint32_t setzi_m(std::uint8_t register_number, std::uint32_t immediate) noexcept;

}  // namespace vorn::exchange
