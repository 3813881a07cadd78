// Element sizes and renderings of precisions.
#include "vorn/codegen/mid/precision.hpp"

namespace vorn::codegen::mid {

std::uint64_t Precision::bytes() const noexcept {
  return visit(support::overloaded{
      [](const F8F143&) -> std::uint64_t { return 1; },
      [](const F16&) -> std::uint64_t { return 2; },
      [](const F32&) -> std::uint64_t { return 4; },
  });
}

std::ostream& operator<<(std::ostream& out, const Precision& precision) {
  using P = Precision;
  precision.visit(support::overloaded{
      [&](const P::F8F143& p) { out << "F8F143(" << static_cast<int>(p.scale_exponent) << ')'; },
      [&](const P::F16&) { out << "F16"; },
      [&](const P::F32&) { out << "F32"; },
  });
  return out;
}

std::ostream& operator<<(std::ostream& out, AccumulationPrecision precision) {
  switch (precision) {
    case AccumulationPrecision::F16:
      return out << "F16";
    case AccumulationPrecision::F32:
      return out << "F32";
  }
  return out << "AccumulationPrecision(" << static_cast<int>(precision) << ')';
}

}  // namespace vorn::codegen::mid
