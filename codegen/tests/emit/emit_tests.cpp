// emit: whole programs word for word, the invocation loop, exchanges and host phases.
#include "vorn/codegen/emit/emitter.hpp"

#include <gtest/gtest.h>

#include "emit_fixtures.hpp"

namespace vorn::codegen {
namespace {

using testing::expect_code;
using testing::row_starting;
using testing::symbols;
using Words = std::vector<std::uint32_t>;

CodegenOptions at(std::uint32_t code_address, std::uint32_t invocations = 1) {
  CodegenOptions options;
  options.code_address = code_address;
  options.invocations = invocations;
  return options;
}

GeneratedProgram emitted(const TileProgram& program, const HostProgram& host,
                         const CodegenOptions& options, const SymbolTable& table = symbols()) {
  auto result = emit(program, table, host, options);
  if (!result) ADD_FAILURE() << "emission failed: " << result.error();
  return result.value_or(GeneratedProgram{});
}

const Words jump_to_completion{0x19050004, 0x43000000};

TEST(Emit, IdleExchangeThenGemmCall) {
  const TileProgram program{
      7,
      {ExchangeStep{0x60000, row_starting(idle_row_marker), {}},
       ComputeStep{"gemm", 0x70000, {0x71000, 0x72000}, {64}, {}}},
  };
  const GeneratedProgram generated = emitted(program, HostProgram{}, at(0x52000));
  expect_code(generated, 0x52000,
              {0x41800003, 0x18A18000, 0x19270000, 0x19371000, 0x19472000, 0x19500040,
               0x18A14400, 0x19050004, 0x43000000});
  ASSERT_EQ(generated.bytes.size(), 36U);
  EXPECT_EQ(Words(generated.bytes.begin(), generated.bytes.begin() + 8),
            (Words{0x03, 0x00, 0x80, 0x41, 0x00, 0x80, 0xA1, 0x18}));
  EXPECT_EQ(generated.exchange_rows,
            (std::vector<PlacedExchangeRow>{{0x60000, row_starting(idle_row_marker)}}));
}

TEST(Emit, TwoInvocationsWithHostPhasesSampleAndActiveExchange) {
  const TileProgram program{
      0,
      {ExchangeStep{0x60000, row_starting(0x12345678), {}},
       ComputeStep{"gemm", 0x70000, {0x71000}, {}, {}}},
  };
  HostProgram host;
  host.inputs = {{0x1000, true, 0x2000}, {0x1000, true, 0x2000}};
  host.outputs = {{0x3000, false, std::nullopt}};
  CodegenOptions options = at(0x52000, 2);
  options.initial_profile_address = 0x8000;

  const GeneratedProgram generated = emitted(program, host, options);
  expect_code(generated, 0x52000,
              {0x22BBFFF8, 0x19000002, 0x4FB0F000,                          // counter slot
               0x19200002, 0x19302000, 0x19401000, 0x18914002,              // host inputs
               0x43F080A7, 0x43F080A4, 0x19800001, 0x438080A6,              // exchange prologue
               0x19208000, 0x18A14004,                                      // initial sample
               0x41800003, 0x18714000, 0x18A18000,                          // active exchange
               0x19270000, 0x19371000, 0x18A14400,                          // gemm
               0x19200001, 0x19303000, 0x18914003,                          // host outputs
               0x01B0F000, 0x2200FFFF, 0x4FB0F000, 0x1301481C,              // count down
               0x1905200C, 0x43000000, 0x22BB0008, 0x19050004, 0x43000000});  // loop, exit
  EXPECT_EQ(generated.bytes.size(), 31U * 4U);
  EXPECT_EQ(generated.exchange_rows,
            (std::vector<PlacedExchangeRow>{{0x60000, row_starting(0x12345678)}}));
}

TEST(Emit, EmptyProgramOnlyJumpsToCompletion) {
  const GeneratedProgram generated = emitted(TileProgram{}, HostProgram{}, CodegenOptions{});
  expect_code(generated, 0, jump_to_completion);
  EXPECT_TRUE(generated.exchange_rows.empty());
}

TEST(Emit, CompletionAddressNeedsNoAlignment) {
  SymbolTable table = symbols();
  table["vorn_stack_static_complete"] = 0xFFFFFFFF;
  expect_code(emitted(TileProgram{}, HostProgram{}, CodegenOptions{}, table), 0,
              {0x190FFFFF, 0x4200A00C, 0x22000FFF, 0x43000000});
}

TEST(Emit, BarrierAndPrologueOnlyForActiveExchanges) {
  const ExchangeStep idle{0x60000, row_starting(idle_row_marker), {}};
  const ExchangeStep active{0x60000, row_starting(0), {}};
  const ExchangeStep other{0x60040, row_starting(1), {}};
  const Words prologue{0x43F080A7, 0x43F080A4, 0x19800001, 0x438080A6};
  const SymbolTable no_barrier = testing::symbols_without("vorn_stack_static_worker_barrier");

  // An idle exchange needs no barrier, not even in the table.
  expect_code(emitted(TileProgram{0, {idle}}, {}, {}, no_barrier), 0,
              {0x41800003, 0x18A18000, 0x19050004, 0x43000000});

  Words one_active = prologue;
  one_active.insert(one_active.end(), {0x41800003, 0x18714000, 0x18A18000});
  one_active.insert(one_active.end(), jump_to_completion.begin(), jump_to_completion.end());
  expect_code(emitted(TileProgram{0, {active}}, {}, {}), 0, one_active);

  // One prologue for the whole body, one barrier call per active step.
  Words three = prologue;
  three.insert(three.end(), {0x41800003, 0x18714000, 0x18A18000,    // active
                             0x41800003, 0x18A18000,                // idle
                             0x41800003, 0x18714000, 0x18A18010});  // active at 0x60040
  three.insert(three.end(), jump_to_completion.begin(), jump_to_completion.end());
  const GeneratedProgram generated = emitted(TileProgram{0, {active, idle, other}}, {}, {});
  expect_code(generated, 0, three);
  ASSERT_EQ(generated.exchange_rows.size(), 3U);
  EXPECT_EQ(generated.exchange_rows[2], (PlacedExchangeRow{0x60040, row_starting(1)}));
}

TEST(Emit, SamplesAroundStepsAndTheWholeBody) {
  ExchangeStep exchange{0x60000, row_starting(idle_row_marker), {0x9000, 0x9004}};
  ComputeStep compute{"gemm", 0x70000, {0x71000}, {}, {std::nullopt, 0x9008}};
  CodegenOptions options;
  options.initial_profile_address = 0x8000;
  options.final_profile_address = 0x8004;
  expect_code(emitted(TileProgram{0, {exchange, compute}}, {}, options), 0,
              {0x19208000, 0x18A14004,                          // initial
               0x19209000, 0x18A14004,                          // before the exchange
               0x41800003, 0x18A18000, 0x19209004, 0x18A14004,  // exchange, after
               0x19270000, 0x19371000, 0x18A14400,              // gemm
               0x19209008, 0x18A14004,                          // after gemm
               0x19208004, 0x18A14004,                          // final
               0x19050004, 0x43000000});
}

TEST(Emit, GroupsHostPhasesIntoRuns) {
  HostProgram host;
  host.initialize = {{1, true, 0x100}, {1, true, std::nullopt}, {2, true, 0x200},
                     {5, false, std::nullopt}, {6, false, 0x300}};
  const SymbolTable table = symbols();
  expect_code(emitted(TileProgram{}, host, {}, table), 0,
              {0x19200002, 0x19300100, 0x19400001, 0x18914002,  // active run of two at 1
               0x19200001, 0x19300200, 0x19400002, 0x18914002,  // active run of one at 2
               0x19200002, 0x19300005, 0x18914003,              // inactive run of two at 5
               0x19050004, 0x43000000});
}

TEST(Emit, HostPhaseListsNeedOnlyTheRoutinesTheyUse) {
  HostProgram active_only;
  active_only.outputs = {{1, true, 0x100}};
  EXPECT_TRUE(emit(TileProgram{}, testing::symbols_without("vorn_stack_static_repeat_call"),
                   active_only, {})
                  .has_value());
  HostProgram inactive_only;
  inactive_only.inputs = {{1, false, std::nullopt}};
  EXPECT_TRUE(emit(TileProgram{}, testing::symbols_without("vorn_stack_static_host_run"),
                   inactive_only, {})
                  .has_value());
}

TEST(Emit, InitializePhasesRunOnceBeforeTheLoop) {
  HostProgram host;
  host.initialize = {{7, false, std::nullopt}};
  expect_code(emitted(TileProgram{}, host, at(0, 3)), 0,
              {0x19200001, 0x19300007, 0x18914003,  // initialize
               0x22BBFFF8, 0x19000003, 0x4FB0F000,  // counter = 3; loop starts at 0x18
               0x01B0F000, 0x2200FFFF, 0x4FB0F000, 0x1300000C, 0x19000018, 0x43000000,
               0x22BB0008, 0x19050004, 0x43000000});
}

TEST(Emit, LargeInvocationCountsLoadInThreeWords) {
  const GeneratedProgram generated = emitted(TileProgram{}, {}, at(0, 0x100000));
  const Words words = testing::words_of(generated.bytes);
  ASSERT_GE(words.size(), 4U);
  EXPECT_EQ(Words(words.begin() + 1, words.begin() + 4),
            (Words{0x19000100, 0x4200A00C, 0x22000000}));
}

TEST(Emit, LoopExitMustBeAReachableBranchTarget) {
  // At 0x1FFFC0 the exit address is 0x1FFFEC; at 0x1FFFE0 it would be 0x20000C.
  const GeneratedProgram generated = emitted(TileProgram{}, {}, at(0x1FFFC0, 2));
  expect_code(generated, 0x1FFFC0,
              {0x22BBFFF8, 0x19000002, 0x4FB0F000, 0x01B0F000, 0x2200FFFF, 0x4FB0F000,
               0x1307FFFB, 0x190001FF, 0x4200A00C, 0x22000FCC, 0x43000000, 0x22BB0008,
               0x19050004, 0x43000000});
  testing::expect_schedule(emit(TileProgram{}, symbols(), {}, at(0x1FFFE0, 2)), "brz operand");
  // A single invocation needs no branch, so any code address will do.
  EXPECT_TRUE(emit(TileProgram{}, symbols(), {}, at(2, 1)).has_value());
  testing::expect_schedule(emit(TileProgram{}, symbols(), {}, at(2, 2)), "brz operand");
}

TEST(Emit, DoesNotChangeItsInputsAndRepeatsItself) {
  const TileProgram program{
      1, {ExchangeStep{0x60000, row_starting(0), {0x10, 0x14}},
          ComputeStep{"gemm", 1, {2, 3}, {4, 5, 6}, {}}}};
  HostProgram host;
  host.inputs = {{1, true, 2}, {3, false, std::nullopt}};
  CodegenOptions options = at(0x1000, 5);
  const TileProgram program_copy = program;
  const HostProgram host_copy = host;
  const GeneratedProgram first = emitted(program, host, options);
  EXPECT_EQ(emitted(program, host, options), first);
  EXPECT_EQ(program, program_copy);
  EXPECT_EQ(host, host_copy);
}

}  // namespace
}  // namespace vorn::codegen
