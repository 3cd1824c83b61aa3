#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds Dwell and runs the
# whole test suite, then the tests again under ThreadSanitizer and
# AddressSanitizer with UBSan, then the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

echo "== formatting"
bash scripts/format.sh --check

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
# The layer's tests run under both sanitizers too; the end-to-end tests drive
# the release binary and run in the ci preset only.
run_preset tsan -LE e2e
run_preset asan -LE e2e

echo "== fuzzers (clang, libFuzzer), a bounded run each"
cmake -S fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++
cmake --build build/fuzz -j "$jobs"
ctest --test-dir build/fuzz --output-on-failure
