// Renderings of the emission result.
#include "vorn/codegen/emit/generated_program.hpp"

#include <array>
#include <string_view>

#include "render.hpp"
#include "vorn/exchange/hex.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen {

std::ostream& operator<<(std::ostream& out, const PlacedExchangeRow& row) {
  out << "PlacedExchangeRow { address: " << exchange::Hex{row.address} << ", words: ";
  return detail::print_words(out, row.words) << " }";
}

std::ostream& operator<<(std::ostream& out, const GeneratedProgram& program) {
  constexpr std::array<char, 16> digits{'0', '1', '2', '3', '4', '5', '6', '7',
                                        '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  out << "GeneratedProgram { bytes: [";
  std::string_view separator;
  for (const std::uint8_t byte : program.bytes) {
    out << separator << digits[byte >> 4U] << digits[byte & 0xFU];
    separator = " ";
  }
  out << "], exchange_rows: ";
  return support::print_list(out, program.exchange_rows) << " }";
}

}  // namespace vorn::codegen
