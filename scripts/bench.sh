#!/usr/bin/env bash
# Builds the release preset and runs the benchmarks: each kernel path on the
# default and the seahorse scenes with its multiple of the scalar path, whole
# render passes at 1, 2 and nproc threads through the core, then the same in
# the real window (offscreen) with the time one drawing holds the view's lock.
# Extra arguments go to both benchmark binaries (e.g. --benchmark_filter=pass).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target dwell_bench dwell_app_bench -j "$(nproc)"
build/release/bench/dwell_bench "$@"
build/release/bench/dwell_app_bench "$@" 2> >(grep -v "This plugin does not support" >&2)
