// The named tilings and renderings of tilings.
#include "vorn/codegen/mid/tensor_tiling.hpp"

#include "vorn/support/print.hpp"

namespace vorn::codegen::mid {

TensorTiling TensorTiling::replicated(std::uint16_t tile_count) {
  return TensorTiling{tile_count, tile_count, {}};
}

TensorTiling TensorTiling::sharded(TensorAxis axis, std::uint16_t tile_count) {
  return TensorTiling{tile_count, 1, {AxisTiling{axis, tile_count, 1, Padding::Reject}}};
}

std::ostream& operator<<(std::ostream& out, Padding padding) {
  switch (padding) {
    case Padding::Reject:
      return out << "Reject";
    case Padding::Zero:
      return out << "Zero";
  }
  return out << "Padding(" << static_cast<int>(padding) << ')';
}

std::ostream& operator<<(std::ostream& out, const AxisTiling& tiling) {
  return out << tiling.axis << " x" << tiling.partitions << " block " << tiling.block_size << ' '
             << tiling.padding;
}

std::ostream& operator<<(std::ostream& out, const TensorTiling& tiling) {
  out << "tiles " << tiling.tile_count << " replicas " << tiling.replicas << ' ';
  return support::print_list(out, tiling.axes);
}

}  // namespace vorn::codegen::mid
