// GeneratedProgram, the code of one tile and the exchange rows it expects in tile memory.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

namespace vorn::codegen {

/// An exchange row that the loader places in tile memory before the code runs.
struct PlacedExchangeRow {
  /// Byte address of the row (its step's address).
  std::uint32_t address = 0;
  /// The row's words, as the step gave them.
  std::vector<std::uint32_t> words;

  friend bool operator==(const PlacedExchangeRow&, const PlacedExchangeRow&) = default;
};

/// The result of emission.
struct GeneratedProgram {
  /// The code, every word least significant byte first, to be loaded at the code address.
  std::vector<std::uint8_t> bytes;
  /// One row per exchange step, in step order.
  std::vector<PlacedExchangeRow> exchange_rows;

  friend bool operator==(const GeneratedProgram&, const GeneratedProgram&) = default;
};

/// Renders as `PlacedExchangeRow { address: 0x60000, words: [0x40C00000, ...] }`.
std::ostream& operator<<(std::ostream& out, const PlacedExchangeRow& row);
/// Renders the bytes as hexadecimal pairs and the placed rows.
std::ostream& operator<<(std::ostream& out, const GeneratedProgram& program);

}  // namespace vorn::codegen
