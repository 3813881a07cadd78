// Runs the selected checks on worker threads and reports them in table order.
#include "selfcheck/check_runner.hpp"

#include <algorithm>
#include <charconv>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace vorn::selfcheck {
namespace {

constexpr std::string_view usage =
    "usage: vorn_codegen_selfcheck [FILTER...] [--exact] [--list] [--test-threads N] [--help]\n"
    "  FILTER            run the checks whose name contains FILTER (all when none is given)\n"
    "  --exact           a filter must equal the whole name\n"
    "  --list            print the selected names, one a line, and run nothing\n"
    "  --test-threads N  run up to N checks at once (default: the hardware concurrency)\n";

struct Outcome {
  bool passed;
  std::string message;  // the failure, when the body failed
};

std::expected<std::size_t, std::string> parse_thread_count(std::string_view text) {
  std::size_t count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (error != std::errc{} || end != text.data() + text.size() || count == 0) {
    return std::unexpected("--test-threads takes a positive whole number, not '" +
                           std::string(text) + "'");
  }
  return count;
}

Outcome run_one(const CheckDescriptor& check) {
  std::optional<std::string> failure;
  try {
    check.body();
  } catch (const CheckFailure& error) {
    failure = error.what();
  } catch (const std::exception& error) {
    failure = std::string("unexpected exception: ") + error.what();
  } catch (...) {
    failure = "unexpected exception of unknown type";
  }
  if (check.should_fail == ShouldFail::Yes) {
    if (failure) return {true, {}};
    return {false, "the check passed but was expected to fail"};
  }
  if (failure) return {false, std::move(*failure)};
  return {true, {}};
}

// Runs `checks` on up to `threads` workers; `report(i, outcome)` is called on the calling
// thread in index order as soon as each outcome and all before it are known.
template <class Report>
void run_all(const std::vector<const CheckDescriptor*>& checks, std::size_t threads,
             Report report) {
  std::vector<std::optional<Outcome>> outcomes(checks.size());
  std::mutex mutex;
  std::condition_variable ready;
  std::size_t next = 0;
  {
    std::vector<std::jthread> workers;
    const std::size_t count = std::min(threads, checks.size());
    for (std::size_t w = 0; w < count; ++w) {
      workers.emplace_back([&] {
        for (;;) {
          std::size_t index = 0;
          {
            const std::scoped_lock lock(mutex);
            if (next == checks.size()) return;
            index = next++;
          }
          Outcome outcome = run_one(*checks[index]);
          {
            const std::scoped_lock lock(mutex);
            outcomes[index] = std::move(outcome);
          }
          ready.notify_all();
        }
      });
    }
    for (std::size_t i = 0; i < checks.size(); ++i) {
      std::unique_lock lock(mutex);
      ready.wait(lock, [&] { return outcomes[i].has_value(); });
      Outcome outcome = std::move(*outcomes[i]);
      lock.unlock();
      report(i, outcome);
    }
  }
}

}  // namespace

std::expected<RunnerOptions, std::string> parse_runner_options(
    std::span<const std::string_view> arguments) {
  RunnerOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--exact") {
      options.exact = true;
    } else if (argument == "--list") {
      options.list = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--test-threads") {
      if (i + 1 == arguments.size()) return std::unexpected("--test-threads needs a number");
      auto count = parse_thread_count(arguments[++i]);
      if (!count) return std::unexpected(count.error());
      options.threads = *count;
    } else if (argument.starts_with("--test-threads=")) {
      auto count = parse_thread_count(argument.substr(std::string_view("--test-threads=").size()));
      if (!count) return std::unexpected(count.error());
      options.threads = *count;
    } else if (argument.starts_with("-")) {
      return std::unexpected("unknown option '" + std::string(argument) + "'");
    } else {
      options.filters.emplace_back(argument);
    }
  }
  return options;
}

std::vector<const CheckDescriptor*> select_checks(std::span<const CheckDescriptor> table,
                                                  const RunnerOptions& options) {
  std::vector<const CheckDescriptor*> selected;
  for (const CheckDescriptor& check : table) {
    const bool matches = options.filters.empty() ||
                         std::ranges::any_of(options.filters, [&](const std::string& filter) {
                           return options.exact ? check.name == filter
                                                : check.name.find(filter) != std::string_view::npos;
                         });
    if (matches) selected.push_back(&check);
  }
  return selected;
}

int run_checks(std::span<const std::string_view> arguments, std::span<const CheckDescriptor> table,
               std::ostream& out, std::ostream& err) {
  auto options = parse_runner_options(arguments);
  if (!options) {
    err << "error: " << options.error() << '\n' << usage;
    return 2;
  }
  if (options->help) {
    out << usage;
    return 0;
  }
  const std::vector<const CheckDescriptor*> selected = select_checks(table, *options);
  if (options->list) {
    for (const CheckDescriptor* check : selected) out << check->name << '\n';
    return 0;
  }

  std::vector<const CheckDescriptor*> runnable;
  for (const CheckDescriptor* check : selected) {
    if (check->ignored) {
      out << "check " << check->name << " ... ignored\n";
    } else {
      runnable.push_back(check);
    }
  }
  const std::size_t threads = options->threads != 0
                                  ? options->threads
                                  : std::max<std::size_t>(1, std::thread::hardware_concurrency());

  std::size_t passed = 0;
  std::vector<std::pair<const CheckDescriptor*, std::string>> failures;
  run_all(runnable, threads, [&](std::size_t index, Outcome& outcome) {
    out << "check " << runnable[index]->name << " ... " << (outcome.passed ? "ok" : "FAILED")
        << std::endl;
    if (outcome.passed) {
      ++passed;
    } else {
      failures.emplace_back(runnable[index], std::move(outcome.message));
    }
  });

  if (!failures.empty()) {
    out << "\nfailures:\n";
    for (const auto& [check, message] : failures) {
      out << "\n---- " << check->name << " (" << check->site->file << ':' << check->site->line
          << ") ----\n"
          << message << '\n';
    }
    out << '\n';
  }
  out << passed << " passed, " << failures.size() << " failed\n";
  return failures.empty() ? 0 : 1;
}

}  // namespace vorn::selfcheck
