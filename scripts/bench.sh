#!/usr/bin/env bash
# Builds the release preset and runs the benchmarks: each kernel path on the
# default and the seahorse scenes with its multiple of the scalar path, then
# whole render passes at 1, 2 and nproc threads. Extra arguments go to the
# benchmark binary (e.g. --benchmark_filter=kernel).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target dwell_bench -j "$(nproc)"
exec build/release/bench/dwell_bench "$@"
