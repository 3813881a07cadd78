// Decoding of instruction words into instruction records.
#include "vorn/exchange/decoder.hpp"

namespace vorn::exchange {
namespace {

struct Fields {
  std::uint8_t opcode;
  std::uint8_t first;    // bits 23 to 20
  std::uint8_t second;   // bits 19 to 16
  std::uint8_t third;    // bits 15 to 12
  std::uint16_t low12;   // bits 11 to 0
  std::uint16_t low16;   // bits 15 to 0
  std::uint32_t low20;   // bits 19 to 0
};

Fields split(std::uint32_t word) {
  return Fields{static_cast<std::uint8_t>(word >> 24U),
                static_cast<std::uint8_t>((word >> 20U) & 0xFU),
                static_cast<std::uint8_t>((word >> 16U) & 0xFU),
                static_cast<std::uint8_t>((word >> 12U) & 0xFU),
                static_cast<std::uint16_t>(word & 0xFFFU),
                static_cast<std::uint16_t>(word & 0xFFFFU),
                word & 0xFFFFFU};
}

// Branch and call targets are word addresses below 0x80000, so bit 19 stays clear.
constexpr std::uint32_t word_target_limit = 0x80000;

std::optional<Instruction> decode_0x43(const Fields& f) {
  using I = Instruction;
  if (f.low20 == 0) return I::Br{f.first};
  if ((f.low20 & 0xFFF00U) == 0x08000U) {
    return I::PutSpecial{static_cast<std::uint8_t>(f.low20 & 0xFFU), f.first};
  }
  return std::nullopt;
}

}  // namespace

std::optional<Instruction> decode(std::uint32_t word) noexcept {
  using I = Instruction;
  const Fields f = split(word);
  switch (f.opcode) {
    case 0x43:
      return decode_0x43(f);
    case 0x19:
      return I::Setzi{f.first, f.low20};
    case 0x22:
      return I::Add{f.second, f.first, static_cast<std::int16_t>(f.low16)};
    case 0x42:
      if (f.third != 0xA) return std::nullopt;
      return I::Shl{f.second, f.first, f.low12};
    case 0x13:
      if (f.low20 >= word_target_limit) return std::nullopt;
      return I::Brz{f.first, f.low20 * 4};
    case 0x18:
      if (f.low20 >= word_target_limit) return std::nullopt;
      return I::Call{f.first, f.low20 * 4};
    case 0x01:
      return I::Ld32{f.second, f.first, f.third, f.low12};
    case 0x4F:
      return I::St32{f.second, f.first, f.third, f.low12};
    default:
      return std::nullopt;
  }
}

}  // namespace vorn::exchange
