// The decoder: round trips over the accepted operand ranges, and words no encoder produces.
#include "vorn/exchange/decoder.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "vorn/exchange/encoders.hpp"
#include "vorn/exchange/hex.hpp"
#include "vorn/support/print.hpp"

namespace vorn::exchange {
namespace {

using I = Instruction;

// Encodes, decodes and re-encodes; reports the first instruction that does not survive.
void expect_round_trip(const Instruction& instruction) {
  const auto word = encode(instruction);
  ASSERT_TRUE(word.has_value()) << instruction << ": " << word.error();
  const auto decoded = decode(*word);
  ASSERT_TRUE(decoded.has_value()) << instruction << " gave undecodable " << Hex{*word, 8};
  ASSERT_EQ(*decoded, instruction) << "decoded as " << *decoded;
}

TEST(Decoder, InvertsEveryRegisterForm) {
  for (std::uint8_t a = 0; a < 16; ++a) {
    for (std::uint8_t b = 0; b < 16; ++b) {
      expect_round_trip(I::Add{a, b, static_cast<std::int32_t>(a * 16 + b) - 128});
      expect_round_trip(I::Shl{a, b, static_cast<std::uint16_t>(a * 256 + b)});
      expect_round_trip(I::PutSpecial{static_cast<std::uint8_t>(a * 16 + b), b});
      for (std::uint8_t c = 0; c < 16; ++c) {
        const auto offset = static_cast<std::uint16_t>((a * 256 + b * 16 + c) ^ 0xA5A);
        expect_round_trip(I::Ld32{a, b, c, offset});
        expect_round_trip(I::St32{a, b, c, offset});
      }
    }
    expect_round_trip(I::Br{a});
  }
}

TEST(Decoder, InvertsEveryImmediateOfEachField) {
  for (std::int32_t immediate = -32768; immediate <= 32767; ++immediate) {
    expect_round_trip(I::Add{static_cast<std::uint8_t>(immediate & 15), 7, immediate});
  }
  for (std::uint32_t immediate = 0; immediate < setzi_immediate_limit; ++immediate) {
    expect_round_trip(I::Setzi{static_cast<std::uint8_t>(immediate % 16), immediate});
  }
  for (std::uint32_t target = 0; target < branch_target_limit; target += 4) {
    const auto reg = static_cast<std::uint8_t>((target / 4) % 16);
    expect_round_trip(I::Brz{reg, target});
    expect_round_trip(I::Call{reg, target});
  }
  for (std::uint16_t amount = 0; amount < 0x1000; ++amount) expect_round_trip(I::Shl{1, 2, amount});
  for (std::uint16_t offset = 0; offset < 0x1000; ++offset) {
    expect_round_trip(I::Ld32{3, 4, 5, offset});
    expect_round_trip(I::St32{3, 4, 5, offset});
  }
}

TEST(Decoder, EveryDecodedWordEncodesBackToItself) {
  // Each opcode byte in front of a spread of low 24 bits, including the all-ones pattern.
  for (std::uint32_t opcode = 0; opcode < 256; ++opcode) {
    for (std::uint32_t low = 0; low < 0x1000000; low += 0xFFF1) {
      for (const std::uint32_t bits : {low, 0xFFFFFFU - low}) {
        const std::uint32_t word = (opcode << 24U) | bits;
        const auto decoded = decode(word);
        if (!decoded) continue;
        const auto encoded = encode(*decoded);
        ASSERT_TRUE(encoded.has_value()) << Hex{word, 8} << " decoded as " << *decoded;
        ASSERT_EQ(*encoded, word) << Hex{word, 8} << " decoded as " << *decoded;
      }
    }
  }
}

TEST(Decoder, ReportsWordsNoEncoderProduces) {
  const std::vector<std::uint32_t> unknown{
      0x41800003,  // the exchange entry word, written without an encoder
      0x40C00000,  // the idle exchange row marker
      0x00000000, 0xFFFFFFFF,
      0x43000001,  // branch with a nonzero low field
      0x43008100,  // put-special with bits 14 to 8 set
      0x43010000,  // 0x43 with a second register
      0x42009000,  // shift-left without the 0xA nibble
      0x13080000,  // brz with bit 19 set: a target beyond 2 MiB
      0x18FFFFFF,  // call with bit 19 set
  };
  for (const std::uint32_t word : unknown) {
    EXPECT_FALSE(decode(word).has_value()) << Hex{word, 8} << " decoded as " << *decode(word);
  }
}

TEST(Instruction, RendersAsAssembly) {
  const struct {
    Instruction instruction;
    const char* text;
  } cases[] = {
      {I::Br{0}, "br r0"},
      {I::PutSpecial{167, 15}, "put $167, r15"},
      {I::Setzi{2, 0x70000}, "setzi r2, 0x70000"},
      {I::Add{11, 11, -8}, "add r11, r11, -8"},
      {I::Shl{0, 0, 12}, "shl r0, r0, 12"},
      {I::Brz{0, 0x52070}, "brz r0, 0x52070"},
      {I::Call{10, 0x60000}, "call r10, 0x60000"},
      {I::Ld32{0, 11, 15, 0}, "ld32 r0, [r11 + r15 + 0]"},
      {I::St32{1, 11, 15, 4}, "st32 r1, [r11 + r15 + 4]"},
  };
  for (const auto& c : cases) EXPECT_EQ(support::to_text(c.instruction), c.text);
}

}  // namespace
}  // namespace vorn::exchange
