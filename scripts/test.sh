#!/usr/bin/env bash
# Installs what is missing, builds Dwell and runs the whole test suite, then
# the tests again under ThreadSanitizer and AddressSanitizer with UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
run_preset() {
    local preset=$1
    shift
    echo "== $preset build"
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs" "$@"
}

run_preset ci
# Qt itself is not built with the sanitizers: the sanitizer runs cover the
# core and the layer tests; the end-to-end tests ran above.
run_preset tsan -LE e2e
run_preset asan -LE e2e

echo "== fuzzers (clang, libFuzzer), a bounded run each"
cmake -S fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++
cmake --build build/fuzz -j "$jobs"
ctest --test-dir build/fuzz --output-on-failure
