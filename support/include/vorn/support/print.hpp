// Small helpers for the operator<< renderings of the library's types.
#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

namespace vorn::support {

/// Writes the elements of `range` as `[a, b, c]`, each through its operator<<.
template <class Range>
std::ostream& print_list(std::ostream& out, const Range& range) {
  out << '[';
  std::string_view separator;
  for (const auto& element : range) {
    out << separator << element;
    separator = ", ";
  }
  return out << ']';
}

/// Writes a map as `{key: value, ...}`.
template <class Key, class Value>
std::ostream& print_map(std::ostream& out, const std::map<Key, Value>& map) {
  out << '{';
  std::string_view separator;
  for (const auto& [key, value] : map) {
    out << separator << key << ": " << value;
    separator = ", ";
  }
  return out << '}';
}

/// Writes `text` in double quotes, escaping quotes and backslashes.
inline std::ostream& print_quoted(std::ostream& out, std::string_view text) {
  out << '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') out << '\\';
    out << c;
  }
  return out << '"';
}

/// The rendering of `value` through its operator<<; an optional renders as `none` or as
/// its value.
template <class T>
[[nodiscard]] std::string to_text(const T& value) {
  std::ostringstream out;
  out << value;
  return std::move(out).str();
}
template <class T>
[[nodiscard]] std::string to_text(const std::optional<T>& value) {
  return value.has_value() ? to_text(*value) : std::string("none");
}

}  // namespace vorn::support
