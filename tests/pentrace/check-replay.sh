#!/usr/bin/env bash
# Replays a script with pentrace and compares every printed effect with the recorded expectation.
# Usage: check-replay.sh EXPECTED SCRIPT COMMAND... (the script path is appended to the command)
set -euo pipefail
expected="$1"
script="$2"
shift 2
actual=$("$@" "$script" | tr -d '\r')
if ! diff -u "$expected" <(printf '%s\n' "$actual"); then
  echo "pentrace output differs from $expected" >&2
  exit 1
fi
