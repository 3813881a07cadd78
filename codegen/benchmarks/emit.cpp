// Throughput of emit on long step programs, and of the instruction decoder.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "vorn/codegen/emit.hpp"
#include "vorn/exchange/decoder.hpp"

namespace {

using namespace vorn::codegen;

SymbolTable runtime_symbols() {
  return SymbolTable{
      {"vorn_stack_static_worker_barrier", 0x50000}, {"vorn_stack_static_complete", 0x50004},
      {"vorn_stack_static_host_run", 0x50008},       {"vorn_stack_static_repeat_call", 0x5000C},
      {"vorn_stack_static_sample_cycle", 0x50010},   {"gemm", 0x51000},
  };
}

// Alternating active exchanges and gemm calls with large operand addresses, so that every
// register load takes the three-word form.
TileProgram alternating_program(std::size_t pairs) {
  TileProgram program;
  for (std::size_t i = 0; i < pairs; ++i) {
    std::vector<std::uint32_t> row(exchange_row_words, static_cast<std::uint32_t>(i));
    program.steps.push_back(
        ExchangeStep{static_cast<std::uint32_t>(0x100000 + 64 * i), std::move(row), {}});
    program.steps.push_back(ComputeStep{
        "gemm", 0x1000000, {0x1100000, 0x1200000}, {64, 128}, {0x8000, 0x8004}});
  }
  return program;
}

void BM_EmitAlternatingSteps(benchmark::State& state) {
  const TileProgram program = alternating_program(static_cast<std::size_t>(state.range(0)));
  const SymbolTable symbols = runtime_symbols();
  HostProgram host;
  host.inputs = {{0x1000, true, 0x2000}, {0x1000, true, 0x2000}};
  host.outputs = {{0x3000, false, std::nullopt}};
  CodegenOptions options;
  options.code_address = 0x52000;
  options.invocations = 4;
  for (auto _ : state) {
    auto generated = emit(program, symbols, host, options);
    benchmark::DoNotOptimize(generated);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(program.steps.size()));
}
BENCHMARK(BM_EmitAlternatingSteps)->Arg(16)->Arg(1024)->Arg(8192);

void BM_DecodeWords(benchmark::State& state) {
  std::uint32_t word = 0x12345678;
  for (auto _ : state) {
    word = word * 1664525U + 1013904223U;
    benchmark::DoNotOptimize(vorn::exchange::decode(word));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeWords);

}  // namespace

BENCHMARK_MAIN();
