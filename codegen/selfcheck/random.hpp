// The seeded pseudo-random generator of the property checks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>

namespace vorn::selfcheck {

/// Uniform draws from a std::mt19937_64 created from a fixed seed. `*_in(low, high)` draws
/// from the closed range [low, high]; `*_below(low, high)` from the half-open range
/// [low, high). An empty range is a bug in the check and throws std::invalid_argument.
class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}

  [[nodiscard]] std::size_t size_in(std::size_t low, std::size_t high);
  [[nodiscard]] std::size_t size_below(std::size_t low, std::size_t high);
  [[nodiscard]] std::uint32_t u32_in(std::uint32_t low, std::uint32_t high);
  [[nodiscard]] std::uint32_t u32_below(std::uint32_t low, std::uint32_t high);
  [[nodiscard]] std::uint16_t u16_in(std::uint16_t low, std::uint16_t high);
  [[nodiscard]] std::uint16_t u16_below(std::uint16_t low, std::uint16_t high);
  [[nodiscard]] std::uint8_t u8_in(std::uint8_t low, std::uint8_t high);
  [[nodiscard]] std::uint8_t u8_below(std::uint8_t low, std::uint8_t high);
  [[nodiscard]] std::int8_t i8_in(std::int8_t low, std::int8_t high);
  [[nodiscard]] std::int8_t i8_below(std::int8_t low, std::int8_t high);
  [[nodiscard]] bool boolean();

 private:
  std::mt19937_64 engine_;
};

}  // namespace vorn::selfcheck
