// The validating encoders: worked words, each accepting and each rejecting bound, and the
// order in which operands are tested.
#include "vorn/exchange/encoders.hpp"

#include <gtest/gtest.h>

#include <expected>

#include "vorn/exchange/hex.hpp"
#include "vorn/support/print.hpp"

namespace vorn::exchange {
namespace {

using Result = std::expected<std::uint32_t, ExchangeError>;

std::string describe(const Result& result) {
  if (result.has_value()) return support::to_text(Hex{*result, 8});
  return support::to_text(result.error());
}

Result fails(std::string_view text) {
  return std::unexpected(ExchangeError(ExchangeError::Schedule{text}));
}

struct Case {
  const char* label;
  Result actual;
  Result expected;
};

void check_cases(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.actual, c.expected) << describe(c.actual) << " vs " << describe(c.expected);
  }
}

TEST(Encoders, ProduceTheWorkedWords) {
  check_cases({
      {"br r0", encode_br_m(0), 0x43000000},
      {"br r15", encode_br_m(15), 0x43F00000},
      {"setzi r2, 0x70000", encode_setzi_m(2, 0x70000), 0x19270000},
      {"call r10, 0x60000", encode_call_m_immediate(10, 0x60000), 0x18A18000},
      {"add r11, r11, -8", encode_add_m_immediate(11, 11, -8), 0x22BBFFF8},
      {"add r0, r0, -1", encode_add_m_immediate(0, 0, -1), 0x2200FFFF},
      {"add r1, r2, 8 (destination in bits 19-16)", encode_add_m_immediate(1, 2, 8), 0x22210008},
      {"shl r0, r0, 12", encode_shl_m_immediate(0, 0, 12), 0x4200A00C},
      {"shl r1, r2 (destination in bits 19-16)", encode_shl_m_immediate(1, 2, 12), 0x4221A00C},
      {"ld32 r0, [r11 + r15 + 0]", encode_ld32_m_immediate(0, 11, 15, 0), 0x01B0F000},
      {"ld32 r1, [r2 + r3 + 4]", encode_ld32_m_immediate(1, 2, 3, 4), 0x01213004},
      {"st32 r0, [r11 + r15 + 0]", encode_st32_m_immediate(0, 11, 15, 0), 0x4FB0F000},
      {"st32 r1, [r2 + r3 + 4]", encode_st32_m_immediate(1, 2, 3, 4), 0x4F213004},
      {"put $167, r15", encode_put_special_m(167, 15), 0x43F080A7},
      {"brz r0, 0x52070", encode_brz_m_immediate(0, 0x52070), 0x1301481C},
      {"raw br", br_m(3), 0x43300000},
      {"raw setzi", setzi_m(5, 0xFFFFF), 0x195FFFFF},
  });
}

TEST(Encoders, AcceptTheLastValueOfEachFieldAndRejectTheNext) {
  check_cases({
      {"br r15", encode_br_m(15), 0x43F00000},
      {"br r16", encode_br_m(16), fails("branch register")},
      {"br r255", encode_br_m(255), fails("branch register")},
      {"setzi r15, 0xFFFFF", encode_setzi_m(15, 0xFFFFF), 0x19FFFFFF},
      {"setzi r15, 0x100000", encode_setzi_m(15, 0x100000), fails("setzi operand")},
      {"setzi r16, 0", encode_setzi_m(16, 0), fails("setzi operand")},
      {"setzi r0, max", encode_setzi_m(0, 0xFFFFFFFF), fails("setzi operand")},
      {"put $255, r0", encode_put_special_m(255, 0), 0x430080FF},
      {"put $0, r16", encode_put_special_m(0, 16), fails("put source register")},
      {"add 32767", encode_add_m_immediate(3, 4, 32767), 0x22437FFF},
      {"add -32768", encode_add_m_immediate(3, 4, -32768), 0x22438000},
      {"add 32768", encode_add_m_immediate(3, 4, 32768), fails("add immediate operand")},
      {"add -32769", encode_add_m_immediate(3, 4, -32769), fails("add immediate operand")},
      {"add r15, r15", encode_add_m_immediate(15, 15, 0), 0x22FF0000},
      {"add destination 16", encode_add_m_immediate(16, 0, 0), fails("add register operand")},
      {"add source 16", encode_add_m_immediate(0, 16, 0), fails("add register operand")},
      {"add immediate tested first", encode_add_m_immediate(16, 0, 100000),
       fails("add immediate operand")},
      {"call 0x1FFFFC", encode_call_m_immediate(10, 0x1FFFFC), 0x18A7FFFF},
      {"call 0x200000", encode_call_m_immediate(10, 0x200000), fails("call operand")},
      {"call 2", encode_call_m_immediate(10, 2), fails("call operand")},
      {"call r16", encode_call_m_immediate(16, 0), fails("call operand")},
      {"brz 0x1FFFFC", encode_brz_m_immediate(10, 0x1FFFFC), 0x13A7FFFF},
      {"brz 0x200000", encode_brz_m_immediate(10, 0x200000), fails("brz operand")},
      {"brz 2", encode_brz_m_immediate(10, 2), fails("brz operand")},
      {"brz r16", encode_brz_m_immediate(16, 0), fails("brz operand")},
      {"shl 4095", encode_shl_m_immediate(1, 1, 4095), 0x4211AFFF},
      {"shl 4096", encode_shl_m_immediate(1, 1, 4096), fails("shift-left operand")},
      {"shl destination 16", encode_shl_m_immediate(16, 1, 0), fails("shift-left operand")},
      {"shl source 16", encode_shl_m_immediate(1, 16, 0), fails("shift-left operand")},
      {"ld32 offset 4095", encode_ld32_m_immediate(15, 15, 15, 4095), 0x01FFFFFF},
      {"ld32 offset 4096", encode_ld32_m_immediate(0, 0, 0, 4096), fails("ld32 operand")},
      {"ld32 destination 16", encode_ld32_m_immediate(16, 0, 0, 0), fails("ld32 operand")},
      {"ld32 base 16", encode_ld32_m_immediate(0, 16, 0, 0), fails("ld32 operand")},
      {"ld32 delta 16", encode_ld32_m_immediate(0, 0, 16, 0), fails("ld32 operand")},
      {"st32 offset 4095", encode_st32_m_immediate(15, 15, 15, 4095), 0x4FFFFFFF},
      {"st32 offset 4096", encode_st32_m_immediate(0, 0, 0, 4096), fails("st32 operand")},
      {"st32 source 16", encode_st32_m_immediate(16, 0, 0, 0), fails("st32 operand")},
      {"st32 base 16", encode_st32_m_immediate(0, 16, 0, 0), fails("st32 operand")},
      {"st32 delta 16", encode_st32_m_immediate(0, 0, 16, 0), fails("st32 operand")},
  });
}

}  // namespace
}  // namespace vorn::exchange
