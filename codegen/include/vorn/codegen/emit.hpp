// Tile code emission: step programs, host phases, the code buffer, emit and disassembly.
#pragma once

#include "vorn/codegen/emit/codegen_error.hpp"
#include "vorn/codegen/emit/codegen_options.hpp"
#include "vorn/codegen/emit/disassembly.hpp"
#include "vorn/codegen/emit/emitter.hpp"
#include "vorn/codegen/emit/generated_program.hpp"
#include "vorn/codegen/emit/host_program.hpp"
#include "vorn/codegen/emit/step_program.hpp"
#include "vorn/codegen/emit/symbols.hpp"
#include "vorn/codegen/emit/tile_code.hpp"
#include "vorn/codegen/emit/validate.hpp"
