// CodegenOptions, where the code is loaded, how often it runs and its overall cycle samples.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>

namespace vorn::codegen {

/// The options of one emission.
struct CodegenOptions {
  /// Byte address of the first word of the generated code.
  std::uint32_t code_address = 0;
  /// How many times the invocation body (inputs, steps, outputs) runs; must not be 0.
  std::uint32_t invocations = 1;
  /// When present, a cycle sample is taken once per invocation before the first step.
  std::optional<std::uint32_t> initial_profile_address;
  /// When present, a cycle sample is taken once per invocation after the last step.
  std::optional<std::uint32_t> final_profile_address;

  friend bool operator==(const CodegenOptions&, const CodegenOptions&) = default;
};

/// Renders every field, addresses in hexadecimal.
std::ostream& operator<<(std::ostream& out, const CodegenOptions& options);

}  // namespace vorn::codegen
