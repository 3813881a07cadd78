// TensorFormat and TensorType, the complete type of a mid-level value.
#pragma once

#include <cstdint>
#include <ostream>
#include <utility>

#include "vorn/codegen/graph/tensor_shape.hpp"
#include "vorn/codegen/mid/layout.hpp"
#include "vorn/codegen/mid/precision.hpp"

namespace vorn::codegen::mid {

/// Element precision and layout.
struct TensorFormat {
  Precision precision;
  Layout layout;

  bool operator==(const TensorFormat&) const = default;
};

/// The logical (unpadded) shape of a value and its format.
struct TensorType {
  graph::TensorShape shape;
  TensorFormat format;

  TensorType(graph::TensorShape shape_, TensorFormat format_)
      : shape(std::move(shape_)), format(std::move(format_)) {}
  /// The type of the given extents, precision and layout.
  TensorType(graph::TensorShape dimensions, Precision precision, Layout layout)
      : shape(std::move(dimensions)), format{std::move(precision), std::move(layout)} {}

  bool operator==(const TensorType&) const = default;
};

/// The element count of `shape` padded under `layout`, or of `shape` itself when the layout
/// does not fit it. A pricing aid: never fails, and saturates at the largest 64-bit count.
[[nodiscard]] std::uint64_t physical_elements(const graph::TensorShape& shape,
                                              const Layout& layout);

/// `F16 RowMajor Vorn21Standard {...}`.
std::ostream& operator<<(std::ostream& out, const TensorFormat& format);
/// `[4, 8] F16 RowMajor Vorn21Standard {...}`.
std::ostream& operator<<(std::ostream& out, const TensorType& type);

}  // namespace vorn::codegen::mid
