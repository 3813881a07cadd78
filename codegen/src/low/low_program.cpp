// The listing of a tile-level program and the renderings of its inputs and outputs.
#include "vorn/codegen/low/low_program.hpp"

#include "vorn/support/print.hpp"
#include "work_listing.hpp"

namespace vorn::codegen::low {

std::ostream& operator<<(std::ostream& out, const LowInput& input) {
  out << input.value << ' ';
  support::print_quoted(out, input.name) << ": " << input.kind << ' ';
  return support::print_list(out, input.shards);
}

std::ostream& operator<<(std::ostream& out, const LowValue& value) {
  out << value.value << ' ';
  return support::print_list(out, value.shards);
}

std::ostream& operator<<(std::ostream& out, const LowProgram& program) {
  out << "program on " << program.tile_count << " tiles";
  out << "\ninputs:";
  for (const LowInput& input : program.inputs) out << "\n  " << input;
  out << "\nshards:";
  for (const LowShard& shard : program.shards) {
    out << "\n  " << shard.id << " tile " << shard.tile << ' ' << shard.definition << ' ';
    support::print_list(out, shard.extents);
  }
  out << "\nexchange phases:";
  for (const ExchangePhase& phase : program.exchange_phases) out << "\n  " << phase;
  out << "\ntiles:";
  for (const TileWorkList& list : program.tiles) {
    out << "\n  ";
    detail::write_work_list(out, list, 2);
  }
  out << "\noutputs:";
  for (const LowValue& output : program.outputs) out << "\n  " << output;
  return out;
}

}  // namespace vorn::codegen::low
