// The building blocks of emit used on their own: compute steps, host phases, cycle samples
// and runtime symbol lookup.
#include "vorn/codegen/emit/emitter.hpp"

#include <gtest/gtest.h>

#include "emit_fixtures.hpp"

namespace vorn::codegen {
namespace {

using testing::expect_invalid;
using testing::expect_schedule;
using testing::symbols;
using Words = std::vector<std::uint32_t>;

ComputeStep kernel(std::size_t inputs, std::size_t arguments) {
  return ComputeStep{"gemm", 0x70000, std::vector<std::uint32_t>(inputs, 0x71000),
                     std::vector<std::uint32_t>(arguments, 1), {}};
}

TEST(EmitCompute, LoadsOutputInputsAndArgumentsThenCallsTheKernel) {
  TileCode code;
  ASSERT_TRUE(emit_compute(code, 0, ComputeStep{"gemm", 0x70000, {0x71000}, {0x123456, 9}, {}},
                           symbols())
                  .has_value());
  EXPECT_EQ(code.words, (Words{0x19270000, 0x19371000, 0x19400123, 0x4244A00C, 0x22440456,
                               0x19500009, 0x18A14400}));
}

TEST(EmitCompute, ReportsOperandCountsBeyondItsRegisters) {
  const struct {
    const char* label;
    ComputeStep step;
    CodegenError error;
  } cases[] = {
      {"256 inputs", kernel(256, 0), invalid("kernel input count exceeds u8")},
      {"255 inputs", kernel(255, 0), invalid("kernel input register overflow")},
      {"253 inputs", kernel(253, 0), invalid("kernel input register overflow")},
      {"252 inputs reach register 16",
       kernel(252, 0), CodegenError(exchange::ExchangeError::Schedule{"setzi operand"})},
      {"14 inputs reach register 16", kernel(14, 0),
       CodegenError(exchange::ExchangeError::Schedule{"setzi operand"})},
      {"arguments reach register 16", kernel(1, 13),
       CodegenError(exchange::ExchangeError::Schedule{"setzi operand"})},
      {"300 arguments stop at register 16", kernel(1, 300),
       CodegenError(exchange::ExchangeError::Schedule{"setzi operand"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TileCode code;
    const auto result = emit_compute(code, 0, c.step, symbols());
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error(), c.error) << result.error();
  }
  // Twelve inputs use registers 3 to 14 and still work on their own.
  TileCode code;
  EXPECT_TRUE(emit_compute(code, 0, kernel(12, 1), symbols()).has_value());
  EXPECT_EQ(code.words.size(), 15U);
}

TEST(EmitCompute, LooksTheKernelUpAfterLoadingItsOperands) {
  TileCode code;
  SymbolTable table = symbols();
  table.erase("gemm");
  expect_invalid(emit_compute(code, 7, kernel(1, 0), table),
                 "tile 7 references missing kernel symbol gemm");
  EXPECT_EQ(code.words, (Words{0x19270000, 0x19371000}));
  expect_invalid(emit_compute(code, 65535, ComputeStep{"relu", 0, {0}, {}, {}}, table),
                 "tile 65535 references missing kernel symbol relu");
}

TEST(EmitHostPhases, EmptyListNeedsNoRoutine) {
  TileCode code;
  EXPECT_TRUE(emit_host_phases(code, SymbolTable{}, {}).has_value());
  EXPECT_TRUE(code.words.empty());
}

TEST(EmitHostPhases, LooksUpBothRoutinesBeforeWritingAnything) {
  TileCode code;
  SymbolTable table = symbols();
  table.erase("vorn_stack_static_host_run");
  expect_invalid(emit_host_phases(code, table, {{1, false, std::nullopt}, {2, true, 3}}),
                 "missing runtime symbol vorn_stack_static_host_run");
  EXPECT_TRUE(code.words.empty());
}

TEST(EmitHostPhases, SplitsRunsByActivityAndActiveAddress) {
  TileCode code;
  const std::vector<HostPhase> phases{
      {1, false, std::nullopt}, {2, false, std::nullopt},  // one inactive run at 1
      {1, true, 0x10}, {2, true, 0x20},                    // two active runs
      {3, false, std::nullopt},                            // one inactive run at 3
  };
  ASSERT_TRUE(emit_host_phases(code, symbols(), phases).has_value());
  EXPECT_EQ(code.words, (Words{0x19200002, 0x19300001, 0x18914003,              //
                               0x19200001, 0x19300010, 0x19400001, 0x18914002,  //
                               0x19200001, 0x19300020, 0x19400002, 0x18914002,  //
                               0x19200001, 0x19300003, 0x18914003}));
}

TEST(EmitCycleSample, LoadsTheAddressThenCallsTheSampler) {
  TileCode code;
  ASSERT_TRUE(emit_cycle_sample(code, symbols(), 0x8000).has_value());
  EXPECT_EQ(code.words, (Words{0x19208000, 0x18A14004}));
  code.words.clear();
  expect_invalid(emit_cycle_sample(code, SymbolTable{}, 0x8000),
                 "missing runtime symbol vorn_stack_static_sample_cycle");
}

TEST(Symbol, FindsRuntimeRoutinesByName) {
  EXPECT_EQ(symbol(symbols(), "vorn_stack_static_complete"), 0x50004U);
  expect_invalid(symbol(SymbolTable{}, complete_symbol),
                 "missing runtime symbol vorn_stack_static_complete");
}

TEST(ActiveExchange, HoldsForRowsNotStartingWithTheIdleMarker) {
  EXPECT_FALSE(active_exchange(ExchangeStep{0, testing::row_starting(idle_row_marker), {}}));
  EXPECT_TRUE(active_exchange(ExchangeStep{0, testing::row_starting(0), {}}));
  EXPECT_TRUE(active_exchange(ExchangeStep{0, {}, {}}));
  EXPECT_FALSE(active_exchange(kernel(1, 0)));
}

}  // namespace
}  // namespace vorn::codegen
