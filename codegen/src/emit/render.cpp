// Helpers shared by the renderings of the emission types.
#include "render.hpp"

#include <string_view>

#include "vorn/exchange/hex.hpp"

namespace vorn::codegen::detail {

std::ostream& print_words(std::ostream& out, const std::vector<std::uint32_t>& words) {
  out << '[';
  std::string_view separator;
  for (const std::uint32_t word : words) {
    out << separator << exchange::Hex{word};
    separator = ", ";
  }
  return out << ']';
}

std::ostream& print_address(std::ostream& out, const std::optional<std::uint32_t>& address) {
  if (!address) return out << "none";
  return out << exchange::Hex{*address};
}

}  // namespace vorn::codegen::detail
