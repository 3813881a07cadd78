// Renderings of kernel runs, their kernels and operands.
#include "vorn/codegen/low/kernel_run.hpp"

#include "vorn/support/print.hpp"

namespace vorn::codegen::low {

std::ostream& operator<<(std::ostream& out, const LowKernel& kernel) {
  using K = LowKernel;
  kernel.visit(support::overloaded{
      [&](const K::Kernel& k) { out << "Kernel(" << k.kernel << ')'; },
      [&](const K::Cast& k) { out << "Cast(" << k.from << " -> " << k.to << ')'; },
      [&](const K::Rearrange& k) { out << "Rearrange(" << k.from << " -> " << k.to << ')'; },
  });
  return out;
}

std::ostream& operator<<(std::ostream& out, const KernelOperand& operand) {
  return support::print_list(out, operand.shards);
}

std::ostream& operator<<(std::ostream& out, const KernelRun& run) {
  out << run.output << " = " << run.kernel;
  for (const KernelOperand& operand : run.inputs) out << ' ' << operand;
  if (run.source.has_value()) out << " (from " << *run.source << ')';
  return out;
}

}  // namespace vorn::codegen::low
