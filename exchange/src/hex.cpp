// Hexadecimal rendering of numbers.
#include "vorn/exchange/hex.hpp"

#include <array>

namespace vorn::exchange {

std::ostream& operator<<(std::ostream& out, Hex hex) {
  constexpr std::array<char, 16> digit_chars{'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  std::array<char, 16> digits{};
  int count = 0;
  std::uint64_t rest = hex.value;
  do {
    digits[static_cast<std::size_t>(count++)] = digit_chars[rest & 0xFU];
    rest >>= 4U;
  } while (rest != 0);
  out << "0x";
  for (int pad = count; pad < hex.digits && pad < 16; ++pad) out << '0';
  while (count > 0) out << digits[static_cast<std::size_t>(--count)];
  return out;
}

}  // namespace vorn::exchange
