#!/usr/bin/env bash
# Prints the Windows architecture whose programs Wine can run here: i686 where the kernel executes
# 32-bit code (32-bit Wine), x86_64 otherwise (some virtual machines run 64-bit user code only).
if [ -x /usr/lib/wine/wineserver32 ] && /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
  echo i686
else
  echo x86_64
fi
