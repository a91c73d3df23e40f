#!/usr/bin/env bash
# Runs every fuzz target of the libFuzzer tree for a number of executions and prints one line each.
# usage: tools/fuzz-long.sh FUZZ_TREE RUNS
set -euo pipefail
tree="$1"
runs="$2"
corpus=$(cd "$(dirname "$0")/../tests/fuzz/corpus" && pwd)
for target in "$tree"/tests/fuzz/*_fuzz; do
  name=$(basename "$target")
  work="$tree/tests/fuzz/corpus/$name"
  mkdir -p "$work"
  start=$(date +%s)
  "$target" -runs="$runs" -timeout=10 -print_final_stats=1 "$work" "$corpus/$name" 2>"$tree/$name.log" || {
    echo "$name: FAILED after $(($(date +%s) - start)) s, see $tree/$name.log"
    exit 1
  }
  stats=$(grep -E '^stat::number_of_executed_units' "$tree/$name.log" | awk '{print $2}')
  echo "$name: $stats executions, no failure, $(($(date +%s) - start)) s"
done
