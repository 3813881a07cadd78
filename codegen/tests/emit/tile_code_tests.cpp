// TileCode: single instructions, the constant and jump sequences, and code addresses.
#include "vorn/codegen/emit/tile_code.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "emit_fixtures.hpp"
#include "src/emit/code_address.hpp"

namespace vorn::codegen {
namespace {

using testing::expect_invalid;
using testing::expect_schedule;
using Words = std::vector<std::uint32_t>;

TEST(TileCode, LoadsConstantsInOneOrThreeWords) {
  const struct {
    std::uint8_t register_number;
    std::uint32_t immediate;
    Words words;
  } cases[] = {
      {5, 0, {0x19500000}},
      {5, 0xFFFFF, {0x195FFFFF}},
      {5, 0x100000, {0x19500100, 0x4255A00C, 0x22550000}},
      {0, 0x12345678, {0x19012345, 0x4200A00C, 0x22000678}},
      {0, 0xFFFFFFFF, {0x190FFFFF, 0x4200A00C, 0x22000FFF}},
      {15, 0x80000000, {0x19F80000, 0x42FFA00C, 0x22FF0000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.immediate);
    TileCode code;
    ASSERT_TRUE(code.setzi(c.register_number, c.immediate).has_value());
    EXPECT_EQ(code.words, c.words);
  }
}

TEST(TileCode, RefusesARegisterAbove15BeforeAppendingAnything) {
  for (const std::uint32_t immediate : {0U, 0xFFFFFU, 0x100000U, 0xFFFFFFFFU}) {
    TileCode code;
    expect_schedule(code.setzi(16, immediate), "setzi operand");
    EXPECT_TRUE(code.words.empty());
  }
}

TEST(TileCode, JumpsToAnyAddressThroughRegisterZero) {
  TileCode code;
  ASSERT_TRUE(code.jump(0x50004).has_value());
  EXPECT_EQ(code.words, (Words{0x19050004, 0x43000000}));
  code.words.clear();
  ASSERT_TRUE(code.jump(0xFFFFFFFF).has_value());
  EXPECT_EQ(code.words, (Words{0x190FFFFF, 0x4200A00C, 0x22000FFF, 0x43000000}));
}

TEST(TileCode, AppendsOneEncoderWordPerInstruction) {
  TileCode code;
  code.instruction(0x41800003);
  ASSERT_TRUE(code.call(0x60000, 10).has_value());  // target first, return register second
  ASSERT_TRUE(code.brz(0, 0x52070).has_value());
  ASSERT_TRUE(code.ld32(0, 11, 15, 0).has_value());
  ASSERT_TRUE(code.st32(0, 11, 15, 0).has_value());
  ASSERT_TRUE(code.add_immediate(11, 11, -8).has_value());
  ASSERT_TRUE(code.put_special(167, 15).has_value());
  EXPECT_EQ(code.words, (Words{0x41800003, 0x18A18000, 0x1301481C, 0x01B0F000, 0x4FB0F000,
                               0x22BBFFF8, 0x43F080A7}));
}

TEST(TileCode, WrapsEncoderErrorsUnchangedAndAppendsNothing) {
  TileCode code;
  expect_schedule(code.call(0x200000, 10), "call operand");
  expect_schedule(code.call(0x60002, 10), "call operand");
  expect_schedule(code.brz(0, 6), "brz operand");
  expect_schedule(code.ld32(0, 11, 16, 0), "ld32 operand");
  expect_schedule(code.st32(0, 11, 15, 4096), "st32 operand");
  expect_schedule(code.add_immediate(0, 0, 40000), "add immediate operand");
  expect_schedule(code.add_immediate(0, 16, 1), "add register operand");
  expect_schedule(code.put_special(1, 16), "put source register");
  EXPECT_TRUE(code.words.empty());
}

TEST(TileCode, GivesTheAddressOfTheNextWord) {
  TileCode code;
  EXPECT_EQ(code.address(0x52000), 0x52000U);
  EXPECT_EQ(code.address(0xFFFFFFFC), 0xFFFFFFFCU);
  code.words.assign(9, 0);
  EXPECT_EQ(code.address(0x52000), 0x52024U);
  code.words.assign(1, 0);
  expect_invalid(code.address(0xFFFFFFFC), "generated code address overflow");
}

TEST(CodeAddress, ReportsEachOverflowInItsOrder) {
  constexpr std::size_t max_u32 = std::numeric_limits<std::uint32_t>::max();
  EXPECT_EQ(detail::code_address(0x3FFFFFFF, 0), 0xFFFFFFFCU);
  EXPECT_EQ(detail::code_address(0x3FFFFFFE, 4), 0xFFFFFFFCU);
  expect_invalid(detail::code_address(0x3FFFFFFF, 4), "generated code address overflow");
  expect_invalid(detail::code_address(0x40000000, 0), "generated code size overflow");
  expect_invalid(detail::code_address(max_u32, 0), "generated code size overflow");
  expect_invalid(detail::code_address(max_u32 + 1, 0), "generated code exceeds u32");
  expect_invalid(detail::code_address(std::numeric_limits<std::size_t>::max(), 0),
                 "generated code exceeds u32");
}

}  // namespace
}  // namespace vorn::codegen
