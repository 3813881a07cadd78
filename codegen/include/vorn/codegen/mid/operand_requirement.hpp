// OperandRequirement, what one operand of a kernel must be.
#pragma once

#include <cstdint>
#include <ostream>

#include "vorn/codegen/mid/tensor_type.hpp"

namespace vorn::codegen::mid {

/// The exact format, byte alignment (valid when a power of two) and the number of bytes past
/// its end that the kernel accesses, of one operand.
struct OperandRequirement {
  TensorFormat format;
  std::uint32_t alignment;
  std::uint32_t access_tail_bytes = 0;

  /// This requirement with `access_tail_bytes` replaced by `bytes`.
  [[nodiscard]] OperandRequirement with_access_tail(std::uint32_t bytes) const;

  bool operator==(const OperandRequirement&) const = default;
};

/// `<format> align 32 tail 16`.
std::ostream& operator<<(std::ostream& out, const OperandRequirement& requirement);

}  // namespace vorn::codegen::mid
