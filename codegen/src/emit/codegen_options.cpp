// Rendering of CodegenOptions.
#include "vorn/codegen/emit/codegen_options.hpp"

#include "render.hpp"
#include "vorn/exchange/hex.hpp"

namespace vorn::codegen {

std::ostream& operator<<(std::ostream& out, const CodegenOptions& options) {
  out << "CodegenOptions { code_address: " << exchange::Hex{options.code_address}
      << ", invocations: " << options.invocations << ", initial_profile_address: ";
  detail::print_address(out, options.initial_profile_address) << ", final_profile_address: ";
  return detail::print_address(out, options.final_profile_address) << " }";
}

}  // namespace vorn::codegen
