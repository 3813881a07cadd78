// Renderings of ExchangeError and of hexadecimal numbers.
#include "vorn/exchange/exchange_error.hpp"

#include <gtest/gtest.h>

#include "vorn/exchange/hex.hpp"
#include "vorn/support/print.hpp"

namespace vorn::exchange {
namespace {

TEST(ExchangeError, RendersCaseNameAndPayload) {
  using E = ExchangeError;
  const struct {
    ExchangeError error;
    const char* text;
  } cases[] = {
      {E::Tile{3}, "Tile(3)"},
      {E::DuplicateTile{}, "DuplicateTile"},
      {E::Count{70000}, "Count(70000)"},
      {E::ReceiverSet{}, "ReceiverSet"},
      {E::Schedule{"call operand"}, "Schedule(\"call operand\")"},
      {E::Address{0x60000}, "Address(0x60000)"},
      {E::HostPacket{}, "HostPacket"},
  };
  for (const auto& c : cases) EXPECT_EQ(support::to_text(c.error), c.text);
}

TEST(ExchangeError, ComparesTextsByContent) {
  // Two literals with equal text compare equal whether or not the compiler merged them.
  static constexpr char brz_text[] = "brz operand";
  EXPECT_EQ(ExchangeError(ExchangeError::Schedule{"brz operand"}),
            ExchangeError(ExchangeError::Schedule{brz_text}));
  EXPECT_NE(ExchangeError(ExchangeError::Schedule{"brz operand"}),
            ExchangeError(ExchangeError::Schedule{"call operand"}));
  EXPECT_NE(ExchangeError(ExchangeError::Count{1}), ExchangeError(ExchangeError::Address{1}));
}

TEST(Hex, PadsToTheRequestedDigitsAndLeavesTheStreamAlone) {
  EXPECT_EQ(support::to_text(Hex{0}), "0x0");
  EXPECT_EQ(support::to_text(Hex{0x18A18000}), "0x18A18000");
  EXPECT_EQ(support::to_text(Hex{0x52000, 8}), "0x00052000");
  EXPECT_EQ(support::to_text(Hex{0xFFFFFFFFFFFFFFFF}), "0xFFFFFFFFFFFFFFFF");
  std::ostringstream out;
  out << Hex{255} << ' ' << 255;
  EXPECT_EQ(out.str(), "0xFF 255");
}

}  // namespace
}  // namespace vorn::exchange
