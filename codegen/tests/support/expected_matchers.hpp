// GoogleTest assertions on std::expected results that name the exact error.
#pragma once

#include <gtest/gtest.h>

#include <expected>
#include <type_traits>

#include "vorn/support/print.hpp"

namespace vorn::testing {

/// Succeeds when `result` holds a value; otherwise shows the error.
template <class T, class E>
::testing::AssertionResult HasValue(const std::expected<T, E>& result) {
  if (result.has_value()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "failed with " << support::to_text(result.error());
}

/// Succeeds when `result` failed with exactly `error` (case and payload).
template <class T, class E>
::testing::AssertionResult FailsWith(const std::expected<T, E>& result,
                                     const std::type_identity_t<E>& error) {
  if (result.has_value()) {
    return ::testing::AssertionFailure() << "succeeded, expected " << support::to_text(error);
  }
  if (result.error() == error) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "failed with " << support::to_text(result.error())
                                       << ", expected " << support::to_text(error);
}

}  // namespace vorn::testing
