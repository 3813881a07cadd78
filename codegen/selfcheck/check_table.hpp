// The table of every registered check, in ascending name order.
#pragma once

#include <span>

#include "selfcheck/check.hpp"

namespace vorn::selfcheck {

/// Every registered check of the library.
[[nodiscard]] std::span<const CheckDescriptor> check_table();

}  // namespace vorn::selfcheck
