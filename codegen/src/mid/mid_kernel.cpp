// Rendering of MidKernel.
#include "vorn/codegen/mid/mid_kernel.hpp"

namespace vorn::codegen::mid {

std::ostream& operator<<(std::ostream& out, const MidKernel& kernel) {
  using K = MidKernel;
  kernel.visit(support::overloaded{
      [&](const K::Gemm& k) {
        out << "Gemm { multiply: " << k.multiply << ", accumulate: " << k.accumulate << " }";
      },
      [&](const K::Gelu&) { out << "Gelu"; },
      [&](const K::Add&) { out << "Add"; },
      [&](const K::FlashAttention& k) {
        out << "FlashAttention { accumulate: " << k.accumulate << " }";
      },
  });
  return out;
}

}  // namespace vorn::codegen::mid
