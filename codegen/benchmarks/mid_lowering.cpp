// Time of the mid-level lowering as the graph grows and as the candidate list grows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "vorn/codegen/graph.hpp"
#include "vorn/codegen/mid.hpp"

namespace {

using namespace vorn::codegen;

// A chain of `length` operations cycling through a product, a GELU and a sum with the input.
// The input arrives replicated in F32, so most operands need a cast and a rearrangement.
struct Workload {
  graph::ComputeGraph graph;
  mid::LoweringConfig config{4};
};

Workload chain(std::int64_t length) {
  Workload work;
  const graph::ValueId x = *work.graph.host_input("x", {64, 64});
  const graph::ValueId w = *work.graph.parameter("w", {64, 64});
  graph::ValueId current = x;
  for (std::int64_t i = 0; i < length; ++i) {
    switch (i % 3) {
      case 0:
        current = *work.graph.gemm(current, w);
        break;
      case 1:
        current = *work.graph.gelu(current);
        break;
      default:
        current = *work.graph.add(current, x);
        break;
    }
  }
  (void)work.graph.set_outputs({current});
  const mid::Layout replicated = mid::Layout::row_major(mid::TensorTiling::replicated(4));
  work.config = std::move(work.config)
                    .with_input(x, mid::TensorFormat{mid::Precision::F32{}, replicated})
                    .with_input(w, mid::TensorFormat{mid::Precision::F16{}, replicated});
  return work;
}

void lower_chain(benchmark::State& state) {
  const Workload work = chain(state.range(0));
  const mid::ToyCostModel costs;
  for (auto _ : state) {
    auto lowered = mid::lower(work.graph, work.config, costs);
    benchmark::DoNotOptimize(lowered);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(lower_chain)->RangeMultiplier(4)->Range(64, 16384)->Complexity(benchmark::oN);

// The same chain of 1024 operations with the default candidates listed range(0) times over.
void lower_with_candidates(benchmark::State& state) {
  Workload work = chain(1024);
  const std::vector<mid::KernelCandidate> defaults = work.config.kernel_candidates;
  work.config.kernel_candidates.clear();
  for (std::int64_t copy = 0; copy < state.range(0); ++copy) {
    work.config.kernel_candidates.insert(work.config.kernel_candidates.end(), defaults.begin(),
                                         defaults.end());
  }
  const mid::ToyCostModel costs;
  for (auto _ : state) {
    auto lowered = mid::lower(work.graph, work.config, costs);
    benchmark::DoNotOptimize(lowered);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(lower_with_candidates)->RangeMultiplier(2)->Range(1, 32)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
