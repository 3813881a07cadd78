#!/usr/bin/env bash
# Builds the self-check executable if needed and runs it, passing on any arguments.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/prerequisites.sh
cmake --preset default >/dev/null
cmake --build --preset default --target vorn_codegen_selfcheck
exec build/default/codegen/vorn_codegen_selfcheck "$@"
