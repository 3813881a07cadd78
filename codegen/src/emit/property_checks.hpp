// The registered property checks of tile code emission.
#pragma once

#include "selfcheck/check.hpp"
#include "vorn/codegen/emit/symbols.hpp"

namespace vorn::codegen::tests {

/// The fixture of both checks: the runtime routines and the kernel "gemm".
[[nodiscard]] SymbolTable symbols();

VORN_DECLARE_CHECK(emits_resolved_exchange_and_compute_steps);
VORN_DECLARE_CHECK(rejects_unresolved_or_malformed_inputs);

}  // namespace vorn::codegen::tests
