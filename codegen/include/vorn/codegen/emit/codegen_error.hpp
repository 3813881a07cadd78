// CodegenError, the one error type of tile code emission.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "vorn/exchange/exchange_error.hpp"
#include "vorn/support/tagged.hpp"

namespace vorn::codegen {

/// The cases of `CodegenError`.
struct CodegenErrorCases {
  /// An instruction encoder rejected an operand; its error is kept unchanged.
  struct Exchange {
    exchange::ExchangeError error;
    bool operator==(const Exchange&) const = default;
  };
  /// The input or the generated code breaks a rule of the emitter; `message` says which.
  struct Invalid {
    std::string message;
    bool operator==(const Invalid&) const = default;
  };
};

/// The error of every emission operation.
struct CodegenError : CodegenErrorCases,
                      support::Tagged<CodegenErrorCases::Exchange, CodegenErrorCases::Invalid> {
  using Tagged::Tagged;
  /// Wraps an encoder's error, so that encoder failures propagate in one line.
  CodegenError(exchange::ExchangeError error)  // NOLINT: implicit by design
      : Tagged(Exchange{std::move(error)}) {}
};

/// `CodegenError::Invalid` holding its own copy of `message`.
[[nodiscard]] CodegenError invalid(std::string_view message);

/// Renders as `Exchange(Schedule("call operand"))` or `Invalid("...")`.
std::ostream& operator<<(std::ostream& out, const CodegenError& error);

}  // namespace vorn::codegen
