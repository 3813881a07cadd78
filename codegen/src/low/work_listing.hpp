// Indented multi-line rendering of work lists, shared by the work-list and program listings.
#pragma once

#include <cstddef>
#include <ostream>

#include "vorn/codegen/low/tile_work.hpp"

namespace vorn::codegen::low::detail {

/// Writes `tile N:` and then each item on a line of its own indented by `indent` + 2, repeat
/// bodies a further 2. Lines are separated by newlines; no newline follows the last one.
void write_work_list(std::ostream& out, const TileWorkList& list, std::size_t indent);

}  // namespace vorn::codegen::low::detail
