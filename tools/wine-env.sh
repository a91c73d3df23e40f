# Sourced: sets the Wine variables for the build tree in $1 (its prefix, its architecture, the loader).
pz_tree=$(cd "$1" && pwd)
if grep -q '^CMAKE_SYSTEM_PROCESSOR:.*=x86_64' "$pz_tree/CMakeCache.txt" 2>/dev/null ||
  grep -q 'x86_64-w64-mingw32' "$pz_tree/CMakeCache.txt" 2>/dev/null; then
  export WINEARCH=win64 PZ_WINE=/usr/lib/wine/wine64
else
  export WINEARCH=win32 PZ_WINE=/usr/lib/wine/wine
fi
export WINEPREFIX="${WINEPREFIX:-$pz_tree/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# Our own Wintab32.dll wins over Wine's built-in one; no Mono or Gecko prompts in a fresh prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-wintab32=n,b;mscoree,mshtml=}"
unset pz_tree
