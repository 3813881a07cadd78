// The address arithmetic of generated code, apart from any buffer so that its limits can be
// reached without allocating them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>

#include "vorn/codegen/emit/codegen_error.hpp"

namespace vorn::codegen::detail {

/// `base + 4 * word_count` in unsigned 32-bit arithmetic. Errors (Invalid), in this order:
/// "generated code exceeds u32" when the count does not fit 32 bits, "generated code size
/// overflow" when the size in bytes does not, "generated code address overflow" when the sum
/// does not.
[[nodiscard]] std::expected<std::uint32_t, CodegenError> code_address(std::size_t word_count,
                                                                      std::uint32_t base);

}  // namespace vorn::codegen::detail
