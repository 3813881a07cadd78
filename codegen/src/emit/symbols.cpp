// Lookup and rendering of the symbol table.
#include "vorn/codegen/emit/symbols.hpp"

#include "vorn/exchange/hex.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen {

std::expected<std::uint32_t, CodegenError> symbol(const SymbolTable& symbols,
                                                  std::string_view name) {
  const auto found = symbols.find(name);
  if (found == symbols.end()) {
    return std::unexpected(invalid("missing runtime symbol " + std::string(name)));
  }
  return found->second;
}

std::ostream& operator<<(std::ostream& out, const SymbolTable& symbols) {
  out << '{';
  std::string_view separator;
  for (const auto& [name, address] : symbols) {
    out << separator;
    support::print_quoted(out, name) << ": " << exchange::Hex{address};
    separator = ", ";
  }
  return out << '}';
}

}  // namespace vorn::codegen
