// emit: every error with its exact text, and which one wins when several apply.
#include "vorn/codegen/emit/emitter.hpp"

#include <gtest/gtest.h>

#include <functional>

#include "emit_fixtures.hpp"

namespace vorn::codegen {
namespace {

using testing::row_starting;
using testing::symbols;
using testing::symbols_without;

const ExchangeStep active_exchange_step{0x60000, row_starting(0), {}};
const ComputeStep gemm_step{"gemm", 0x70000, {0x71000}, {}, {}};

// One emission call with its inputs; each case starts from a valid program and breaks it.
struct Inputs {
  TileProgram program;
  SymbolTable table = symbols();
  HostProgram host;
  CodegenOptions options;
};

struct ErrorCase {
  const char* label;
  std::function<void(Inputs&)> mutate;
  CodegenError error;
};

CodegenError schedule(std::string_view text) {
  return CodegenError(exchange::ExchangeError::Schedule{text});
}

TEST(EmitErrors, ReportTheFirstFailureWithItsExactText) {
  const ErrorCase cases[] = {
      {"zero invocations",
       [](Inputs& in) { in.options.invocations = 0; },
       invalid("invocation count must be nonzero")},
      {"zero invocations before validation",
       [](Inputs& in) {
         in.options.invocations = 0;
         in.program.steps.push_back(ExchangeStep{3, {}, {}});
       },
       invalid("invocation count must be nonzero")},
      {"validation before symbols",
       [](Inputs& in) {
         in.table.clear();
         in.program.steps.push_back(ExchangeStep{4, {1}, {}});
       },
       invalid("exchange row has 1 words, expected 9")},
      {"missing completion",
       [](Inputs& in) { in.table = symbols_without("vorn_stack_static_complete"); },
       invalid("missing runtime symbol vorn_stack_static_complete")},
      {"completion looked up before the steps",
       [](Inputs& in) {
         in.table.erase("vorn_stack_static_complete");
         in.table.erase("gemm");
       },
       invalid("missing runtime symbol vorn_stack_static_complete")},
      {"missing barrier",
       [](Inputs& in) { in.table = symbols_without("vorn_stack_static_worker_barrier"); },
       invalid("missing runtime symbol vorn_stack_static_worker_barrier")},
      {"missing sampler for the initial sample",
       [](Inputs& in) {
         in.table = symbols_without("vorn_stack_static_sample_cycle");
         in.options.initial_profile_address = 0x8000;
       },
       invalid("missing runtime symbol vorn_stack_static_sample_cycle")},
      {"missing sampler for a step sample",
       [](Inputs& in) {
         in.table = symbols_without("vorn_stack_static_sample_cycle");
         in.program.steps[1].get_if<TileStep::Compute>()->step.profile.after = 4;
       },
       invalid("missing runtime symbol vorn_stack_static_sample_cycle")},
      {"missing host runner",
       [](Inputs& in) {
         in.table = symbols_without("vorn_stack_static_host_run");
         in.host.outputs = {{1, true, 2}};
       },
       invalid("missing runtime symbol vorn_stack_static_host_run")},
      {"repeat helper looked up before the host runner",
       [](Inputs& in) {
         in.table.erase("vorn_stack_static_host_run");
         in.table.erase("vorn_stack_static_repeat_call");
         in.host.inputs = {{1, true, 2}, {3, false, std::nullopt}};
       },
       invalid("missing runtime symbol vorn_stack_static_repeat_call")},
      {"initialize phases before the barrier",
       [](Inputs& in) {
         in.table.erase("vorn_stack_static_worker_barrier");
         in.table.erase("vorn_stack_static_repeat_call");
         in.host.initialize = {{3, false, std::nullopt}};
       },
       invalid("missing runtime symbol vorn_stack_static_repeat_call")},
      {"active run without a run table",
       [](Inputs& in) { in.host.inputs = {{1, true, std::nullopt}, {1, true, 0x2000}}; },
       invalid("active host phase has no run table")},
      {"missing kernel",
       [](Inputs& in) {
         in.program.tile = 7;
         in.table.erase("gemm");
       },
       invalid("tile 7 references missing kernel symbol gemm")},
      {"kernel call target out of range",
       [](Inputs& in) { in.table["gemm"] = 0x200000; }, schedule("call operand")},
      {"kernel call target unaligned", [](Inputs& in) { in.table["gemm"] = 0x51002; },
       schedule("call operand")},
      {"row address out of range",
       [](Inputs& in) { in.program.steps[0].get_if<TileStep::Exchange>()->step.address = 0x200000; },
       schedule("call operand")},
      {"barrier out of range",
       [](Inputs& in) { in.table["vorn_stack_static_worker_barrier"] = 0x200000; },
       schedule("call operand")},
      {"sampler unaligned",
       [](Inputs& in) {
         in.table["vorn_stack_static_sample_cycle"] = 2;
         in.options.final_profile_address = 0;
       },
       schedule("call operand")},
      {"host runner out of range",
       [](Inputs& in) {
         in.table["vorn_stack_static_host_run"] = 0xFFFFFFFC;
         in.host.inputs = {{1, true, 2}};
       },
       schedule("call operand")},
      {"loop exit at an unaligned code address",
       [](Inputs& in) {
         in.options.code_address = 0x52002;
         in.options.invocations = 2;
       },
       schedule("brz operand")},
      {"loop exit beyond 2 MiB",
       [](Inputs& in) {
         in.program.steps.clear();
         in.options.code_address = 0x1FFFE0;
         in.options.invocations = 2;
       },
       schedule("brz operand")},
      {"invocation start beyond 32 bits",
       [](Inputs& in) {
         in.program.steps.clear();
         in.host.initialize = {{1, false, std::nullopt}};
         in.options.code_address = 0xFFFFFFF8;
       },
       invalid("generated code address overflow")},
      {"code running past the end of the address space",
       [](Inputs& in) {
         in.program.steps.clear();
         in.options.code_address = 0xFFFFFFFC;
       },
       invalid("generated code address overflow")},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.label);
    Inputs in;
    in.program = TileProgram{0, {active_exchange_step, gemm_step}};
    c.mutate(in);
    const auto result = emit(in.program, in.table, in.host, in.options);
    ASSERT_FALSE(result.has_value()) << "emitted:\n" << disassembly(*result, in.options.code_address);
    EXPECT_EQ(result.error(), c.error) << result.error();
  }
}

TEST(EmitErrors, CodeEndingExactlyAtTheTopOfTheAddressSpaceIsAccepted) {
  CodegenOptions options;
  options.code_address = 0xFFFFFFF8;
  const auto result = emit(TileProgram{}, symbols(), HostProgram{}, options);
  ASSERT_TRUE(result.has_value()) << result.error();
  EXPECT_EQ(result->bytes.size(), 8U);
}

TEST(EmitErrors, TheFixtureProgramNeedsNoBarrierButACompletionRoutine) {
  const TileProgram program{
      7,
      {ExchangeStep{0x60000, row_starting(idle_row_marker), {}},
       ComputeStep{"gemm", 0x70000, {0x71000, 0x72000}, {64}, {}}},
  };
  CodegenOptions options;
  options.code_address = 0x52000;
  EXPECT_TRUE(emit(program, symbols_without("vorn_stack_static_worker_barrier"), {}, options)
                  .has_value());
  testing::expect_invalid(
      emit(program, symbols_without("vorn_stack_static_complete"), {}, options),
      "missing runtime symbol vorn_stack_static_complete");
}

TEST(EmitErrors, AMisalignedRowIsInvalidWhateverElseIsWrong) {
  const TileProgram program{0, {ExchangeStep{3, {}, {}}}};
  testing::expect_invalid(emit(program, symbols(), {}, {}),
                          "exchange row address is not word aligned");
  testing::expect_invalid(emit(program, SymbolTable{}, {}, {}),
                          "exchange row address is not word aligned");
}

}  // namespace
}  // namespace vorn::codegen
