// validate, the structural test of a step program that emission runs first.
#pragma once

#include <expected>

#include "vorn/codegen/emit/codegen_error.hpp"
#include "vorn/codegen/emit/step_program.hpp"

namespace vorn::codegen {

/// Succeeds when every step is well formed; otherwise the first violation, in step order, as
/// Invalid: "exchange row address is not word aligned", "exchange row has <n> words, expected
/// 9", "compute symbol is empty", "kernel <symbol> needs <n> input/argument registers;
/// 1..=7 are supported" (no inputs, or more than seven inputs and arguments together).
[[nodiscard]] std::expected<void, CodegenError> validate(const TileProgram& program);

}  // namespace vorn::codegen
