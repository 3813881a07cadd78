// The operations of TileCode, each appending the word of one encoder.
#include "vorn/codegen/emit/tile_code.hpp"

#include "code_address.hpp"
#include "render.hpp"
#include "vorn/exchange/encoders.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen {
namespace {

constexpr std::uint8_t jump_register = 0;
constexpr std::uint16_t upper_part_shift = 12;
constexpr std::uint32_t lower_part_mask = 0xFFF;

}  // namespace

void TileCode::instruction(std::uint32_t instruction) { words.push_back(instruction); }

std::expected<void, CodegenError> TileCode::ld32(std::uint8_t destination, std::uint8_t base,
                                                 std::uint8_t delta, std::uint16_t offset) {
  VORN_TRY(const std::uint32_t word,
           exchange::encode_ld32_m_immediate(destination, base, delta, offset));
  words.push_back(word);
  return {};
}

std::expected<void, CodegenError> TileCode::st32(std::uint8_t source, std::uint8_t base,
                                                 std::uint8_t delta, std::uint16_t offset) {
  VORN_TRY(const std::uint32_t word, exchange::encode_st32_m_immediate(source, base, delta, offset));
  words.push_back(word);
  return {};
}

std::expected<void, CodegenError> TileCode::add_immediate(std::uint8_t destination,
                                                          std::uint8_t source,
                                                          std::int32_t immediate) {
  VORN_TRY(const std::uint32_t word, exchange::encode_add_m_immediate(destination, source, immediate));
  words.push_back(word);
  return {};
}

std::expected<void, CodegenError> TileCode::put_special(std::uint8_t special,
                                                        std::uint8_t register_number) {
  VORN_TRY(const std::uint32_t word, exchange::encode_put_special_m(special, register_number));
  words.push_back(word);
  return {};
}

std::expected<void, CodegenError> TileCode::call(std::uint32_t target,
                                                 std::uint8_t return_register) {
  VORN_TRY(const std::uint32_t word, exchange::encode_call_m_immediate(return_register, target));
  words.push_back(word);
  return {};
}

std::expected<void, CodegenError> TileCode::brz(std::uint8_t register_number,
                                                std::uint32_t target) {
  VORN_TRY(const std::uint32_t word, exchange::encode_brz_m_immediate(register_number, target));
  words.push_back(word);
  return {};
}

std::expected<void, CodegenError> TileCode::setzi(std::uint8_t register_number,
                                                  std::uint32_t immediate) {
  if (immediate < exchange::setzi_immediate_limit) {
    VORN_TRY(const std::uint32_t word, exchange::encode_setzi_m(register_number, immediate));
    words.push_back(word);
    return {};
  }
  VORN_TRY(const std::uint32_t upper,
           exchange::encode_setzi_m(register_number, immediate >> upper_part_shift));
  words.push_back(upper);
  VORN_TRY(const std::uint32_t shift,
           exchange::encode_shl_m_immediate(register_number, register_number, upper_part_shift));
  words.push_back(shift);
  // The low part is 0 to 4095, always a valid add immediate; a low part of 0 is still added.
  VORN_TRY(const std::uint32_t low,
           exchange::encode_add_m_immediate(register_number, register_number,
                                            static_cast<std::int32_t>(immediate & lower_part_mask)));
  words.push_back(low);
  return {};
}

std::expected<void, CodegenError> TileCode::jump(std::uint32_t target) {
  VORN_TRY_VOID(setzi(jump_register, target));
  VORN_TRY(const std::uint32_t branch, exchange::encode_br_m(jump_register));
  words.push_back(branch);
  return {};
}

std::expected<std::uint32_t, CodegenError> TileCode::address(std::uint32_t base) const {
  return detail::code_address(words.size(), base);
}

std::ostream& operator<<(std::ostream& out, const TileCode& code) {
  out << "TileCode ";
  return detail::print_words(out, code.words);
}

}  // namespace vorn::codegen
