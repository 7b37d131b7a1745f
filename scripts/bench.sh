#!/usr/bin/env bash
# Runs the benchmarks: the mapping transfer's wall time as a ratio to the
# protocol's floor of 50 pauses of 2 ms (counter ratio_to_floor, goal < 1.10).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh
"${TRAVIK_BUILD_DIR:-build}/tests/benchmarks/travik_bench" "$@"
