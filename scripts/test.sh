#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests under
# 32-bit Wine, each on a virtual screen of its own.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QEL_BUILD_DIR:-$top/build}
bash "$top/scripts/setup.sh"
QEL_BUILD_DIR=$build bash "$top/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j 2 "$@"
