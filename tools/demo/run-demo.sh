#!/usr/bin/env bash
# The suite at work with no tablet attached: installs it into a Wine prefix of its own the way the
# installer does, opens wintab-canvas.exe, plays a pen session on a simulated tablet and a key press on a
# simulated keypad, saves the canvas to out/demo.png and prints a summary. Then it stops and removes the
# suite again. usage: run-demo.sh TREE [SCRIPT] [--keep]  (--keep leaves the service running)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(cd "$1" && pwd)
shift
script="" keep=no
for argument in "$@"; do
  case "$argument" in
    --keep) keep=yes ;;
    *) script=$(realpath "$argument") ;;
  esac
done
bin="$tree/bin"
work="$tree/demo"
mkdir -p "$work" "$root/out"
export WINEPREFIX="$work/prefix"
source "$root/tools/wine-env.sh" "$tree"
"$root/tools/wine-prefix.sh"

if [ -z "$script" ]; then
  script="$work/pen.script"
  reports=$(python3 "$root/tools/demo/pen_session.py" "$script" "$work/keypad.script")
else
  reports=$(grep -cE '^\s*(\+[0-9]+\s+)?[0-9a-fA-F]{2}(\s|$)' "$script" || true)
  printf '00 55 a0 aa a0\n+100 00 55 a1 aa a0\n+100 00 55 a0 aa a0\n' >"$work/keypad.script"
fi
# The canvas stays open for the whole session and saves itself when it closes.
duration_ms=$((reports * 5 + 14000))

wine_run() { "$PZ_WINE" "$@"; }

install_suite() {
  if [ -f "$bin/PzTabletSetup-sim.exe" ]; then
    wine_run "$bin/PzTabletSetup-sim.exe" /S
  else
    # Trees whose installer stub cannot run here (64-bit only): the installer's steps by hand.
    local system="$WINEPREFIX/drive_c/windows/system32"
    cp "$bin/ktpen-sim.exe" "$system/KTPEN.exe"
    cp "$bin/PzKeyHost-sim.exe" "$system/PzKeyHost.exe"
    cp "$bin/KtKey-sim.dll" "$bin/KTPEN.dll" "$bin/Wintab32.dll" "$system/"
    cp "$bin/Wintab32.dll" "$WINEPREFIX/drive_c/windows/temp/"
    [ -f "$system/PzTablet.cfg" ] || printf 'd\0\0\0\0\0\0\0\0\0\0\0\xde\x27\xfe\x1c' >"$system/PzTablet.cfg"
    wine_run "$system/KTPEN.exe" -i >/dev/null 2>&1
    wine_run "$system/KTPEN.exe" -s >/dev/null 2>&1
    wine_run "$system/PzKeyHost.exe" &
  fi
}

remove_suite() {
  if [ -f "$WINEPREFIX/drive_c/Program Files/PzTablet/Uninstall.exe" ]; then
    wine_run "C:\\Program Files\\PzTablet\\Uninstall.exe" /S
    for _ in $(seq 100); do [ -d "$WINEPREFIX/drive_c/Program Files/PzTablet" ] || break; sleep 0.2; done
  else
    local system="$WINEPREFIX/drive_c/windows/system32"
    wine_run "$system/PzKeyHost.exe" /stop || true
    wine_run "$system/KTPEN.exe" -u >/dev/null 2>&1 || true
    rm -f "$system"/{KTPEN.exe,PzKeyHost.exe,KtKey-sim.dll,KTPEN.dll,Wintab32.dll}
  fi
}

windows_path() { "$PZ_WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

started=$(date +%s)
stamps="$work/stamps.log" probe_out="$work/probe.txt"
rm -f "$stamps" "$probe_out" "$WINEPREFIX/drive_c/demo.bmp"
# The probe watches the pointer on this desktop and pairs every event with the report that caused it; the
# canvas is the Wintab client that gets the pen.
if [ -f "$bin/latency_probe.exe" ]; then
  wine_run "$bin/latency_probe.exe" --script "$(windows_path "$script")" --stamps "$(windows_path "$stamps")" \
    --no-wintab --settle-ms 2000 >"$probe_out" 2>/dev/null &
  probe=$!
  for _ in $(seq 100); do grep -q '^ready' "$probe_out" 2>/dev/null && break; sleep 0.1; done
fi
# The tablet is plugged in first, as on a real desk: the service opens it as soon as it starts, and the
# session's first lines keep the pen away until the canvas is open.
wine_run "$bin/simhid.exe" --index 0 --pid 0x8201 --report-length 8 --stamp-log "$(windows_path "$stamps")" \
  "$script" >/dev/null &
tablet=$!
echo "demo: installing the suite into $WINEPREFIX"
install_suite
echo "demo: opening wintab-canvas.exe and playing $reports pen reports"
wine_run "$bin/wintab-canvas.exe" --save 'C:\demo.bmp' --size 800x600 --close-after "$duration_ms" \
  >"$work/canvas.txt" 2>/dev/null &
canvas=$!
wait "$tablet"
wine_run "$bin/simhid.exe" --index 1 --pid 0x8201 --report-length 5 "$work/keypad.script" >/dev/null
wait "$canvas" || true
[ -n "${probe:-}" ] && { wait "$probe" || true; }

picture="$root/out/demo.png"
if [ -f "$WINEPREFIX/drive_c/demo.bmp" ]; then
  python3 "$root/tools/demo/bmp_to_png.py" "$WINEPREFIX/drive_c/demo.bmp" "$picture"
else
  picture="(none: the canvas saved nothing)"
fi

if [ "$keep" = yes ]; then
  echo "demo: the service keeps running in $WINEPREFIX (stop it with: WINEPREFIX=$WINEPREFIX wineserver -k)"
else
  echo "demo: stopping and removing the suite"
  remove_suite
  wineserver -k || true
fi

value() { grep -E "^$1=" "$probe_out" 2>/dev/null | cut -d= -f2 | tr -d '\r' || true; }
# The canvas prints how many packets it took from its context when it closes.
packets_delivered() { grep -E '^packets=' "$work/canvas.txt" 2>/dev/null | cut -d= -f2 | tr -d '\r' || true; }

echo
echo "Demo summary"
echo "  reports sent:             $reports"
echo "  pointer events injected:  $(value pointer_events)"
echo "  Wintab packets delivered: $(packets_delivered)"
echo "  latency p50 / p99:        $(value pointer_p50_ms) / $(value pointer_p99_ms) ms (pen to pointer)"
echo "  picture:                  $picture"
echo "  time:                     $(($(date +%s) - started)) s"
