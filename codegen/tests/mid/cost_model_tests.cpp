// ToyCostModel's worked values, saturation, and the price of whole format conversions.
#include "vorn/codegen/mid/toy_cost_model.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "vorn/codegen/mid/cost_model.hpp"

namespace vorn::codegen::mid {
namespace {

using graph::TensorShape;

constexpr std::uint64_t saturated = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint32_t max_extent = std::numeric_limits<std::uint32_t>::max();
const Precision f16 = Precision::F16{};
const Precision f32 = Precision::F32{};

struct KernelCase {
  std::string name;
  MidKernel kernel;
  std::vector<TensorType> inputs;
  TensorType output;
  std::uint64_t cost;
};

TEST(ToyCostModel, PricesKernels) {
  const TensorType rows({4, 100}, f16, Layout::row_sharded(4));
  const TensorType left16({5, 20}, f16, Layout::amp_left(16, 4));
  const TensorType left32({5, 20}, f32, Layout::amp_left(8, 4));
  const TensorType huge({max_extent, max_extent, 2}, f32, Layout::row_sharded(1));
  const KernelCase cases[] = {
      {"gelu", MidKernel::Gelu{}, {rows}, rows, 150},
      {"add", MidKernel::Add{}, {rows, rows}, rows, 25},
      {"attention ignores its accumulator",
       MidKernel::FlashAttention{AccumulationPrecision::F16},
       {},
       TensorType({2, 3, 5, 7}, f16, Layout::head_sharded(4)),
       53},
      {"gemm f16 on the padded inner extent",
       MidKernel::Gemm{f16, AccumulationPrecision::F32},
       {left16},
       TensorType({5, 30}, f16, Layout::amp_output(4)),
       150},
      {"gemm f32",
       MidKernel::Gemm{f32, AccumulationPrecision::F16},
       {left32},
       TensorType({5, 30}, f32, Layout::amp_output(4)),
       450},
      {"gemm f8",
       MidKernel::Gemm{Precision::F8F143{2}, AccumulationPrecision::F32},
       {left16},
       TensorType({5, 30}, f16, Layout::amp_output(4)),
       75},
      {"gemm on an unfitting left layout uses the logical inner extent",
       MidKernel::Gemm{f16, AccumulationPrecision::F32},
       {TensorType({5, 20}, f16, Layout::head_sharded(4))},
       TensorType({5, 30}, f16, Layout::amp_output(4)),
       94},
      {"gemm without operands counts an inner extent of 1",
       MidKernel::Gemm{f16, AccumulationPrecision::F32},
       {},
       TensorType({5, 30}, f16, Layout::amp_output(4)),
       5},
      {"gelu saturates", MidKernel::Gelu{}, {huge}, huge, saturated / 16 + 1},
      {"gemm saturates",
       MidKernel::Gemm{f32, AccumulationPrecision::F32},
       {huge},
       huge,
       saturated / 16 + 1},
  };
  const ToyCostModel model;
  for (const KernelCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(model.kernel_cost(c.kernel, c.inputs, c.output), c.cost);
  }
}

TEST(ToyCostModel, PricesCastsAndRearrangements) {
  const ToyCostModel model;
  EXPECT_EQ(model.cast_cost({5, 30}, f16, f32), 57U);
  EXPECT_EQ(model.cast_cost({5, 30}, Precision::F8F143{-7}, f16), 29U);
  EXPECT_EQ(model.cast_cost({max_extent, max_extent, 2}, f16, f32), saturated / 16 + 1);

  EXPECT_EQ(model.rearrange_cost({5, 30}, f16, Layout::row_sharded(4), Layout::amp_output(4)), 80U);
  Layout interleaved = Layout::row_sharded(4);
  interleaved.memory_class = MemoryClass::Vorn21Interleaved;
  EXPECT_EQ(model.rearrange_cost({5, 30}, f16, Layout::row_sharded(4), interleaved), 38U);
  EXPECT_EQ(model.rearrange_cost({max_extent, max_extent, 2}, f32, Layout::row_sharded(1),
                                 Layout::amp_output(1)),
            saturated / 16 + 1);
}

TEST(ConversionCost, CastsThenRearrangesAtTheTargetPrecision) {
  const ToyCostModel model;
  const TensorType value({5, 30}, f32, Layout::row_sharded(4));
  EXPECT_EQ(conversion_cost(value, TensorFormat{f16, Layout::amp_output(4)}, model), 57U + 80U);
  EXPECT_EQ(conversion_cost(value, TensorFormat{f32, Layout::row_sharded(4)}, model), 0U);
  EXPECT_EQ(conversion_cost(value, TensorFormat{f16, Layout::row_sharded(4)}, model), 57U);
  // At F32 the same rearrangement would cost 160.
  EXPECT_EQ(conversion_cost(TensorType({5, 30}, f16, Layout::row_sharded(4)),
                            TensorFormat{f16, Layout::amp_output(4)}, model),
            80U);
}

// A model whose every price is the largest cost.
class ExpensiveModel final : public CostModel {
 public:
  std::uint64_t kernel_cost(const MidKernel&, std::span<const TensorType>,
                            const TensorType&) const override {
    return saturated;
  }
  std::uint64_t cast_cost(const TensorShape&, const Precision&, const Precision&) const override {
    return saturated;
  }
  std::uint64_t rearrange_cost(const TensorShape&, const Precision&, const Layout&,
                               const Layout&) const override {
    return saturated;
  }
};

TEST(ConversionCost, SaturatesAndIgnoresTheModelForEqualFormats) {
  const ExpensiveModel model;
  const TensorType value({2, 2}, f32, Layout::row_sharded(1));
  EXPECT_EQ(conversion_cost(value, TensorFormat{f16, Layout::amp_output(1)}, model), saturated);
  EXPECT_EQ(conversion_cost(value, value.format, model), 0U);
}

}  // namespace
}  // namespace vorn::codegen::mid
