// Fixtures and matchers shared by the emission tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <expected>
#include <string_view>
#include <vector>

#include "vorn/codegen/emit.hpp"
#include "vorn/support/print.hpp"

namespace vorn::codegen::testing {

/// The runtime routines and the kernel "gemm" at their usual addresses.
inline SymbolTable symbols() {
  return SymbolTable{
      {"vorn_stack_static_worker_barrier", 0x50000}, {"vorn_stack_static_complete", 0x50004},
      {"vorn_stack_static_host_run", 0x50008},       {"vorn_stack_static_repeat_call", 0x5000C},
      {"vorn_stack_static_sample_cycle", 0x50010},   {"gemm", 0x51000},
  };
}

/// `symbols()` without the entry `name`.
inline SymbolTable symbols_without(std::string_view name) {
  SymbolTable table = symbols();
  table.erase(table.find(name));
  return table;
}

/// A nine-word exchange row starting with `first`.
inline std::vector<std::uint32_t> row_starting(std::uint32_t first) {
  std::vector<std::uint32_t> row(exchange_row_words, 0);
  row.front() = first;
  return row;
}

/// The words of little-endian `bytes`; a trailing partial word is dropped.
inline std::vector<std::uint32_t> words_of(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::uint32_t> words;
  for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
    words.push_back(std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8U |
                    std::uint32_t{bytes[at + 2]} << 16U | std::uint32_t{bytes[at + 3]} << 24U);
  }
  return words;
}

/// The program whose code is `words`, for disassembling expected code.
inline GeneratedProgram program_of(const std::vector<std::uint32_t>& words) {
  GeneratedProgram program;
  for (const std::uint32_t word : words) {
    for (unsigned shift = 0; shift < 32; shift += 8) {
      program.bytes.push_back(static_cast<std::uint8_t>(word >> shift));
    }
  }
  return program;
}

/// Asserts that `generated` holds exactly the code `expected`; a failure shows both listings.
inline void expect_code(const GeneratedProgram& generated, std::uint32_t code_address,
                        const std::vector<std::uint32_t>& expected) {
  EXPECT_EQ(generated.bytes.size() % 4, 0U);
  EXPECT_EQ(words_of(generated.bytes), expected)
      << "generated:\n" << disassembly(generated, code_address)
      << "expected:\n" << disassembly(program_of(expected), code_address);
}

/// Asserts that `result` failed with `CodegenError::Invalid` and exactly `message`.
template <class T>
void expect_invalid(const std::expected<T, CodegenError>& result, std::string_view message) {
  ASSERT_FALSE(result.has_value()) << "expected Invalid(\"" << message << "\"), got a value";
  EXPECT_EQ(result.error(), invalid(message)) << result.error();
}

/// Asserts that `result` failed with an encoder's `Schedule` error of exactly `text`.
template <class T>
void expect_schedule(const std::expected<T, CodegenError>& result, std::string_view text) {
  ASSERT_FALSE(result.has_value()) << "expected Schedule(\"" << text << "\"), got a value";
  EXPECT_EQ(result.error(), CodegenError(exchange::ExchangeError::Schedule{text}))
      << result.error();
}

}  // namespace vorn::codegen::testing
