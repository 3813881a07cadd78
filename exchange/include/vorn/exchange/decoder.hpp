// The decoder of instruction words, the inverse of the encoders.
#pragma once

#include <cstdint>
#include <optional>

#include "vorn/exchange/instruction.hpp"

namespace vorn::exchange {

/// The instruction whose encoder produces `word`, or nothing when no encoder produces it
/// (an unknown opcode byte, or a known one with bits that its form keeps zero or fixed).
/// For every decoded word, `encode(*decode(word)) == word`; for every accepted instruction,
/// `decode(*encode(instruction)) == instruction`.
[[nodiscard]] std::optional<Instruction> decode(std::uint32_t word) noexcept;

}  // namespace vorn::exchange
