// Hex, a value rendered in hexadecimal for diagnostics and disassembly.
#pragma once

#include <cstdint>
#include <ostream>

namespace vorn::exchange {

/// Wraps a number so that `out << Hex{value}` writes `0x` and its upper-case hexadecimal
/// digits, padded with zeros to at least `digits` digits.
struct Hex {
  std::uint64_t value;
  int digits = 1;
};

/// Writes `hex` as described above; the stream's formatting state is left unchanged.
std::ostream& operator<<(std::ostream& out, Hex hex);

}  // namespace vorn::exchange
