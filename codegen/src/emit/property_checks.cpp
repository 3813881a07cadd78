// Checks of the emitter on two fixed step programs: one that resolves, one that is malformed.
#include "property_checks.hpp"

#include <cstdint>
#include <vector>

#include "vorn/codegen/emit.hpp"

namespace vorn::codegen::tests {

SymbolTable symbols() {
  return SymbolTable{
      {"vorn_stack_static_worker_barrier", 0x50000}, {"vorn_stack_static_complete", 0x50004},
      {"vorn_stack_static_host_run", 0x50008},       {"vorn_stack_static_repeat_call", 0x5000C},
      {"vorn_stack_static_sample_cycle", 0x50010},   {"gemm", 0x51000},
  };
}

VORN_CHECK(emits_resolved_exchange_and_compute_steps) {
  std::vector<std::uint32_t> row(exchange_row_words, 0);
  row.front() = idle_row_marker;
  const TileProgram program{
      7,
      {ExchangeStep{0x60000, row, StepProfile{}},
       ComputeStep{"gemm", 0x70000, {0x71000, 0x72000}, {64}, StepProfile{}}},
  };
  CodegenOptions options;
  options.code_address = 0x52000;

  const GeneratedProgram generated =
      selfcheck::unwrap(emit(program, symbols(), HostProgram{}, options));
  VORN_ASSERT(!generated.bytes.empty());
  selfcheck::check_eq(generated.exchange_rows.size(), std::size_t{1}, "placed exchange rows");
  selfcheck::check_eq(generated.exchange_rows.front().address, std::uint32_t{0x60000},
                      "address of the placed row");
}

VORN_CHECK(rejects_unresolved_or_malformed_inputs) {
  const TileProgram program{0, {ExchangeStep{3, {}, StepProfile{}}}};
  const auto result = emit(program, symbols(), HostProgram{}, CodegenOptions{});
  VORN_ASSERT(!result.has_value() && result.error().is<CodegenError::Invalid>());
}

}  // namespace vorn::codegen::tests
