#!/usr/bin/env bash
# Configures one build tree once: native without an architecture, the libFuzzer tree for "fuzz", else
# mingw-w64 for i686 or x86_64.
set -euo pipefail
tree="$1"
arch="${2:-}"
[ -f "$tree/build.ninja" ] && exit 0
if [ -z "$arch" ]; then
  cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
elif [ "$arch" = fuzz ]; then
  CC=clang CXX=clang++ cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPZ_FUZZ=ON >/dev/null
else
  cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" >/dev/null
fi
