// Disassembly of generated code, one word a line.
#include "vorn/codegen/emit/disassembly.hpp"

#include <sstream>

#include "render.hpp"
#include "vorn/codegen/emit/emitter.hpp"
#include "vorn/exchange/decoder.hpp"
#include "vorn/exchange/hex.hpp"

namespace vorn::codegen {
namespace {

using exchange::Hex;

void print_word(std::ostream& out, std::uint32_t word) {
  if (word == exchange_entry_word) {
    out << "exchange-entry";
  } else if (const auto instruction = exchange::decode(word)) {
    out << *instruction;
  } else {
    out << ".word " << Hex{word, 8};
  }
}

}  // namespace

void disassemble(std::ostream& out, const GeneratedProgram& program, std::uint32_t code_address) {
  const std::vector<std::uint8_t>& bytes = program.bytes;
  // Addresses are counted in 64 bits so that a listing never wraps around.
  std::uint64_t address = code_address;
  std::size_t at = 0;
  for (; at + 4 <= bytes.size(); at += 4, address += 4) {
    const std::uint32_t word = std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8U |
                               std::uint32_t{bytes[at + 2]} << 16U |
                               std::uint32_t{bytes[at + 3]} << 24U;
    out << Hex{address, 8} << "  " << Hex{word, 8} << "  ";
    print_word(out, word);
    out << '\n';
  }
  for (; at < bytes.size(); ++at, ++address) {
    out << Hex{address, 8} << "  .byte " << Hex{bytes[at], 2} << '\n';
  }
  for (const PlacedExchangeRow& row : program.exchange_rows) {
    out << "row " << Hex{row.address, 8} << "  ";
    detail::print_words(out, row.words) << '\n';
  }
}

std::string disassembly(const GeneratedProgram& program, std::uint32_t code_address) {
  std::ostringstream out;
  disassemble(out, program, code_address);
  return std::move(out).str();
}

}  // namespace vorn::codegen
