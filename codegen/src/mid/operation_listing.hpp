// The line-per-operation listing shared by the renderings of operations and graphs.
#pragma once

#include <cstddef>
#include <ostream>
#include <span>

#include "vorn/codegen/mid/mid_operation.hpp"
#include "vorn/codegen/mid/mid_value.hpp"

namespace vorn::codegen::mid::detail {

/// Writes `operation` on one line indented by `indent`, a repeat followed by its body. When
/// `values` holds the results, their types follow the line.
void print_operation(std::ostream& out, const MidOperation& operation, std::size_t indent,
                     std::span<const MidValue> values);

/// Writes `region` as a block of arguments, one operation a line and yields.
void print_region(std::ostream& out, const MidRegion& region, std::size_t indent,
                  std::span<const MidValue> values);

}  // namespace vorn::codegen::mid::detail
