#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests under
# 32-bit Wine inside a virtual X display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QEL_BUILD_DIR:-$top/build}
bash "$top/scripts/setup.sh"
QEL_BUILD_DIR=$build bash "$top/scripts/build.sh"
cd "$build"
xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j 2 "$@"
