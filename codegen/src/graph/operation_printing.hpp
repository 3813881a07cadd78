// Indented rendering of operations, shared by the operation and graph listings.
#pragma once

#include <cstddef>
#include <ostream>

#include "vorn/codegen/graph/operation.hpp"

namespace vorn::codegen::graph::detail {

/// Writes `operation` on one line starting `indent` blanks in; a repeat's body follows on
/// further lines, two blanks deeper.
void print_operation(std::ostream& out, const Operation& operation, std::size_t indent);

}  // namespace vorn::codegen::graph::detail
