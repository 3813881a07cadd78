// Renderings of the emission types and the disassembly of generated code.
#include <gtest/gtest.h>

#include "emit_fixtures.hpp"
#include "vorn/codegen/emit.hpp"

namespace vorn::codegen {
namespace {

using support::to_text;

TEST(Rendering, ShowsEveryFieldOfTheInputs) {
  EXPECT_EQ(to_text(StepProfile{0x8000, std::nullopt}), "{ before: 0x8000, after: none }");
  EXPECT_EQ(to_text(TileStep(ExchangeStep{0x60000, {0x40C00000, 0}, {}})),
            "Exchange(ExchangeStep { address: 0x60000, row: [0x40C00000, 0x0], "
            "profile: { before: none, after: none } })");
  EXPECT_EQ(to_text(TileProgram{7, {ComputeStep{"gemm", 0x70000, {0x71000}, {64}, {}}}}),
            "TileProgram { tile: 7, steps: [Compute(ComputeStep { symbol: \"gemm\", "
            "output_address: 0x70000, input_addresses: [0x71000], arguments: [64], "
            "profile: { before: none, after: none } })] }");
  HostProgram host;
  host.outputs = {{0x1000, true, 0x2000}};
  EXPECT_EQ(to_text(host),
            "HostProgram { initialize: [], inputs: [], outputs: [HostPhase { address: 0x1000, "
            "active: true, run_table: 0x2000 }] }");
  EXPECT_EQ(to_text(CodegenOptions{}),
            "CodegenOptions { code_address: 0x0, invocations: 1, initial_profile_address: "
            "none, final_profile_address: none }");
  EXPECT_EQ(to_text(SymbolTable{{"gemm", 0x51000}, {"a", 4}}), "{\"a\": 0x4, \"gemm\": 0x51000}");
}

TEST(Rendering, ShowsResultsAndErrors) {
  GeneratedProgram program = testing::program_of({0x41800003});
  program.exchange_rows = {{0x60000, {1}}};
  EXPECT_EQ(to_text(program),
            "GeneratedProgram { bytes: [03 00 80 41], exchange_rows: "
            "[PlacedExchangeRow { address: 0x60000, words: [0x1] }] }");
  TileCode code;
  code.instruction(0x43000000);
  EXPECT_EQ(to_text(code), "TileCode [0x43000000]");
  EXPECT_EQ(to_text(invalid("compute symbol is empty")),
            "Invalid(\"compute symbol is empty\")");
  EXPECT_EQ(to_text(CodegenError(exchange::ExchangeError::Schedule{"call operand"})),
            "Exchange(Schedule(\"call operand\"))");
}

TEST(Disassembly, ListsEveryWordWithAddressAndInstruction) {
  const TileProgram program{
      7,
      {ExchangeStep{0x60000, testing::row_starting(idle_row_marker), {}},
       ComputeStep{"gemm", 0x70000, {0x71000, 0x72000}, {64}, {}}},
  };
  CodegenOptions options;
  options.code_address = 0x52000;
  const auto generated = emit(program, testing::symbols(), HostProgram{}, options);
  ASSERT_TRUE(generated.has_value()) << generated.error();
  EXPECT_EQ(disassembly(*generated, 0x52000),
            "0x00052000  0x41800003  exchange-entry\n"
            "0x00052004  0x18A18000  call r10, 0x60000\n"
            "0x00052008  0x19270000  setzi r2, 0x70000\n"
            "0x0005200C  0x19371000  setzi r3, 0x71000\n"
            "0x00052010  0x19472000  setzi r4, 0x72000\n"
            "0x00052014  0x19500040  setzi r5, 0x40\n"
            "0x00052018  0x18A14400  call r10, 0x51000\n"
            "0x0005201C  0x19050004  setzi r0, 0x50004\n"
            "0x00052020  0x43000000  br r0\n"
            "row 0x00060000  [0x40C00000, 0x0, 0x0, 0x0, 0x0, 0x0, 0x0, 0x0, 0x0]\n");
}

TEST(Disassembly, ShowsUnknownWordsTrailingBytesAndAddressesPastFourGigabytes) {
  GeneratedProgram program = testing::program_of({0xFFFFFFFF, 0x1301481C});
  program.bytes.push_back(0xAB);
  EXPECT_EQ(disassembly(program, 0xFFFFFFFC),
            "0xFFFFFFFC  0xFFFFFFFF  .word 0xFFFFFFFF\n"
            "0x100000000  0x1301481C  brz r0, 0x52070\n"
            "0x100000004  .byte 0xAB\n");
}

}  // namespace
}  // namespace vorn::codegen
