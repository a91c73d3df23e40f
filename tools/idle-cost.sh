#!/usr/bin/env bash
# Idle cost under Wine: wake-ups per minute of the tablet service (no tablet; a tablet without the pen,
# with and without the watchdog) and of the key host (no keypad; a keypad no key is pressed on). Linux
# counts every context switch of each thread of the Wine process; the sum over a quiet period, per
# minute, is the wake-up rate (Wine's own threads included). Uses the tree's Wine prefix: run it under
# the build lock, like the Wine tests.  Usage: tools/idle-cost.sh [tree] [seconds]
set -uo pipefail
tree="${1:-build/win32}"
seconds="${2:-60}"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$tree"
"$here/wine-prefix.sh" || exit 1
bin=$(cd "$tree/bin" && pwd)
scratch=$(mktemp -d)
started=()

# Context switches of every thread of process $1 so far.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(non)?voluntary_ctxt_switches/ { total += $2 } END { print total + 0 }'
}

# The newest Linux process running the Windows program $1.
program_pid() {
    pgrep -n -f "$1"
}

start() {
    "$PZ_WINE" "$@" >/dev/null 2>&1 &
    started+=($!)
}

# Waits for the settling, then prints one table row for the process running program $2.
measure() {
    local label="$1" program="$2" pid before after server_before server_after
    sleep 10
    pid=$(program_pid "$program") || { echo "| $label | (not running) | | |"; return; }
    local server
    server=$(pgrep -n wineserver)
    before=$(switches "$pid")
    server_before=$(switches "$server")
    sleep "$seconds"
    after=$(switches "$pid")
    server_after=$(switches "$server")
    echo "| $label | $(((after - before) * 60 / seconds)) | $(ls /proc/"$pid"/task | wc -l) |" \
        "$(((server_after - server_before) * 60 / seconds)) |"
}

stop_all() {
    wineserver -k >/dev/null 2>&1 || true
    wait 2>/dev/null
    started=()
}

device() {  # device index product length: a plugged device that never sends a report
    printf 'wait %s\n' $((3600 * 1000)) >"$scratch/quiet.script"
    start "$bin/simhid.exe" --index "$1" --vid 0x4B54 --pid "$2" --report-length "$3" \
        "$(winepath -w "$scratch/quiet.script")"
}

# The Wine processes inherit the caller's lock: end them however this script ends.
trap 'stop_all; rm -rf "$scratch"' EXIT

echo "| process, situation | wake-ups per minute | threads | wineserver wake-ups per minute |"
echo "|---|---|---|---|"
device 0 0x8201 8
measure "simhid.exe waiting in its script (a Wine process blocked in Sleep: the floor)" simhid.exe
stop_all

start "$bin/ktpen-sim.exe" -d
measure "tablet service, no tablet" ktpen-sim.exe
stop_all

device 0 0x8201 8
start "$bin/ktpen-sim.exe" -d
measure "tablet service, tablet with its own leave report, no pen" ktpen-sim.exe
stop_all

device 0 0x8001 8
start "$bin/ktpen-sim.exe" -d
measure "tablet service, tablet with the watchdog, no pen" ktpen-sim.exe
stop_all

start "$bin/PzKeyHost-sim.exe"
measure "key host, no keypad" PzKeyHost-sim.exe
stop_all

device 0 0x8501 5
start "$bin/PzKeyHost-sim.exe"
measure "key host, keypad, no key pressed" PzKeyHost-sim.exe
stop_all
