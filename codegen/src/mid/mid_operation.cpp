// Renderings of mid-level operation kinds, operations, regions and repeats.
#include "vorn/codegen/mid/mid_operation.hpp"

#include "operation_listing.hpp"

namespace vorn::codegen::mid {

std::ostream& operator<<(std::ostream& out, const MidOperationKind& kind) {
  using K = MidOperationKind;
  kind.visit(support::overloaded{
      [&](const K::Kernel& k) { out << "Kernel(" << k.kernel << ')'; },
      [&](const K::CastPrecision& k) {
        out << "CastPrecision(" << k.from << " -> " << k.to << ')';
      },
      [&](const K::Rearrange& k) { out << "Rearrange(" << k.from << " -> " << k.to << ')'; },
      [&](const K::Repeat& k) {
        out << "Repeat { count: " << k.count << ", carried_inputs: " << k.carried_inputs
            << ", invariant_inputs: " << k.invariant_inputs << " }";
      },
  });
  return out;
}

std::ostream& operator<<(std::ostream& out, const MidOperation& operation) {
  detail::print_operation(out, operation, 0, {});
  return out;
}

std::ostream& operator<<(std::ostream& out, const MidRegion& region) {
  detail::print_region(out, region, 0, {});
  return out;
}

std::ostream& operator<<(std::ostream& out, const MidRepeat& repeat) {
  out << MidOperationKind(repeat) << ' ';
  detail::print_region(out, repeat.body, 0, {});
  return out;
}

}  // namespace vorn::codegen::mid
