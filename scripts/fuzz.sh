#!/usr/bin/env bash
# Fuzzes map-file loading with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer for the given number of seconds (default 60).
# Any input that crashes, leaks, trips a sanitizer or takes over a second fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

bash scripts/install-deps.sh
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTRAVIK_FUZZ=ON -DTRAVIK_BUILD_APP=OFF >/dev/null
cmake --build build-fuzz --target fuzz_mapfile --parallel "$(nproc)"

# Seeds: the factory maps as the program writes them, plus the checked-in corpus.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
cp tests/fuzz/corpus/* "$work/corpus/" 2>/dev/null || true
cmake --build build-fuzz --target travik --parallel "$(nproc)" >/dev/null
for mode in 0 1 2 3; do
    build-fuzz/tools/travik/travik factory "$mode" > "$work/corpus/factory-$mode.travik"
done

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
build-fuzz/tests/fuzz/fuzz_mapfile "$work/corpus" -max_total_time="$seconds" -timeout=1 \
    -rss_limit_mb=2048 -max_len=65536 -dict=tests/fuzz/xml.dict -print_final_stats=1 2>&1 | tail -25
