#!/usr/bin/env bash
# Fails when a tracked C or C++ source is not clang-format clean; with --fix, formats them in place.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard '*.h' '*.cpp' '*.c' | grep -v '^build/' || true)
((${#files[@]})) || exit 0
if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run --Werror "${files[@]}"
fi
