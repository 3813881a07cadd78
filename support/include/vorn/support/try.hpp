// Error propagation for std::expected results.
#pragma once

#include <expected>
#include <utility>

#define VORN_CONCAT_INNER(a, b) a##b
#define VORN_CONCAT(a, b) VORN_CONCAT_INNER(a, b)

/// `VORN_TRY(declaration, expression);` evaluates an expression of type std::expected: on error,
/// returns that error from the enclosing function (converted into its error type); else binds
/// the value to the declaration, e.g. `VORN_TRY(auto shape, infer_shape(kind, inputs, shapes));`.
#define VORN_TRY(declaration, expression)                                               \
  auto VORN_CONCAT(vorn_try_result_, __LINE__) = (expression);                          \
  if (!VORN_CONCAT(vorn_try_result_, __LINE__).has_value())                             \
    return std::unexpected(std::move(VORN_CONCAT(vorn_try_result_, __LINE__)).error()); \
  declaration = *std::move(VORN_CONCAT(vorn_try_result_, __LINE__))

/// `VORN_TRY_VOID(expression);` returns the error of a std::expected<void, E> if it holds one.
#define VORN_TRY_VOID(expression)                                          \
  do {                                                                     \
    if (auto vorn_try_result = (expression); !vorn_try_result.has_value()) \
      return std::unexpected(std::move(vorn_try_result).error());          \
  } while (false)
