// TileCode, the growing list of instruction words of one tile.
#pragma once

#include <cstdint>
#include <expected>
#include <ostream>
#include <vector>

#include "vorn/codegen/emit/codegen_error.hpp"

namespace vorn::codegen {

/// The machine code of one tile as it is written. Word i occupies bytes 4i to 4i + 3 counted
/// from the code's base address. Every operation but `instruction` takes its word from a
/// validating encoder; on an encoder's failure it returns `CodegenError::Exchange` and appends
/// nothing more (words of a composite sequence appended before the failure stay).
struct TileCode {
  /// The words written so far, in order.
  std::vector<std::uint32_t> words;

  /// Appends `instruction` unchanged, without any test.
  void instruction(std::uint32_t instruction);
  /// Appends `ld32 destination, [base + delta + offset]`. Error: "ld32 operand".
  [[nodiscard]] std::expected<void, CodegenError> ld32(std::uint8_t destination, std::uint8_t base,
                                                       std::uint8_t delta, std::uint16_t offset);
  /// Appends `st32 source, [base + delta + offset]`. Error: "st32 operand".
  [[nodiscard]] std::expected<void, CodegenError> st32(std::uint8_t source, std::uint8_t base,
                                                       std::uint8_t delta, std::uint16_t offset);
  /// Appends `add destination, source, immediate`. Errors: "add immediate operand",
  /// "add register operand".
  [[nodiscard]] std::expected<void, CodegenError> add_immediate(std::uint8_t destination,
                                                                std::uint8_t source,
                                                                std::int32_t immediate);
  /// Appends a write of `register_number` to special register `special`.
  /// Error: "put source register".
  [[nodiscard]] std::expected<void, CodegenError> put_special(std::uint8_t special,
                                                              std::uint8_t register_number);
  /// Appends a call of the byte address `target`. Error: "call operand" for a register above
  /// 15 or a target that is unaligned or at or above 0x200000.
  [[nodiscard]] std::expected<void, CodegenError> call(std::uint32_t target,
                                                       std::uint8_t return_register);
  /// Appends a branch to the byte address `target` taken when the register is zero.
  /// Error: "brz operand" as for `call`.
  [[nodiscard]] std::expected<void, CodegenError> brz(std::uint8_t register_number,
                                                      std::uint32_t target);
  /// Loads any 32-bit constant: one `setzi` below 0x100000, else `setzi` of the upper 20
  /// bits, a shift left by 12 and an add of the low 12 bits. Error: "setzi operand" for a
  /// register above 15 (nothing is appended then).
  [[nodiscard]] std::expected<void, CodegenError> setzi(std::uint8_t register_number,
                                                        std::uint32_t immediate);
  /// Jumps to any 32-bit byte address through register 0 (overwriting it): the `setzi`
  /// sequence followed by `br r0`. Cannot fail.
  [[nodiscard]] std::expected<void, CodegenError> jump(std::uint32_t target);
  /// The byte address of the next word when the code starts at `base`. Errors (Invalid):
  /// "generated code exceeds u32", "generated code size overflow",
  /// "generated code address overflow", examined in this order.
  [[nodiscard]] std::expected<std::uint32_t, CodegenError> address(std::uint32_t base) const;

  friend bool operator==(const TileCode&, const TileCode&) = default;
};

/// Renders the words in hexadecimal, e.g. `TileCode [0x19050004, 0x43000000]`.
std::ostream& operator<<(std::ostream& out, const TileCode& code);

}  // namespace vorn::codegen
