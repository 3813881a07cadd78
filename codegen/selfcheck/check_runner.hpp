// The command-line check runner: selects checks by name, runs them isolated, reports.
#pragma once

#include <cstddef>
#include <expected>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "selfcheck/check.hpp"

namespace vorn::selfcheck {

/// The parsed command line of the runner.
struct RunnerOptions {
  std::vector<std::string> filters;  ///< a check is selected when its name contains any filter
  bool exact = false;                ///< filters must equal the name instead
  bool list = false;                 ///< print the selected names instead of running them
  bool help = false;
  std::size_t threads = 0;  ///< 0: the hardware concurrency
};

/// Parses `[FILTER...] [--exact] [--list] [--test-threads N] [--help]`; an unknown option or a
/// missing or zero thread count gives a message.
[[nodiscard]] std::expected<RunnerOptions, std::string> parse_runner_options(
    std::span<const std::string_view> arguments);

/// The checks of `table` that `options` selects, in table order.
[[nodiscard]] std::vector<const CheckDescriptor*> select_checks(
    std::span<const CheckDescriptor> table, const RunnerOptions& options);

/// Runs the command line against `table`, writing the report to `out` and usage errors to
/// `err`. Returns the process exit status: 0 when every selected check passed (or only a
/// listing or help was asked for), 1 when a check failed, 2 on an unusable command line.
[[nodiscard]] int run_checks(std::span<const std::string_view> arguments,
                             std::span<const CheckDescriptor> table, std::ostream& out,
                             std::ostream& err);

}  // namespace vorn::selfcheck
