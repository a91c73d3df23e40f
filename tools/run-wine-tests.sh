#!/usr/bin/env bash
# Runs the Windows tests of a build tree under Wine with a virtual X display, then ends the tree's
# wineserver. Extra arguments go to ctest (for example -L gui or -R named_block).
set -uo pipefail
tree="$1"
shift
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$tree"
"$here/wine-prefix.sh" || exit 1
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$tree" --output-on-failure "$@"
status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status
