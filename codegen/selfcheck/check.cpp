// Failure reporting for check bodies.
#include "selfcheck/check.hpp"

namespace vorn::selfcheck {

void fail(std::string_view message, std::source_location where) {
  throw CheckFailure(std::string(message) + "\n  at " + where.file_name() + ":" +
                     std::to_string(where.line()));
}

}  // namespace vorn::selfcheck
