// The whole pipeline on a small graph: build, lower to formats, lower to tiles, emit a tile.
#include <iostream>

#include "vorn/codegen/emit.hpp"
#include "vorn/codegen/graph.hpp"
#include "vorn/codegen/low.hpp"
#include "vorn/codegen/mid.hpp"

using namespace vorn::codegen;

int main() {
  // 1. Two [8, 16] host inputs and their sum.
  graph::ComputeGraph graph;
  const graph::ValueId a = *graph.host_input("a", {8, 16});
  const graph::ValueId b = *graph.host_input("b", {8, 16});
  const graph::ValueId sum = *graph.add(a, b);
  (void)graph.set_outputs({sum});

  // 2. Both inputs arrive as F16 split by rows over two tiles; the default kernels compete.
  const mid::TensorFormat rows{mid::Precision::F16{}, mid::Layout::row_sharded(2)};
  const mid::LoweringConfig config = mid::LoweringConfig(2).with_input(a, rows).with_input(b, rows);
  const auto lowered = mid::lower(graph, config, mid::ToyCostModel{});
  if (!lowered) {
    std::cerr << "mid-level lowering failed: " << lowered.error() << '\n';
    return 1;
  }
  std::cout << *lowered << "\n\n";

  // 3. One shard per value and tile, operands made resident through exchange phases.
  const auto program = low::lower_to_tiles(*lowered, low::LowLoweringConfig{2});
  if (!program) {
    std::cerr << "tile lowering failed: " << program.error() << '\n';
    return 1;
  }
  std::cout << *program << "\n\n";

  // 4. One tile's machine code: an idle exchange, then a kernel call.
  std::vector<std::uint32_t> row(exchange_row_words, 0);
  row.front() = idle_row_marker;
  const TileProgram steps{
      0,
      {ExchangeStep{0x60000, row, {}}, ComputeStep{"add", 0x70000, {0x71000, 0x72000}, {16}, {}}}};
  const SymbolTable symbols{
      {"vorn_stack_static_worker_barrier", 0x50000}, {"vorn_stack_static_complete", 0x50004},
      {"vorn_stack_static_host_run", 0x50008},       {"vorn_stack_static_repeat_call", 0x5000C},
      {"vorn_stack_static_sample_cycle", 0x50010},   {"add", 0x51000}};
  CodegenOptions options;
  options.code_address = 0x52000;
  const auto code = emit(steps, symbols, HostProgram{}, options);
  if (!code) {
    std::cerr << "emission failed: " << code.error() << '\n';
    return 1;
  }
  std::cout << disassembly(*code, options.code_address);
}
