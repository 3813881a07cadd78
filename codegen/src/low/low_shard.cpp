// Renderings of shards and their definitions.
#include "vorn/codegen/low/low_shard.hpp"

#include "vorn/support/print.hpp"

namespace vorn::codegen::low {

std::ostream& operator<<(std::ostream& out, const ShardDefinition& definition) {
  using D = ShardDefinition;
  definition.visit(support::overloaded{
      [&](const D::Value& d) { out << "value " << d.value; },
      [&](const D::ExchangeCopy& d) { out << "copy of " << d.source; },
  });
  return out;
}

std::ostream& operator<<(std::ostream& out, const LowShard& shard) {
  out << shard.id << " tile " << shard.tile << ' ' << shard.definition << ' '
      << shard.tensor_type << ' ';
  return support::print_list(out, shard.extents);
}

}  // namespace vorn::codegen::low
