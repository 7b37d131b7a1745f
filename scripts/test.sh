#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors, and runs
# every test (unit, command-line and, where Xvfb is installed, end-to-end).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh -DTRAVIK_WERROR=ON -DTRAVIK_BUILD_TESTS=ON

build_dir="${TRAVIK_BUILD_DIR:-build}"
ctest --test-dir "$build_dir" --output-on-failure --no-tests=error --timeout 600
