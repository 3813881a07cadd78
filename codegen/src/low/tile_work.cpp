// Renderings of work items and work lists, repeat bodies indented under their repeat.
#include "vorn/codegen/low/tile_work.hpp"

#include <string>

#include "vorn/support/print.hpp"
#include "work_listing.hpp"

namespace vorn::codegen::low {
namespace {

constexpr std::size_t step = 2;

void new_line(std::ostream& out, std::size_t indent) { out << '\n' << std::string(indent, ' '); }

void write_repeat(std::ostream& out, const RepeatRun& run, std::size_t indent);

// The first line of the item goes where the stream stands; further lines start at `indent`.
void write_work(std::ostream& out, const TileWork& work, std::size_t indent) {
  using W = TileWork;
  work.visit(support::overloaded{
      [&](const W::Exchange& e) { out << "exchange " << e.phase; },
      [&](const W::Kernel& run) { out << "kernel " << run; },
      [&](const W::Repeat& run) { write_repeat(out, run, indent); },
  });
}

void write_items(std::ostream& out, const TileWorkList& list, std::size_t indent) {
  for (const TileWork& work : list.work) {
    new_line(out, indent);
    write_work(out, work, indent);
  }
}

void write_repeat(std::ostream& out, const RepeatRun& run, std::size_t indent) {
  out << "repeat x" << run.count;
  for (const RepeatCarried& carried : run.carried) out << "; " << carried;
  for (const RepeatInvariant& invariant : run.invariants) out << "; " << invariant;
  for (const RepeatIterated& iterated : run.iterated) out << "; " << iterated;
  write_items(out, run.body, indent + step);
}

}  // namespace

namespace detail {

void write_work_list(std::ostream& out, const TileWorkList& list, std::size_t indent) {
  out << "tile " << list.tile << ':';
  write_items(out, list, indent + step);
}

}  // namespace detail

std::ostream& operator<<(std::ostream& out, const RepeatCarried& carried) {
  return out << "carried " << carried.initial << " -> " << carried.argument << ", yield "
             << carried.yielded << " -> result " << carried.result;
}

std::ostream& operator<<(std::ostream& out, const RepeatInvariant& invariant) {
  return out << "invariant " << invariant.input << " -> " << invariant.argument;
}

std::ostream& operator<<(std::ostream& out, const RepeatIterated& iterated) {
  out << "iterated ";
  return support::print_list(out, iterated.inputs) << " -> " << iterated.argument;
}

std::ostream& operator<<(std::ostream& out, const RepeatRun& run) {
  write_repeat(out, run, 0);
  return out;
}

std::ostream& operator<<(std::ostream& out, const TileWork& work) {
  write_work(out, work, 0);
  return out;
}

std::ostream& operator<<(std::ostream& out, const TileWorkList& list) {
  detail::write_work_list(out, list, 0);
  return out;
}

}  // namespace vorn::codegen::low
