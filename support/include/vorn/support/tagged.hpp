// Tagged variants: a named type whose cases are structs held in one std::variant.
#pragma once

#include <concepts>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <variant>

namespace vorn::support {

/// Builds a visitor from several lambdas: `visit(overloaded{[](A) {...}, [](B) {...}})`.
template <class... Fs>
struct overloaded : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
overloaded(Fs...) -> overloaded<Fs...>;

/// True when `T` is one of `Cases`.
template <class T, class... Cases>
concept one_of = (std::same_as<T, Cases> || ...);

/// The common interface of every tagged variant of the library.
///
/// A tagged type declares its case structs in a `...Cases` struct and derives from both:
///
///     struct ErrorCases { struct Empty {}; struct Bad { int value; }; };
///     struct Error : ErrorCases, Tagged<ErrorCases::Empty, ErrorCases::Bad> {
///       using Tagged::Tagged;
///     };
///
/// so that `Error::Bad{3}` names a case and converts implicitly into an `Error`.
template <class... Cases>
class Tagged {
 public:
  using Variant = std::variant<Cases...>;

  /// Holds `value`, one of the cases.
  template <class Case>
  requires one_of<std::remove_cvref_t<Case>, Cases...>
  constexpr Tagged(Case&& value)
      : value_(std::forward<Case>(value)) {}  // NOLINT: implicit by design

  /// True when the held case is `Case`.
  template <class Case>
  requires one_of<Case, Cases...>
  [[nodiscard]] constexpr bool is() const noexcept { return std::holds_alternative<Case>(value_); }

  /// The held case if it is `Case`, else null.
  template <class Case>
  requires one_of<Case, Cases...>
  [[nodiscard]] constexpr const Case* get_if() const noexcept { return std::get_if<Case>(&value_); }
  template <class Case>
  requires one_of<Case, Cases...>
  [[nodiscard]] constexpr Case* get_if() noexcept { return std::get_if<Case>(&value_); }

  /// Calls `visitor` with the held case; every case must be handled.
  template <class Visitor>
  constexpr decltype(auto) visit(Visitor&& visitor) const {
    return std::visit(std::forward<Visitor>(visitor), value_);
  }
  template <class Visitor>
  constexpr decltype(auto) visit(Visitor&& visitor) {
    return std::visit(std::forward<Visitor>(visitor), value_);
  }

  /// Position of the held case in declaration order.
  [[nodiscard]] constexpr std::size_t index() const noexcept { return value_.index(); }

  /// The underlying variant.
  [[nodiscard]] constexpr const Variant& variant() const noexcept { return value_; }

  friend constexpr bool operator==(const Tagged&, const Tagged&) = default;

 private:
  Variant value_;
};

}  // namespace vorn::support
