// Construction and rendering of CodegenError.
#include "vorn/codegen/emit/codegen_error.hpp"

#include "vorn/support/print.hpp"

namespace vorn::codegen {

CodegenError invalid(std::string_view message) {
  return CodegenError::Invalid{std::string(message)};
}

std::ostream& operator<<(std::ostream& out, const CodegenError& error) {
  using E = CodegenError;
  error.visit(support::overloaded{
      [&](const E::Exchange& e) { out << "Exchange(" << e.error << ')'; },
      [&](const E::Invalid& e) {
        out << "Invalid(";
        support::print_quoted(out, e.message) << ')';
      },
  });
  return out;
}

}  // namespace vorn::codegen
