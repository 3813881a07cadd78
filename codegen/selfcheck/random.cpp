// Uniform draws for the property checks. 8-bit ranges are drawn as wider integers and
// narrowed, since std::uniform_int_distribution is undefined for 8-bit types.
#include "selfcheck/random.hpp"

#include <stdexcept>

namespace vorn::selfcheck {
namespace {

template <class Wide, class Engine>
Wide draw_in(Engine& engine, Wide low, Wide high) {
  if (low > high) throw std::invalid_argument("empty closed range drawn");
  return std::uniform_int_distribution<Wide>(low, high)(engine);
}

template <class Wide, class Engine>
Wide draw_below(Engine& engine, Wide low, Wide high) {
  if (low >= high) throw std::invalid_argument("empty half-open range drawn");
  return std::uniform_int_distribution<Wide>(low, static_cast<Wide>(high - 1))(engine);
}

}  // namespace

std::size_t Random::size_in(std::size_t low, std::size_t high) {
  return draw_in(engine_, low, high);
}
std::size_t Random::size_below(std::size_t low, std::size_t high) {
  return draw_below(engine_, low, high);
}
std::uint32_t Random::u32_in(std::uint32_t low, std::uint32_t high) {
  return draw_in(engine_, low, high);
}
std::uint32_t Random::u32_below(std::uint32_t low, std::uint32_t high) {
  return draw_below(engine_, low, high);
}
std::uint16_t Random::u16_in(std::uint16_t low, std::uint16_t high) {
  return draw_in(engine_, low, high);
}
std::uint16_t Random::u16_below(std::uint16_t low, std::uint16_t high) {
  return draw_below(engine_, low, high);
}
std::uint8_t Random::u8_in(std::uint8_t low, std::uint8_t high) {
  return static_cast<std::uint8_t>(draw_in<unsigned>(engine_, low, high));
}
std::uint8_t Random::u8_below(std::uint8_t low, std::uint8_t high) {
  return static_cast<std::uint8_t>(draw_below<unsigned>(engine_, low, high));
}
std::int8_t Random::i8_in(std::int8_t low, std::int8_t high) {
  return static_cast<std::int8_t>(draw_in<int>(engine_, low, high));
}
std::int8_t Random::i8_below(std::int8_t low, std::int8_t high) {
  return static_cast<std::int8_t>(draw_below<int>(engine_, low, high));
}
bool Random::boolean() {
  return draw_in<unsigned>(engine_, 0, 1) == 1;
}

}  // namespace vorn::selfcheck
