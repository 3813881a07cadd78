// Helpers shared by the renderings of the emission types.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

namespace vorn::codegen::detail {

/// Writes words as `[0x19050004, 0x43000000]`.
std::ostream& print_words(std::ostream& out, const std::vector<std::uint32_t>& words);

/// Writes an optional address in hexadecimal, or `none`.
std::ostream& print_address(std::ostream& out, const std::optional<std::uint32_t>& address);

}  // namespace vorn::codegen::detail
