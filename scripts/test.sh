#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors, and runs
# every test (unit, command-line and, where Xvfb is installed, end-to-end).
# TRAVIK_SANITIZE=1 builds and runs them under AddressSanitizer and
# UndefinedBehaviorSanitizer instead (in build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

options=(-DTRAVIK_WERROR=ON -DTRAVIK_BUILD_TESTS=ON)
if [ "${TRAVIK_SANITIZE:-0}" = 1 ]; then
    export TRAVIK_BUILD_DIR="${TRAVIK_BUILD_DIR:-build-asan}"
    options+=(-DTRAVIK_SANITIZE=ON)
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
fi

bash scripts/build.sh "${options[@]}"

build_dir="${TRAVIK_BUILD_DIR:-build}"
ctest --test-dir "$build_dir" --output-on-failure --no-tests=error --timeout 600
