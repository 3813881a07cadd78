// The disassembly of generated code, for reading emitted programs and test failures.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "vorn/codegen/emit/generated_program.hpp"

namespace vorn::codegen {

/// Writes one line per code word: its byte address counted from `code_address`, the word in
/// hexadecimal and the instruction with its operands (call and branch targets as byte
/// addresses); the exchange entry word is named, and a word no encoder produces is shown as
/// `.word`. Trailing bytes that make no whole word are shown as `.byte` lines. The placed
/// exchange rows follow, one line each.
void disassemble(std::ostream& out, const GeneratedProgram& program, std::uint32_t code_address);

/// The text that `disassemble` writes.
[[nodiscard]] std::string disassembly(const GeneratedProgram& program, std::uint32_t code_address);

}  // namespace vorn::codegen
