// Renderings of the graph identifiers.
#include "vorn/codegen/graph/identifiers.hpp"

namespace vorn::codegen::graph {

std::ostream& operator<<(std::ostream& out, ValueId id) {
  return out << 'v' << id.number;
}
std::ostream& operator<<(std::ostream& out, OperationId id) {
  return out << "op" << id.number;
}
std::ostream& operator<<(std::ostream& out, ValueSequenceId id) {
  return out << "seq" << id.number;
}

}  // namespace vorn::codegen::graph
