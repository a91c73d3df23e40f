#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, and nothing that is already there.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  updated=no
fi

for pkg in cmake ninja-build make g++ clang clang-format googletest libgtest-dev libbenchmark-dev \
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 xvfb xauth xdotool python3 nsis zip; do
  have_pkg "$pkg" || need+=("$pkg")
done

if ((${#need[@]})); then
  echo "installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}" >/dev/null
fi
