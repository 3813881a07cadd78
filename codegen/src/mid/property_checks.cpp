// Randomized checks of padding, kernel signatures, explicit conversions and repeat lowering.
#include "property_checks.hpp"

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "selfcheck/random.hpp"
#include "vorn/codegen/graph.hpp"
#include "vorn/codegen/mid.hpp"
#include "vorn/support/print.hpp"
#include "vorn/support/try.hpp"

namespace vorn::codegen::mid::tests {
namespace {

using graph::ComputeGraph;
using graph::TensorShape;
using graph::ValueId;
using selfcheck::check_eq;
using selfcheck::Random;
using selfcheck::unwrap;
using K = MidOperationKind;

constexpr std::size_t case_count = 128;

std::string case_label(std::size_t index) {
  return "random case " + std::to_string(index);
}

// Like check_eq, for lists, which render as `[a, b]`.
template <class T>
void check_list_eq(const std::vector<T>& left, const std::vector<T>& right,
                   std::string_view context = {}) {
  if (left == right) return;
  std::ostringstream message;
  message << "assertion failed: left == right";
  if (!context.empty()) message << " (" << context << ')';
  support::print_list(message << "\n   left: ", left);
  support::print_list(message << "\n  right: ", right);
  selfcheck::fail(message.str());
}

std::uint32_t dimension(Random& random) {
  return random.u32_in(1, 128);
}

Precision precision(Random& random) {
  if (random.boolean()) return Precision::F16{};
  return Precision::F32{};
}

AccumulationPrecision accumulation(Random& random) {
  return random.boolean() ? AccumulationPrecision::F16 : AccumulationPrecision::F32;
}

TensorFormat format(Precision p, Layout layout) {
  return TensorFormat{std::move(p), std::move(layout)};
}

TensorFormat random_format(Random& random, std::uint16_t tiles) {
  Layout layout =
      Layout::row_major(random.boolean() ? TensorTiling::replicated(tiles)
                                         : TensorTiling::sharded(TensorAxis::FromEnd{2}, tiles));
  if (random.boolean()) layout.memory_class = MemoryClass::Vorn21Interleaved;
  return format(precision(random), std::move(layout));
}

std::uint16_t amp_block(Random& random) {
  constexpr std::array<std::uint16_t, 3> blocks = {8, 16, 32};
  return blocks[random.size_below(0, blocks.size())];
}

const MidValue& value(const MidGraph& lowered, MidValueId id) {
  if (id.index() >= lowered.values.size()) {
    selfcheck::fail("value " + support::to_text(id) + " is not in the graph");
  }
  return lowered.values[id.index()];
}

const TensorFormat& format_of(const MidGraph& lowered, MidValueId id) {
  return value(lowered, id).tensor_type.format;
}

void assert_kernel_signature(const MidGraph& lowered, const MidOperation& operation,
                             const std::vector<TensorFormat>& inputs, const TensorFormat& output) {
  check_eq(operation.inputs.size(), inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    check_eq(format_of(lowered, operation.inputs[i]), inputs[i]);
  }
  VORN_ASSERT(!operation.results.empty());
  check_eq(format_of(lowered, operation.results[0]), output);
}

void assert_conversions_are_explicit(const MidGraph& lowered,
                                     const std::vector<MidOperation>& operations) {
  for (const MidOperation& operation : operations) {
    if (operation.inputs.size() != 1 || operation.results.size() != 1) continue;
    const TensorType& before = value(lowered, operation.inputs[0]).tensor_type;
    const TensorType& after = value(lowered, operation.results[0]).tensor_type;
    if (const auto* cast = operation.kind.get_if<K::CastPrecision>()) {
      check_eq(cast->from, before.format.precision);
      check_eq(cast->to, after.format.precision);
      check_eq(before.shape, after.shape);
      check_eq(before.format.layout, after.format.layout);
    } else if (const auto* rearrange = operation.kind.get_if<K::Rearrange>()) {
      check_eq(rearrange->from, before.format.layout);
      check_eq(rearrange->to, after.format.layout);
      check_eq(before.shape, after.shape);
      check_eq(before.format.precision, after.format.precision);
    }
  }
}

std::vector<const MidOperation*> kernels(const MidGraph& lowered) {
  std::vector<const MidOperation*> found;
  for (const MidOperation& operation : lowered.operations) {
    if (operation.kind.is<K::Kernel>()) found.push_back(&operation);
  }
  return found;
}

const MidKernel& kernel_of(const MidOperation& operation) {
  return operation.kind.get_if<K::Kernel>()->kernel;
}

const KernelRequirements& requirements_of(const MidOperation& operation) {
  if (!operation.kernel_requirements) selfcheck::fail("kernel operation without requirements");
  return *operation.kernel_requirements;
}

// Prefers F16 products for even column counts and F32 for odd ones; conversions are free.
class ColumnParityCost final : public CostModel {
 public:
  std::uint64_t kernel_cost(const MidKernel& kernel, std::span<const TensorType>,
                            const TensorType& output) const override {
    const auto* gemm = kernel.get_if<MidKernel::Gemm>();
    if (gemm == nullptr) return 0;
    if (output.shape.dimensions.empty()) {
      selfcheck::fail("ColumnParityCost priced a product without axes");
    }
    const Precision preferred = output.shape.dimensions.back() % 2 == 0
                                    ? Precision(Precision::F16{})
                                    : Precision(Precision::F32{});
    return gemm->multiply == preferred ? 0 : 1;
  }
  std::uint64_t cast_cost(const TensorShape&, const Precision&, const Precision&) const override {
    return 0;
  }
  std::uint64_t rearrange_cost(const TensorShape&, const Precision&, const Layout&,
                               const Layout&) const override {
    return 0;
  }
};

TensorShape with_matrix(std::vector<std::uint32_t> batch, std::uint32_t rows,
                        std::uint32_t columns) {
  batch.push_back(rows);
  batch.push_back(columns);
  return TensorShape(std::move(batch));
}

}  // namespace

VORN_CHECK(randomized_axis_tiling_applies_or_rejects_padding) {
  Random random(0x74696C65);  // "tile"
  for (std::size_t index = 0; index < case_count; ++index) {
    const std::size_t rank = random.size_in(1, 6);
    const std::size_t axis = random.size_below(0, rank);
    const std::uint32_t extent = dimension(random);
    const std::uint32_t block_size = random.u32_in(1, 32);
    const std::uint16_t partitions = random.u16_in(1, 16);
    const std::uint16_t replicas = random.u16_in(1, 4);
    const Padding padding = random.boolean() ? Padding::Reject : Padding::Zero;
    std::vector<std::uint32_t> extents;
    for (std::size_t i = 0; i < rank; ++i) extents.push_back(dimension(random));
    extents[axis] = extent;
    const TensorShape shape(extents);
    const Layout layout = Layout::row_major(
        TensorTiling{static_cast<std::uint16_t>(partitions * replicas),
                     replicas,
                     {AxisTiling{TensorAxis::FromStart{static_cast<std::uint16_t>(axis)},
                                 partitions, block_size, padding}}});

    const auto result = layout.padded_shape(shape);
    if (padding == Padding::Reject && extent % block_size != 0) {
      if (result.has_value() || !result.error().is<LayoutError::IndivisibleAxis>()) {
        selfcheck::fail(case_label(index));
      }
      continue;
    }
    const TensorShape padded = unwrap(result);
    check_eq(padded.rank(), shape.rank(), case_label(index));
    for (std::size_t i = 0; i < rank; ++i) {
      const std::uint32_t expected =
          i == axis ? (extent + block_size - 1) / block_size * block_size : shape.dimensions[i];
      check_eq(padded.dimensions[i], expected, case_label(index));
    }
  }
}

VORN_CHECK(randomized_gemm_lowering_makes_every_format_boundary_explicit) {
  Random random(0x6D696467);  // "midg"
  const ToyCostModel costs;
  for (std::size_t index = 0; index < case_count; ++index) {
    const std::uint32_t rows = dimension(random);
    const std::uint32_t inner = dimension(random);
    const std::uint32_t columns = dimension(random);
    std::vector<std::uint32_t> batch(random.size_in(0, 3));
    for (std::uint32_t& extent : batch) extent = dimension(random);
    const std::uint16_t tiles = random.u16_in(1, 64);

    const Precision multiply = precision(random);
    const Precision left_precision = precision(random);
    const TensorFormat left_format =
        format(left_precision, Layout::amp_left(amp_block(random), tiles));
    const Precision right_precision =
        random.boolean() ? precision(random) : Precision(Precision::F8F143{random.i8_in(-16, 16)});
    const TensorFormat right_format =
        format(right_precision, Layout::amp_right(amp_block(random), tiles));
    const TensorFormat output_format = format(precision(random), Layout::amp_output(tiles));
    const AccumulationPrecision accumulate = accumulation(random);
    const KernelCandidate candidate{
        MidKernel::Gemm{multiply, accumulate},
        {OperandRequirement{left_format, 32}, OperandRequirement{right_format, 32}},
        OperandRequirement{output_format, 32}};

    ComputeGraph graph;
    const ValueId left = unwrap(graph.host_input("left", with_matrix(batch, rows, inner)));
    const ValueId right = unwrap(graph.parameter("right", with_matrix(batch, inner, columns)));
    const ValueId product = unwrap(graph.gemm(left, right));
    unwrap(graph.set_outputs({product}));

    LoweringConfig config =
        LoweringConfig(tiles)
            .with_input(left, format(precision(random), Layout::row_sharded(tiles)))
            .with_input(right, format(precision(random), Layout::row_sharded(tiles)));
    config.kernel_candidates = {candidate};
    const MidGraph lowered = unwrap(lower(graph, config, costs));

    const std::vector<const MidOperation*> found = kernels(lowered);
    if (found.empty() || !kernel_of(*found.front()).is<MidKernel::Gemm>()) {
      selfcheck::fail(case_label(index) + ": expected GEMM");
    }
    const MidOperation& gemm = *found.front();
    const auto& chosen = *kernel_of(gemm).get_if<MidKernel::Gemm>();
    check_eq(chosen.multiply, multiply, case_label(index));
    check_eq(chosen.accumulate, accumulate, case_label(index));
    check_eq(gemm.inputs.size(), std::size_t{2}, case_label(index));
    check_eq(format_of(lowered, gemm.inputs[0]), left_format, case_label(index));
    check_eq(format_of(lowered, gemm.inputs[1]), right_format, case_label(index));
    check_eq(gemm.results.size(), std::size_t{1}, case_label(index));
    const TensorType& result = value(lowered, gemm.results[0]).tensor_type;
    check_eq(std::optional(result.shape), graph.value_shape(product), case_label(index));
    check_eq(result.format, output_format, case_label(index));
    assert_conversions_are_explicit(lowered, lowered.operations);
  }
}

VORN_CHECK(randomized_non_gemm_lowering_honors_complete_kernel_signatures) {
  Random random(0x6164642B);  // "add+"
  const ToyCostModel costs;
  for (std::size_t index = 0; index < case_count; ++index) {
    const std::uint16_t tiles = random.u16_in(1, 64);
    const std::uint32_t batch = dimension(random);
    const std::uint32_t query_rows = dimension(random);
    const std::uint32_t key_rows = dimension(random);
    const std::uint32_t channels = dimension(random);
    const std::uint32_t value_channels = dimension(random);

    ComputeGraph graph;
    const ValueId activation =
        unwrap(graph.host_input("activation", {batch, query_rows, channels}));
    const ValueId residual = unwrap(graph.host_input("residual", {batch, query_rows, channels}));
    const ValueId query = unwrap(graph.host_input("query", {batch, query_rows, channels}));
    const ValueId key = unwrap(graph.host_input("key", {batch, key_rows, channels}));
    const ValueId value_input =
        unwrap(graph.host_input("value", {batch, key_rows, value_channels}));
    const ValueId activated = unwrap(graph.gelu(activation));
    const ValueId sum = unwrap(graph.add(activated, residual));
    const ValueId attended = unwrap(graph.flash_attention(query, key, value_input));
    unwrap(graph.set_outputs({sum, attended}));

    const TensorFormat gelu_input = random_format(random, tiles);
    const TensorFormat gelu_output = gelu_input;
    const TensorFormat add_left = random_format(random, tiles);
    const TensorFormat add_right = random_format(random, tiles);
    const TensorFormat add_output = add_left;
    const TensorFormat attention_query = random_format(random, tiles);
    const TensorFormat attention_key = random_format(random, tiles);
    const TensorFormat attention_value_format = random_format(random, tiles);
    const TensorFormat attention_output = random_format(random, tiles);
    const AccumulationPrecision attention_accumulate = accumulation(random);

    LoweringConfig config(tiles);
    for (const ValueId input : {activation, residual, query, key, value_input}) {
      config = std::move(config).with_input(input, random_format(random, tiles));
    }
    const auto requirement = [](const TensorFormat& f) { return OperandRequirement{f, 8}; };
    const OutputAliasing may_alias_first = OutputAliasing::MayAliasInputs{{0}};
    config.kernel_candidates = {
        KernelCandidate{MidKernel::Gelu{}, {requirement(gelu_input)}, requirement(gelu_output)}
            .with_output_aliasing(may_alias_first),
        KernelCandidate{MidKernel::Add{},
                        {requirement(add_left), requirement(add_right)},
                        requirement(add_output)}
            .with_output_aliasing(may_alias_first),
        KernelCandidate{MidKernel::FlashAttention{attention_accumulate},
                        {requirement(attention_query), requirement(attention_key),
                         requirement(attention_value_format)},
                        requirement(attention_output)},
    };
    const MidGraph lowered = unwrap(lower(graph, config, costs));

    const std::vector<const MidOperation*> found = kernels(lowered);
    check_eq(found.size(), std::size_t{3}, case_label(index));
    const MidOperation& gelu = *found[0];
    VORN_ASSERT(kernel_of(gelu).is<MidKernel::Gelu>());
    assert_kernel_signature(lowered, gelu, {gelu_input}, gelu_output);
    check_eq(requirements_of(gelu).output_aliasing, may_alias_first);
    const MidOperation& add = *found[1];
    VORN_ASSERT(kernel_of(add).is<MidKernel::Add>());
    assert_kernel_signature(lowered, add, {add_left, add_right}, add_output);
    check_eq(requirements_of(add).output_aliasing, may_alias_first);
    const MidOperation& attention = *found[2];
    const MidKernel expected_attention = MidKernel::FlashAttention{attention_accumulate};
    VORN_ASSERT(kernel_of(attention) == expected_attention);
    assert_kernel_signature(lowered, attention,
                            {attention_query, attention_key, attention_value_format},
                            attention_output);
    assert_conversions_are_explicit(lowered, lowered.operations);
  }
}

VORN_CHECK(randomized_repeat_lowering_retains_sequences_without_unrolling) {
  Random random(0x72657065);  // "repe"
  const ToyCostModel costs;
  for (std::size_t index = 0; index < case_count; ++index) {
    const std::uint32_t size = dimension(random);
    const std::uint32_t count = random.u32_in(1, 12);
    const std::uint16_t tiles = random.u16_in(1, 64);
    const Layout layout = Layout::row_sharded(tiles);
    const TensorFormat carried_format = format(precision(random), layout);

    ComputeGraph graph;
    const ValueId state = unwrap(graph.host_input("state", {size, size}));
    std::vector<ValueId> weights;
    for (std::uint32_t i = 0; i < count; ++i) {
      weights.push_back(unwrap(graph.parameter("weight." + std::to_string(i), {size, size})));
    }
    const graph::ValueSequenceId sequence = unwrap(graph.value_sequence("weights", weights));
    const std::vector<ValueId> results = unwrap(graph.repeat(
        count, {state}, {}, {sequence},
        [](graph::RegionBuilder& body, const graph::RepeatArguments& arguments)
            -> std::expected<std::vector<ValueId>, graph::GraphError> {
          VORN_TRY(const ValueId product, body.gemm(arguments.carried[0], arguments.iterated[0]));
          return std::vector<ValueId>{product};
        }));
    unwrap(graph.set_outputs({results[0]}));

    LoweringConfig config = LoweringConfig(tiles).with_input(state, carried_format);
    for (const ValueId weight : weights) {
      config = std::move(config).with_input(weight, format(precision(random), layout));
    }
    const MidGraph lowered = unwrap(lower(graph, config, costs));

    const MidRepeat* repeat = nullptr;
    for (const MidOperation& operation : lowered.operations) {
      repeat = operation.kind.get_if<K::Repeat>();
      if (repeat != nullptr) break;
    }
    if (repeat == nullptr) selfcheck::fail(case_label(index));
    check_eq(repeat->count, count, case_label(index));
    check_eq(repeat->iterated_inputs.size(), std::size_t{1}, case_label(index));
    const std::vector<MidValueId>& entries = repeat->iterated_inputs[0];
    check_eq(entries.size(), std::size_t{count}, case_label(index));
    const TensorFormat& first = format_of(lowered, entries[0]);
    for (const MidValueId entry : entries) VORN_ASSERT(format_of(lowered, entry) == first);
    VORN_ASSERT(!repeat->body.yields.empty());
    check_eq(format_of(lowered, repeat->body.yields[0]), carried_format, case_label(index));
    VORN_ASSERT(!lowered.outputs.empty());
    check_eq(format_of(lowered, lowered.outputs[0]), carried_format, case_label(index));
    assert_conversions_are_explicit(lowered, lowered.operations);
    assert_conversions_are_explicit(lowered, repeat->body.operations);
  }
}

VORN_CHECK(randomized_gemms_choose_precision_independently_within_one_graph) {
  Random random(0x6D756C74);  // "mult"
  const ColumnParityCost costs;
  const MemoryRelation output_distinct_from_left =
      MemoryRelation::DistinctElements{{MemoryOperand::Output{}, MemoryOperand::Input{0}}};
  for (std::size_t index = 0; index < case_count; ++index) {
    const std::uint32_t rows = dimension(random);
    const std::uint32_t inner = dimension(random);
    const std::uint32_t even_columns = 2 * random.u32_in(1, 64);
    const std::uint32_t odd_columns = 2 * random.u32_in(1, 64) - 1;
    const std::uint16_t tiles = random.u16_in(1, 64);
    const Layout layout = Layout::row_sharded(tiles);

    ComputeGraph graph;
    const ValueId left = unwrap(graph.host_input("left", {rows, inner}));
    const ValueId even_parameter = unwrap(graph.parameter("even", {inner, even_columns}));
    const ValueId odd_parameter = unwrap(graph.parameter("odd", {inner, odd_columns}));
    const ValueId even = unwrap(graph.gemm(left, even_parameter));
    const ValueId odd = unwrap(graph.gemm(left, odd_parameter));
    unwrap(graph.set_outputs({even, odd}));

    const TensorFormat input_format = format(precision(random), layout);
    const LoweringConfig config = LoweringConfig(tiles)
                                      .with_input(left, input_format)
                                      .with_input(even_parameter, input_format)
                                      .with_input(odd_parameter, input_format);
    const MidGraph lowered = unwrap(lower(graph, config, costs));

    std::vector<Precision> chosen;
    for (const MidOperation* operation : kernels(lowered)) {
      const auto* gemm = kernel_of(*operation).get_if<MidKernel::Gemm>();
      if (gemm == nullptr) continue;
      chosen.push_back(gemm->multiply);
      const KernelRequirements& requirements = requirements_of(*operation);
      for (const OperandRequirement& input : requirements.inputs) {
        VORN_ASSERT(input.alignment == 32);
      }
      VORN_ASSERT(requirements.output.alignment == 32);
      check_eq(requirements.output.format.layout.memory_class, MemoryClass::Vorn21Interleaved);
      check_list_eq(requirements.memory_relations, std::vector{output_distinct_from_left});
      VORN_ASSERT(!requirements.inputs.empty());
      const std::uint32_t tail = gemm->multiply.visit(support::overloaded{
          [](const Precision::F16&) -> std::uint32_t { return 16; },
          [](const Precision::F32&) -> std::uint32_t { return 32; },
          [](const Precision::F8F143&) -> std::uint32_t {
            selfcheck::fail("internal error: entered unreachable code");
          },
      });
      check_eq(requirements.inputs[0].access_tail_bytes, tail);
    }
    check_list_eq(chosen, std::vector<Precision>{Precision::F16{}, Precision::F32{}},
                  case_label(index));
  }
}

}  // namespace vorn::codegen::mid::tests
