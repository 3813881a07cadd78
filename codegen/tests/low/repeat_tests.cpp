// Repeats per tile: one Repeat item per tile, its shards, its own body list, and InvalidRepeat.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "mid_graph_builders.hpp"
#include "support/expected_matchers.hpp"
#include "vorn/codegen/low.hpp"

namespace vorn::codegen::low {
namespace {

using vorn::testing::FailsWith;
using vorn::testing::HasValue;
using namespace low::builders;

constexpr std::uint16_t tiles = 2;

// Canonical shard of value `value` on `tile`.
LowShardId at(std::uint32_t value, std::uint32_t tile) { return LowShardId{value * tiles + tile}; }

// Values over two tiles: 0 carried input, 1 invariant input, 2 and 3 the sequence, 4 to 6 the
// body's arguments (carried, invariant, iterated), 7 the yield = 4 + 6, 8 the result, 9 and
// 10 free for the operations around the repeat.
mid::MidRepeat two_iterations() {
  return mid::MidRepeat{2, 1, 1, {ids({2, 3})},
                        mid::MidRegion{ids({4, 5, 6}), {add(ids({4, 6}), ids({7}), 1)}, ids({7}), 0}};
}

mid::MidGraph graph_around(mid::MidRepeat body, std::vector<mid::MidOperation> before = {},
                           std::vector<mid::MidOperation> after = {}) {
  std::vector<mid::MidOperation> operations = std::move(before);
  operations.push_back(repeat(ids({0, 1}), ids({8}), std::move(body)));
  for (mid::MidOperation& operation : after) operations.push_back(std::move(operation));
  return graph_of(sharded_values(11, tiles), std::move(operations));
}

const RepeatRun& repeat_at(const TileWorkList& list, std::size_t item) {
  return std::get<RepeatRun>(list.work.at(item).variant());
}

TEST(RepeatPerTile, NamesEachTilesOwnShardsAndCarriesItsBodyList) {
  const auto program = lower_to_tiles(graph_around(two_iterations()), {tiles});
  ASSERT_TRUE(HasValue(program));
  ASSERT_EQ(program->exchange_phases.size(), 1U);
  for (std::uint16_t tile = 0; tile < tiles; ++tile) {
    SCOPED_TRACE(tile);
    const TileWorkList& list = program->tiles[tile];
    ASSERT_EQ(list.work.size(), 1U);
    const RepeatRun& run = repeat_at(list, 0);
    EXPECT_EQ(run.count, 2U);
    EXPECT_EQ(run.carried, (std::vector<RepeatCarried>{
                               {at(0, tile), at(4, tile), at(7, tile), at(8, tile)}}));
    EXPECT_EQ(run.invariants, (std::vector<RepeatInvariant>{{at(1, tile), at(5, tile)}}));
    EXPECT_EQ(run.iterated,
              (std::vector<RepeatIterated>{{{at(2, tile), at(3, tile)}, at(6, tile)}}));
    EXPECT_EQ(run.body.tile, tile);
    ASSERT_EQ(run.body.work.size(), 2U);
    EXPECT_EQ(run.body.work[0], TileWork(TileWork::Exchange{ExchangePhaseId{0}}));
    const KernelRun& sum = std::get<KernelRun>(run.body.work[1].variant());
    EXPECT_EQ(sum.output, at(7, tile));
    for (const KernelOperand& operand : sum.inputs) {
      for (const LowShardId shard : operand.shards) {
        EXPECT_EQ(program->shards[shard.index()].tile, tile);
      }
    }
  }
}

TEST(RepeatPerTile, CopiesAreReusedNeitherIntoNorOutOfTheBody) {
  // The body reads the outer value 1 directly; the same value is read before and after.
  mid::MidRepeat body = two_iterations();
  body.body.operations = {add(ids({4, 1}), ids({7}), 1)};
  const auto program = lower_to_tiles(
      graph_around(body, {add(ids({1, 1}), ids({9}))}, {add(ids({1, 8}), ids({10}))}), {tiles});
  ASSERT_TRUE(HasValue(program));
  // x0 before the repeat, x1 inside it, x2 after it for the result 8 only.
  ASSERT_EQ(program->exchange_phases.size(), 3U);
  EXPECT_EQ(program->exchange_phases[0].transfers,
            (std::vector<LogicalExchange>{{at(1, 0), {LowShardId{23}}},
                                          {at(1, 1), {LowShardId{22}}}}));
  EXPECT_EQ(program->exchange_phases[1].transfers,
            (std::vector<LogicalExchange>{{at(1, 0), {LowShardId{27}}},
                                          {at(1, 1), {LowShardId{25}}},
                                          {at(4, 0), {LowShardId{26}}},
                                          {at(4, 1), {LowShardId{24}}}}));
  EXPECT_EQ(program->exchange_phases[2].transfers,
            (std::vector<LogicalExchange>{{at(8, 0), {LowShardId{29}}},
                                          {at(8, 1), {LowShardId{28}}}}));
  const TileWorkList& tile0 = program->tiles[0];
  ASSERT_EQ(tile0.work.size(), 5U);
  EXPECT_EQ(tile0.work[0], TileWork(TileWork::Exchange{ExchangePhaseId{0}}));
  EXPECT_EQ(repeat_at(tile0, 2).body.work.at(0),
            TileWork(TileWork::Exchange{ExchangePhaseId{1}}));
  EXPECT_EQ(tile0.work[3], TileWork(TileWork::Exchange{ExchangePhaseId{2}}));
  const KernelRun& after = std::get<KernelRun>(tile0.work[4].variant());
  EXPECT_EQ(after.inputs, (std::vector<KernelOperand>{{{at(1, 0), LowShardId{22}}},
                                                      {{at(8, 0), LowShardId{28}}}}));
}

TEST(RepeatPerTile, LowersNestedRepeatsInsideTheBody) {
  // The outer body runs the same repeat shape again on its own arguments.
  mid::MidRepeat inner = mid::MidRepeat{
      0, 1, 0, {}, mid::MidRegion{ids({9}), {add(ids({9, 9}), ids({10}), 2)}, ids({10}), 0}};
  mid::MidRepeat outer = two_iterations();
  outer.body.operations.push_back(repeat(ids({7}), ids({7}), inner));
  const auto program = lower_to_tiles(graph_around(outer), {tiles});
  ASSERT_TRUE(HasValue(program));
  ASSERT_EQ(program->exchange_phases.size(), 2U);
  const TileWorkList& body = repeat_at(program->tiles[1], 0).body;
  ASSERT_EQ(body.work.size(), 3U);
  const RepeatRun& nested = repeat_at(body, 2);
  EXPECT_EQ(nested.count, 0U);
  EXPECT_EQ(nested.carried,
            (std::vector<RepeatCarried>{{at(7, 1), at(9, 1), at(10, 1), at(7, 1)}}));
  EXPECT_EQ(nested.body.tile, 1U);
  EXPECT_EQ(nested.body.work.at(0), TileWork(TileWork::Exchange{ExchangePhaseId{1}}));
}

TEST(RepeatPerTile, AcceptsCountZeroWithoutSequences) {
  mid::MidRepeat body = two_iterations();
  body.count = 0;
  body.iterated_inputs.clear();
  body.body.arguments = ids({4, 5});
  body.body.operations = {add(ids({4, 5}), ids({7}), 1)};
  const auto program = lower_to_tiles(graph_around(body), {tiles});
  ASSERT_TRUE(HasValue(program));
  const RepeatRun& run = repeat_at(program->tiles[0], 0);
  EXPECT_EQ(run.count, 0U);
  EXPECT_EQ(run.carried.size(), 1U);
  EXPECT_TRUE(run.iterated.empty());
}

TEST(RepeatPerTile, RejectsMalformedRepeatsAndUnknownValues) {
  struct Case {
    std::string name;
    std::function<void(mid::MidOperation&, mid::MidRepeat&)> change;
    LowLoweringError error;
  };
  using E = LowLoweringError;
  const std::vector<Case> cases = {
      {"one input too many", [](auto& op, auto&) { op.inputs.push_back(mid::MidValueId{9}); },
       E::InvalidRepeat{}},
      {"no result", [](auto& op, auto&) { op.results.clear(); }, E::InvalidRepeat{}},
      {"one argument too few", [](auto&, auto& r) { r.body.arguments.pop_back(); },
       E::InvalidRepeat{}},
      {"two yields", [](auto&, auto& r) { r.body.yields.push_back(mid::MidValueId{7}); },
       E::InvalidRepeat{}},
      {"a sequence shorter than the count",
       [](auto&, auto& r) { r.iterated_inputs[0].pop_back(); }, E::InvalidRepeat{}},
      {"a sequence longer than the count",
       [](auto&, auto& r) { r.iterated_inputs[0].push_back(mid::MidValueId{9}); },
       E::InvalidRepeat{}},
      {"structure is tested before the body is lowered",
       [](auto& op, auto& r) {
         op.results.clear();
         r.body.operations[0].results.clear();
       },
       E::InvalidRepeat{}},
      {"an error of the body", [](auto&, auto& r) { r.body.operations[0].results.clear(); },
       E::ResultArity{}},
      {"an unknown sequence element",
       [](auto&, auto& r) { r.iterated_inputs[0][1] = mid::MidValueId{40}; },
       E::UnknownValue{mid::MidValueId{40}}},
      {"an unknown yield", [](auto&, auto& r) { r.body.yields[0] = mid::MidValueId{41}; },
       E::UnknownValue{mid::MidValueId{41}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    mid::MidGraph graph = graph_around(two_iterations());
    mid::MidOperation& operation = graph.operations[0];
    c.change(operation, *operation.kind.get_if<mid::MidOperationKind::Repeat>());
    EXPECT_TRUE(FailsWith(lower_to_tiles(graph, {tiles}), c.error));
  }
}

}  // namespace
}  // namespace vorn::codegen::low
