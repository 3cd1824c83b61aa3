#!/usr/bin/env bash
# Formats every C++ source with the project's .clang-format; with --check,
# changes nothing and fails if any file is not formatted.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(-i)
[ "${1:-}" = "--check" ] && mode=(--dry-run --Werror)
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format "${mode[@]}"
