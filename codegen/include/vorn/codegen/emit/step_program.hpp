// The step program of one tile: exchange steps, compute steps and their cycle samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "vorn/support/tagged.hpp"

namespace vorn::codegen {

/// First word of an idle exchange row: its step is no active exchange and gets no barrier.
inline constexpr std::uint32_t idle_row_marker = 0x40C00000;
/// Number of words of every exchange row.
inline constexpr std::size_t exchange_row_words = 9;
/// Number of registers (3 to 9) that carry a kernel's inputs and arguments.
inline constexpr std::size_t kernel_operand_registers = 7;

/// Where to take cycle samples around one step; absent means no sample.
struct StepProfile {
  /// Sample address recorded just before the step.
  std::optional<std::uint32_t> before;
  /// Sample address recorded just after the step.
  std::optional<std::uint32_t> after;

  friend bool operator==(const StepProfile&, const StepProfile&) = default;
};

/// An exchange: the nine-word row is placed at `address` in tile memory and called there.
struct ExchangeStep {
  /// Byte address of the row; a multiple of 4 below 0x200000.
  std::uint32_t address = 0;
  /// The row's instruction words, copied unchanged into the result; exactly nine.
  std::vector<std::uint32_t> row;
  StepProfile profile;

  friend bool operator==(const ExchangeStep&, const ExchangeStep&) = default;
};

/// A kernel call: output in register 2, inputs from register 3 up, then the arguments.
struct ComputeStep {
  /// The kernel's name in the symbol table; not empty.
  std::string symbol;
  std::uint32_t output_address = 0;
  /// At least one; inputs and arguments together use at most seven registers.
  std::vector<std::uint32_t> input_addresses;
  std::vector<std::uint32_t> arguments;
  StepProfile profile;

  friend bool operator==(const ComputeStep&, const ComputeStep&) = default;
};

/// The cases of `TileStep`.
struct TileStepCases {
  struct Exchange {
    ExchangeStep step;
    bool operator==(const Exchange&) const = default;
  };
  struct Compute {
    ComputeStep step;
    bool operator==(const Compute&) const = default;
  };
};

/// One step of a tile program.
struct TileStep : TileStepCases, support::Tagged<TileStepCases::Exchange, TileStepCases::Compute> {
  using Tagged::Tagged;
  TileStep(ExchangeStep step) : Tagged(Exchange{std::move(step)}) {}  // NOLINT: implicit
  TileStep(ComputeStep step) : Tagged(Compute{std::move(step)}) {}    // NOLINT: implicit
};

/// The ordered steps of one tile.
struct TileProgram {
  /// The tile number, used only in the message for a missing kernel.
  std::uint16_t tile = 0;
  std::vector<TileStep> steps;

  friend bool operator==(const TileProgram&, const TileProgram&) = default;
};

/// Render every field, addresses and words in hexadecimal, e.g.
/// `ExchangeStep { address: 0x60000, row: [...], profile: { before: none, after: none } }`.
std::ostream& operator<<(std::ostream& out, const StepProfile& profile);
std::ostream& operator<<(std::ostream& out, const ExchangeStep& step);
std::ostream& operator<<(std::ostream& out, const ComputeStep& step);
std::ostream& operator<<(std::ostream& out, const TileStep& step);
std::ostream& operator<<(std::ostream& out, const TileProgram& program);

}  // namespace vorn::codegen
