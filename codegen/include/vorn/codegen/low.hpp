// Tile lowering: shard extents, the tile program model and the lowering to per-tile programs.
#pragma once

#include "vorn/codegen/low/exchange_phase.hpp"
#include "vorn/codegen/low/identifiers.hpp"
#include "vorn/codegen/low/kernel_run.hpp"
#include "vorn/codegen/low/low_lowering_error.hpp"
#include "vorn/codegen/low/low_program.hpp"
#include "vorn/codegen/low/low_shard.hpp"
#include "vorn/codegen/low/lowering.hpp"
#include "vorn/codegen/low/shard_extent.hpp"
#include "vorn/codegen/low/tile_work.hpp"
