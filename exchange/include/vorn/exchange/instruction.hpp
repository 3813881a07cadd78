// Instruction, one tile instruction with its operands, as the encoders take and the decoder
// gives them.
#pragma once

#include <cstdint>
#include <expected>
#include <ostream>

#include "vorn/exchange/exchange_error.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::exchange {

/// The cases of `Instruction`, one per encoder; operands in the encoder's argument order.
struct InstructionCases {
  /// Branch to the address held in a register.
  struct Br {
    std::uint8_t register_number;
    bool operator==(const Br&) const = default;
  };
  /// Write a register's value to a special register.
  struct PutSpecial {
    std::uint8_t special;
    std::uint8_t register_number;
    bool operator==(const PutSpecial&) const = default;
  };
  /// Load a 20-bit immediate into a register.
  struct Setzi {
    std::uint8_t register_number;
    std::uint32_t immediate;
    bool operator==(const Setzi&) const = default;
  };
  /// destination = source + a signed 16-bit immediate.
  struct Add {
    std::uint8_t destination;
    std::uint8_t source;
    std::int32_t immediate;
    bool operator==(const Add&) const = default;
  };
  /// destination = source shifted left by `amount`.
  struct Shl {
    std::uint8_t destination;
    std::uint8_t source;
    std::uint16_t amount;
    bool operator==(const Shl&) const = default;
  };
  /// Branch to the byte address `target_address` when the register is zero.
  struct Brz {
    std::uint8_t register_number;
    std::uint32_t target_address;
    bool operator==(const Brz&) const = default;
  };
  /// Call the byte address `target_address`, the return address going to `return_register`.
  struct Call {
    std::uint8_t return_register;
    std::uint32_t target_address;
    bool operator==(const Call&) const = default;
  };
  /// Load the word at base + delta + word_offset into `destination`.
  struct Ld32 {
    std::uint8_t destination;
    std::uint8_t base;
    std::uint8_t delta;
    std::uint16_t word_offset;
    bool operator==(const Ld32&) const = default;
  };
  /// Store `source` at base + delta + word_offset.
  struct St32 {
    std::uint8_t source;
    std::uint8_t base;
    std::uint8_t delta;
    std::uint16_t word_offset;
    bool operator==(const St32&) const = default;
  };
};

/// One instruction of the forms the encoders produce.
struct Instruction
    : InstructionCases,
      support::Tagged<InstructionCases::Br, InstructionCases::PutSpecial, InstructionCases::Setzi,
                      InstructionCases::Add, InstructionCases::Shl, InstructionCases::Brz,
                      InstructionCases::Call, InstructionCases::Ld32, InstructionCases::St32> {
  using Tagged::Tagged;
};

/// The word of `instruction` through its validating encoder; errors are the encoder's.
[[nodiscard]] std::expected<std::uint32_t, ExchangeError> encode(const Instruction& instruction);

/// Renders as assembly: `call r10, 0x60000`, `add r11, r11, -8`, `put $167, r15`,
/// `ld32 r0, [r11 + r15 + 0]`.
std::ostream& operator<<(std::ostream& out, const Instruction& instruction);

}  // namespace vorn::exchange
