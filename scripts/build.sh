#!/usr/bin/env bash
# Configures and builds everything into build/ (Release). Extra arguments go to
# CMake's configure step, e.g. -DTRAVIK_SANITIZE=ON.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${TRAVIK_BUILD_DIR:-build}"
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
