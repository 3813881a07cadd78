// What a registered check is, how it is declared, and the assertions its body uses.
#pragma once

#include <cstdint>
#include <exception>
#include <expected>
#include <source_location>
#include <string>
#include <string_view>
#include <utility>

#include "vorn/support/print.hpp"

namespace vorn::selfcheck {

/// Where a check is defined, for reports.
struct CheckSite {
  std::string_view file;
  std::uint32_t line;
};

/// Whether a check is expected to fail.
enum class ShouldFail { No, Yes };

/// A check body passes by returning and fails by throwing `CheckFailure`.
using CheckBody = void (*)();

/// One entry of the check table.
struct CheckDescriptor {
  std::string_view name;
  const CheckSite* site;
  bool ignored;
  ShouldFail should_fail;
  CheckBody body;
};

/// Thrown by a failed assertion; the runner reports its message as the check's failure.
class CheckFailure : public std::exception {
 public:
  explicit CheckFailure(std::string message) : message_(std::move(message)) {}
  [[nodiscard]] const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

/// Fails the running check with `message`, noting where the failure was raised.
[[noreturn]] void fail(std::string_view message,
                       std::source_location where = std::source_location::current());

/// Fails with "assertion failed: " and `condition_text` unless `condition` holds.
inline void check_that(bool condition, std::string_view condition_text,
                       std::source_location where = std::source_location::current()) {
  if (!condition) fail("assertion failed: " + std::string(condition_text), where);
}

/// Fails unless `left == right`, showing both values and `context`.
template <class Left, class Right>
void check_eq(const Left& left, const Right& right, std::string_view context = {},
              std::source_location where = std::source_location::current()) {
  if (left == right) return;
  std::string message = "assertion failed: left == right";
  if (!context.empty()) message += " (" + std::string(context) + ")";
  message += "\n   left: " + support::to_text(left) + "\n  right: " + support::to_text(right);
  fail(message, where);
}

/// The value of `result`; fails the check with the error if there is one.
template <class T, class E>
T unwrap(std::expected<T, E> result, std::source_location where = std::source_location::current()) {
  if (!result.has_value()) fail("unexpected error: " + support::to_text(result.error()), where);
  if constexpr (!std::is_void_v<T>) return *std::move(result);
}

}  // namespace vorn::selfcheck

/// Asserts a condition inside a check body, reporting its source text on failure.
#define VORN_ASSERT(condition) \
  ::vorn::selfcheck::check_that(static_cast<bool>(condition), #condition)

/// Declares a check body and its site (in a module's property-check header).
#define VORN_DECLARE_CHECK(name)                         \
  extern const ::vorn::selfcheck::CheckSite name##_site; \
  void name()

/// Defines a check body, recording where it stands.
#define VORN_CHECK(name)                                                        \
  constinit const ::vorn::selfcheck::CheckSite name##_site{__FILE__, __LINE__}; \
  void name()

/// A table entry for the check `space::name`, registered as `prefix` followed by its name.
#define VORN_CHECK_ENTRY(prefix, space, name)                                                 \
  ::vorn::selfcheck::CheckDescriptor {                                                        \
    prefix #name, &space::name##_site, false, ::vorn::selfcheck::ShouldFail::No, &space::name \
  }
