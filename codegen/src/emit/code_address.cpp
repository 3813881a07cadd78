// The address arithmetic of generated code.
#include "code_address.hpp"

#include <limits>

#include "vorn/support/arithmetic.hpp"

namespace vorn::codegen::detail {

std::expected<std::uint32_t, CodegenError> code_address(std::size_t word_count,
                                                        std::uint32_t base) {
  if (word_count > std::numeric_limits<std::uint32_t>::max()) {
    return std::unexpected(invalid("generated code exceeds u32"));
  }
  const auto size = support::checked_mul(static_cast<std::uint32_t>(word_count), std::uint32_t{4});
  if (!size) return std::unexpected(invalid("generated code size overflow"));
  const auto end = support::checked_add(base, *size);
  if (!end) return std::unexpected(invalid("generated code address overflow"));
  return *end;
}

}  // namespace vorn::codegen::detail
