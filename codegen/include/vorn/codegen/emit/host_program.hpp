// Host phases: the host interaction that runs before and after a tile's steps.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

namespace vorn::codegen {

/// One phase of host interaction, served by a runtime routine.
struct HostPhase {
  /// Address handed to the routine that serves the phase.
  std::uint32_t address = 0;
  /// True: served by the host runner; false: served by the repeat helper.
  bool active = false;
  /// The phase's run table; required when the phase starts a run of active phases.
  std::optional<std::uint32_t> run_table;

  friend bool operator==(const HostPhase&, const HostPhase&) = default;
};

/// The host phases of a tile program.
struct HostProgram {
  /// Run once, at the very start of the program.
  std::vector<HostPhase> initialize;
  /// Run at the start of every invocation.
  std::vector<HostPhase> inputs;
  /// Run at the end of every invocation.
  std::vector<HostPhase> outputs;

  friend bool operator==(const HostProgram&, const HostProgram&) = default;
};

/// Render every field, e.g. `HostPhase { address: 0x1000, active: true, run_table: 0x2000 }`.
std::ostream& operator<<(std::ostream& out, const HostPhase& phase);
std::ostream& operator<<(std::ostream& out, const HostProgram& host);

}  // namespace vorn::codegen
