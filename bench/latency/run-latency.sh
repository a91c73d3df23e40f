#!/usr/bin/env bash
# End-to-end latency under Wine: ktpen-sim.exe runs in process on the desktop (-d), latency_probe.exe
# watches the pointer and a Wintab context of its own, and simhid.exe plays the benchmark stroke with a
# stamp log. Prints the probe's findings per rate as "rate_hz=R" followed by its key=value lines.
#   run-latency.sh [TREE]        10 000 reports (REPORTS=N to change) at 200 Hz and at 1000 Hz, in the
#                                tree's Wine prefix under a virtual X display; ends the tree's wineserver
#   run-latency.sh --smoke BIN   60 reports at 200 Hz in the Wine environment of the caller (the Wine
#                                tests); fails unless every changed sample was answered
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ "${1:-}" = --smoke ]; then
  mode=smoke bin=$(cd "$2" && pwd) rates=(200) reports=60
else
  mode=full tree=$(cd "${1:-build/win32}" && pwd) rates=(200 1000) reports=${REPORTS:-10000}
  bin="$tree/bin"
  source "$root/tools/wine-env.sh" "$tree"
  "$root/tools/wine-prefix.sh" || exit 1
  if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
  fi
fi
: "${PZ_WINE:?the Wine environment of tools/wine-env.sh}"
# Without a settings file the service stops at once: a fresh prefix gets the default one (pressure 100,
# the whole tablet).
settings="$WINEPREFIX/drive_c/windows/system32/PzTablet.cfg"
[ -f "$settings" ] || printf 'd\0\0\0\0\0\0\0\0\0\0\0\xde\x27\xfe\x1c' >"$settings"

scratch=$(mktemp -d)
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$scratch"
  # The tree's prefix is ours for the run (callers hold the build lock): leave no Wine process behind.
  [ "$mode" = full ] && { wineserver -k >/dev/null 2>&1 || true; }
}
trap cleanup EXIT
windows_path() { winepath -w "$1" 2>/dev/null; }

# Waits until the probe printed "ready" into $1 (or ended).
wait_ready() {
  local i
  for i in $(seq 600); do
    grep -q '^ready' "$1" 2>/dev/null && return 0
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# One run at $1 Hz; prints rate_hz and the probe's findings, returns the probe's status.
run_rate() {
  local rate=$1 interval=$((1000 / $1)) script="$scratch/stroke-$1.script" stamps="$scratch/stamps-$1.log"
  local out="$scratch/probe-$1.txt" service probe status
  "$PZ_WINE" "$bin/latency_probe.exe" --write-stroke "$(windows_path "$script")" --reports "$reports" \
    --interval-ms "$interval" || return 1
  "$PZ_WINE" "$bin/ktpen-sim.exe" -d >/dev/null 2>&1 &
  service=$!
  started+=("$service")
  # simhid's script time plus a minute for the starts; the probe gives up a little later.
  local limit=$((reports * interval / 1000 + 60))
  "$PZ_WINE" "$bin/latency_probe.exe" --script "$(windows_path "$script")" --stamps "$(windows_path "$stamps")" \
    --timeout-ms $(((limit + 30) * 1000)) >"$out" 2>"$out.err" &
  probe=$!
  started+=("$probe")
  if ! wait_ready "$out" "$probe"; then
    echo "run-latency: the probe did not get ready" >&2
    cat "$out.err" >&2
    return 1
  fi
  timeout "$limit" "$PZ_WINE" "$bin/simhid.exe" --index 0 --pid 0x8201 --report-length 8 --stamp-log "$(windows_path "$stamps")" \
    "$(windows_path "$script")" >/dev/null
  wait "$probe"
  status=$?
  kill "$service" 2>/dev/null
  wait "$service" 2>/dev/null
  echo "rate_hz=$rate"
  grep -v '^ready' "$out" | tr -d '\r'
  grep -v '^$' "$out.err" >&2
  return $status
}

overall=0
for rate in "${rates[@]}"; do
  run_rate "$rate" || overall=1
done
exit $overall
