// validate: malformed step programs and the first message each one reports.
#include "vorn/codegen/emit/validate.hpp"

#include <gtest/gtest.h>

#include "emit_fixtures.hpp"

namespace vorn::codegen {
namespace {

using testing::row_starting;

ExchangeStep exchange_at(std::uint32_t address, std::size_t words) {
  return ExchangeStep{address, std::vector<std::uint32_t>(words, 0), {}};
}

ComputeStep gemm(std::size_t inputs, std::size_t arguments) {
  return ComputeStep{"gemm", 0x70000, std::vector<std::uint32_t>(inputs, 0x71000),
                     std::vector<std::uint32_t>(arguments, 1), {}};
}

TEST(Validate, AcceptsWellFormedPrograms) {
  const std::vector<TileProgram> programs{
      {0, {}},
      {3, {exchange_at(0, 9), exchange_at(0x1FFFFC, 9), gemm(1, 0), gemm(2, 5), gemm(1, 6),
           gemm(7, 0)}},
      // Beyond the structure nothing is tested: call targets are the encoder's business.
      {0, {exchange_at(0xFFFFFFFC, 9), ComputeStep{"k", 0xFFFFFFFF, {3}, {}, {}}}},
  };
  for (const TileProgram& program : programs) {
    EXPECT_TRUE(validate(program).has_value()) << program;
  }
}

TEST(Validate, ReportsTheFirstViolation) {
  ComputeStep unnamed = gemm(9, 9);
  unnamed.symbol.clear();
  const struct {
    const char* label;
    TileProgram program;
    const char* message;
  } cases[] = {
      {"alignment before length", {0, {exchange_at(3, 0)}},
       "exchange row address is not word aligned"},
      {"address 2", {0, {exchange_at(2, 9)}}, "exchange row address is not word aligned"},
      {"short row", {0, {exchange_at(4, 8)}}, "exchange row has 8 words, expected 9"},
      {"long row", {0, {exchange_at(4, 10)}}, "exchange row has 10 words, expected 9"},
      {"empty row", {0, {exchange_at(4, 0)}}, "exchange row has 0 words, expected 9"},
      {"empty symbol before registers", {0, {unnamed}}, "compute symbol is empty"},
      {"eight registers", {0, {gemm(2, 6)}},
       "kernel gemm needs 8 input/argument registers; 1..=7 are supported"},
      {"eight inputs", {0, {gemm(8, 0)}},
       "kernel gemm needs 8 input/argument registers; 1..=7 are supported"},
      {"arguments without inputs", {0, {gemm(0, 1)}},
       "kernel gemm needs 1 input/argument registers; 1..=7 are supported"},
      {"no operands", {0, {gemm(0, 0)}},
       "kernel gemm needs 0 input/argument registers; 1..=7 are supported"},
      {"first bad step wins", {0, {gemm(1, 0), exchange_at(4, 8), exchange_at(1, 9)}},
       "exchange row has 8 words, expected 9"},
      {"first bad step wins, compute", {0, {gemm(0, 1), exchange_at(1, 9)}},
       "kernel gemm needs 1 input/argument registers; 1..=7 are supported"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    testing::expect_invalid(validate(c.program), c.message);
  }
}

TEST(Validate, IgnoresTheRowsContents) {
  const TileProgram program{0, {ExchangeStep{8, row_starting(idle_row_marker), {}},
                                ExchangeStep{12, row_starting(0xDEADBEEF), {}}}};
  EXPECT_TRUE(validate(program).has_value());
}

}  // namespace
}  // namespace vorn::codegen
