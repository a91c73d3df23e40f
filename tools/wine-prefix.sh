#!/usr/bin/env bash
# Creates and boots the Wine prefix named by WINEPREFIX (architecture WINEARCH, loader PZ_WINE) once;
# later calls return at once.
set -euo pipefail
: "${WINEPREFIX:?}" "${PZ_WINE:?}"
[ -f "$WINEPREFIX/.booted" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.booted" ] && exit 0
"$PZ_WINE" wineboot -i >/dev/null 2>&1
wineserver -w
touch "$WINEPREFIX/.booted"
