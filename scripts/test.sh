#!/usr/bin/env bash
# Builds the project in the normal and in the sanitizer configuration and runs every test
# of both; fails when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/prerequisites.sh
for preset in default sanitize; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j "$(nproc)"
done
