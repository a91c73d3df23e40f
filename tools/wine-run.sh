#!/usr/bin/env bash
# Runs a Windows program of a build tree under Wine, in the tree's own prefix (created and booted once;
# its wineserver stays up between tests).
set -euo pipefail
exe="$1"
shift
tree=$(cd "$(dirname "$exe")" && pwd)
while [ "$tree" != / ] && [ ! -f "$tree/CMakeCache.txt" ]; do tree=$(dirname "$tree"); done
here=$(dirname "$0")
source "$here/wine-env.sh" "$tree"
"$here/wine-prefix.sh" >/dev/null
exec "$PZ_WINE" "$exe" "$@"
