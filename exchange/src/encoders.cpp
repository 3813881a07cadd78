// The validating encoders and the two raw word builders.
#include "vorn/exchange/encoders.hpp"

#include <limits>

namespace vorn::exchange {
namespace {

constexpr std::uint32_t opcode_br = 0x43000000;
constexpr std::uint32_t opcode_put_special = 0x43008000;
constexpr std::uint32_t opcode_setzi = 0x19000000;
constexpr std::uint32_t opcode_add = 0x22000000;
constexpr std::uint32_t opcode_shl = 0x4200A000;
constexpr std::uint32_t opcode_brz = 0x13000000;
constexpr std::uint32_t opcode_call = 0x18000000;
constexpr std::uint32_t opcode_ld32 = 0x01000000;
constexpr std::uint32_t opcode_st32 = 0x4F000000;

constexpr std::uint32_t offset_limit = 0x1000;

bool is_register(std::uint8_t number) { return number <= 15; }

bool is_branch_target(std::uint32_t address) {
  return address % 4 == 0 && address < branch_target_limit;
}

std::unexpected<ExchangeError> schedule(std::string_view text) {
  return std::unexpected(ExchangeError(ExchangeError::Schedule{text}));
}

std::uint32_t first(std::uint8_t number) { return std::uint32_t{number} << 20U; }
std::uint32_t second(std::uint8_t number) { return std::uint32_t{number} << 16U; }
std::uint32_t third(std::uint8_t number) { return std::uint32_t{number} << 12U; }

}  // namespace

std::uint32_t br_m(std::uint8_t register_number) noexcept {
  return opcode_br | first(register_number);
}

std::uint32_t setzi_m(std::uint8_t register_number, std::uint32_t immediate) noexcept {
  return opcode_setzi | first(register_number) | immediate;
}

std::expected<std::uint32_t, ExchangeError> encode_br_m(std::uint8_t register_number) {
  if (!is_register(register_number)) return schedule("branch register");
  return br_m(register_number);
}

std::expected<std::uint32_t, ExchangeError> encode_setzi_m(std::uint8_t register_number,
                                                           std::uint32_t immediate) {
  if (!is_register(register_number) || immediate >= setzi_immediate_limit) {
    return schedule("setzi operand");
  }
  return setzi_m(register_number, immediate);
}

std::expected<std::uint32_t, ExchangeError> encode_put_special_m(std::uint8_t special,
                                                                 std::uint8_t register_number) {
  if (!is_register(register_number)) return schedule("put source register");
  return opcode_put_special | first(register_number) | special;
}

std::expected<std::uint32_t, ExchangeError> encode_add_m_immediate(std::uint8_t destination,
                                                                   std::uint8_t source,
                                                                   std::int32_t immediate) {
  // The immediate is narrowed before either register is looked at.
  if (immediate < std::numeric_limits<std::int16_t>::min() ||
      immediate > std::numeric_limits<std::int16_t>::max()) {
    return schedule("add immediate operand");
  }
  if (!is_register(destination) || !is_register(source)) return schedule("add register operand");
  const auto pattern = static_cast<std::uint16_t>(static_cast<std::int16_t>(immediate));
  return opcode_add | first(source) | second(destination) | pattern;
}

std::expected<std::uint32_t, ExchangeError> encode_brz_m_immediate(std::uint8_t register_number,
                                                                   std::uint32_t target_address) {
  if (!is_register(register_number) || !is_branch_target(target_address)) {
    return schedule("brz operand");
  }
  return opcode_brz | first(register_number) | (target_address / 4);
}

std::expected<std::uint32_t, ExchangeError> encode_shl_m_immediate(std::uint8_t destination,
                                                                   std::uint8_t source,
                                                                   std::uint16_t immediate) {
  if (!is_register(destination) || !is_register(source) || immediate >= offset_limit) {
    return schedule("shift-left operand");
  }
  return opcode_shl | first(source) | second(destination) | immediate;
}

std::expected<std::uint32_t, ExchangeError> encode_call_m_immediate(std::uint8_t return_register,
                                                                    std::uint32_t target_address) {
  if (!is_register(return_register) || !is_branch_target(target_address)) {
    return schedule("call operand");
  }
  return opcode_call | first(return_register) | (target_address / 4);
}

std::expected<std::uint32_t, ExchangeError> encode_ld32_m_immediate(std::uint8_t destination,
                                                                    std::uint8_t base,
                                                                    std::uint8_t delta,
                                                                    std::uint16_t word_offset) {
  if (!is_register(destination) || !is_register(base) || !is_register(delta) ||
      word_offset >= offset_limit) {
    return schedule("ld32 operand");
  }
  return opcode_ld32 | first(base) | second(destination) | third(delta) | word_offset;
}

std::expected<std::uint32_t, ExchangeError> encode_st32_m_immediate(std::uint8_t source,
                                                                    std::uint8_t base,
                                                                    std::uint8_t delta,
                                                                    std::uint16_t word_offset) {
  if (!is_register(source) || !is_register(base) || !is_register(delta) ||
      word_offset >= offset_limit) {
    return schedule("st32 operand");
  }
  return opcode_st32 | first(base) | second(source) | third(delta) | word_offset;
}

}  // namespace vorn::exchange
