#!/usr/bin/env bash
# Builds the release preset and drives the real window under Xvfb with random
# gestures and controls, checking after each burst that the view shows the
# kernel's picture. Usage: bash scripts/soak.sh [seconds] [--seed S]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

seconds=180
if [[ $# -gt 0 && $1 != --* ]]; then
    seconds=$1
    shift
fi
cmake --preset release >/dev/null
cmake --build --preset release --target dwell_soak -j "$(nproc)"
exec build/release/soak/dwell_soak --seconds "$seconds" "$@"
