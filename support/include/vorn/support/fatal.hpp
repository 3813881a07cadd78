// The one way the libraries stop on a state that correct callers cannot reach.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vorn::support {

/// Writes `message` to standard error and aborts the process.
[[noreturn]] inline void fatal(std::string_view message) noexcept {
  std::fprintf(stderr, "vorn: fatal: %.*s\n", static_cast<int>(message.size()), message.data());
  std::fflush(stderr);
  std::abort();
}

}  // namespace vorn::support
