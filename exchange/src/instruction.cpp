// Encoding and rendering of instruction records.
#include "vorn/exchange/instruction.hpp"

#include "vorn/exchange/encoders.hpp"
#include "vorn/exchange/hex.hpp"

namespace vorn::exchange {
namespace {

struct Reg {
  std::uint8_t number;
};
std::ostream& operator<<(std::ostream& out, Reg reg) { return out << 'r' << unsigned{reg.number}; }

void print_memory(std::ostream& out, std::uint8_t base, std::uint8_t delta,
                  std::uint16_t word_offset) {
  out << '[' << Reg{base} << " + " << Reg{delta} << " + " << word_offset << ']';
}

}  // namespace

std::expected<std::uint32_t, ExchangeError> encode(const Instruction& instruction) {
  using I = Instruction;
  return instruction.visit(support::overloaded{
      [](const I::Br& i) { return encode_br_m(i.register_number); },
      [](const I::PutSpecial& i) { return encode_put_special_m(i.special, i.register_number); },
      [](const I::Setzi& i) { return encode_setzi_m(i.register_number, i.immediate); },
      [](const I::Add& i) { return encode_add_m_immediate(i.destination, i.source, i.immediate); },
      [](const I::Shl& i) { return encode_shl_m_immediate(i.destination, i.source, i.amount); },
      [](const I::Brz& i) { return encode_brz_m_immediate(i.register_number, i.target_address); },
      [](const I::Call& i) {
        return encode_call_m_immediate(i.return_register, i.target_address);
      },
      [](const I::Ld32& i) {
        return encode_ld32_m_immediate(i.destination, i.base, i.delta, i.word_offset);
      },
      [](const I::St32& i) {
        return encode_st32_m_immediate(i.source, i.base, i.delta, i.word_offset);
      },
  });
}

std::ostream& operator<<(std::ostream& out, const Instruction& instruction) {
  using I = Instruction;
  instruction.visit(support::overloaded{
      [&](const I::Br& i) { out << "br " << Reg{i.register_number}; },
      [&](const I::PutSpecial& i) {
        out << "put $" << unsigned{i.special} << ", " << Reg{i.register_number};
      },
      [&](const I::Setzi& i) {
        out << "setzi " << Reg{i.register_number} << ", " << Hex{i.immediate};
      },
      [&](const I::Add& i) {
        out << "add " << Reg{i.destination} << ", " << Reg{i.source} << ", " << i.immediate;
      },
      [&](const I::Shl& i) {
        out << "shl " << Reg{i.destination} << ", " << Reg{i.source} << ", " << i.amount;
      },
      [&](const I::Brz& i) {
        out << "brz " << Reg{i.register_number} << ", " << Hex{i.target_address};
      },
      [&](const I::Call& i) {
        out << "call " << Reg{i.return_register} << ", " << Hex{i.target_address};
      },
      [&](const I::Ld32& i) {
        out << "ld32 " << Reg{i.destination} << ", ";
        print_memory(out, i.base, i.delta, i.word_offset);
      },
      [&](const I::St32& i) {
        out << "st32 " << Reg{i.source} << ", ";
        print_memory(out, i.base, i.delta, i.word_offset);
      },
  });
  return out;
}

}  // namespace vorn::exchange
