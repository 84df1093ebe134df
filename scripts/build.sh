#!/usr/bin/env bash
# Configures and builds everything into build/ (or $QEL_BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QEL_BUILD_DIR:-$top/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$(nproc)"
