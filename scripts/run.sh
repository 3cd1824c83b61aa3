#!/usr/bin/env bash
# Installs what is missing, builds the release preset and launches Dwell.
#   scripts/run.sh               build and run on the current display
#   scripts/run.sh --screenshot  instead render under Xvfb into docs/screenshot.png
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset release
cmake --build --preset release -j "$(nproc)" --target dwell
app=build/release/src/app/dwell

if [ "${1:-}" != "--screenshot" ]; then
    exec "$app"
fi

# A picture for the documentation: the first pass, then a click zoom into the
# neck between the two largest bulbs, taken once the workers are done.
displayfd=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfd" &
xvfb=$!
app_pid=""
trap 'kill $app_pid $xvfb 2>/dev/null || true; rm -f "$displayfd"' EXIT
for _ in $(seq 50); do [ -s "$displayfd" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$displayfd")"
"$app" >/dev/null &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Dwell$' | head -n 1)
sleep 2
xdotool mousemove --window "$window" 275 165 click 1
sleep 3
import -window "$window" docs/screenshot.png
echo "Wrote docs/screenshot.png"
